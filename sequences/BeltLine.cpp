#include "BeltLine.h"

#include "app/MachineData.h"
#include "machine/IoAccess.h"
#include "sequences/BeltLineSteps.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"

volatile u8 testLineIn = 0, testLineOut = 0, testEmptyIn = 0, testEmptyOut = 0;

using namespace beltline;

namespace {

// Step 100 of the assembly position: what to do with the trays where they are.
void decide() {
    const bool buffer = in(24), assembly = in(25);
    if (gd[18] == 3.0) {
        if (!buffer && lineInStep == 0.0 && stepB < 250) lineInStep = 250;
        if (assembly)
            stepB = 200;
        else if (buffer && lineInStep == 0.0)
            stepB = 250;
        return;
    }
    if (!buffer && lineInStep == 0.0 && stepB < 250 && gd[18] == 2.0 && !dryRun) lineInStep = 250;
    const bool here = assembly || dryRun;
    if (here && trayState == 0) {
        stepB = 150;
    } else if (here && trayState == 1) {
        // the cycle works the tray
    } else if (assembly && trayState == 2 && (gd[18] == 2.0 || gd[18] == 1.0) && !dryRun) {
        stepB = 200;
    } else if (assembly && trayState == 2 && (gd[18] == 0.0 || dryRun) && nextJob == 0 &&
               (stepA == 100 || stepA == 0 || stepA == 2)) {
        runB = 0;
        stepA = 2000;
    } else if (!assembly && trayState == 0 && buffer && lineInStep == 0.0 && !dryRun) {
        stepB = 250;
    }
}

// The outfeed's time-out: the downstream machine did not complete in time.
void lineOutTimedOut() {
    alarmFlags[28] = 1;
    runB = 0;
    belt(0, false);
    signals(kLineOut, false);
    lineOutBeg = lineOutBusy = 0;
    stepB = 211;
}

// The finished tray has left: the next tray starts at cell 1.
void lineOutDone() {
    lineOutBeg = lineOutBusy = 0;
    trayState = 0;
    counterSet1(1);
    belt(0, false);
    stepB = 215;
}

} // namespace

void beltRun(int k, bool on) {
    if (k < 0 || k > 1) return;
    const WORD axis = k == 0 ? axisLineBelt : axisEmptyBelt;
    if (on)
        axis_jog(cardNo, axis, gf[205 + k], 1);
    else
        dmc_stop(cardNo, axis, 0);
}

bool startTestLineIn() {
    if (manualMode == 0.0 || !estopOk || !readyA) return false;
    testLineIn = 1;
    lineInStep = 250;
    return true;
}

bool startTestLineOut() {
    if (manualMode == 0.0 || !estopOk || !readyA) return false;
    testLineOut = 1;
    stepB = 200;
    return true;
}

bool startTestEmptyIn() {
    if (manualMode == 0.0 || !estopOk || !readyA) return false;
    testEmptyIn = 1;
    emptyStep = 250;
    return true;
}

bool startTestEmptyOut() {
    if (manualMode == 0.0 || !estopOk || !readyA) return false;
    testEmptyOut = 1;
    emptyStep = 200;
    return true;
}

// The latches go with the signals: a hand-shake that starts over starts from its first signal.
void resetLineInSignals() {
    signals(kLineIn, false);
    for (int i = kLineIn; i < kLineIn + 3; ++i) inCopy[i] = 0;
    testLineIn = 0;
    lineInRecive = 0;
}

void resetLineOutSignals() {
    signals(kLineOut, false);
    for (int i = kLineOut; i < kLineOut + 3; ++i) inCopy[i] = 0;
    testLineOut = 0;
    lineOutBeg = lineOutBusy = 0;
}

void resetEmptyInSignals() {
    emptyStep = 0;
    signals(kEmptyIn, false);
    for (int i = kEmptyIn; i < kEmptyIn + 3; ++i) inCopy[i] = 0;
    testEmptyIn = 0;
    emptyInRecive = 0;
}

void resetEmptyOutSignals() {
    emptyStep = 0;
    signals(kEmptyOut, false);
    for (int i = kEmptyOut; i < kEmptyOut + 3; ++i) inCopy[i] = 0;
    testEmptyOut = 0;
    emptyOutBeg = 0;
}

