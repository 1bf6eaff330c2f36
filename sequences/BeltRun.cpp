#include "BeltRun.h"

#include "app/MachineData.h"

void beltRun(int k, bool on) {
    if (k < 0 || k > 1) return;
    const WORD axis = k == 0 ? axisLineBelt : axisEmptyBelt;
    if (on)
        axis_jog(cardNo, axis, gf[205 + k], 1);
    else
        dmc_stop(cardNo, axis, 0);
}
