#include "Plant.h"

#include <algorithm>

namespace sim {

namespace {
// Z, NG Z and axes 10, 11 count downwards from 0 at the top; the origin switch
// of every axis sits at 0 (or every period on rotary axes and belts).
const AxisMechanics kAxes[kAxisCount] = {
    {"X", 1000.0, true, -2.0, 520.0, 0.0, 0.3, EnablePolarity::PinLow, 20.0, 200.0},
    {"Y", 1000.0, true, -2.0, 420.0, 0.0, 0.3, EnablePolarity::PinLow, 20.0, 200.0},
    {"Z", 1000.0, true, -1.0, 60.0, 0.0, 0.3, EnablePolarity::PinLow, 1.0, 15.0},
    {"Q", 55.555, false, 0.0, 0.0, 360.0, 0.5, EnablePolarity::PinHigh, 0.0, 359.0},
    {"NG Z", 1000.0, true, -1.0, 80.0, 0.0, 0.3, EnablePolarity::PinHigh, 1.0, 15.0},
    {"line belt", 1000.0, false, 0.0, 0.0, 200.0, 1.0, EnablePolarity::PinHigh, 0.0, 199.0},
    {"empty belt", 1000.0, false, 0.0, 0.0, 500.0, 1.0, EnablePolarity::PinHigh, 0.0, 499.0},
    {"axis 7", 1000.0, true, -2.0, 300.0, 0.0, 0.3, EnablePolarity::PinHigh, 10.0, 100.0},
    {"axis 8", 1000.0, true, -2.0, 300.0, 0.0, 0.3, EnablePolarity::None, 10.0, 100.0},
    {"axis 9", 1000.0, true, -2.0, 300.0, 0.0, 0.3, EnablePolarity::None, 10.0, 100.0},
    {"axis 10", 1000.0, true, -1.0, 100.0, 0.0, 0.3, EnablePolarity::None, 1.0, 10.0},
    {"axis 11", 38.194, true, -1.0, 100.0, 0.0, 0.3, EnablePolarity::None, 1.0, 10.0},
};

// Valves and sensors on CAN node 2 (image 32 + bit).
const CylinderWiring kCylinders[kCylinderCount] = {
    {"nozzle lift", -1, 34, 33, 34, false},      // valve on = nozzle down; A up, B down
    {"NG gripper", 35, 36, 35, 36, false},       // A open, B closed
    {"NG tray extend", 43, 44, 43, 44, false},   // A retracted, B extended
    {"buffer stopper", 37, 38, 37, 38, false},   // A up, B down
    {"assembly stopper", 39, 40, 39, 40, false}, // A up, B down
    {"assembly lift", 41, 42, 41, 42, true},     // A up, B down
};

bool validIo(int image) {
    return image >= 0 && image < kIoCount;
}
bool validAxis(int a) {
    return a >= 0 && a < kAxisCount;
}
} // namespace

const AxisMechanics& Plant::mechanics(int axis) {
    return kAxes[axis];
}
const CylinderWiring& Plant::cylinderWiring(int k) {
    return kCylinders[k];
}

Plant::Plant(uint32_t seed) : m_seed(seed), m_rng(seed) {
    for (int a = 0; a < kAxisCount; ++a) {
        const AxisMechanics& m = kAxes[a];
        std::uniform_real_distribution<double> where(m.powerOnMin, m.powerOnMax);
        m_axes[size_t(a)].setup(m, where(m_rng));
    }
    auto panel = std::make_unique<OperatorPanel>();
    m_panel = panel.get();
    addElement(std::move(panel));
    std::uniform_int_distribution<int> travelMs(80, 150);
    for (int k = 0; k < kCylinderCount; ++k) {
        auto cyl = std::make_unique<SimCylinder>(kCylinders[k], int64_t(travelMs(m_rng)) * 1000);
        m_cylinders[size_t(k)] = cyl.get();
        addElement(std::move(cyl));
    }
    auto nozzle = std::make_unique<NozzleVacuum>();
    m_nozzle = nozzle.get();
    addElement(std::move(nozzle));
}

Plant::~Plant() = default;

void Plant::step(int64_t nowUs) {
    auto guard = readLock();
    int64_t t = m_nowUs.load(std::memory_order_relaxed);
    // The first call starts plant time; after a long stall (debugger, overloaded
    // machine) the plant jumps instead of racing through the backlog.
    if (t < 0) m_startUs.store(nowUs - kPlantStepUs, std::memory_order_relaxed);
    if (t < 0 || nowUs - t > 1000000) t = nowUs - kPlantStepUs;
    while (t + kPlantStepUs <= nowUs) {
        t += kPlantStepUs;
        m_nowUs.store(t, std::memory_order_relaxed);
        stepOnce();
    }
}

int64_t Plant::nextStepUs() {
    // The published state answers without the lock while an axis moves (most of the time).
    for (const SimAxis& a : m_axes)
        if (!a.done()) return PlantElement::kBusy;
    auto guard = readLock();
    for (const SimAxis& a : m_axes)
        if (a.active()) return PlantElement::kBusy;
    int64_t next = PlantElement::kNever;
    for (const auto& e : m_elements) {
        next = std::min(next, e->restUntilUs(*this));
        if (next == PlantElement::kBusy) break;
    }
    return next;
}

void Plant::restUntil(int64_t nowUs) {
    auto guard = lock(); // woken: whatever ran meanwhile may have touched it
    if (m_nowUs.load(std::memory_order_relaxed) < 0) return; // not started: the first step starts it
    if (nowUs > m_nowUs.load(std::memory_order_relaxed)) m_nowUs.store(nowUs, std::memory_order_relaxed);
}

void Plant::stepOnce() {
    m_inStep = true;
    for (SimAxis& a : m_axes) {
        if (a.active())
            a.step(kPlantStepUs);
        else
            a.stand();
    }
    const int64_t now = nowUs();
    for (size_t i = 0; i < m_elements.size(); ++i) {
        PartRest& r = m_rest[i];
        if (now < r.untilUs && r.touches == m_touches.load(std::memory_order_relaxed)) continue;
        PlantElement& e = *m_elements[i];
        e.step(*this, now);
        if (!m_partsRest) continue;
        // Asked after the step: what the parts after it change this millisecond touches
        // the plant and wakes it for the next one.
        r.untilUs = e.restUntilUs(*this);
        r.touches = m_touches.load(std::memory_order_relaxed);
    }
    m_inStep = false;
}

void Plant::setPartsRest(bool on) {
    auto guard = lock();
    m_partsRest = on;
    for (PartRest& r : m_rest) r = PartRest();
}

void PlantElement::wakeParts() const {
    if (m_owner) m_owner->touch();
}

void Plant::setInput(int image, bool active) {
    if (!validIo(image)) return;
    auto guard = readLock();
    const int g = image >> 4;
    const uint16_t bit = uint16_t(1u << (image & 15));
    const uint16_t was = m_inDriven[size_t(g)];
    m_inDriven[size_t(g)] = active ? uint16_t(was | bit) : uint16_t(was & ~bit);
    if (m_inDriven[size_t(g)] != was) republishInputs(g);
}

void Plant::forceInput(int image, int value) {
    if (!validIo(image)) return;
    auto guard = lock();
    const size_t g = size_t(image >> 4);
    const uint16_t bit = uint16_t(1u << (image & 15));
    if (value < 0) {
        m_forceMask[g] &= uint16_t(~bit);
    } else {
        m_forceMask[g] |= bit;
        m_forceValue[g] = value ? uint16_t(m_forceValue[g] | bit) : uint16_t(m_forceValue[g] & ~bit);
    }
    republishInputs(int(g));
}

void Plant::republishInputs(int group) {
    const size_t g = size_t(group);
    const uint16_t eff = uint16_t((m_inDriven[g] & ~m_forceMask[g]) | (m_forceValue[g] & m_forceMask[g]));
    if (eff == m_inPub[g].load(std::memory_order_relaxed)) return;
    m_inPub[g].store(eff, std::memory_order_relaxed);
    touch();
}

void Plant::republishOutputs(int group) {
    if (m_out[size_t(group)] == m_outPub[size_t(group)].load(std::memory_order_relaxed)) return;
    m_outPub[size_t(group)].store(m_out[size_t(group)], std::memory_order_relaxed);
    touch();
}

void Plant::writeOutput(int image, bool on) {
    if (!validIo(image)) return;
    // Most writes repeat what is there (lamps every scan): nothing to do.
    if (output(image) == on) return;
    auto guard = readLock();
    const int g = image >> 4;
    if (g > 0 && !canNodeUp(g)) return;
    const uint16_t bit = uint16_t(1u << (image & 15));
    m_out[size_t(g)] = on ? uint16_t(m_out[size_t(g)] | bit) : uint16_t(m_out[size_t(g)] & ~bit);
    republishOutputs(g);
}

void Plant::dropNodeOutputs(int node) {
    // A node that loses the bus switches its outputs off.
    m_out[size_t(node)] = 0;
    republishOutputs(node);
}

void Plant::updateCanMask() {
    uint32_t mask = 0;
    if (m_canRunning.load())
        for (int n = 1; n <= 3; ++n)
            if (!((m_canLost >> n) & 1)) mask |= 1u << n;
    m_canUpMask.store(mask, std::memory_order_relaxed);
}

void Plant::setCanRunning(bool running) {
    auto guard = lock();
    m_canRunning.store(running);
    if (!running)
        for (int n = 1; n <= 3; ++n) dropNodeOutputs(n);
    updateCanMask();
}

void Plant::setCanNodeLost(int node, bool lost) {
    if (node < 1 || node > 3) return;
    auto guard = lock();
    if (lost) {
        m_canLost |= 1 << node;
        dropNodeOutputs(node);
    } else {
        m_canLost &= ~(1 << node);
    }
    updateCanMask();
}

AxisSnapshot Plant::axisSnapshot(int a) const {
    if (!validAxis(a)) return AxisSnapshot{};
    auto guard = readLock();
    return m_axes[size_t(a)].snapshot();
}

PlantElement* Plant::addElement(std::unique_ptr<PlantElement> element) {
    auto guard = lock();
    PlantElement* e = element.get();
    e->m_owner = this;
    m_elements.push_back(std::move(element));
    m_rest.emplace_back();
    e->attach(*this);
    return e;
}

PlantElement* Plant::element(const std::string& name) const {
    auto guard = lock(); // the caller may change the part
    for (const auto& e : m_elements)
        if (e->name() == name) return e.get();
    return nullptr;
}

void Plant::setServoAlarm(int axis, bool on) {
    if (!validAxis(axis)) return;
    auto guard = lock();
    m_axes[size_t(axis)].setAlarm(on);
}

void Plant::forceLimit(int axis, int dir, bool on) {
    if (!validAxis(axis)) return;
    auto guard = lock();
    m_axes[size_t(axis)].forceLimit(dir, on);
}

void Plant::setHomingFault(int axis, HomingFault fault) {
    if (!validAxis(axis)) return;
    auto guard = lock();
    m_axes[size_t(axis)].setHomingFault(fault);
}

void Plant::setHomingMinDurationUs(int axis, int64_t us) {
    if (!validAxis(axis)) return;
    auto guard = lock();
    m_axes[size_t(axis)].setHomingMinDurationUs(us);
}

void Plant::setCylinderStuck(int k, bool on) {
    if (k < 0 || k >= kCylinderCount) return;
    auto guard = lock();
    m_cylinders[size_t(k)]->setStuck(on);
}

void Plant::setCylinderSensorBroken(int k, int end, bool on) {
    if (k < 0 || k >= kCylinderCount) return;
    auto guard = lock();
    m_cylinders[size_t(k)]->setSensorBroken(*this, end, on);
}

void Plant::setEstopPressed(bool pressed) {
    m_panel->setEstopPressed(pressed);
}
void Plant::setDoorOpen(int door, bool open) {
    m_panel->setDoorOpen(door, open);
}
void Plant::setButtonPressed(int button, bool pressed) {
    m_panel->setButtonPressed(button, pressed);
}

void Plant::setNoLabel(bool on) {
    auto guard = lock();
    m_nozzle->setNoLabel(on);
}

} // namespace sim
