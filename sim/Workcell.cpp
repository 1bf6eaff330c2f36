#include "Workcell.h"

#include "Feeder.h"
#include "NozzleVacuum.h"
#include "Plant.h"
#include "ProductTray.h"

#include <cmath>
#include <limits>
#include <memory>

namespace sim {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kGripRadius = 1.5;   // the nozzle finds a label this close to its centre
constexpr double kSeeRadius = 3.0;    // a camera finds an object this close to its centre
constexpr double kPocketFloor = -8.0; // what the sensor reads in an empty pocket
constexpr double kCheckMm = 0.1;      // the check photo accepts a label this close
constexpr double kCheckDeg = 1.0;
constexpr double kPlateGripRadius = 2.0; // the nozzle holds the plate this close to its mark

double norm180(double a) {
    a = std::fmod(a, 360.0);
    if (a > 180.0) a -= 360.0;
    if (a <= -180.0) a += 360.0;
    return a;
}
} // namespace

Workcell* Workcell::install(Plant& plant) {
    auto lock = plant.lock();
    auto* feeder = static_cast<Feeder*>(plant.addElement(std::make_unique<Feeder>()));
    auto* tray = static_cast<ProductTray*>(plant.addElement(std::make_unique<ProductTray>()));
    auto cell = std::make_unique<Workcell>();
    cell->m_feeder = feeder;
    cell->m_tray = tray;
    return static_cast<Workcell*>(plant.addElement(std::move(cell)));
}

void Workcell::attach(Plant& plant) {
    m_plant = &plant;
    setLayout(m_layout);
    plant.nozzle().setGripRule([this](Plant& p) { return grip(p); });
    plant.nozzle().setReleaseHandler([this](Plant& p) { release(p); });
    plant.setInput(kBoxPresentInput, m_boxPresent);
    plant.setInput(kBoxFullInput, false);
}

void Workcell::setLayout(const WorkLayout& layout) {
    m_layout = layout;
    if (m_feeder) m_feeder->setGrid(layout.plate);
    if (m_tray) m_tray->setLayout(layout);
}

void Workcell::step(Plant& plant, int64_t nowUs) {
    (void)nowUs;
    if (m_carrying && m_loseOnLift > 0 && m_fromCell > 0 &&
        plant.axis(2).encoderUnits() < m_layout.plateZ - 3.0) {
        --m_loseOnLift;
        plant.nozzle().drop(plant);
    }
    const bool full = m_boxCount >= m_boxCapacity;
    if (plant.input(kBoxPresentInput) != m_boxPresent) plant.setInput(kBoxPresentInput, m_boxPresent);
    if (plant.input(kBoxFullInput) != full) plant.setInput(kBoxFullInput, full);
}

int64_t Workcell::restUntilUs(Plant& plant) const {
    // A label to lose waits for the nozzle to rise: watch Z while it moves.
    if (m_carrying && m_loseOnLift > 0 && m_fromCell > 0 &&
        (plant.axis(2).active() || plant.axis(2).encoderUnits() < m_layout.plateZ - 3.0))
        return kBusy;
    const bool full = m_boxCount >= m_boxCapacity;
    if (plant.input(kBoxPresentInput) != m_boxPresent || plant.input(kBoxFullInput) != full) return kBusy;
    return kNever;
}

void Workcell::nozzleWorld(double* x, double* y) const {
    *x = m_plant->axis(0).encoderUnits() + m_layout.nozzleDx;
    *y = m_plant->axis(1).encoderUnits() + m_layout.nozzleDy;
}

bool Workcell::nozzleDown() const {
    return m_plant->cylinder(CylNozzleLift).atB();
}

void Workcell::carriedPose(double* x, double* y, double* angle) const {
    const double q = m_plant->axis(3).encoderUnits();
    const double c = std::cos(q * kPi / 180.0), s = std::sin(q * kPi / 180.0);
    double nx, ny;
    nozzleWorld(&nx, &ny);
    *x = nx + c * m_ex - s * m_ey;
    *y = ny + s * m_ex + c * m_ey;
    *angle = norm180(q + m_rel);
}

bool Workcell::grip(Plant& plant) {
    if (m_carrying || m_plateCarried || !nozzleDown()) return false;
    if (gripPlate(plant)) return true;
    const double z = plant.axis(2).encoderUnits();
    if (std::fabs(z - m_layout.plateZ) > m_layout.pickZTol) return false;
    double nx, ny;
    nozzleWorld(&nx, &ny);
    const int cell = m_feeder->labelAt(nx, ny, kGripRadius);
    if (cell == 0) return false;
    m_label = m_feeder->take(plant, cell);
    m_fromCell = cell;
    // Keep the label's place on the nozzle in the nozzle's own frame, so that it turns with Q.
    const double q = plant.axis(3).encoderUnits();
    const double c = std::cos(q * kPi / 180.0), s = std::sin(q * kPi / 180.0);
    const double dx = m_label.x - nx, dy = m_label.y - ny;
    m_ex = c * dx + s * dy;
    m_ey = -s * dx + c * dy;
    m_rel = m_label.angle - q;
    m_carrying = true;
    return true;
}

