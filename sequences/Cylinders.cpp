#include "Cylinders.h"

#include "app/MachineData.h"

namespace {

// Valves on CAN node 2; sensors and valves as I/O image numbers (node 2 = 32 + bit).
struct CylinderWiring {
    int valveA, valveB; // node 2 output bits; valveB < 0 for a single valve
    bool inverted;      // state 1 drives valve A instead of valve B
    int sensA, sensB;   // input image numbers of the positions valve A / valve B drive to
    double t1, t2, t3, t4;
};

CylinderWiring wiring(int k) {
    switch (k) {
    case cylNozzleLift:
        return {2, -1, false, 33, 34, 0, 0, 0, 0};
    case cylNgGrip:
        return {3, 4, false, 35, 36, 0, gf[214], 0, 0};
    case cylNgExtend:
        return {12, 11, true, 44, 43, 0, 0, 0.2, 0.2};
    case cylBufferStop:
        return {5, 6, true, 37, 38, 0, 0, 0.1, 0.1};
    case cylAssyStop:
        return {7, 8, true, 39, 40, 0, 0, 0.1, 0.1};
    default:
        return {9, 10, true, 41, 42, 0, 0, 0.1, 0.1};
    }
}

constexpr int kNode2 = 32;

} // namespace

int cylinderCmd(int k, int query, int state) {
    if (k < 0 || k > 5) return 0;
    const CylinderWiring w = wiring(k);
    if (query != 0) {
        if (w.valveB < 0)
            return single1done(1, w.sensA, w.sensB, kNode2 + w.valveA, w.t1, w.t2, w.t3, w.t4, 0, 0, k);
        return double1done(1, w.sensA, w.sensB, kNode2 + w.valveA, kNode2 + w.valveB, w.t1, w.t2, w.t3, w.t4,
                           0, 0, k);
    }
    if (w.valveB < 0) {
        singleout(cardNo, 2, 1, WORD(w.valveA), WORD(state ? 1 : 0), 0);
    } else {
        const WORD s = WORD(w.inverted ? !state : state != 0);
        doubleout(cardNo, 1, 2, WORD(w.valveA), 2, WORD(w.valveB), s);
    }
    resetqigandone(k);
    return 0;
}

void node2Out(int bit, bool on) {
    singleout(cardNo, 2, 1, WORD(bit), on ? 1 : 0, 0);
}

void feederOut(int k, bool on) {
    singleout(cardNo, 1, 1, WORD(3 + k), on ? 1 : 0, 0);
}

void cylindersFollow() {
    for (int k = 0; k < 6; ++k) {
        const CylinderWiring w = wiring(k);
        if (w.valveB < 0)
            single1done(0, w.sensA, w.sensB, kNode2 + w.valveA, w.t1, w.t2, w.t3, w.t4, 0, 0, k);
        else
            double1done(0, w.sensA, w.sensB, kNode2 + w.valveA, kNode2 + w.valveB, w.t1, w.t2, w.t3, w.t4, 0,
                        0, k);
    }
}

void cylindersCheckErrors() {
    for (int k = 0; k < 6; ++k) {
        const CylinderWiring w = wiring(k);
        if (w.valveB < 0)
            single2err(w.sensA, w.sensB, kNode2 + w.valveA, 5000, k);
        else
            double2err(w.sensA, w.sensB, kNode2 + w.valveA, kNode2 + w.valveB, 5000, k);
    }
}
