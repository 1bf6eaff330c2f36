#include "OperatorPanel.h"

#include "Plant.h"

#include <algorithm>

namespace sim {

void OperatorPanel::attach(Plant& plant) {
    m_plant = &plant;
    plant.setInput(EstopCircuit, !m_estop);
    for (int d = 0; d < 4; ++d) plant.setInput(FrontDoor + d, !m_doorOpen[d]);
    for (int b : {StartButton, StopButton, AlarmClearButton, ResetButton, NgTrayButton})
        plant.setInput(b, false);
}

void OperatorPanel::step(Plant& plant, int64_t nowUs) {
    if (m_pendingReleases == 0) return;
    for (int b = 0; b < 16; ++b) {
        if (m_releaseAt[b] > 0 && nowUs >= m_releaseAt[b]) {
            m_releaseAt[b] = 0;
            --m_pendingReleases;
            plant.setInput(b, false);
        }
    }
}

int64_t OperatorPanel::restUntilUs(Plant& plant) const {
    (void)plant;
    int64_t next = kNever;
    if (m_pendingReleases == 0) return next;
    for (int b = 0; b < 16; ++b)
        if (m_releaseAt[b] > 0) next = std::min(next, m_releaseAt[b]);
    return next;
}

void OperatorPanel::setEstopPressed(bool pressed) {
    auto guard = m_plant->lock();
    m_estop = pressed;
    m_plant->setInput(EstopCircuit, !pressed);
}

void OperatorPanel::setDoorOpen(int door, bool open) {
    if (door < 0 || door > 3) return;
    auto guard = m_plant->lock();
    m_doorOpen[door] = open;
    m_plant->setInput(FrontDoor + door, !open);
}

bool OperatorPanel::pullDoor(int door, bool open) {
    if (door < 0 || door > 3) return false;
    auto guard = m_plant->lock();
    // The bolt holds a closed door shut; it does not close an open one.
    if (open && !m_doorOpen[door] && doorLocked()) return false;
    setDoorOpen(door, open);
    return true;
}

bool OperatorPanel::doorLocked() const {
    return m_plant && m_plant->output(DoorLock);
}

bool OperatorPanel::doorOpen(int door) const {
    return door >= 0 && door < 4 && m_doorOpen[door];
}

void OperatorPanel::setButtonPressed(int button, bool pressed) {
    if (button < 0 || button > 15) return;
    auto guard = m_plant->lock();
    if (m_releaseAt[button] > 0) {
        m_releaseAt[button] = 0;
        --m_pendingReleases;
    }
    m_plant->setInput(button, pressed);
}

void OperatorPanel::clickButton(int button, int64_t holdUs) {
    if (button < 0 || button > 15) return;
    auto guard = m_plant->lock();
    setButtonPressed(button, true);
    m_releaseAt[button] = std::max<int64_t>(m_plant->nowUs(), 0) + std::max<int64_t>(holdUs, 1);
    ++m_pendingReleases;
}

} // namespace sim
