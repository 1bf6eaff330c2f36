#include "ManualOutputs.h"

#include "app/MachineData.h"
#include "machine/IoAccess.h"
#include "platform/Clock.h"
#include "sequences/BeltLine.h"

void outputPulse(int i) {
    // The clock's timer thread, not the GUI: the GUI must not block for the pulse.
    clk::callAfterUs(500000, [i] { outputBit(i, false); });
}

void outputToggle(int i) {
    if (i < 0 || i > 63) return;
    outputBit(i, !outImg[i]);
}

void beltToggle(int k) {
    const WORD axis = k == 0 ? axisLineBelt : axisEmptyBelt;
    beltRun(k, isidle(cardNo, axis) == 1);
}
