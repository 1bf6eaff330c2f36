#include "Permissions.h"

#include "app/MachineData.h"

namespace {

enum class Check { Home, HomeManual, Jog, MoveManual };

bool groupPrecondition(int axis, Check check) {
    if (interlockOff == 1) return true;
    if (axis == 0 || axis == 1) return axisSafe(axisZ) && axisSafe(axisNgZ) && inImg[33];
    if (axis == 10) return axisSafe(7) && axisSafe(8) && axisSafe(9);
    if (axis >= 7 && axis <= 9) {
        switch (check) {
        case Check::Home:
        case Check::HomeManual:
            return axisSafe(axisEmptyBelt) && inImg[33] && !inImg[34];
        case Check::Jog:
            return axisSafe(axisEmptyBelt) && axisSafe(10) && inImg[33] && !inImg[34];
        case Check::MoveManual:
            return axisSafe(axisEmptyBelt) && axisSafe(10) && inImg[34];
        }
    }
    return true; // 2 Z, 3 Q, 4 NG Z, 5, 6, 11
}

bool machineAllows(int axis, Check check) {
    if (axis < 0 || axis > 11) return false;
    if (cardOk != 1.0 || !estopOk || !axisAlmOk[axis]) return false;
    if (check != Check::Home && manualMode != 1.0) return false;
    if (check == Check::MoveManual) {
        if (axis == 11) return true; // no homed test and no group precondition
        if (!axisHomed[axis]) return false;
    }
    return groupPrecondition(axis, check);
}

} // namespace

bool axisSafe(int axis) {
    if (axis < 0 || axis > 11) return false;
    double pos = 0.0;
    dmc_get_position_unit(cardNo, WORD(axis), &pos);
    if (!axisHomed[axis]) return false;
    if (axis == 2) return pos <= gf[400];
    if (axis == 4) return pos <= gf[401];
    if (axis == 10 || axis == 11) return pos <= 0.0;
    return true;
}

bool mayHome(int axis) {
    return machineAllows(axis, Check::Home);
}
bool mayHomeManual(int axis) {
    return machineAllows(axis, Check::HomeManual);
}
bool mayJog(int axis) {
    return machineAllows(axis, Check::Jog);
}
bool mayMoveManual(int axis) {
    return machineAllows(axis, Check::MoveManual);
}
