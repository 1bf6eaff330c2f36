#pragma once
// The label feeder: a magazine of plates, each holding one label per cell. The
// program initialises it with a pulse and asks for a plate with a feed pulse; the
// feeder takes the old plate away and presents the next one. Each label lies in its
// cell with a small random offset and angle; some cells are empty or hold a bad
// label, by the settings.
//
// Signals (image numbers): inputs 16 feeder alarm, 17 initialised, 18 plate ready
// with labels on it; outputs 19 initialise, 20 feed, 21 plate vacuum.
#include "sim/PlantElement.h"
#include "sim/Workpieces.h"

#include <cstdint>
#include <vector>

namespace sim {

class Feeder : public PlantElement {
public:
    static constexpr int kAlarmInput = 16;
    static constexpr int kInitialisedInput = 17;
    static constexpr int kReadyInput = 18;
    static constexpr int kInitOutput = 19;
    static constexpr int kFeedOutput = 20;
    static constexpr int kVacuumOutput = 21;

    struct Settings {
        int64_t initUs = 800000;  // from the initialise pulse to "initialised"
        int64_t feedUs = 1200000; // plate exchange
        double emptyRate = 0.0;   // share of cells without a label
        double badRate = 0.0;     // share of bad labels
        double offsetMm = 0.1;    // scatter of a label in its cell (standard deviation)
        double angleDeg = 1.0;
    };

    std::string name() const override { return "feeder"; }
    void attach(Plant& plant) override;
    void step(Plant& plant, int64_t nowUs) override;
    int64_t restUntilUs(Plant& plant) const override;

    // With the plant lock held for all of these.
    void setGrid(const TrayGrid& grid) {
        m_grid = grid;
        wakeParts();
    }
    const TrayGrid& grid() const { return m_grid; }
    Settings& settings() { return m_settings; }
    // Plates left in the magazine; -1 (the default) never runs empty.
    void setPlatesLeft(int plates) {
        m_platesLeft = plates;
        wakeParts();
    }
    int platesLeft() const { return m_platesLeft; }
    // A jammed feeder stops in its next feed, takes the old plate away, presents none
    // and reports its alarm (input 16) until the jam is cleared.
    void setJammed(bool on);
    bool jammed() const { return m_jammed; }
    bool busy() const { return m_feedDoneUs >= 0; }
    int platesFed() const { return m_platesFed; }
    bool initialised() const { return m_initialised; }

    // Puts a fresh plate in place at once (tests, and the operator loading by hand).
    void presentPlate(Plant& plant);
    bool platePresent() const { return m_platePresent; }
    int labelsLeft() const { return m_labelsLeft; }
    // The cell whose label lies within tol of (x, y), 0 if none.
    int labelAt(double x, double y, double tol) const;
    bool hasLabel(int cell) const;
    const Label& label(int cell) const { return m_labels[size_t(cell - 1)]; }
    Label& label(int cell) { return m_labels[size_t(cell - 1)]; }
    Label take(Plant& plant, int cell);
    void putBack(Plant& plant, int cell, const Label& l);
    void setBad(int cell, bool bad);
    void removeLabel(Plant& plant, int cell);

private:
    void publish(Plant& plant);
    void setHas(int cell, bool has);

    TrayGrid m_grid;
    Settings m_settings;
    std::vector<Label> m_labels;
    std::vector<char> m_has;
    int m_labelsLeft = 0;
    bool m_platePresent = false;
    bool m_initialised = false;
    bool m_jammed = false;
    bool m_alarm = false;
    int m_platesLeft = -1;
    int m_platesFed = 0;
    int m_nextId = 1;
    bool m_initWas = false, m_feedWas = false;
    int64_t m_initDoneUs = -1; // when the running initialisation ends
    int64_t m_feedDoneUs = -1; // when the running feed ends
};

} // namespace sim
