#include "CycleSteps.h"

#include "app/MachineData.h"
#include "platform/Clock.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"
#include "vision/HeightValues.h"

#include <cmath>

namespace {

bool inRange(double step, double low, double high) {
    return step >= low && step <= high;
}

bool labelRequestStep(double step) {
    return inRange(step, 150, 176) || inRange(step, 600, 605);
}

bool barrelRequestStep(double step) {
    return inRange(step, 120, 141) || inRange(step, 200, 221) || inRange(step, 300, 306);
}

bool machineOk() {
    return homedA == 1 && estopOk == 1 && readyA == 1;
}

bool manualRequest(bool label, bool barrel) {
    if (manualMode != 1.0) return false;
    return (label && manualLabelReq) || (barrel && manualBarrelReq);
}

// The label discard single action runs the throw-away steps only.
bool manualDiscard(double step) {
    return manualMode == 1.0 && manualDiscardReq && inRange(step, 250, 256);
}

} // namespace

bool cycleGuard(double step) {
    if (stepA != step || !machineOk()) return false;
    return runA == 1 || manualRequest(labelRequestStep(step), barrelRequestStep(step)) || manualDiscard(step);
}

bool feederGuard(double step) {
    if (feederStep != step || !machineOk()) return false;
    return runA == 1 || manualRequest(inRange(step, 50, 63), false);
}

void stopWith(int alarm) {
    alarmFlags[alarm] = 1;
    runA = 0;
}

void countNg(volatile double& count, double limit, int alarm) {
    count = count + 1.0;
    if (count > limit) {
        alarmFlags[alarm] = 1;
        count = 0.0;
    }
}

bool cardIdle() {
    for (WORD axis : {axisX, axisY, axisZ, axisQ, axisNgZ})
        if (isidle(cardNo, axis) != 1) return false;
    return true;
}

void nozzleTo(int state) {
    cylinderCmd(cylNozzleLift, 0, state);
}

bool nozzleDone() {
    return cylinderCmd(cylNozzleLift, 1, 0) == 1;
}

void vacuum(bool on) {
    node2Out(0, on);
}

void blow(bool on) {
    node2Out(1, on);
}

void photoDelay() {
    delay(gd[33] * 1000000.0, &taskaStop);
}

// Both readings from the program's clock: clock() would count processor time here.
double productSeconds() {
    return std::fabs(double(clk::nowUs()) - cycleStartClock) / 1000000.0;
}

int plateCells() {
    const double cells = gf[500] * gf[501];
    if (cells < 1) return 0;
    return cells > kLabelPhotoRecords ? kLabelPhotoRecords : int(cells);
}

namespace {
int firstWithVerdict(double verdict) {
    const int cells = plateCells();
    for (int i = 0; i < cells; ++i)
        if (labelPhotoBuf[i][1] == verdict) return i + 1;
    return 0;
}
} // namespace

int firstOkLabel() {
    return firstWithVerdict(1.0);
}

int firstNgLabel() {
    return firstWithVerdict(2.0);
}

void clearLabelPhotos() {
    for (auto& record : labelPhotoBuf) {
        record[0] = 0.0;
        record[1] = 0.0;
    }
    lastPhotoCell = 0.0;
}

int64_t heightWantedFromUs = 0;

// The alarm stands until the sensor answers again with a reading the cell can use.
void heightAlarmFollow() {
    if (alarmFlags[kHeightAlarm] && heightFresh() && heightLastGoodUs() >= heightWantedFromUs)
        alarmFlags[kHeightAlarm] = 0;
}
