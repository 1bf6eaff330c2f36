#include "ProductTray.h"

#include "Plant.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace sim {

void ProductTray::attach(Plant& plant) {
    setLayout(m_layout);
    plant.setInput(kNgTrayInput, m_ngPresent);
}

void ProductTray::setLayout(const WorkLayout& layout) {
    m_layout = layout;
    m_ngOccupied.assign(size_t(std::max(0, layout.ngTray.count())), 0);
}

void ProductTray::step(Plant& plant, int64_t nowUs) {
    (void)nowUs;
    const bool tray = plant.input(kTrayInput);
    if (tray && !m_trayInputWas) load(plant);
    if (!tray && m_trayInputWas) {
        m_loaded = false;
        m_cells.clear();
    }
    m_trayInputWas = tray;
    gripperStep(plant);
}

int64_t ProductTray::restUntilUs(Plant& plant) const {
    const bool changed =
        plant.input(kTrayInput) != m_trayInputWas || plant.cylinder(CylNgGrip).atB() != m_closedWas;
    return changed ? kBusy : kNever;
}

void ProductTray::load(Plant& plant) {
    std::mt19937& rng = plant.rng();
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::normal_distribution<double> off(0.0, m_settings.offsetMm), ang(0.0, m_settings.angleDeg),
        high(0.0, m_settings.heightSigma);
    const TrayGrid& g = m_layout.product;
    ++m_serial;
    m_cells.assign(size_t(std::max(0, g.count())), Barrel());
    for (int c = 1; c <= g.count(); ++c) {
        Barrel& b = m_cells[size_t(c - 1)];
        double cx, cy;
        g.cellXY(c, &cx, &cy);
        // Every cell draws the same numbers whatever the rates, so one setting does not
        // reshuffle the others.
        const double e = u(rng), bad = u(rng), code = u(rng), hb = u(rng);
        b.x = cx + std::clamp(off(rng), -3 * m_settings.offsetMm, 3 * m_settings.offsetMm);
        b.y = cy + std::clamp(off(rng), -3 * m_settings.offsetMm, 3 * m_settings.offsetMm);
        b.angle = std::clamp(ang(rng), -3 * m_settings.angleDeg, 3 * m_settings.angleDeg);
        b.height = high(rng);
        b.present = !(e < m_settings.emptyRate || m_settings.emptyCells.count(c));
        b.bad = bad < m_settings.badRate || m_settings.badCells.count(c);
        b.codeBad = code < m_settings.codeBadRate || m_settings.codeBadCells.count(c);
        if (hb < m_settings.heightBadRate || m_settings.heightBadCells.count(c)) b.height += 4.5;
        char text[32];
        std::snprintf(text, sizeof text, "TVR-%04d-%02d", m_serial, c);
        b.code = text;
    }
    m_loaded = true;
}

int ProductTray::barrelAt(double x, double y, double tol) const {
    if (!m_loaded) return 0;
    const int c = m_layout.product.cellAt(x, y, m_layout.product.colPitch / 2);
    if (c < 1 || c > int(m_cells.size())) return 0;
    const Barrel& b = m_cells[size_t(c - 1)];
    return b.present && std::hypot(b.x - x, b.y - y) <= tol ? c : 0;
}

void ProductTray::placeLabel(int cell, const Label& l) {
    Barrel& b = barrel(cell);
    b.labelled = true;
    b.label = l;
}

void ProductTray::setNgTrayPresent(Plant& plant, bool present) {
    m_ngPresent = present;
    plant.setInput(kNgTrayInput, present);
}

bool ProductTray::ngCellOccupied(int cell) const {
    return cell >= 1 && cell <= int(m_ngOccupied.size()) && m_ngOccupied[size_t(cell - 1)];
}

int ProductTray::ngCount() const {
    return int(std::count(m_ngOccupied.begin(), m_ngOccupied.end(), char(1)));
}

void ProductTray::emptyNgTray() {
    std::fill(m_ngOccupied.begin(), m_ngOccupied.end(), char(0));
}

void ProductTray::gripperPose(Plant& plant, double* x, double* y, double* z) const {
    *x = plant.axis(0).encoderUnits() + m_layout.gripperDx;
    *y = plant.axis(1).encoderUnits() + m_layout.gripperDy;
    *z = plant.axis(4).encoderUnits();
}

void ProductTray::gripperStep(Plant& plant) {
    const bool closed = plant.cylinder(CylNgGrip).atB();
    if (closed == m_closedWas) return;
    m_closedWas = closed;
    double x, y, z;
    gripperPose(plant, &x, &y, &z);
    const WorkLayout& L = m_layout;
    if (closed) {
        if (m_holding || std::fabs(z - L.ngPickZ) > L.ngZTol) return;
        const int c = barrelAt(x, y, 2.0);
        if (c == 0) return;
        m_held = barrel(c);
        m_heldCell = c;
        m_holding = true;
        barrel(c).present = false;
        return;
    }
    if (!m_holding) return;
    m_holding = false;
    const int ng = L.ngTray.cellAt(x, y, 3.0);
    if (ng && m_ngPresent && !ngCellOccupied(ng) && std::fabs(z - L.ngPutZ) <= L.ngZTol) {
        m_ngOccupied[size_t(ng - 1)] = 1;
        m_ngProducts.push_back(m_held);
        return;
    }
    const int back = m_loaded ? L.product.cellAt(x, y, 3.0) : 0;
    if (back && !barrel(back).present && std::fabs(z - L.ngPickZ) <= L.ngZTol) {
        Barrel b = m_held;
        L.product.cellXY(back, &b.x, &b.y);
        barrel(back) = b;
        return;
    }
    ++m_dropped;
}

} // namespace sim
