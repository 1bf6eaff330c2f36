#pragma once
// The finished-product tray at the assembly position with its lens barrels, the NG
// tray, and the NG gripper that carries a product from one to the other.
//
// A tray arrives when the tray input at the assembly position (25) comes on,
// whoever drives it (the belt line, a test forcing it): its cells are filled with
// barrels, each with its own offset, angle, height and QR code; some cells stay
// empty and some barrels are bad, by the settings. When the input goes off the tray
// has left. Input 19 reports the NG tray in place.
#include "sim/PlantElement.h"
#include "sim/Workpieces.h"

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace sim {

class ProductTray : public PlantElement {
public:
    static constexpr int kTrayInput = 25;
    static constexpr int kNgTrayInput = 19;

    struct Settings {
        double emptyRate = 0.0;     // cells without a barrel
        double badRate = 0.0;       // barrels the barrel photo finds NG
        double codeBadRate = 0.0;   // unreadable QR codes
        double heightBadRate = 0.0; // barrels standing too high
        double offsetMm = 0.08;     // scatter of a barrel in its pocket (standard deviation)
        double angleDeg = 2.0;
        double heightSigma = 0.02;
        // Cells (1-based) with that property in every tray from now on, whatever the rates.
        std::set<int> emptyCells, badCells, codeBadCells, heightBadCells;
    };

    std::string name() const override { return "product tray"; }
    void attach(Plant& plant) override;
    void step(Plant& plant, int64_t nowUs) override;
    int64_t restUntilUs(Plant& plant) const override;

    // With the plant lock held for all of these.
    Settings& settings() { return m_settings; }
    // Trays, heights and the gripper's place on the head; resizes the NG tray.
    void setLayout(const WorkLayout& layout);
    const WorkLayout& layout() const { return m_layout; }

    bool loaded() const { return m_loaded; }
    int traySerial() const { return m_serial; }
    // Serials go on from here: the next tray loaded is last + 1 (a plant that was
    // stopped and started again with its trays where they were).
    void continueSerials(int last) { m_serial = last; }
    Barrel& barrel(int cell) { return m_cells[size_t(cell - 1)]; }
    const std::vector<Barrel>& cells() const { return m_cells; }
    // The cell whose barrel lies within tol of (x, y), 0 if none.
    int barrelAt(double x, double y, double tol) const;
    // Puts a label on a barrel (the record of where it went is the caller's).
    void placeLabel(int cell, const Label& l);

    bool ngTrayPresent() const { return m_ngPresent; }
    void setNgTrayPresent(Plant& plant, bool present);
    bool ngCellOccupied(int cell) const;
    int ngCount() const;
    // The operator takes every product out of the NG tray.
    void emptyNgTray();
    const std::vector<Barrel>& ngProducts() const { return m_ngProducts; }

    bool gripperHolding() const { return m_holding; }
    int productsDropped() const { return m_dropped; }
    // The operator takes the product out of the closed NG gripper by hand; false when it holds none.
    bool takeFromGripper() {
        wakeParts();
        return std::exchange(m_holding, false);
    }

    // The gripper's world position and height now.
    void gripperPose(Plant& plant, double* x, double* y, double* z) const;

private:
    void load(Plant& plant);
    void gripperStep(Plant& plant);

    Settings m_settings;
    WorkLayout m_layout;
    std::vector<Barrel> m_cells;
    bool m_loaded = false;
    bool m_trayInputWas = false;
    int m_serial = 0;

    bool m_ngPresent = true;
    std::vector<char> m_ngOccupied;
    std::vector<Barrel> m_ngProducts;

    bool m_closedWas = false;
    bool m_holding = false;
    Barrel m_held;
    int m_heldCell = 0;
    int m_dropped = 0;
};

} // namespace sim
