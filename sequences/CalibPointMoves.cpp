#include "CalibPointMoves.h"

#include "app/MachineData.h"
#include "machine/Permissions.h"

namespace {

int first(PlatePoint point) {
    return point == PlatePoint::Pick ? 340 : 345;
}

} // namespace

bool plateXYGo(PlatePoint point) {
    if (!mayMoveManual(axisX) || !mayMoveManual(axisY)) return false;
    const int e = first(point);
    spmove(cardNo, axisX, gd[e], gf[350], 1);
    spmove(cardNo, axisY, gd[e + 1], gf[351], 1);
    return true;
}

bool plateZGo(PlatePoint point) {
    if (!mayMoveManual(axisZ)) return false;
    spmove(cardNo, axisZ, gd[first(point) + 2], gf[352], 1);
    return true;
}
