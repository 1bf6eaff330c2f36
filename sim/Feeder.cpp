#include "Feeder.h"

#include "Plant.h"

#include <algorithm>
#include <random>

namespace sim {

void Feeder::attach(Plant& plant) {
    publish(plant);
}

void Feeder::step(Plant& plant, int64_t nowUs) {
    const bool init = plant.output(kInitOutput);
    const bool feed = plant.output(kFeedOutput);
    if (init && !m_initWas) {
        m_initialised = false;
        m_initDoneUs = nowUs + m_settings.initUs;
    }
    if (m_initDoneUs >= 0 && nowUs >= m_initDoneUs) {
        m_initDoneUs = -1;
        m_initialised = true;
    }
    // An uninitialised feeder ignores the feed signal; a feed during a feed is lost.
    if (feed && !m_feedWas && m_initialised && m_feedDoneUs < 0 && !m_alarm) {
        m_feedDoneUs = nowUs + m_settings.feedUs;
        m_platePresent = false; // the old plate goes out first
        if (m_jammed) {
            m_alarm = true;
            m_feedDoneUs = -1;
        }
    }
    if (m_feedDoneUs >= 0 && nowUs >= m_feedDoneUs) {
        m_feedDoneUs = -1;
        if (m_platesLeft != 0) {
            if (m_platesLeft > 0) --m_platesLeft;
            presentPlate(plant);
        }
    }
    m_initWas = init;
    m_feedWas = feed;
    publish(plant);
}

int64_t Feeder::restUntilUs(Plant& plant) const {
    if (plant.output(kInitOutput) != m_initWas || plant.output(kFeedOutput) != m_feedWas) return kBusy;
    const bool ready = !busy() && m_platePresent && labelsLeft() > 0;
    if (plant.input(kAlarmInput) != m_alarm || plant.input(kInitialisedInput) != m_initialised ||
        plant.input(kReadyInput) != ready)
        return kBusy;
    int64_t next = kNever;
    if (m_initDoneUs >= 0) next = std::min(next, m_initDoneUs);
    if (m_feedDoneUs >= 0) next = std::min(next, m_feedDoneUs);
    return next;
}

void Feeder::setJammed(bool on) {
    m_jammed = on;
    if (!on) m_alarm = false;
    wakeParts();
}

void Feeder::publish(Plant& plant) {
    const bool ready = !busy() && m_platePresent && labelsLeft() > 0;
    if (plant.input(kAlarmInput) != m_alarm) plant.setInput(kAlarmInput, m_alarm);
    if (plant.input(kInitialisedInput) != m_initialised) plant.setInput(kInitialisedInput, m_initialised);
    if (plant.input(kReadyInput) != ready) plant.setInput(kReadyInput, ready);
}

void Feeder::presentPlate(Plant& plant) {
    std::mt19937& rng = plant.rng();
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::normal_distribution<double> off(0.0, m_settings.offsetMm), ang(0.0, m_settings.angleDeg);
    const int n = std::max(0, m_grid.count());
    m_labels.assign(size_t(n), Label());
    m_has.assign(size_t(n), 0);
    for (int c = 1; c <= n; ++c) {
        Label& l = m_labels[size_t(c - 1)];
        double cx, cy;
        m_grid.cellXY(c, &cx, &cy);
        // Draw every value for every cell so that a rate does not shift the others.
        const double empty = u(rng), bad = u(rng);
        l.id = m_nextId++;
        l.x = cx + std::clamp(off(rng), -3 * m_settings.offsetMm, 3 * m_settings.offsetMm);
        l.y = cy + std::clamp(off(rng), -3 * m_settings.offsetMm, 3 * m_settings.offsetMm);
        l.angle = std::clamp(ang(rng), -3 * m_settings.angleDeg, 3 * m_settings.angleDeg);
        l.bad = bad < m_settings.badRate;
        m_has[size_t(c - 1)] = empty >= m_settings.emptyRate;
    }
    m_labelsLeft = int(std::count(m_has.begin(), m_has.end(), char(1)));
    m_platePresent = true;
    wakeParts();
    ++m_platesFed;
    publish(plant);
}

void Feeder::setHas(int cell, bool has) {
    char& h = m_has[size_t(cell - 1)];
    if (bool(h) != has) m_labelsLeft += has ? 1 : -1;
    h = has;
    wakeParts();
}

bool Feeder::hasLabel(int cell) const {
    return m_platePresent && cell >= 1 && cell <= int(m_has.size()) && m_has[size_t(cell - 1)];
}

int Feeder::labelAt(double x, double y, double tol) const {
    if (!m_platePresent) return 0;
    for (int c = 1; c <= int(m_labels.size()); ++c) {
        const Label& l = m_labels[size_t(c - 1)];
        if (m_has[size_t(c - 1)] && std::hypot(l.x - x, l.y - y) <= tol) return c;
    }
    return 0;
}

Label Feeder::take(Plant& plant, int cell) {
    Label l = m_labels[size_t(cell - 1)];
    setHas(cell, false);
    publish(plant);
    return l;
}

void Feeder::putBack(Plant& plant, int cell, const Label& l) {
    if (cell < 1 || cell > int(m_labels.size())) return;
    m_labels[size_t(cell - 1)] = l;
    setHas(cell, true);
    publish(plant);
}

void Feeder::setBad(int cell, bool bad) {
    if (cell >= 1 && cell <= int(m_labels.size())) m_labels[size_t(cell - 1)].bad = bad;
}

void Feeder::removeLabel(Plant& plant, int cell) {
    if (cell >= 1 && cell <= int(m_has.size())) setHas(cell, false);
    publish(plant);
}

} // namespace sim
