#pragma once
// Motion permission checks asked before every manual or sequence move of one axis.

// Homed, and for the Z axes and axes 10/11 also above their safe height.
bool axisSafe(int axis);
bool mayHome(int axis);
bool mayHomeManual(int axis);
bool mayJog(int axis);
bool mayMoveManual(int axis);