// Assembly position. Steps 0..21 initialise, 150..156 position and clamp a tray for
// the cycle, 200..216 send a finished tray out, 250..254 bring the buffered tray on.
void beltStationStep() {
    const bool run = gate() && runB;
    const bool out = allowed(testLineOut);

    if (stepB == 0 && run) stepB = 10;
    if (stepB == 10 && run) {
        cyl(cylBufferStop, 1);
        cyl(cylAssyStop, 1);
        cyl(cylAssyLift, 0);
        stepB = 20;
    }
    if (stepB == 20 && run && done(cylBufferStop) && done(cylAssyStop) && done(cylAssyLift)) {
        belt(0, true);
        usTstart(6, gf[242] * kUs);
        stepB = 21;
    }
    if (stepB == 21 && run && usTout(6)) {
        belt(0, false);
        stepB = 100;
    }
    if (stepB == 100 && run) decide();

    if (stepB == 150 && run) {
        cyl(cylAssyStop, 1);
        stepB = 151;
    }
    if (stepB == 151 && run && done(cylAssyStop)) {
        cyl(cylAssyLift, 0);
        stepB = 152;
    }
    if (stepB == 152 && run && done(cylAssyLift)) {
        belt(0, true);
        usTstart(24, gf[241] * kUs);
        stepB = 153;
    }
    if (stepB == 153 && run && usTout(24)) {
        cyl(cylAssyLift, 1);
        belt(0, false);
        stepB = 154;
    }
    if (stepB == 154 && run && usTout(24) && done(cylAssyLift)) {
        delay(500000, &taskbStop);
        stepB = 155;
    }
    if (stepB == 155 && run) {
        if ((in(25) || dryRun) && !alarmFlags[14]) {
            stepB = 156;
        } else {
            alarmFlags[14] = 1;
            runB = 0;
        }
    }
    if (stepB == 156 && run) {
        trayState = 1;
        cyl(cylAssyLift, 1);
        stepB = 100;
    }

    if (stepB == 200 && out) {
        cyl(cylAssyLift, 1);
        cyl(cylAssyStop, 1);
        signals(kLineOut, false);
        lineOutBeg = lineOutBusy = 0;
        stepB = 210;
    }
    if (stepB == 210 && out && done(cylAssyStop) && done(cylAssyLift)) stepB = 211;
    if (stepB == 211 && out) {
        if (lineMode()) {
            outputBit(kLineOut, true);
            if (!lineOutBeg && in(kLineOut)) {
                outputBit(kLineOut + 2, true);
                lineOutBeg = 1;
            }
            if (lineOutBeg && in(kLineOut + 1)) {
                outputBit(kLineOut + 1, true);
                lineOutBusy = 1;
            }
        } else {
            lineOutBusy = 1;
        }
        if (lineOutBusy) {
            cyl(cylAssyLift, 0);
            cyl(cylAssyStop, 0);
            stepB = 212;
        }
    }
    if (stepB == 212 && out && done(cylAssyStop) && done(cylAssyLift)) {
        belt(0, true);
        usTstart(22, lineMode() ? gf[240] * kUs : 5000000.0);
        stepB = 213;
    }
    if (stepB == 213 && out && !alarmFlags[28]) {
        belt(0, true);
        if (lineMode()) {
            if (in(kLineOut + 2)) {
                outputBit(kLineOut + 2, false);
                belt(0, false);
                stepB = 214;
            } else if (usTout(22)) {
                lineOutTimedOut();
            }
        } else if (usTout(22)) {
            trayState = 0;
            counterSet1(1);
            belt(0, false);
            stepB = 214;
        }
    }
    if (stepB == 214 && out && !alarmFlags[28]) {
        bool sent = false;
        if (lineMode()) {
            if (!in(kLineOut + 2) && !in(kLineOut + 1)) {
                signals(kLineOut, false);
                sent = true;
            } else if (usTout(22)) {
                // The tray is across already: the alarm stands, the transfer is done.
                lineOutTimedOut();
                sent = true;
            }
        } else {
            sent = usTout(22) != 0;
        }
        if (sent) lineOutDone();
    }
    if (stepB == 215 && out) {
        belt(0, false);
        cyl(cylAssyLift, 1);
        cyl(cylAssyStop, 1);
        stepB = 216;
    }
    if (stepB == 216 && out && done(cylAssyStop) && done(cylAssyLift)) {
        if (testLineOut) {
            testLineOut = 0;
            stepB = 0;
        } else {
            stepB = 100;
        }
    }

    if (stepB == 250 && run) {
        cyl(cylAssyStop, 1);
        stepB = 251;
    }
    if (stepB == 251 && run && done(cylAssyStop)) {
        cyl(cylAssyLift, 0);
        stepB = 252;
    }
    if (stepB == 252 && run && done(cylAssyLift)) {
        cyl(cylBufferStop, 0);
        stepB = 253;
    }
    if (stepB == 253 && run && done(cylBufferStop)) {
        belt(0, true);
        usTstart(24, 3000000);
        stepB = 254;
    }
    if (stepB == 254 && run && usTout(24) && !in(24) && in(25)) {
        cyl(cylBufferStop, 1);
        belt(0, false);
        counterSet1(1);
        stepB = 100;
    }

    // A stop during the outfeed hand-shake: signals off, start over from the first signal.
    // Once the neighbour has reported the tray across (214) the tray is gone: starting
    // over would announce a tray that is not there and end in the time-out alarm.
    if (!runB && !testLineOut && stepB == 214) {
        signals(kLineOut, false);
        lineOutDone();
    }
    if (!runB && !testLineOut && stepB >= 211 && stepB <= 213) {
        beltStopIfOurs(0);
        stepB = 211;
        signals(kLineOut, false);
        lineOutBeg = lineOutBusy = 0;
    }
}

void beltLinePass() {
    if (manualMode == 0.0 || !estopOk) {
        testLineIn = testLineOut = testEmptyIn = testEmptyOut = 0;
        manualLabelReq = manualBarrelReq = 0;
        manualDiscardReq = 0;
    }
    beltStationStep();
    lineInfeedStep();
    emptyLineStep();
}
