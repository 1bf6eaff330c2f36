#include "BeltTransport.h"

#include "sim/Plant.h"

#include <algorithm>
#include <memory>

namespace sim {

namespace {
constexpr double kDt = double(kPlantStepUs) * 1e-6;
constexpr double kEps = 1e-6;
} // namespace

// Sensors: 22 entry, 24 buffer, 25 assembly, 23 exit; the buffer stopper
// (cylinder 3) and the assembly stopper (4) a little past their sensors.
BeltLayout BeltTransport::finishedLayout() {
    BeltLayout l;
    l.name = "finished belt";
    l.axis = 5;
    l.length = 800;
    l.sensors = {{22, 40}, {24, kBufferStop - 10}, {25, kAssemblyStop - 10}, {23, 760}};
    l.stoppers = {{CylBufferStop, kBufferStop}, {CylAssyStop, kAssemblyStop}};
    l.lift = CylAssyLift;
    l.liftFrom = kAssemblyStop - 50;
    l.liftTo = kAssemblyStop + 1;
    return l;
}

// Sensors: 26 entry, 27 near the far end; no stoppers.
BeltLayout BeltTransport::emptyLayout() {
    BeltLayout l;
    l.name = "empty belt";
    l.axis = 6;
    l.length = 800;
    l.sensors = {{26, 40}, {27, 740}};
    return l;
}

BeltTransport::BeltTransport(BeltLayout layout, Neighbour* upstream, Neighbour* downstream)
    : m_layout(std::move(layout)), m_up(upstream), m_down(downstream), m_stopperUp(m_layout.stoppers.size()) {
}

void BeltTransport::attach(Plant& plant) {
    m_axis = &plant.axis(m_layout.axis);
    updateSensors(plant);
}

const Tray* BeltTransport::trayAt(double x) const {
    for (const Tray& t : m_trays)
        if (t.covers(x)) return &t;
    return nullptr;
}

void BeltTransport::placeTray(const Tray& tray) {
    wakeParts();
    m_trays.push_back(tray);
    std::sort(m_trays.begin(), m_trays.end(), [](const Tray& a, const Tray& b) { return a.front > b.front; });
}

bool BeltTransport::removeTray(int id) {
    const auto it = std::find_if(m_trays.begin(), m_trays.end(), [id](const Tray& t) { return t.id == id; });
    if (it == m_trays.end()) return false;
    m_trays.erase(it);
    wakeParts();
    return true;
}

void BeltTransport::step(Plant& plant, int64_t nowUs) {
    (void)nowUs;
    // The belt turned as far as its axis in this step; an empty belt may rest meanwhile.
    const double belt = m_started ? plant.axis(m_layout.axis).lastMove() : 0.0;
    m_started = true;

    for (size_t i = 0; i < m_layout.stoppers.size(); ++i)
        m_stopperUp[i] = plant.cylinder(m_layout.stoppers[i].first).position() < 0.5;
    m_liftUp = m_layout.lift >= 0 && plant.cylinder(m_layout.lift).position() < 0.5;

    Tray incoming;
    const bool entryFree = m_trays.empty() || m_trays.back().rear() > kEps;
    if (m_up && entryFree && m_up->takeOutgoing(incoming)) m_trays.push_back(incoming);

    const bool pushing = m_up && m_up->moving();
    const bool pulling = m_down && m_down->moving();
    for (size_t i = 0; i < m_trays.size(); ++i) {
        Tray& t = m_trays[i];
        double d = belt;
        if (t.rear() < 0 && pushing) d = std::max(d, m_up->beltSpeed() * kDt);
        if (t.front > m_layout.length && pulling) d = std::max(d, m_down->beltSpeed() * kDt);
        if (lifted(t)) d = 0;
        double f = t.front + d;
        if (d > 0) {
            for (size_t s = 0; s < m_layout.stoppers.size(); ++s) {
                const double x = m_layout.stoppers[s].second;
                if (m_stopperUp[s] && t.front <= x + kEps && f > x) f = x;
            }
            if (i > 0) f = std::min(f, m_trays[i - 1].rear());
            if (!pulling) f = std::min(f, std::max(t.front, m_layout.length));
            f = std::max(f, t.front);
        } else if (d < 0) {
            // Backwards only as far as the entry.
            f = std::max(f, std::min(t.front, Tray::kLength));
        }
        t.front = f;
    }

    for (size_t i = 0; i < m_trays.size();) {
        Tray& t = m_trays[i];
        if (m_down && t.rear() >= m_layout.length) {
            m_down->acceptTray(t);
            m_trays.erase(m_trays.begin() + long(i));
            continue;
        }
        ++i;
    }
    // The sender's tray is wholly across once the last tray's rear is on this belt.
    if (m_up && m_up->waiting() && !m_trays.empty() && m_trays.back().id == m_up->waiting()->id &&
        m_trays.back().rear() >= 0)
        m_up->trayCrossed();
    updateSensors(plant);
}

int64_t BeltTransport::restUntilUs(Plant& plant) const {
    if (!m_started || (!m_trays.empty() && plant.axis(m_layout.axis).active())) return kBusy;
    if ((m_up && m_up->moving()) || (m_down && m_down->moving())) return kBusy;
    for (size_t i = 0; i < m_layout.stoppers.size(); ++i)
        if (m_stopperUp[i] != (plant.cylinder(m_layout.stoppers[i].first).position() < 0.5)) return kBusy;
    if (m_liftUp != (m_layout.lift >= 0 && plant.cylinder(m_layout.lift).position() < 0.5)) return kBusy;
    for (const Tray& t : m_trays)
        if (m_down && t.rear() >= m_layout.length) return kBusy;
    if (m_up && m_up->waiting() && !m_trays.empty() && m_trays.back().id == m_up->waiting()->id &&
        m_trays.back().rear() >= 0)
        return kBusy;
    for (const auto& s : m_layout.sensors)
        if (plant.input(s.first) != (trayAt(s.second) != nullptr)) return kBusy;
    return kNever;
}

void BeltTransport::updateSensors(Plant& plant) {
    for (const auto& s : m_layout.sensors) {
        const bool covered = trayAt(s.second) != nullptr;
        if (plant.driven(s.first) != covered) plant.setInput(s.first, covered);
    }
}

Belts addBelts(Plant& plant) {
    Belts b;
    auto add = [&plant](Neighbour* n) {
        return static_cast<Neighbour*>(plant.addElement(std::unique_ptr<PlantElement>(n)));
    };
    b.finishedUp = add(new Neighbour("finished upstream", Neighbour::Role::Sender, 48, false));
    b.finishedDown = add(new Neighbour("finished downstream", Neighbour::Role::Receiver, 51, false));
    b.emptyUp = add(new Neighbour("empty upstream", Neighbour::Role::Sender, 54, true));
    b.emptyDown = add(new Neighbour("empty downstream", Neighbour::Role::Receiver, 57, true));
    b.finished = static_cast<BeltTransport*>(plant.addElement(
        std::make_unique<BeltTransport>(BeltTransport::finishedLayout(), b.finishedUp, b.finishedDown)));
    b.empty = static_cast<BeltTransport*>(plant.addElement(
        std::make_unique<BeltTransport>(BeltTransport::emptyLayout(), b.emptyUp, b.emptyDown)));
    return b;
}

Belts findBelts(const Plant& plant) {
    Belts b;
    b.finished = plant.element<BeltTransport>("finished belt");
    b.empty = plant.element<BeltTransport>("empty belt");
    b.finishedUp = plant.element<Neighbour>("finished upstream");
    b.finishedDown = plant.element<Neighbour>("finished downstream");
    b.emptyUp = plant.element<Neighbour>("empty upstream");
    b.emptyDown = plant.element<Neighbour>("empty downstream");
    return b;
}

} // namespace sim
