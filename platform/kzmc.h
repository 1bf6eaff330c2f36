#pragma once
// Axis motion library of the machine maker, over the card library.
#include "LTDMC.h"

extern volatile double autospeedk; // factor on automatic moves
extern volatile double jogspeedk;  // factor on jog moves

// mode 1 absolute, 0 relative; speed in user units per second, scaled by autospeedk.
short spmove(WORD card, WORD axis, double target, double speed, WORD mode);
// 1 when the axis stands at target (command and encoder position).
short get_poscmp(WORD card, WORD axis, double target);
short get_poscmp2(WORD card, WORD axis, double target, double tolerance);
short isidle(WORD card, WORD axis);
// Blocks (through the clock) until the axis stands.
short waitidle(WORD card, WORD axis);
short axis_home(WORD card, WORD axis, WORD homeMode, double slowSpeed, double fastSpeed, WORD dir,
                double offset);
short ishomedone(WORD card, WORD axis);
// dir 1 positive, 0 negative; speed scaled by jogspeedk; runs until dmc_stop.
short axis_jog(WORD card, WORD axis, double speed, WORD dir);
short axis_enable(WORD card, WORD axis, WORD level);