bool Workcell::takeLabelOffNozzle(Plant& plant) {
    if (!m_carrying) return false;
    m_carrying = false; // gone by hand: the nozzle lets go of nothing
    wakeParts();
    plant.nozzle().drop(plant);
    return true;
}

void Workcell::release(Plant& plant) {
    if (m_plateCarried) {
        // The plate stays where the nozzle lets it go.
        m_plateCarried = false;
        carriedPlatePose(&m_plate.x, &m_plate.y, &m_plate.angle);
        return;
    }
    if (!m_carrying) return;
    m_carrying = false;
    Label l = m_label;
    carriedPose(&l.x, &l.y, &l.angle);
    const double z = plant.axis(2).encoderUnits();
    const bool low = nozzleDown();
    const int barrel = m_tray->barrelAt(l.x, l.y, kSeeRadius);
    if (barrel && low && std::fabs(z - m_layout.barrelZ) <= 1.5) {
        Barrel& b = m_tray->barrel(barrel);
        m_tray->placeLabel(barrel, l);
        Placement p;
        p.tray = m_tray->traySerial();
        p.cell = barrel;
        p.code = b.code;
        p.labelId = l.id;
        p.dx = l.x - b.x;
        p.dy = l.y - b.y;
        p.dAngle = norm180(l.angle - b.angle);
        m_placements.add(p);
        return;
    }
    if (std::hypot(l.x - m_layout.binX, l.y - m_layout.binY) <= m_layout.binRadius && m_boxPresent) {
        ++m_boxCount;
        return;
    }
    const int cell = m_layout.plate.cellAt(l.x, l.y, kSeeRadius);
    if (cell && low && std::fabs(z - m_layout.plateZ) <= m_layout.pickZTol && !m_feeder->hasLabel(cell) &&
        m_feeder->platePresent()) {
        m_feeder->putBack(plant, cell, l);
        return;
    }
    ++m_lost;
}

bool Workcell::see(int task, const VirtualCameras::Pose& pose, VirtualCameras::SceneView* v) {
    auto guard = m_plant->readLock();
    const WorkLayout& L = m_layout;
    const bool focus = std::fabs(pose.z - L.upperCamZ) <= L.focusTol;
    switch (task) {
    case 0: { // label on the plate
        const int c = m_feeder->labelAt(pose.x, pose.y, kSeeRadius);
        if (c == 0) return v->ok = false, true;
        const Label& l = m_feeder->label(c);
        v->ok = focus && !l.bad;
        v->x = pose.x - l.x;
        v->y = pose.y - l.y;
        v->angle = l.angle;
        return true;
    }
    case 1: { // label on the nozzle, seen from below
        double nx, ny;
        nozzleWorld(&nx, &ny);
        const bool over = std::hypot(nx - L.lowerCamX, ny - L.lowerCamY) <= kSeeRadius;
        v->ok = m_carrying && over && nozzleDown() && std::fabs(pose.z - L.lowerCamZ) <= L.focusTol;
        if (v->ok) {
            double lx, ly, la;
            carriedPose(&lx, &ly, &la);
            v->x = lx - L.lowerCamX;
            v->y = ly - L.lowerCamY;
            v->angle = la;
        }
        return true;
    }
    case 2:   // barrel before assembly
    case 4: { // label on the barrel after assembly
        const int c = m_tray->barrelAt(pose.x, pose.y, kSeeRadius);
        if (c == 0 || !focus) return v->ok = false, true;
        const Barrel& b = m_tray->barrel(c);
        if (task == 2) {
            v->ok = !b.bad;
            v->x = pose.x - b.x;
            v->y = pose.y - b.y;
            v->angle = b.angle;
            return true;
        }
        const double dx = b.label.x - b.x, dy = b.label.y - b.y;
        v->ok = b.labelled && std::hypot(dx, dy) <= kCheckMm &&
                std::fabs(norm180(b.label.angle - b.angle)) <= kCheckDeg;
        v->x = pose.x - b.label.x;
        v->y = pose.y - b.label.y;
        v->angle = b.label.angle;
        return true;
    }
    case 3:    // QR code beside the barrel
    case 13: { // barrel presence, seen at the code position
        const int c = m_tray->barrelAt(pose.x, pose.y - L.codeDy, kSeeRadius);
        if (c == 0 || !focus) return v->ok = false, true;
        const Barrel& b = m_tray->barrel(c);
        v->ok = task == 13 || !b.codeBad;
        if (task == 3 && v->ok) v->text = QString::fromStdString(b.code);
        return true;
    }
    case 14: { // NG tray cell must be free
        const int c = L.ngTray.cellAt(pose.x, pose.y, kSeeRadius);
        v->ok = focus && c && m_tray->ngTrayPresent() && !m_tray->ngCellOccupied(c);
        return true;
    }
    default:
        return seeCalibration(task, pose, v);
    }
}

void Workcell::placePlate(double x, double y, double angle) {
    m_plateCarried = false;
    m_plate.x = x;
    m_plate.y = y;
    m_plate.angle = norm180(angle);
}

