#pragma once
// The suction nozzle: vacuum and blow valves and the vacuum switch. Whether a
// switched-on vacuum holds a label is asked once, when the vacuum comes on, of
// a grip rule that a feeder model can replace; without one a label is held.
#include "sim/PlantElement.h"

#include <functional>

namespace sim {

class NozzleVacuum : public PlantElement {
public:
    static constexpr int kVacuumValve = 32;  // CAN node 2 output 0
    static constexpr int kBlowValve = 33;    // CAN node 2 output 1
    static constexpr int kVacuumSwitch = 32; // CAN node 2 input 0

    std::string name() const override { return "nozzle"; }
    void attach(Plant& plant) override;
    void step(Plant& plant, int64_t nowUs) override;
    int64_t restUntilUs(Plant& plant) const override;

    // Asked with the plant lock held when the vacuum comes on: true = a label is gripped.
    void setGripRule(std::function<bool(Plant&)> rule) {
        m_gripRule = std::move(rule);
        wakeParts();
    }
    // Called when a held label is let go (vacuum off or blow), with the plant lock held.
    void setReleaseHandler(std::function<void(Plant&)> handler) {
        m_onRelease = std::move(handler);
        wakeParts();
    }
    bool holding() const { return m_holding; }
    // The held label falls off although the vacuum stays on (the switch then drops).
    void drop(Plant& plant);
    // Fault: the vacuum never builds up (no label picked).
    void setNoLabel(bool on) {
        m_noLabel = on;
        wakeParts();
    }
    bool noLabel() const { return m_noLabel; }
    // Time from vacuum on to the switch reporting.
    void setBuildUpUs(int64_t us) {
        m_buildUpUs = us;
        wakeParts();
    }

private:
    std::function<bool(Plant&)> m_gripRule;
    std::function<void(Plant&)> m_onRelease;
    bool m_vacuumWas = false;
    bool m_holding = false;
    bool m_noLabel = false;
    int64_t m_vacuumSinceUs = 0;
    int64_t m_buildUpUs = 30000;
};

} // namespace sim
