#pragma once
// The virtual machine's physical side: twelve axes, the card's and the three CAN
// nodes' inputs and outputs, and the parts that connect them (cylinders, nozzle,
// operator panel, and any element added later). One recursive lock guards all of
// it; the values the card reads most (inputs, outputs, axis status and positions)
// are also published lock-free.
//
// I/O numbers are image numbers as the program counts them: 0..15 the card's own
// bits, 16..31 CAN node 1, 32..47 node 2, 48..63 node 3. States are logical
// (true = active / on); the virtual card converts to the card's levels.
#include "platform/CardBackend.h"
#include "sim/NozzleVacuum.h"
#include "sim/OperatorPanel.h"
#include "sim/PlantElement.h"
#include "sim/SimAxis.h"
#include "sim/SimCylinder.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace sim {

constexpr int kAxisCount = 12;
constexpr int kIoCount = 64;
constexpr int kCylinderCount = 6;
constexpr int64_t kPlantStepUs = 1000;

// Cylinder numbers as the program's cylinder library counts them.
enum Cylinder {
    CylNozzleLift = 0,
    CylNgGrip = 1,
    CylNgExtend = 2,
    CylBufferStop = 3,
    CylAssyStop = 4,
    CylAssyLift = 5
};

class Plant {
public:
    explicit Plant(uint32_t seed = 1);
    ~Plant();
    Plant(const Plant&) = delete;
    Plant& operator=(const Plant&) = delete;

    // Hold it to read or change several things consistently. Taken from outside a
    // step it wakes every resting part: the holder may change anything.
    std::unique_lock<std::recursive_mutex> lock() const {
        std::unique_lock<std::recursive_mutex> guard(m_mutex);
        if (!m_inStep) touch();
        return guard;
    }
    // The lock for reading only: it leaves resting parts asleep.
    std::unique_lock<std::recursive_mutex> readLock() const {
        return std::unique_lock<std::recursive_mutex>(m_mutex);
    }
    // Something a resting part may depend on changed: every part steps next time.
    void touch() const { m_touches.fetch_add(1, std::memory_order_relaxed); }
    // Parts whose step would change nothing are skipped (on by default); off, every
    // part steps every millisecond, for comparing both.
    void setPartsRest(bool on);

    // Advances plant time to nowUs in fixed 1 ms steps (the first call starts the clock).
    void step(int64_t nowUs);
    // The earliest time a step would change anything if nothing outside touches the
    // plant meanwhile (PlantElement::kBusy: the next step).
    int64_t nextStepUs();
    // Moves plant time to nowUs without stepping: only while nothing would change.
    void restUntil(int64_t nowUs);
    int64_t nowUs() const { return m_nowUs.load(std::memory_order_relaxed); }
    // Plant time since the first step (the program's start), -1 before it.
    int64_t elapsedUs() const {
        const int64_t t = nowUs();
        return t < 0 ? -1 : t - m_startUs.load(std::memory_order_relaxed);
    }
    uint32_t seed() const { return m_seed; }
    // All randomness of the machine; use with the lock held.
    std::mt19937& rng() { return m_rng; }

    // ---- I/O, logical ----
    // The input as the wiring presents it (before the CAN bus: a lost node still has its inputs).
    bool input(int image) const {
        return image >= 0 && image < kIoCount && ((inputWord(image >> 4) >> (image & 15)) & 1u);
    }
    // The output as it physically is.
    bool output(int image) const {
        return image >= 0 && image < kIoCount && ((outputWord(image >> 4) >> (image & 15)) & 1u);
    }
    // Drives an input: elements, the panel, tests.
    void setInput(int image, bool active);
    // The input as its driver last set it, forcing aside; plant lock held.
    bool driven(int image) const {
        return image >= 0 && image < kIoCount && ((m_inDriven[size_t(image >> 4)] >> (image & 15)) & 1u);
    }
    // Overrides an input whatever drives it: 0 or 1; -1 gives it back to its driver.
    void forceInput(int image, int value);
    // Writes an output as the card does; no effect on a CAN node that is down.
    void writeOutput(int image, bool on);
    // 16-bit words: group 0 card, 1..3 CAN nodes; bit n = image 16 * group + n.
    uint16_t inputWord(int group) const { return m_inPub[group].load(std::memory_order_relaxed); }
    uint16_t outputWord(int group) const { return m_outPub[group].load(std::memory_order_relaxed); }
    // The same words, the CAN mask and the card's presence, for the card's bit reads.
    CardBackend::IoLevels ioLevels() const {
        return {m_inPub.data(), m_outPub.data(), &m_canUpMask, &m_cardMissing};
    }

