#pragma once
// Helpers shared by the belt-line step machines.
#include "app/MachineData.h"
#include "machine/IoAccess.h"
#include "sequences/BeltLine.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"

namespace beltline {

constexpr int kLineIn = 48, kLineOut = 51, kEmptyIn = 54, kEmptyOut = 57;
constexpr double kUs = 1000000.0;

// Modes 2 and 3 trade trays with the neighbours by hand-shake; 0 and 1 stand alone.
inline bool lineMode() {
    return gd[18] == 2.0 || gd[18] == 3.0;
}
inline bool gate() {
    return homedB && estopOk && readyB;
}
inline bool allowed(volatile u8& test) {
    return gate() && (runB || (manualMode == 1.0 && test));
}
inline bool in(int i) {
    return inputBit(i) != 0;
}
inline void signals(int first, bool on) {
    for (int i = first; i < first + 3; ++i) outputBit(i, on);
}
inline void cyl(int k, int state) {
    cylinderCmd(k, 0, state);
}
inline bool done(int k) {
    return cylinderCmd(k, 1, 0) == 1;
}
// The sequence's own belt commands; the flag lets a stopped sequence leave alone a
// belt that the operator runs by hand.
inline void belt(int k, bool on) {
    beltRun(k, on);
    (k == 0 ? lineBeltOn : emptyBeltOn) = on ? 1 : 0;
}
inline void beltStopIfOurs(int k) {
    if (k == 0 ? lineBeltOn : emptyBeltOn) belt(k, false);
}

} // namespace beltline
