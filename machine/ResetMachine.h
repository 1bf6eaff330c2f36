#pragma once
// The machine's one reset ("复位"): stop and re-enable every axis, check the
// drives, clear run flags and steps, and request homing. Blocks the caller
// while the axes come to a stop.
void resetMachine();
