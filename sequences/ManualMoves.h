#pragma once
// Moves the teach, jog and axis pages start by hand. Each asks the motion
// permission check of its axes first and does nothing when one refuses; the
// result tells whether the motion was started. Nothing here waits for arrival.

// Taught points of the teach pages.
enum class TeachPoint {
    LabelPick,    // "标签取料起始", tray 0
    LabelPhoto,   // "标签拍照起始", tray 0
    LowCamCentre, // lower-camera 9-point centre
    Assemble,     // "成品盘组装起始", tray 1
    BarrelPhoto,  // "组装拍照起始", tray 1
    UpCamCentre,  // upper-camera 9-point centre
    NgPut,        // "放NG盘起始", tray 2; NG Z and Z
    NgPick,       // "取组装盘NG起始", tray 1; NG Z
    QrPhoto,      // "二维码拍照起始", tray 1
    NgPhoto,      // "NG盘拍照起始", tray 2
    Height,       // "测高起始", tray 1
    LowCamPhoto,  // "下相机拍照位"
    LabelBin      // "标签NG盒起始"
};

// The safe-position buttons: X and Y to 0, Z to its safe height, NG Z to 0.
bool manualXSafe();
bool manualYSafe();
bool manualZSafe();
bool manualNgZSafe();

// "XY起始GO" (cell 1) and "XY料号GO" (the typed cell) of a taught point; points
// without a tray ignore the cell.
bool teachXYGo(TeachPoint point, double cell = 1.0);
// "Z起始GO": the point's height on Z, or on NG Z (the NG put point moves both).
bool teachZGo(TeachPoint point);
// Z to the nozzle photo height at the calibration speed.
bool nozzlePhotoZGo();
// Point n (1..9) of the 3 x 3 calibration grid around a camera's centre;
// camera 0 upper, 1 lower.
bool gridGo(int camera, int n);
// The corrected pick and assembly moves with the vision data of the last photos.
bool labelPickGo(double cell);
bool assembleGo(double cell);
// "角度校正GO": Q to the corrected assembly angle.
bool assembleAngleGo();

// Homing of one axis from the axis page, with the axis's mode and speeds.
bool homeOneAxis(int axis);
// Jog of the jog dialog (speed gd[41] x factor, the factor 0.01, 0.1 or 1.0) and of
// the axis page (speed gd[50 + axis]); dir 1 positive, 0 negative.
bool jogDialogStart(int axis, int dir, double jogFactor);
bool axisJogStart(int axis, int dir);
// Release of a jog button: always a decelerating stop, also after a refused jog.
void jogStop(int axis);
// "寸动GO": a move by distance from where the axis stands, at gd[50 + axis].
bool stepMove(int axis, double distance);
