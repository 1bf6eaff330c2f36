#pragma once
// A pneumatic cylinder with one valve (spring return) or two valves (bistable),
// and one sensor at each end. All numbers are I/O image numbers.
#include "sim/PlantElement.h"

namespace sim {

struct CylinderWiring {
    const char* name;
    int valveA; // single valve: -1 (spring return to end A)
    int valveB; // the valve that drives towards end B
    int sensorA, sensorB;
    bool startAtB; // where a bistable cylinder stands at power-up
};

class SimCylinder : public PlantElement {
public:
    SimCylinder(const CylinderWiring& wiring, int64_t travelUs);

    std::string name() const override { return m_wiring.name; }
    void attach(Plant& plant) override;
    void step(Plant& plant, int64_t nowUs) override;
    int64_t restUntilUs(Plant& plant) const override;
    // The end the valves command now.
    int commanded(const Plant& plant) const;

    const CylinderWiring& wiring() const { return m_wiring; }
    int64_t travelUs() const { return m_travelUs; }
    void setTravelUs(int64_t us) {
        m_travelUs = us > 0 ? us : 1;
        wakeParts();
    }
    // 0 at end A, 1 at end B.
    double position() const { return m_position; }
    bool atA() const { return m_position <= 0.0; }
    bool atB() const { return m_position >= 1.0; }

    // Faults: a stuck cylinder does not move; a broken sensor never reports.
    void setStuck(bool on) {
        m_stuck = on;
        wakeParts();
    }
    bool stuck() const { return m_stuck; }
    // end 0 = sensor A, 1 = sensor B.
    void setSensorBroken(Plant& plant, int end, bool on);

private:
    void updateSensors(Plant& plant);

    CylinderWiring m_wiring;
    int64_t m_travelUs;
    double m_position = 0;
    int m_towards = 0; // end the valves command: 0 A, 1 B
    bool m_stuck = false;
    bool m_brokenA = false, m_brokenB = false;
};

} // namespace sim
