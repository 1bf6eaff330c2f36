#include "IoAccess.h"

#include "app/MachineData.h"

u8 inputBit(int i) {
    return (i >= 0 && i < 64) ? inCopy[i] : 0;
}

u8 outputState(int i) {
    return (i >= 0 && i < 64) ? outImg[i] : 0;
}

void outputBit(int i, bool on) {
    const WORD level = on ? 0 : 1;
    if (i >= 0 && i < 16)
        dmc_write_outbit(cardNo, WORD(i), level);
    else if (i >= 16 && i < 64)
        dmc_write_can_outbit(cardNo, WORD(1 + (i - 16) / 16), WORD((i - 16) % 16), level);
}
