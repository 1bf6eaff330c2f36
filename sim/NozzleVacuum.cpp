#include "NozzleVacuum.h"

#include "Plant.h"

namespace sim {

void NozzleVacuum::attach(Plant& plant) {
    plant.setInput(kVacuumSwitch, false);
}

void NozzleVacuum::step(Plant& plant, int64_t nowUs) {
    const bool vacuum = plant.output(kVacuumValve);
    const bool blow = plant.output(kBlowValve);
    if (vacuum && !m_vacuumWas) {
        m_vacuumSinceUs = nowUs;
        m_holding = !m_noLabel && (!m_gripRule || m_gripRule(plant));
        wakeParts(); // a grip changes what the work cell carries
    }
    m_vacuumWas = vacuum;
    if (m_holding && (!vacuum || blow || m_noLabel)) {
        m_holding = false;
        wakeParts();
        if (m_onRelease) m_onRelease(plant);
    }
    const bool reached = vacuum && !blow && m_holding && nowUs - m_vacuumSinceUs >= m_buildUpUs;
    if (reached != plant.input(kVacuumSwitch)) plant.setInput(kVacuumSwitch, reached);
}

int64_t NozzleVacuum::restUntilUs(Plant& plant) const {
    const bool vacuum = plant.output(kVacuumValve);
    const bool blow = plant.output(kBlowValve);
    if (vacuum != m_vacuumWas) return kBusy;
    if (m_holding && (!vacuum || blow || m_noLabel)) return kBusy;
    const bool building = vacuum && !blow && m_holding;
    const int64_t reachedAt = m_vacuumSinceUs + m_buildUpUs;
    const bool reached = building && plant.nowUs() >= reachedAt;
    if (reached != plant.input(kVacuumSwitch)) return kBusy;
    return building && !reached ? reachedAt : kNever;
}

void NozzleVacuum::drop(Plant& plant) {
    if (!m_holding) return;
    m_holding = false;
    wakeParts();
    if (m_onRelease) m_onRelease(plant);
}

} // namespace sim
