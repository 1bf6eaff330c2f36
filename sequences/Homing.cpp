#include "Homing.h"

#include "app/MachineData.h"
#include "machine/IoAccess.h"
#include "machine/Permissions.h"
#include "machine/ResetMachine.h"
#include "platform/Clock.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"

namespace {

constexpr int kHomingTimer = 0;
constexpr int kVerticalTimer = 1;

const WORD kWorkAxes[] = {0, 1, 2, 3, 4}; // X, Y, Z, Q, NG Z

void stopAxes(std::initializer_list<WORD> axes) {
    for (WORD axis : axes) dmc_stop(cardNo, axis, 0);
}

void waitAxes(std::initializer_list<WORD> axes) {
    for (WORD axis : axes) waitidle(cardNo, axis);
}

// A homing that never ends must not hold the cycle thread: the wait ends with its timer.
void waitAxesOrTimer(std::initializer_list<WORD> axes, int timer) {
    for (;;) {
        bool standing = true;
        for (WORD axis : axes) standing = standing && isidle(cardNo, axis) == 1;
        if (standing || usTout(timer)) return;
        clk::sleepUs(1000);
    }
}

bool homed(std::initializer_list<WORD> axes) {
    for (WORD axis : axes)
        if (ishomedone(cardNo, axis) != 1) return false;
    return true;
}

// A homing counts only when it ended before its timer ran out: the wait above ends
// with the timer, and a result that turns up in the same instant is already too late.
bool homedInTime(std::initializer_list<WORD> axes, int timer) {
    return !usTout(timer) && homed(axes);
}

void startHoming(std::initializer_list<WORD> axes) {
    for (WORD axis : axes)
        if (mayHome(axis)) homeAxis(axis);
}

void markHomed(std::initializer_list<WORD> axes) {
    for (WORD axis : axes) {
        axisHomed[axis] = 1;
        dmc_set_encoder(cardNo, axis, 0);
    }
}

void outputsToRest() {
    for (WORD light = 0; light < 3; ++light) singleout(cardNo, 1, 1, light, 0, 0);
    for (int k = 0; k < 3; ++k) feederOut(k, false);
    node2Out(0, false);
    node2Out(1, false);
    cylinderCmd(cylNozzleLift, 0, 0);
    cylinderCmd(cylNgGrip, 0, 0);
    cylinderCmd(cylBufferStop, 0, 1);
    cylinderCmd(cylAssyStop, 0, 1);
    cylinderCmd(cylAssyLift, 0, 0);
    for (int n = 48; n <= 59; ++n) outputBit(n, false);
}

bool nozzleUpAndZSafe() {
    return inImg[33] && !inImg[34] && axisSafe(axisZ) && axisSafe(axisNgZ);
}

void step1000() {
    bool alarm = false;
    for (WORD axis : kWorkAxes) alarm = alarm || !axisAlmOk[axis];
    const std::initializer_list<WORD> seven = {axisX,   axisY,        axisZ,        axisQ,
                                               axisNgZ, axisLineBelt, axisEmptyBelt};
    if (alarm || usTout(kHomingTimer)) {
        homeRequest = 0;
        stopAxes(seven);
        stepA = 0;
        return;
    }
    stopAxes(seven);
    startHoming({axisZ, axisNgZ});
    // The 10 s limit counts from the start of the homing.
    usTstart(kVerticalTimer, 10000000);
    clk::sleepUs(1000000);
    waitAxesOrTimer({axisZ, axisNgZ}, kVerticalTimer);
    stepA = 1001;
}

void step1001() {
    if (homedInTime({axisZ, axisNgZ}, kVerticalTimer)) {
        delay(200000, &taskaStop);
        markHomed({axisZ, axisNgZ});
        stepA = 1002;
    } else if (usTout(kVerticalTimer)) {
        stopAxes({axisZ, axisNgZ});
        stepA = 0;
    }
}

void step1003() {
    cylinderCmd(cylNgExtend, 0, 0);
    stopAxes({axisX, axisY, axisZ, axisQ, axisNgZ});
    waitAxes({axisX, axisY, axisZ, axisQ, axisNgZ});
    if (!nozzleUpAndZSafe()) {
        stepA = 0;
        return;
    }
    startHoming({axisX, axisY, axisQ});
    feederOut(0, true); // the feeder initialises meanwhile
    usTstart(kHomingTimer, 10000000);
    delay(300000, &taskaStop);
    waitAxesOrTimer({axisX, axisY, axisQ}, kHomingTimer);
    feederOut(0, false);
    stepA = 1004;
}

void step1004() {
    if (homedInTime({axisX, axisY, axisQ}, kHomingTimer)) {
        delay(200000, &taskaStop);
        markHomed({axisX, axisY, axisQ});
        waitOperator = 1;
        stepA = 0;
    } else if (usTout(kHomingTimer)) {
        stopAxes({axisX, axisY, axisQ});
        stepA = 0;
    }
}

} // namespace

bool homeAxis(int axis) {
    WORD mode = 0;
    switch (axis) {
    case 0:
    case 1:
    case 2:
        mode = 5;
        break;
    case 3:
        mode = 2;
        break;
    case 4:
    case 5:
        mode = 12;
        break;
    case 6:
        mode = 1;
        break;
    default:
        return false;
    }
    // Counters end at 0 on the origin; no offset past the switch.
    axis_home(cardNo, WORD(axis), mode, gd[130 + axis], gd[90 + axis], 0, 0.0);
    return true;
}

void homingResetBlock() {
    if (homeRequest != 1 || estopOk != 1) return;
    waitOperator = 0;
    runA = 0;
    runB = 0;
    stepA = 0;
    cycleTime = 0.0;
    mesState = 0;
    for (auto& job : cycleJobs) job = 0;
    for (int i = 0; i < 255; ++i) {
        alarmFlags[i] = 0;
        counterNg[i] = 0.0;
    }
    for (WORD axis = 0; axis < 12; ++axis) {
        dmc_stop(cardNo, axis, 0);
        axisHomed[axis] = 0;
    }
    for (WORD axis = 0; axis < 12; ++axis) waitidle(cardNo, axis);
    outputsToRest();
    stepA = 1000;
    usTstart(kHomingTimer, 1000000);
    homeRequest = 0;
}

void homingStep() {
    if (estopOk != 1) return;
    if (stepA == 1000) {
        step1000();
    } else if (stepA == 1001) {
        step1001();
    } else if (stepA == 1002) {
        stepA = nozzleUpAndZSafe() ? 1003 : 0;
    } else if (stepA == 1003) {
        step1003();
    } else if (stepA == 1004) {
        step1004();
    }
}

void endProductionStep() {
    if (stepA != 2000) return;
    if (!(runA && homedA && readyA)) return;
    moveZSafeLift(0);
    waitAxes({axisX, axisY, axisZ, axisQ, axisNgZ});
    resetMachine();
    promptActive = 1;
}
