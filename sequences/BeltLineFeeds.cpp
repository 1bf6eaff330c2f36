// The finished-line infeed and the empty-tray line of the belt-line sequence.
#include "sequences/BeltLineSteps.h"

using namespace beltline;

namespace {

void emptyOutTimedOut() {
    alarmFlags[30] = 1;
    runB = 0;
    belt(1, false);
    signals(kEmptyOut, false);
    emptyOutBeg = 0;
    emptyStep = 200;
}

} // namespace

// Receiver side of "成品线进": ask upstream for a tray and run it into the buffer.
void lineInfeedStep() {
    const bool run = allowed(testLineIn);

    if (lineInStep == 250 && run) {
        cyl(cylBufferStop, 1);
        signals(kLineIn, false);
        lineInRecive = 0;
        if (testLineIn && gd[18] != 2.0) {
            testLineIn = 0;
            lineInStep = 0;
        } else {
            lineInStep = 260;
        }
    }
    if (lineInStep == 260 && run) {
        if (in(24)) { // a tray is already there
            signals(kLineIn, false);
            belt(0, false);
            testLineIn = 0;
            lineInStep = 0;
        } else if (done(cylBufferStop)) {
            lineInStep = 261;
        }
    }
    if (lineInStep == 261 && run) {
        outputBit(kLineIn, true);
        outputBit(kLineIn + 2, false);
        if (!lineInRecive && in(kLineIn) && in(kLineIn + 2)) {
            outputBit(kLineIn + 1, true);
            lineInRecive = 1;
        }
        if (lineInRecive && in(kLineIn + 1)) {
            belt(0, true);
            lineInStep = 262;
        }
    }
    if (lineInStep == 262 && run) {
        belt(0, true);
        if (in(24)) {
            belt(0, false);
            outputBit(kLineIn + 2, true);
            outputBit(kLineIn + 1, false);
            lineInRecive = 0;
            lineInStep = 263;
        }
    }
    if (lineInStep == 263 && run && (!in(kLineIn + 2) || !in(kLineIn + 1))) {
        signals(kLineIn, false);
        testLineIn = 0;
        lineInStep = 0;
    }

    // A stop while the tray runs in leaves the hand-shake standing: the tray is on its
    // way, short of the buffer sensor, and starting over would ask upstream for a second
    // one behind it. The belt stops; the start carries the tray on into the buffer.
    if (!runB && !testLineIn && lineInStep == 262) beltStopIfOurs(0);
    if (!runB && !testLineIn && (lineInStep == 261 || lineInStep == 263)) {
        beltStopIfOurs(0);
        lineInStep = 250;
        signals(kLineIn, false);
        lineInRecive = 0;
    }
}

