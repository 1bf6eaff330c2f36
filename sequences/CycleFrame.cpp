// Tray level of the automatic cycle: tray exchange with the belt line, clamping,
// the NG stations check, the end-of-production test and the job dispatcher.
#include "app/MachineData.h"
#include "sequences/CycleData.h"
#include "sequences/CycleSteps.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"

namespace {

constexpr double kBeltIdle = 100;

bool trayPresent() {
    return inImg[25] || dryRun;
}

// A missing box or tray stops; a full box or a used-up NG tray only prompts. Any of
// them sends the cycle back to 100 to look again.
bool ngStationsReady() {
    if (dryRun) return true;
    bool ready = true;
    if (!inImg[20]) {
        stopWith(2);
        ready = false;
    }
    if (inImg[21]) {
        promptFlags[2] = 1;
        ready = false;
    }
    if (!trayDone(2) && !inImg[19]) {
        stopWith(1);
        ready = false;
    }
    if (trayDone(2)) {
        promptFlags[1] = 1;
        cylinderCmd(cylNgExtend, 0, 1); // out to the operator; 0 is its working position
        ready = false;
    }
    return ready && !alarmFlags[1] && !alarmFlags[2];
}

double firstStepOf(int job) {
    switch (job) {
    case 1:
        return 150;
    case 2:
        return 200;
    case 3:
        return 250;
    case 4:
        return 300;
    case 5:
        return 350;
    case 6:
        return 400;
    case 7:
        return 450;
    case 8:
        return 120;
    case 9:
        return 520;
    case 10:
        return 600;
    case 11:
        return 550;
    default:
        return 650;
    }
}

void step1() {
    if (stepC != 0 || gd[18] == 3.0 || moveZSafeLift(1) != 1 || !trayPresent()) return;
    if (!trayDone(1) && stepB == kBeltIdle && trayState == 1) {
        stepA = 10;
    } else if (trayDone(1) && stepB == kBeltIdle) {
        if (dryRun) {
            stepA = 2000;
            return;
        }
        trayState = 2;
        stepB = kBeltIdle;
        counterSet1(1); // the next tray starts at cell 1
        stepA = 2;
    }
}

void step110() {
    if (stepC != 0 || moveZSafeLift(1) != 1 || cylinderCmd(cylAssyLift, 1, 0) != 1) return;
    const bool betweenProducts = nextJob == 0 || nextJob == 8 || nextJob == 9;
    if (betweenProducts && endProduction == 1) {
        nextJob = 0;
        stepA = 2000;
    } else if (!trayDone(1) || nextJob != 0) {
        stepA = 111;
    } else {
        nextJob = 0;
        stepA = 0; // tray exchange
    }
}

} // namespace

void trayLevelSteps() {
    if (cycleStep(0)) {
        moveZSafeLift(0);
        stepA = 1;
    }
    if (cycleStep(1)) step1();
    if (cycleStep(2) && stepB == kBeltIdle && trayState < 2) stepA = 0;
    if (cycleStep(10)) {
        cylinderCmd(cylAssyStop, 0, 1);
        cylinderCmd(cylAssyLift, 0, 1);
        stepA = 11;
    }
    if (cycleStep(11) && cylinderCmd(cylAssyStop, 1, 0) && cylinderCmd(cylAssyLift, 1, 0))
        stepA = trayPresent() && !trayDone(1) ? 100 : 0;
    if (cycleStep(100)) stepA = 101;
    if (cycleStep(101)) {
        moveZSafeLift(0);
        cylinderCmd(cylAssyLift, 0, 1);
        stepA = 102;
    }
    if (cycleStep(102) && moveZSafeLift(1)) {
        if (!trayDone(2)) cylinderCmd(cylNgExtend, 0, 0);
        stepA = 103;
    }
    if (cycleStep(103) && moveZSafeLift(1) && cylinderCmd(cylNgExtend, 1, 0))
        stepA = ngStationsReady() ? 110 : 100;
    if (cycleStep(110)) step110();
    if (cycleStep(111) && stepC == 0 && moveZSafeLift(1)) {
        const int job = nextJob;
        stepA = firstStepOf(job);
    }
}
