#include "SimCylinder.h"

#include "Plant.h"

#include <algorithm>

namespace sim {

SimCylinder::SimCylinder(const CylinderWiring& wiring, int64_t travelUs)
    : m_wiring(wiring), m_travelUs(travelUs > 0 ? travelUs : 1) {
    m_towards = wiring.startAtB ? 1 : 0;
    m_position = m_towards;
}

void SimCylinder::attach(Plant& plant) {
    updateSensors(plant);
}

int SimCylinder::commanded(const Plant& plant) const {
    if (m_wiring.valveA < 0) return plant.output(m_wiring.valveB) ? 1 : 0;
    const bool a = plant.output(m_wiring.valveA);
    const bool b = plant.output(m_wiring.valveB);
    // A bistable valve keeps its side while both coils are equal.
    return a != b ? (b ? 1 : 0) : m_towards;
}

int64_t SimCylinder::restUntilUs(Plant& plant) const {
    const int towards = commanded(plant);
    return towards != m_towards || (!m_stuck && m_position != towards) ? kBusy : kNever;
}

void SimCylinder::step(Plant& plant, int64_t nowUs) {
    (void)nowUs;
    m_towards = commanded(plant);
    if (m_stuck || m_position == m_towards) return;
    const double delta = double(kPlantStepUs) / double(m_travelUs);
    const bool aWas = atA(), bWas = atB(), lowWas = m_position < 0.5;
    m_position = m_towards ? std::min(1.0, m_position + delta) : std::max(0.0, m_position - delta);
    // Others see the ends and which half it is in, not the travel between.
    if (atA() != aWas || atB() != bWas || (m_position < 0.5) != lowWas) wakeParts();
    updateSensors(plant);
}

void SimCylinder::updateSensors(Plant& plant) {
    plant.setInput(m_wiring.sensorA, atA() && !m_brokenA);
    plant.setInput(m_wiring.sensorB, atB() && !m_brokenB);
}

void SimCylinder::setSensorBroken(Plant& plant, int end, bool on) {
    (end ? m_brokenB : m_brokenA) = on;
    wakeParts();
    updateSensors(plant);
}

} // namespace sim
