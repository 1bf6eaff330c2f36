#include "Homing.h"

#include "app/MachineData.h"
#include "machine/IoAccess.h"
#include "machine/Permissions.h"
#include "machine/ResetMachine.h"
#include "platform/Clock.h"
#include "platform/KZLOG.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"

namespace {

constexpr int kHomingTimer = 0;
constexpr int kVerticalTimer = 1;
constexpr double kHomeSearchRange = 200.0;

const std::initializer_list<WORD> kWorkAxes = {0, 1, 2, 3, 4}; // X, Y, Z, Q, NG Z
constexpr WORD kHomeDirNegative = 0;

void stopAxes(std::initializer_list<WORD> axes) {
    for (WORD axis : axes) dmc_stop(cardNo, axis, 0);
}

// The sequence's blocking waits end when the axes stand, when the step's timer runs
// out (timer < 0: none) or when the thread is asked to stop. A stop stops the working
// axes, so that an axis that never stands cannot hold the thread or run on unattended.
// False when the wait ended on the stop.
bool waitStanding(std::initializer_list<WORD> axes, int timer = -1) {
    for (;;) {
        if (taskaStop) {
            stopAxes(kWorkAxes);
            return false;
        }
        bool standing = true;
        for (WORD axis : axes) standing = standing && isidle(cardNo, axis) == 1;
        if (standing || (timer >= 0 && usTout(timer))) return true;
        clk::sleepUs(1000);
    }
}

// A pause of the sequence that ends early on a stop of the thread.
bool pause(double us) {
    delay(us, &taskaStop);
    if (!taskaStop) return true;
    stopAxes(kWorkAxes);
    return false;
}

bool homed(std::initializer_list<WORD> axes) {
    for (WORD axis : axes)
        if (ishomedone(cardNo, axis) != 1) return false;
    return true;
}

void startHoming(std::initializer_list<WORD> axes) {
    for (WORD axis : axes)
        if (mayHome(axis)) homeAxis(axis);
}

// The card zeroes only its command counter; the encoders are the program's to set.
void markHomed(std::initializer_list<WORD> axes) {
    for (WORD axis : axes) {
        axisHomed[axis] = 1;
        dmc_set_encoder(cardNo, axis, 0);
    }
}

void outputsToRest() {
    // The vacuum goes off below: a label still held falls where the nozzle stands.
    if (inImg[32]) KZLOG::CLog::Warn("复位：吸笔真空关闭时吸笔上仍有标签，请取走掉落的标签。");
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

// A block runs while its step is current, the e-stop is released and the thread
// is not stopping; so a stop or an e-stop inside a wait freezes the sequence there.
bool runs(double step) {
    return stepA == step && estopOk == 1 && !taskaStop;
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
    if (!pause(1000000)) return;
    if (!waitStanding({axisZ, axisNgZ}, kVerticalTimer)) return;
    stepA = 1001;
}

void step1001() {
    if (homed({axisZ, axisNgZ})) {
        delay(200000, &taskaStop);
        markHomed({axisZ, axisNgZ});
        stepA = 1002;
    } else if (usTout(kVerticalTimer)) {
        stopAxes({axisZ, axisNgZ});
        stepA = 0;
    }
}

void step1002() {
    stepA = nozzleUpAndZSafe() ? 1003 : 0;
}

void step1003() {
    cylinderCmd(cylNgExtend, 0, 0);
    stopAxes(kWorkAxes);
    if (!waitStanding(kWorkAxes)) return;
    if (!nozzleUpAndZSafe()) {
        stepA = 0;
        return;
    }
    startHoming({axisX, axisY, axisQ});
    feederOut(0, true); // the feeder initialises meanwhile
    usTstart(kHomingTimer, 10000000);
    const bool ended = pause(300000) && waitStanding({axisX, axisY, axisQ}, kHomingTimer);
    feederOut(0, false);
    if (ended) stepA = 1004;
}

void step1004() {
    if (homed({axisX, axisY, axisQ})) {
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
    // Every origin switch sits at the negative end (the top for Z and NG Z), so all
    // axes search towards negative; 200 bounds the search of NG Z and the line belt.
    const double further = mode == 12 ? kHomeSearchRange : 0.0;
    axis_home(cardNo, WORD(axis), mode, gd[130 + axis], gd[90 + axis], kHomeDirNegative, further);
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
    // A finished tray stays finished (see resetMachine).
    const int finished = trayState == 2 ? 2 : 0;
    for (auto& job : cycleJobs) job = 0;
    trayState = finished;
    for (int i = 0; i < 255; ++i) {
        alarmFlags[i] = 0;
        counterNg[i] = 0.0;
    }
    for (WORD axis = 0; axis < 12; ++axis) {
        dmc_stop(cardNo, axis, 0);
        axisHomed[axis] = 0;
    }
    if (!waitStanding({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})) return;
    forgetMoveOrders(); // the cycle starts over after the homing
    outputsToRest();
    stepA = 1000;
    usTstart(kHomingTimer, 1000000);
    homeRequest = 0;
}

// Separate blocks in ascending order: a block acts in the same pass on the step the
// one before it advanced to, so a homing that ends as its wait ends is taken at once.
void homingStep() {
    if (runs(1000)) step1000();
    if (runs(1001)) step1001();
    if (runs(1002)) step1002();
    if (runs(1003)) step1003();
    if (runs(1004)) step1004();
}

void endProductionStep() {
    if (stepA != 2000) return;
    if (!(runA && homedA && readyA)) return;
    moveZSafeLift(0);
    if (!waitStanding(kWorkAxes)) return;
    resetMachine();
    promptActive = 1;
}
