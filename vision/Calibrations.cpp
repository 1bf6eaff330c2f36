#include "Calibrations.h"

#include "platform/Clock.h"

#include <thread>

volatile u8 nozzleZeroBusy = 0;
volatile u8 linkCalibBusy = 0;
volatile u8 linkVerifyBusy = 0;
volatile u8 linkVerify2Busy = 0;
volatile u8 nozzleZeroDone = 0;
volatile u8 linkCalibDone = 0;

namespace {
CalibLauncher launcher;
int nineResult[2] = {0, 0};
int zeroResult = 0;
int linkResult = 0;
int verifyResult = 0;
} // namespace

void setCalibLauncher(CalibLauncher l) {
    launcher = std::move(l);
}

bool calibrationRunning() {
    return calibBusy || nozzleZeroBusy || linkCalibBusy || linkVerifyBusy || linkVerify2Busy;
}

void startNinePoint(int) {}
void startNozzleZero() {}
void startLinkedCalibration() {}
void startLinkedVerification(int) {}

int lastNinePointResult(int cam) {
    return cam == 0 || cam == 1 ? nineResult[cam] : 0;
}
int lastNozzleZeroResult() {
    return zeroResult;
}
int lastLinkedResult() {
    return linkResult;
}
int lastVerifyResult() {
    return verifyResult;
}
