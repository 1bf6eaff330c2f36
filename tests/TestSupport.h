#pragma once
// Shared set-up of the tests: a fresh virtual machine driven by a lockstep clock.
//
//   SimRig rig;                       // virtual clock installed, plant stepped every 1 ms,
//                                     // card library talking to the virtual card
//   rig.startCard();                  // optional: card up as after start-up (see below)
//   rig.plant().setServoAlarm(2, true);               // inject a fault
//   QVERIFY(rig.clock.runUntil([&] { ... }, 2.0));    // run machine time
//
// Everything is deterministic: the plant's randomness comes from the seed.
#include "sim/Lockstep.h"
#include "sim/VirtualMachine.h"

#include <QString>
#include <cstdint>
#include <functional>

struct SimRig {
    explicit SimRig(uint32_t seed = 1);
    ~SimRig();
    SimRig(const SimRig&) = delete;
    SimRig& operator=(const SimRig&) = delete;

    Lockstep clock;
    sim::VirtualMachine vm;

    sim::Plant& plant() { return vm.plant(); }
    sim::VirtualCard& card() { return vm.card(); }

    // The card as the machine's start-up leaves it, done directly with dmc_* calls
    // (for tests below the program): CAN bus started, the pulse equivalents of the
    // machine, deceleration stop time 0.1 s, return from a limit while homing, and
    // the drives of axes 0..7 enabled.
    void startCard();
    // Homes an axis through the card (mode 1) and runs until it is done (or maxSeconds
    // pass); a homed axis gets its encoder set to 0. Returns the home result.
    bool homeAxis(int axis, int dir = 0, double slow = 5, double fast = 50, double maxSeconds = 30);

    bool runUntil(const std::function<bool()>& cond, double maxSeconds) {
        return clock.runUntil(cond, maxSeconds);
    }
    void runFor(double seconds) { clock.runFor(seconds); }
    double nowS() { return clock.nowUs() * 1e-6; }

    // Writes a card configuration file the virtual card accepts.
    static bool writeCardConfig(const QString& path);
};
