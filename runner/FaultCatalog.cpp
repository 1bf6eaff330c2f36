#include "FaultCatalog.h"

#include "ProductionRunner.h"
#include "sim/BeltTransport.h"
#include "sim/Feeder.h"
#include "sim/MesEmulator.h"
#include "sim/Neighbour.h"

namespace {

const char* const kAxisIds[] = {"x", "y", "z", "q", "ngz", "line-belt", "empty-belt"};
const char* const kAxisNames[] = {"X", "Y", "Z", "Q", "NG Z", "finished-line belt", "empty-tray belt"};
const char* const kCylIds[] = {"nozzle-lift", "ng-grip",   "ng-extend",
                               "buffer-stop", "assy-stop", "assy-lift"};

QString always(CyclePhase) {
    return QString();
}

QString onlyHoming(CyclePhase p) {
    return p == CyclePhase::Homing ? QString()
                                   : QString("the axes home only after a reset; the fault would wait for it");
}

sim::Neighbour* neighbour(ProductionRunner& r, int which) {
    const sim::Belts b = sim::findBelts(r.plant());
    sim::Neighbour* n[] = {b.finishedUp, b.finishedDown, b.emptyUp, b.emptyDown};
    return n[which];
}

void mesMode(ProductionRunner& r, bool on, sim::MesEmulator::Mode mode) {
    if (r.mes()) r.mes()->setMode(on ? mode : sim::MesEmulator::Mode::Answer);
}

} // namespace