    // ---- CAN bus ----
    void setCanRunning(bool running);
    bool canRunning() const { return m_canRunning.load(std::memory_order_relaxed); }
    // node 1..3: the bus runs and the node answers.
    bool canNodeUp(int node) const { return (m_canUpMask.load(std::memory_order_relaxed) >> node) & 1u; }
    bool canHealthy() const { return canRunning() && m_canLost == 0; }

    // ---- parts ----
    // Plant lock needed for the non-const references, except the published axis values.
    SimAxis& axis(int a) { return m_axes[size_t(a)]; }
    const SimAxis& axis(int a) const { return m_axes[size_t(a)]; }
    AxisSnapshot axisSnapshot(int a) const;
    SimCylinder& cylinder(int k) { return *m_cylinders[size_t(k)]; }
    NozzleVacuum& nozzle() { return *m_nozzle; }
    OperatorPanel& panel() { return *m_panel; }

    // Adds a part; the plant owns it and steps it after the parts before it.
    PlantElement* addElement(std::unique_ptr<PlantElement> element);
    PlantElement* element(const std::string& name) const;
    template <class T> T* element(const std::string& name) const { return dynamic_cast<T*>(element(name)); }

    // ---- faults and the operator's hands (all reversible) ----
    void setServoAlarm(int axis, bool on);
    // dir +1 or -1: the limit switch reports as if hit.
    void forceLimit(int axis, int dir, bool on);
    void setHomingFault(int axis, HomingFault fault);
    // Homing takes at least this long (0 = its natural time).
    void setHomingMinDurationUs(int axis, int64_t us);
    void setCylinderStuck(int k, bool on);
    // end 0 = sensor A, 1 = sensor B (see CylinderWiring).
    void setCylinderSensorBroken(int k, int end, bool on);
    void setEstopPressed(bool pressed);
    void setDoorOpen(int door, bool open);
    void setButtonPressed(int button, bool pressed);
    void setCanNodeLost(int node, bool lost);
    void setNoLabel(bool on);
    // The card: missing = no card answers at all; a board-init result >= 0 replaces the
    // normal answer (1) while the card still works; a rejected configuration fails to download.
    void setCardMissing(bool missing) { m_cardMissing.store(missing); }
    bool cardMissing() const { return m_cardMissing.load(std::memory_order_relaxed); }
    void setBoardInitResult(int result) { m_boardInitResult.store(result); }
    int boardInitResult() const { return m_boardInitResult.load(); }
    void setConfigRejected(bool rejected) { m_configRejected.store(rejected); }
    bool configRejected() const { return m_configRejected.load(); }

    // Mechanics of the twelve axes (travel, scale, enable polarity).
    static const AxisMechanics& mechanics(int axis);
    static const CylinderWiring& cylinderWiring(int k);

private:
    void stepOnce();
    struct PartRest {
        int64_t untilUs = 0;  // skipped before this plant time
        uint64_t touches = 0; // ... while the plant's touch count stays this
    };
    void republishInputs(int group);
    void republishOutputs(int group);
    void dropNodeOutputs(int node);
    void updateCanMask();

    mutable std::recursive_mutex m_mutex;
    uint32_t m_seed;
    std::mt19937 m_rng;
    std::atomic<int64_t> m_nowUs{-1};
    std::atomic<int64_t> m_startUs{0};

    std::array<SimAxis, kAxisCount> m_axes;
    std::vector<std::unique_ptr<PlantElement>> m_elements;
    std::vector<PartRest> m_rest;
    bool m_partsRest = true;
    bool m_inStep = false;
    mutable std::atomic<uint64_t> m_touches{0};
    std::array<SimCylinder*, kCylinderCount> m_cylinders{};
    NozzleVacuum* m_nozzle = nullptr;
    OperatorPanel* m_panel = nullptr;

    std::array<uint16_t, 4> m_inDriven{};
    std::array<uint16_t, 4> m_forceMask{}, m_forceValue{};
    std::array<uint16_t, 4> m_out{};
    std::array<std::atomic<uint16_t>, 4> m_inPub{};
    std::array<std::atomic<uint16_t>, 4> m_outPub{};

    std::atomic<bool> m_canRunning{false};
    int m_canLost = 0; // bit per node
    std::atomic<uint32_t> m_canUpMask{0};

    std::atomic<bool> m_cardMissing{false};
    std::atomic<int> m_boardInitResult{-1};
    std::atomic<bool> m_configRejected{false};
};

} // namespace sim
