// Handshake with the label feeder: initialisation, plate ready, feed with its time-outs.
#include "app/MachineData.h"
#include "machine/Permissions.h"
#include "sequences/CycleData.h"
#include "sequences/CycleSteps.h"
#include "sequences/Cylinders.h"

namespace {

constexpr int kPulseTimer = 0;
constexpr int kLimitTimer = 1;
// Passes (5 ms each) input 18 must stay on to count as a ready plate.
constexpr int kReadyPasses = 20;

int readyPasses = 0;

bool nozzleOffPlate() {
    return stepA < 150 || stepA > 180;
}

bool plateStep(double step) {
    return nozzleOffPlate() && feederGuard(step);
}

void step50() {
    // Consecutive passes: a signal that drops after exactly kReadyPasses would
    // otherwise be neither a plate nor a reason to feed, and the feeder would wait for ever.
    readyPasses = inImg[18] ? readyPasses + 1 : 0;
    if (readyPasses > kReadyPasses) {
        readyPasses = 0;
        plateReady = 1;
        feederStep = 0;
        return;
    }
    const bool feedWanted = gd[21] != 0.0 || (trayState == 1 && inImg[25]);
    if (!inImg[18] && feedWanted) {
        readyPasses = 0;
        plateReady = 0;
        feederOut(1, false);
        usTstart(kPulseTimer, 100000);
        feederOut(2, true);
        feederStep = 60;
    }
}

void feedTimedOut() {
    runA = 0;
    alarmFlags[33] = 1;
    feedRetry = 0; // after the operator's restart the feed gets its two tries again
}

} // namespace

void feederSteps() {
    if (feederStep == 0 && runA && readyA && !dryRun && gd[18] != 3.0) {
        for (int k = 0; k < 3; ++k) feederOut(k, false);
        readyPasses = 0;
        feederStep = 10;
    }
    if (plateStep(10) && !inImg[16]) {
        if (inImg[17]) {
            feederStep = 50;
        } else {
            plateReady = 0;
            feederOut(0, false);
            usTstart(kPulseTimer, 300000);
            feederOut(2, true);
            feederStep = 100;
        }
    }
    if (plateStep(50)) step50();
    if (plateStep(60) && axisSafe(axisZ) && usTout(kPulseTimer)) {
        counterSet1(0);
        feederOut(1, true);
        usTstart(kPulseTimer, 3000000);
        usTstart(kLimitTimer, 6000000);
        feederStep = 61;
    }
    if (plateStep(61) && usTout(kPulseTimer)) {
        feederOut(1, false); // the feed start is a 3 s pulse
        clearLabelPhotos();
        feederStep = 62;
    }
    if (plateStep(62) && usTout(kPulseTimer)) {
        if (inImg[18]) {
            feederOut(1, false);
            feedRetry = 0;
            usTstart(kPulseTimer, 100000);
            feederStep = 63;
        } else if (usTout(kLimitTimer)) {
            feedRetry = feedRetry + 1;
            if (feedRetry > 1) feedTimedOut();
            feederOut(1, false);
            feederOut(2, true);
            feederStep = 0;
        }
    }
    if (plateStep(63) && usTout(kPulseTimer)) {
        if (inImg[18]) {
            feederOut(2, true);
            counterSet1(0);
            feederOut(1, false);
            feederStep = 0;
        } else if (usTout(kLimitTimer)) {
            feedTimedOut();
            feederOut(1, false);
            feederOut(2, true);
            feederStep = 0;
        }
    }
    if (feederGuard(100) && axisSafe(axisZ) && usTout(kPulseTimer)) {
        feederOut(0, true);
        usTstart(kPulseTimer, 600000);
        usTstart(kLimitTimer, 10000000);
        feederStep = 101;
    }
    if (feederGuard(101) && usTout(kPulseTimer)) {
        feederOut(0, false); // a 0.6 s initialisation pulse
        feederStep = 102;
    }
    if (feederGuard(102) && usTout(kPulseTimer)) {
        if (inImg[17]) {
            feederStep = 0;
        } else if (usTout(kLimitTimer)) {
            runA = 0;
            alarmFlags[32] = 1;
            feederStep = 0;
        }
    }
}