QList<FaultKind> faultCatalog() {
    QList<FaultKind> c;
    auto add = [&c](const QString& id, const QString& what, std::function<void(ProductionRunner&, bool)> set,
                    std::function<QString(CyclePhase)> cannot = always) {
        FaultKind f;
        f.id = id;
        f.what = what;
        f.set = std::move(set);
        f.cannotStrike = std::move(cannot);
        c << f;
        return &c.last();
    };
    for (int a = 0; a < 7; ++a)
        add(QString("servo-%1").arg(kAxisIds[a]),
            QString("servo alarm of axis %1 (%2)").arg(a).arg(kAxisNames[a]),
            [a](ProductionRunner& r, bool on) { r.plant().setServoAlarm(a, on); });
    for (int a = 0; a < 7; ++a)
        add(QString("limit-%1").arg(kAxisIds[a]),
            QString("positive limit switch of axis %1 (%2) active").arg(a).arg(kAxisNames[a]),
            [a](ProductionRunner& r, bool on) { r.plant().forceLimit(a, +1, on); });
    for (int a : {2, 0}) {
        add(
            QString("homing-fails-%1").arg(kAxisIds[a]),
            QString("homing of axis %1 (%2) fails (origin switch dead)").arg(a).arg(kAxisNames[a]),
            [a](ProductionRunner& r, bool on) {
                r.plant().setHomingFault(a, on ? sim::HomingFault::Fails : sim::HomingFault::None);
            },
            onlyHoming)
            ->homing = true;
        add(
            QString("homing-hangs-%1").arg(kAxisIds[a]),
            QString("homing of axis %1 (%2) hangs (never reports a result)").arg(a).arg(kAxisNames[a]),
            [a](ProductionRunner& r, bool on) {
                r.plant().setHomingFault(a, on ? sim::HomingFault::Hangs : sim::HomingFault::None);
            },
            onlyHoming)
            ->homing = true;
    }
    for (int k = 0; k < 6; ++k) {
        add(QString("stuck-%1").arg(kCylIds[k]), QString("cylinder %1 (%2) stuck").arg(k).arg(kCylIds[k]),
            [k](ProductionRunner& r, bool on) { r.plant().setCylinderStuck(k, on); });
        for (int end = 0; end < 2; ++end)
            add(QString("sensor-%1-%2").arg(kCylIds[k]).arg(end == 0 ? "a" : "b"),
                QString("sensor %1 of cylinder %2 (%3) broken")
                    .arg(end == 0 ? "A" : "B")
                    .arg(k)
                    .arg(kCylIds[k]),
                [k, end](ProductionRunner& r, bool on) { r.plant().setCylinderSensorBroken(k, end, on); });
    }
    for (int n = 1; n <= 3; ++n)
        add(QString("can-node-%1").arg(n), QString("CAN I/O node %1 lost").arg(n),
            [n](ProductionRunner& r, bool on) { r.plant().setCanNodeLost(n, on); })
            ->cutsVacuum = n == 2; // the vacuum valve is on node 2
    add(
        "no-card", "no motion card answers", [](ProductionRunner&, bool) {},
        [](CyclePhase) {
            return QString("the card is looked for only at start-up (see the start-up tests)");
        });
    add("nozzle-empty", "the nozzle picks nothing", [](ProductionRunner& r, bool on) {
        r.plant().setNoLabel(on);
    })->cutsVacuum = true;
    add("feeder-empty", "the feeder's magazine runs empty", [](ProductionRunner& r, bool on) {
        auto lock = r.plant().lock();
        r.workcell().feeder().setPlatesLeft(on ? 0 : -1);
    });
    add("feeder-jam", "the feeder jams", [](ProductionRunner& r, bool on) {
        auto lock = r.plant().lock();
        r.workcell().feeder().setJammed(on);
    });
    const std::pair<int, const char*> tasks[] = {{0, "label"}, {1, "lower"},     {2, "barrel"},  {3, "qr"},
                                                 {4, "check"}, {13, "presence"}, {14, "ng-cell"}};
    for (const auto& t : tasks) {
        const int task = t.first;
        add(QString("vision-%1-ng").arg(t.second),
            QString("vision task %1 (%2 photo) always NG").arg(task).arg(t.second),
            [task](ProductionRunner& r, bool on) {
                r.cameras.setForce(task, on ? VirtualCameras::ForceNG : VirtualCameras::ForceNone);
            });
        add(QString("vision-%1-silent").arg(t.second),
            QString("vision task %1 (%2 photo) never answers").arg(task).arg(t.second),
            [task](ProductionRunner& r, bool on) {
                r.cameras.setForce(task, on ? VirtualCameras::ForceNever : VirtualCameras::ForceNone);
            });
    }
    for (int cam = 1; cam <= 2; ++cam)
        add(QString("camera-%1-lost").arg(cam), QString("camera %1 disconnected").arg(cam),
            [cam](ProductionRunner& r, bool on) { r.cameras.setConnected(cam, !on); });
    add("height-silent", "the height sensor does not answer", [](ProductionRunner& r, bool on) {
        r.setHeightFault(on ? ProductionRunner::HeightFault::Silent : ProductionRunner::HeightFault::None);
    });
    add("height-garbled", "the height sensor answers garbled", [](ProductionRunner& r, bool on) {
        r.setHeightFault(on ? ProductionRunner::HeightFault::Garbled : ProductionRunner::HeightFault::None);
    });
    const std::pair<sim::MesEmulator::Mode, const char*> mes[] = {
        {sim::MesEmulator::Mode::Refuse, "refuses"},
        {sim::MesEmulator::Mode::NotJson, "not-json"},
        {sim::MesEmulator::Mode::HttpError, "http-error"},
        {sim::MesEmulator::Mode::Silent, "silent"}};
    for (const auto& m : mes) {
        const sim::MesEmulator::Mode mode = m.first;
        add(QString("mes-%1").arg(m.second), QString("MES %1").arg(QString(m.second).replace('-', ' ')),
            [mode](ProductionRunner& r, bool on) { mesMode(r, on, mode); })
            ->mes = true;
    }
    const char* const who[] = {"line-up", "line-down", "empty-up", "empty-down"};
    const char* const whoText[] = {
        "upstream neighbour of the finished line", "downstream neighbour of the finished line",
        "upstream neighbour of the empty-tray line", "downstream neighbour of the empty-tray line"};
    for (int w = 0; w < 4; ++w) {
        add(QString("%1-slow").arg(who[w]), QString("%1 slow (answers 20 times later)").arg(whoText[w]),
            [w](ProductionRunner& r, bool on) {
                auto lock = r.plant().lock();
                neighbour(r, w)->setSlowFactor(on ? 20.0 : 1.0);
            });
        add(QString("%1-silent").arg(who[w]), QString("%1 silent").arg(whoText[w]),
            [w](ProductionRunner& r, bool on) {
                auto lock = r.plant().lock();
                neighbour(r, w)->setSilent(on);
            });
        add(QString("%1-drop").arg(who[w]), QString("%1 drops its signals half way").arg(whoText[w]),
            [w](ProductionRunner& r, bool on) {
                auto lock = r.plant().lock();
                neighbour(r, w)->setDropAt(on ? int(sim::Neighbour::Begun) : -1);
            });
    }
    add("estop", "emergency stop pressed",
        [](ProductionRunner& r, bool on) { r.plant().setEstopPressed(on); });
    const char* const doors[] = {"front", "rear", "left", "right"};
    for (int d = 0; d < 4; ++d)
        add(QString("door-%1").arg(doors[d]), QString("%1 door opened").arg(doors[d]),
            [d](ProductionRunner& r, bool on) { r.plant().setDoorOpen(d, on); });
    return c;
}

const FaultKind* findFault(const QList<FaultKind>& catalog, const QString& id) {
    for (const FaultKind& f : catalog)
        if (f.id == id) return &f;
    return nullptr;
}
