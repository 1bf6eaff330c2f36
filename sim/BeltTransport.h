#pragma once
// One belt of the machine with the trays on it. The belt axis carries the trays
// by as much as it turns; a raised stopper holds the tray that reaches it, a raised
// lift holds the tray above it off the belt, trays queue behind each other, and a
// tray only leaves over the far end into a downstream neighbour that pulls it.
// The sensors along the belt see the trays that cover them.
#include "sim/Neighbour.h"
#include "sim/PlantElement.h"
#include "sim/SimAxis.h"
#include "sim/Tray.h"

#include <string>
#include <utility>
#include <vector>

namespace sim {

struct BeltLayout {
    std::string name;
    int axis = 0;
    double length = 800;                          // mm from the entry to the far end
    std::vector<std::pair<int, double>> sensors;  // input image, position
    std::vector<std::pair<int, double>> stoppers; // cylinder number, position (end A = raised)
    int lift = -1;                                // cylinder number (end A = up), or -1
    double liftFrom = 0, liftTo = 0;              // a tray whose front lies here is lifted
};

class BeltTransport : public PlantElement {
public:
    // The finished-product belt (upper, axis 5) and the empty-tray belt (lower, axis 6).
    static BeltLayout finishedLayout();
    static BeltLayout emptyLayout();
    // Positions on the finished-product belt.
    static constexpr double kBufferStop = 300, kAssemblyStop = 550;

    BeltTransport(BeltLayout layout, Neighbour* upstream, Neighbour* downstream);

    std::string name() const override { return m_layout.name; }
    void attach(Plant& plant) override;
    void step(Plant& plant, int64_t nowUs) override;
    int64_t restUntilUs(Plant& plant) const override;

    const BeltLayout& layout() const { return m_layout; }
    Neighbour* upstream() const { return m_up; }
    Neighbour* downstream() const { return m_down; }
    // Front first (the tray nearest the far end first).
    const std::vector<Tray>& trays() const { return m_trays; }
    // The tray that covers position x, or nullptr.
    const Tray* trayAt(double x) const;
    // The tray held at the assembly position (finished belt), or nullptr.
    const Tray* trayAtAssembly() const { return trayAt(kAssemblyStop - 10); }
    // A tray put on or taken off by hand.
    void placeTray(const Tray& tray);
    bool removeTray(int id);
    bool lifted(const Tray& tray) const {
        return m_liftUp && tray.front >= m_layout.liftFrom && tray.front <= m_layout.liftTo;
    }
    bool liftUp() const { return m_liftUp; }
    bool stopperUp(size_t i) const { return i < m_stopperUp.size() && m_stopperUp[i]; }
    bool running() const { return m_axis && m_axis->active(); }

private:
    void updateSensors(Plant& plant);

    BeltLayout m_layout;
    Neighbour* m_up;
    Neighbour* m_down;
    std::vector<Tray> m_trays;
    const SimAxis* m_axis = nullptr;
    bool m_started = false;
    bool m_liftUp = false;
    std::vector<bool> m_stopperUp;
};

// Both belts with their four neighbours, added to a plant once.
struct Belts {
    BeltTransport* finished = nullptr;
    BeltTransport* empty = nullptr;
    Neighbour* finishedUp = nullptr;   // sends trays with barrels (I/O 48..50)
    Neighbour* finishedDown = nullptr; // takes finished trays (I/O 51..53)
    Neighbour* emptyUp = nullptr;      // sends empty trays (I/O 54..56)
    Neighbour* emptyDown = nullptr;    // takes empty trays (I/O 57..59)
};
Belts addBelts(Plant& plant);
// The belts of a plant that has them (all nullptr otherwise).
Belts findBelts(const Plant& plant);

} // namespace sim
