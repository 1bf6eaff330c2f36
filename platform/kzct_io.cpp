// Outputs and cylinders of the machine function library.
#include "kzct.h"

#include "Clock.h"
#include "kzct_internal.h"

#include <cstdint>
#include <functional>
#include <mutex>

namespace {

constexpr WORD kCard = 0;

// Level 0 = active on every bit of the card and the CAN nodes.
bool imageActive(int n, bool output) {
    if (n < 0 || n >= 64) return false;
    if (n < 16) return (output ? dmc_read_outbit(kCard, WORD(n)) : dmc_read_inbit(kCard, WORD(n))) == 0;
    const WORD node = WORD(n / 16), bit = WORD(n % 16);
    return (output ? dmc_read_can_outbit(kCard, node, bit) : dmc_read_can_inbit(kCard, node, bit)) == 0;
}

bool hasSensor(int n) {
    return n >= 0 && n < 64;
}

enum Position { None = -1, PosA = 0, PosB = 1 };

struct Cylinder {
    unsigned commands = 0;        // counts resetqigandone; an older reading is stale
    int valveA = -1, valveB = -1; // learnt from the follow-up; -1 before the first
    int target = None;
    int64_t commandUs = 0;
    int64_t sensorSinceUs = -1;
    bool done = false;
};

std::mutex cylMutex;
Cylinder cylinders[kCylinderCount];
std::function<void(int)> afterRead; // test seam: runs between reading and deciding

unsigned commandCount(int k) {
    std::lock_guard<std::mutex> lock(cylMutex);
    return cylinders[k].commands;
}

void readDone(int k) {
    if (afterRead) afterRead(k);
}

bool validCylinder(int k) {
    return k >= 0 && k < kCylinderCount;
}

// Takes the commanded position from the valves; a change is a new command.
void observe(Cylinder& c, int target, int64_t now) {
    if (target == None || target == c.target) return;
    c.target = target;
    c.commandUs = now;
    c.sensorSinceUs = -1;
    c.done = false;
}

int singleTarget(int valve) {
    return imageActive(valve, true) ? PosB : PosA;
}

int doubleTarget(int valveA, int valveB) {
    const bool a = imageActive(valveA, true), b = imageActive(valveB, true);
    if (a && !b) return PosA;
    if (b && !a) return PosB;
    return None;
}

// Sensor states read before the lock is taken.
struct Sensors {
    bool hasA, hasB, a, b;
};

Sensors readSensors(int sensA, int sensB) {
    Sensors s;
    s.hasA = hasSensor(sensA);
    s.hasB = hasSensor(sensB);
    s.a = s.hasA && imageActive(sensA, false);
    s.b = s.hasB && imageActive(sensB, false);
    return s;
}

// The target's sensor on and the other one off; a position without a sensor always qualifies.
bool positionThere(int target, const Sensors& s) {
    if (target == PosA) return !s.hasA || (s.a && !s.b);
    return !s.hasB || (s.b && !s.a);
}

void follow(Cylinder& c, const Sensors& s, double t1, double t2, double t3, double t4, int64_t now) {
    if (c.target == None || c.done) return;
    if (!positionThere(c.target, s)) {
        c.sensorSinceUs = -1;
        return;
    }
    if (c.sensorSinceUs < 0) c.sensorSinceUs = now;
    const bool b = c.target == PosB;
    const double settleUs = (b ? t2 : t1) * 1e6;
    const double travelUs = (b ? t4 : t3) * 1e6;
    if (double(now - c.sensorSinceUs) >= settleUs && double(now - c.commandUs) >= travelUs) c.done = true;
}

short doneQuery(int k) {
    std::lock_guard<std::mutex> lock(cylMutex);
    return cylinders[k].done ? 1 : 0;
}

void checkError(Cylinder& c, const Sensors& s, int limitMs, int k, int64_t now) {
    if (k < 0 || k >= kEervSize) return;
    if (c.target == None || positionThere(c.target, s)) {
        eerv[k] = false;
        return;
    }
    eerv[k] = now - c.commandUs >= int64_t(limitMs) * 1000;
}

} // namespace

short singleout(WORD card, WORD node, WORD bus, WORD bit, WORD on, WORD reserved) {
    Q_UNUSED(reserved);
    const WORD level = on ? 0 : 1;
    if (bus == 0) return dmc_write_outbit(card, bit, level);
    return dmc_write_can_outbit(card, node, bit, level);
}