bool Workcell::gripPlate(Plant& plant) {
    const double z = plant.axis(2).encoderUnits();
    if (std::fabs(z - m_layout.plateRestZ) > m_layout.pickZTol) return false;
    double nx, ny;
    nozzleWorld(&nx, &ny);
    if (std::hypot(m_plate.x - nx, m_plate.y - ny) > kPlateGripRadius) return false;
    const double q = plant.axis(3).encoderUnits();
    const double c = std::cos(q * kPi / 180.0), s = std::sin(q * kPi / 180.0);
    const double dx = m_plate.x - nx, dy = m_plate.y - ny;
    m_pex = c * dx + s * dy;
    m_pey = -s * dx + c * dy;
    m_prel = m_plate.angle - q;
    m_plateCarried = true;
    return true;
}

void Workcell::carriedPlatePose(double* x, double* y, double* angle) const {
    double nx, ny, dx, dy;
    nozzleWorld(&nx, &ny);
    plateOnNozzleOffset(&dx, &dy);
    *x = nx + dx;
    *y = ny + dy;
    *angle = norm180(m_plant->axis(3).encoderUnits() + m_prel);
}

void Workcell::plateOnNozzleOffset(double* dx, double* dy) const {
    const double q = m_plant->axis(3).encoderUnits();
    const double c = std::cos(q * kPi / 180.0), s = std::sin(q * kPi / 180.0);
    *dx = c * m_pex - s * m_pey;
    *dy = s * m_pex + c * m_pey;
}

// The calibration tasks: 6 to 9 look down at the plate or its nest, 10 and 11 up at the
// plate on the nozzle, 5 and 12 up at the bare nozzle. Called with the plant lock held.
bool Workcell::seeCalibration(int task, const VirtualCameras::Pose& pose, VirtualCameras::SceneView* v) {
    const WorkLayout& L = m_layout;
    v->ok = false;
    if (task == 5 || task == 10 || task == 11 || task == 12) {
        double nx, ny;
        nozzleWorld(&nx, &ny);
        const bool inView = nozzleDown() && std::fabs(pose.z - L.lowerCamZ) <= L.focusTol;
        const double q = m_plant->axis(3).encoderUnits();
        if (task == 5 || task == 12) { // the bare nozzle; anything it holds hides its tip
            v->ok = inView && !m_plateCarried && !m_carrying &&
                    std::hypot(nx - L.lowerCamX, ny - L.lowerCamY) <= kSeeRadius;
            v->x = nx - L.lowerCamX;
            v->y = ny - L.lowerCamY;
            v->angle = norm180(q - L.nozzleZeroDeg);
            return true;
        }
        if (!m_plateCarried) return true;
        double px, py, pa;
        carriedPlatePose(&px, &py, &pa);
        v->ok = inView && std::hypot(px - L.lowerCamX, py - L.lowerCamY) <= kSeeRadius;
        v->x = px - L.lowerCamX;
        v->y = py - L.lowerCamY;
        v->angle = pa;
        return true;
    }
    if (task < 6 || task > 9) return false;
    const bool focus = std::fabs(pose.z - L.upperCamZ) <= L.focusTol;
    const bool plateHere =
        !m_plateCarried && std::hypot(pose.x - m_plate.x, pose.y - m_plate.y) <= kSeeRadius;
    const bool nestHere = std::hypot(pose.x - L.nestX, pose.y - L.nestY) <= kSeeRadius;
    if (!focus) return true;
    if (task == 9) {
        // How far the put-back plate sits from its place: its mark against the nest's.
        v->ok = plateHere && nestHere;
        v->x = L.nestX - m_plate.x;
        v->y = L.nestY - m_plate.y;
        v->angle = norm180(m_plate.angle - L.nestAngle);
        return true;
    }
    if (plateHere) { // the plate covers the nest's mark
        v->ok = true;
        v->x = pose.x - m_plate.x;
        v->y = pose.y - m_plate.y;
        v->angle = m_plate.angle;
        return true;
    }
    v->ok = nestHere && task != 6; // the 9-point calibration needs the plate's grid
    v->x = pose.x - L.nestX;
    v->y = pose.y - L.nestY;
    v->angle = L.nestAngle;
    return true;
}

double Workcell::heightUnderSensor() {
    auto guard = m_plant->readLock();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (!m_tray->loaded()) return nan;
    const double x = m_plant->axis(0).encoderUnits() + m_layout.sensorDx;
    const double y = m_plant->axis(1).encoderUnits() + m_layout.sensorDy;
    const TrayGrid& g = m_layout.product;
    const int cell = g.cellAt(x, y, std::min(g.colPitch, g.rowPitch) / 2);
    if (cell == 0) return nan;
    const int b = m_tray->barrelAt(x, y, kSeeRadius);
    if (b == 0) return kPocketFloor;
    const Barrel& barrel = m_tray->barrel(b);
    return barrel.height + (barrel.labelled ? m_layout.labelThickness : 0.0);
}

VirtualCameras::Scene Workcell::cameraScene() {
    return [this](int task, const VirtualCameras::Pose& pose, VirtualCameras::SceneView* view) {
        return see(task, pose, view);
    };
}

} // namespace sim