// Empty trays pass through: 0..21 initialise, 100 decides, 200..215 send ("空盘线出"),
// 250..263 receive ("空盘线进").
void emptyLineStep() {
    const bool run = gate() && runB;
    const bool out = allowed(testEmptyOut);
    const bool take = allowed(testEmptyIn);

    if (emptyStep == 0 && run) {
        belt(1, true);
        usTstart(7, 3000000);
        emptyStep = 21;
    }
    if (emptyStep == 21 && run && (usTout(7) || in(27))) {
        belt(1, false);
        emptyStep = 100;
    }
    if (emptyStep == 100 && run) emptyStep = in(27) ? 200 : 250;

    if (emptyStep == 200 && out) {
        signals(kEmptyOut, false);
        emptyOutBeg = 0;
        emptyStep = 210;
    }
    if (emptyStep == 210 && out) {
        if (lineMode()) {
            outputBit(kEmptyOut, true);
            if (!emptyOutBeg && in(kEmptyOut)) {
                outputBit(kEmptyOut + 2, true);
                emptyOutBeg = 1;
            }
            if (emptyOutBeg && in(kEmptyOut + 1)) {
                outputBit(kEmptyOut + 1, true);
                belt(1, true);
                usTstart(23, gf[240] * kUs);
                emptyStep = 212;
            }
        } else if (gd[18] == 1.0) {
            belt(1, true);
            usTstart(23, 5000000);
            emptyStep = 212;
        } else {
            belt(1, false);
        }
    }
    if (emptyStep == 212 && out && !alarmFlags[30]) {
        belt(1, true);
        if (lineMode()) {
            if (in(kEmptyOut + 2)) {
                outputBit(kEmptyOut + 2, false);
                belt(1, false);
                emptyStep = 213;
            } else if (usTout(23)) {
                emptyOutTimedOut();
            }
        } else if (usTout(23)) {
            belt(1, false);
            emptyStep = 213;
        }
    }
    if (emptyStep == 213 && out && !alarmFlags[30]) {
        belt(1, false);
        if (lineMode()) {
            if (!in(kEmptyOut + 2) && !in(kEmptyOut + 1)) {
                signals(kEmptyOut, false);
                emptyOutBeg = 0;
                emptyStep = 214;
            } else if (usTout(23)) {
                // The tray is across already: the alarm stands, the transfer is done.
                emptyOutTimedOut();
                emptyStep = 214;
            }
        } else if (usTout(23)) {
            emptyStep = 214;
        }
    }
    if (emptyStep == 214 && out) {
        belt(1, false);
        emptyStep = 215;
    }
    if (emptyStep == 215 && out) {
        if (testEmptyOut) {
            testEmptyOut = 0;
            emptyStep = 0;
        } else {
            emptyStep = 100;
        }
    }

    if (emptyStep == 250 && take) {
        signals(kEmptyIn, false);
        emptyInRecive = 0;
        emptyStep = 260;
    }
    if (emptyStep == 260 && take) {
        if (lineMode()) {
            outputBit(kEmptyIn, true);
            outputBit(kEmptyIn + 2, false);
            if (!emptyInRecive && in(kEmptyIn) && in(kEmptyIn + 2)) {
                outputBit(kEmptyIn + 1, true);
                emptyInRecive = 1;
            }
            if (emptyInRecive && in(kEmptyIn + 1)) {
                belt(1, true);
                emptyStep = 262;
            }
        } else if (gd[18] == 1.0) {
            belt(1, true);
            emptyStep = 262;
        } else {
            belt(1, false);
        }
    }
    if (emptyStep == 262 && take) {
        belt(1, true);
        if (in(27)) {
            belt(1, false);
            outputBit(kEmptyIn + 2, true);
            outputBit(kEmptyIn + 1, false);
            emptyInRecive = 0;
            emptyStep = 263;
        }
    }
    if (emptyStep == 263 && take && (!in(kEmptyIn + 1) || !in(kEmptyIn + 2))) {
        signals(kEmptyIn, false);
        if (testEmptyIn) {
            testEmptyIn = 0;
            emptyStep = 0;
        } else {
            emptyStep = 100;
        }
    }

    // The neighbour has reported the tray across (213): the transfer ends there instead
    // of starting over for a tray that is gone.
    if (!runB && !testEmptyOut && emptyStep == 213) {
        beltStopIfOurs(1);
        signals(kEmptyOut, false);
        emptyOutBeg = 0;
        emptyStep = 214;
    }
    if (!runB && !testEmptyOut && emptyStep >= 210 && emptyStep <= 212) {
        beltStopIfOurs(1);
        emptyStep = 200;
        signals(kEmptyOut, false);
        emptyOutBeg = 0;
    }
    // Receiving, as on the finished line: a tray running in is carried on at the start,
    // and one already at the sensor (263) is in; neither is asked for again.
    if (!runB && !testEmptyIn && emptyStep == 262) beltStopIfOurs(1);
    if (!runB && !testEmptyIn && emptyStep == 263) {
        signals(kEmptyIn, false);
        emptyInRecive = 0;
        emptyStep = 100;
    }
    if (!runB && !testEmptyIn && emptyStep == 260) {
        beltStopIfOurs(1);
        emptyStep = 250;
        signals(kEmptyIn, false);
        emptyInRecive = 0;
    }
    if (alarmActive) belt(1, false);
}