short doubleout(WORD card, WORD bus, WORD nodeA, WORD bitA, WORD nodeB, WORD bitB, WORD state) {
    // The valve that goes off is switched first, so both coils are never on together.
    // State 1 selects valve B, as the cylinders' "state 1" (closed, raised) is wired there.
    const bool aOn = state == 0;
    short r;
    if (aOn) {
        r = singleout(card, nodeB, bus, bitB, 0, 0);
        r |= singleout(card, nodeA, bus, bitA, 1, 0);
    } else {
        r = singleout(card, nodeA, bus, bitA, 0, 0);
        r |= singleout(card, nodeB, bus, bitB, 1, 0);
    }
    return r;
}

// One follow-up of cylinder k towards the position its valves command.
// The valves and sensors are read outside the lock (card calls); a command and its
// resetqigandone in between make that reading stale, and it is dropped: it would
// otherwise report the old position as reached.
static short followCylinder(int k, int valveA, int valveB, int sensA, int sensB, double t1, double t2,
                            double t3, double t4) {
    const unsigned before = commandCount(k);
    const int target = valveB < 0 ? singleTarget(valveA) : doubleTarget(valveA, valveB);
    const Sensors s = readSensors(sensA, sensB);
    readDone(k);
    const int64_t now = clk::nowUs();
    std::lock_guard<std::mutex> lock(cylMutex);
    if (cylinders[k].commands != before) return 0;
    cylinders[k].valveA = valveA;
    cylinders[k].valveB = valveB;
    observe(cylinders[k], target, now);
    follow(cylinders[k], s, t1, t2, t3, t4, now);
    return cylinders[k].done ? 1 : 0;
}

short single1done(int query, int sensA, int sensB, int valve, double t1, double t2, double t3, double t4,
                  int r1, int r2, int k) {
    Q_UNUSED(r1);
    Q_UNUSED(r2);
    if (!validCylinder(k)) return 0;
    if (query != 0) return doneQuery(k);
    return followCylinder(k, valve, -1, sensA, sensB, t1, t2, t3, t4);
}

short double1done(int query, int sensA, int sensB, int valveA, int valveB, double t1, double t2, double t3,
                  double t4, int r1, int r2, int k) {
    Q_UNUSED(r1);
    Q_UNUSED(r2);
    if (!validCylinder(k)) return 0;
    if (query != 0) return doneQuery(k);
    return followCylinder(k, valveA, valveB, sensA, sensB, t1, t2, t3, t4);
}

// One error check of cylinder k against the position its valves command.
static short checkCylinder(int k, int valveA, int valveB, int sensA, int sensB, int limitMs) {
    const unsigned before = commandCount(k);
    const int target = valveB < 0 ? singleTarget(valveA) : doubleTarget(valveA, valveB);
    const Sensors s = readSensors(sensA, sensB);
    readDone(k);
    const int64_t now = clk::nowUs();
    std::lock_guard<std::mutex> lock(cylMutex);
    if (cylinders[k].commands != before) return (k < kEervSize && eerv[k]) ? 1 : 0;
    observe(cylinders[k], target, now);
    checkError(cylinders[k], s, limitMs, k, now);
    return (k < kEervSize && eerv[k]) ? 1 : 0;
}

short single2err(int sensA, int sensB, int valve, int limitMs, int k) {
    if (!validCylinder(k)) return 0;
    return checkCylinder(k, valve, -1, sensA, sensB, limitMs);
}

short double2err(int sensA, int sensB, int valveA, int valveB, int limitMs, int k) {
    if (!validCylinder(k)) return 0;
    return checkCylinder(k, valveA, valveB, sensA, sensB, limitMs);
}

short resetqigandone(int k) {
    if (!validCylinder(k)) return 0;
    int valveA, valveB;
    {
        std::lock_guard<std::mutex> lock(cylMutex);
        valveA = cylinders[k].valveA;
        valveB = cylinders[k].valveB;
    }
    // A command that leaves the valves as they were moves nothing: the cylinder is
    // checked again, but its travel and settle times do not start over.
    const int target = valveA < 0 ? None : valveB < 0 ? singleTarget(valveA) : doubleTarget(valveA, valveB);
    const int64_t now = clk::nowUs();
    std::lock_guard<std::mutex> lock(cylMutex);
    Cylinder& c = cylinders[k];
    ++c.commands;
    c.done = false;
    if (target != None && target == c.target) return 0;
    c.sensorSinceUs = -1;
    c.commandUs = now;
    return 0;
}

void invbool(volatile bool* flag) {
    if (flag) *flag = !*flag;
}

void invbool(volatile unsigned char* flag) {
    if (flag) *flag = *flag ? 0 : 1;
}

namespace kzct {
void resetCylinders() {
    std::lock_guard<std::mutex> lock(cylMutex);
    for (Cylinder& c : cylinders) c = Cylinder{};
}
void setCylinderReadHook(std::function<void(int)> hook) {
    afterRead = std::move(hook);
}
} // namespace kzct
