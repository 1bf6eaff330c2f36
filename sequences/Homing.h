#pragma once
// Homing of the five working axes in the safe order (Z and NG Z first, then
// X, Y, Q) and the orderly end of production. Runs inside the cycle thread's
// pass as steps 1000..1004 and 2000 of stepA.

// The reset block: consumes homeRequest once the e-stop is released.
void homingResetBlock();
// One pass of the homing steps; does nothing outside steps 1000..1004 or while
// the e-stop is pressed.
void homingStep();
// Step 2000: park, reset and home again, then wait for the operator.
void endProductionStep();
// Starts homing of one axis with its mode and speeds (no permission check);
// axes 7..11 are not homed here. False when the axis is not homed from here.
bool homeAxis(int axis);
