#pragma once
// GO moves of the calibration page to the calibration plate's taught points, at
// the calibration speeds (gf[350] X, gf[351] Y, gf[352] Z). Each asks the motion
// permission check of its axes first and does nothing when one refuses.

enum class PlatePoint {
    Pick, // "吸笔取标定片": gd[340], gd[341], Z gd[342]
    Photo // "取标定片拍照位": gd[345], gd[346], Z gd[347]
};

bool plateXYGo(PlatePoint point);
bool plateZGo(PlatePoint point);
