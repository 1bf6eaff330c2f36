#include "Neighbour.h"

#include "sim/Plant.h"

#include <algorithm>

namespace sim {

Neighbour::Neighbour(std::string name, Role role, int base, bool emptyTrays)
    : m_name(std::move(name)), m_role(role), m_base(base), m_emptyTrays(emptyTrays) {
    m_nextId = emptyTrays ? 1001 : 1;
}

// Its own generator, seeded from the plant's seed: the neighbours' delays do not shift
// the random draws of the other parts of the machine.
void Neighbour::attach(Plant& plant) {
    m_rng.seed(plant.seed() * 7919u + uint32_t(m_base));
    for (int k = 0; k < 3; ++k) plant.setInput(m_base + k, false);
}

bool Neighbour::machineOut(Plant& plant, int k) const {
    return plant.output(m_base + k);
}

void Neighbour::setSignal(Plant& plant, int k, bool on) {
    m_out[k] = on;
    plant.setInput(m_base + k, on);
}

void Neighbour::enter(Plant& plant, Stage s) {
    m_stage = s;
    wakeParts(); // the belt follows what its neighbours do
    m_dueUs = -1;
    if (m_dropAt >= 0 && s == m_dropAt) {
        m_dropAt = -1;
        for (int k = 0; k < 3; ++k) setSignal(plant, k, false);
        m_stage = Idle;
    }
}

// An answer is given once its condition has held for the answer delay, drawn when
// the condition first holds.
bool Neighbour::answerDue(Plant& plant, int64_t nowUs, bool cond) {
    if (!cond) return false;
    if (m_dueUs < 0) {
        std::uniform_int_distribution<int64_t> d(m_delayMinUs,
                                                 m_delayMaxUs > m_delayMinUs ? m_delayMaxUs : m_delayMinUs);
        m_dueUs = nowUs + int64_t(double(d(plant.rng())) * m_slow);
    }
    return nowUs >= m_dueUs;
}

int64_t Neighbour::restUntilUs(Plant& plant) const {
    if (frozen()) return kNever;
    const bool o0 = machineOut(plant, 0), o1 = machineOut(plant, 1), o2 = machineOut(plant, 2);
    bool cond = false;
    int64_t wait = kNever; // a change of its own that comes with time
    if (m_role == Role::Sender) {
        switch (m_stage) {
        case Idle:
            if (!m_hasTray && m_supply != 0) wait = m_nextTrayUs;
            cond = m_hasTray;
            break;
        case Offered:
            cond = o0;
            break;
        case Begun:
            if (!o0) return kBusy;
            cond = o1;
            break;
        case Moving:
            if (!o0) return kBusy;
            cond = o2;
            break;
        case Finished:
            cond = !o2 && !o1;
            break;
        }
    } else {
        if (m_holding && m_stage == Idle) wait = m_freeAtUs;
        switch (m_stage) {
        case Idle:
            cond = !m_holding;
            break;
        case Offered:
            cond = o0 && o2;
            break;
        case Begun:
        case Moving:
            if (!o0 || (m_stage == Begun && o1)) return kBusy;
            cond = m_stage == Moving && m_holding;
            break;
        case Finished:
            cond = !o2 || !o1;
            break;
        }
    }
    // The answer's delay is drawn at the first step its condition holds.
    if (cond) return m_dueUs < 0 ? kBusy : std::min(wait, m_dueUs);
    return m_dueUs >= 0 ? kBusy : wait;
}

bool Neighbour::takeOutgoing(Tray& tray) {
    if (m_role != Role::Sender || !moving() || !m_hasTray || m_inserted) return false;
    m_inserted = true;
    wakeParts();
    tray = m_tray;
    tray.front = 0;
    return true;
}

void Neighbour::trayCrossed() {
    m_hasTray = false;
    m_inserted = false;
    wakeParts();
}

void Neighbour::acceptTray(const Tray& tray) {
    m_received.push_back(tray.id);
    m_holding = true;
    wakeParts();
}

void Neighbour::step(Plant& plant, int64_t nowUs) {
    if (frozen()) return;
    if (m_role == Role::Sender)
        stepSender(plant, nowUs);
    else
        stepReceiver(plant, nowUs);
}

// Ready (0) first; Beg (2) once the machine is ready; Busy (1) and the push once it
// receives; Beg off once it reports Compeled; Ready and Busy off once it is quiet.
void Neighbour::stepSender(Plant& plant, int64_t nowUs) {
    const bool ready = machineOut(plant, 0), recive = machineOut(plant, 1), compeled = machineOut(plant, 2);
    bool cond = false;
    switch (m_stage) {
    case Idle:
        if (!m_hasTray && m_supply != 0 && nowUs >= m_nextTrayUs) {
            m_tray = Tray();
            m_tray.id = m_nextId++;
            m_tray.empty = m_emptyTrays;
            if (!m_emptyTrays) m_tray.barrels.assign(size_t(m_cells > 0 ? m_cells : 0), true);
            m_hasTray = true;
            if (m_supply > 0) --m_supply;
            wakeParts();
        }
        cond = m_hasTray;
        if (answerDue(plant, nowUs, cond)) {
            setSignal(plant, 0, true);
            enter(plant, Offered);
        }
        break;
    case Offered:
        cond = ready;
        if (answerDue(plant, nowUs, cond)) {
            setSignal(plant, 2, true);
            enter(plant, Begun);
        }
        break;
    case Begun:
        if (!ready) { // the machine started over
            setSignal(plant, 2, false);
            enter(plant, Offered);
            break;
        }
        cond = recive;
        if (answerDue(plant, nowUs, cond)) {
            setSignal(plant, 1, true);
            enter(plant, Moving);
        }
        break;
    case Moving:
        if (!ready) {
            setSignal(plant, 1, false);
            setSignal(plant, 2, false);
            // A tray already wholly across counts as sent.
            enter(plant, m_hasTray ? Offered : Idle);
            if (!m_hasTray) {
                setSignal(plant, 0, false);
                m_nextTrayUs = nowUs + m_supplyIntervalUs;
            }
            break;
        }
        cond = compeled;
        if (answerDue(plant, nowUs, cond)) {
            setSignal(plant, 2, false);
            enter(plant, Finished);
        }
        break;
    case Finished:
        cond = !compeled && !recive;
        if (answerDue(plant, nowUs, cond)) {
            setSignal(plant, 0, false);
            setSignal(plant, 1, false);
            m_nextTrayUs = nowUs + m_supplyIntervalUs;
            enter(plant, Idle);
        }
        break;
    }
    if (!cond) m_dueUs = -1;
}

// Ready (0) when it has room; Recive (1) once the machine is ready and begins; it
// pulls from the machine's Busy on; Compeled (2) with Recive off once the tray is
// across; everything off once the machine drops Beg or Busy.
void Neighbour::stepReceiver(Plant& plant, int64_t nowUs) {
    const bool ready = machineOut(plant, 0), busy = machineOut(plant, 1), beg = machineOut(plant, 2);
    if (m_holding && nowUs >= m_freeAtUs && m_stage == Idle) {
        m_holding = false;
        wakeParts();
    }
    bool cond = false;
    switch (m_stage) {
    case Idle:
        cond = !m_holding;
        if (answerDue(plant, nowUs, cond)) {
            setSignal(plant, 0, true);
            enter(plant, Offered);
        }
        break;
    case Offered:
        cond = ready && beg;
        if (answerDue(plant, nowUs, cond)) {
            setSignal(plant, 1, true);
            enter(plant, Begun);
        }
        break;
    case Begun:
    case Moving:
        if (!ready) { // the machine started over
            setSignal(plant, 1, false);
            enter(plant, Offered);
            break;
        }
        if (m_stage == Begun && busy) {
            enter(plant, Moving);
            if (frozen()) break;
        }
        cond = m_stage == Moving && m_holding;
        if (answerDue(plant, nowUs, cond)) {
            setSignal(plant, 2, true);
            setSignal(plant, 1, false);
            enter(plant, Finished);
        }
        break;
    case Finished:
        cond = !beg || !busy;
        if (answerDue(plant, nowUs, cond)) {
            setSignal(plant, 0, false);
            setSignal(plant, 2, false);
            m_freeAtUs = nowUs + m_consumeUs;
            enter(plant, Idle);
        }
        break;
    }
    if (!cond) m_dueUs = -1;
}

} // namespace sim
