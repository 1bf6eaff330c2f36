#include "ProductionRunner.h"

#include "app/DataSetup.h"
#include "app/ImageHousekeeping.h"
#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "app/RunDataKeeper.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/vision/TaskParams.h"
#include "platform/vision/VisionBackend.h"
#include "production/MesConfig.h"
#include "sequences/CycleData.h"
#include "sequences/WaitReasons.h"
#include "sim/BeltTransport.h"
#include "sim/Feeder.h"
#include "sim/HeightSensor.h"
#include "sim/MesEmulator.h"
#include "sim/ProductTray.h"
#include "vision/Calibrations.h"
#include "vision/HeightValues.h"
#include "vision/TcpBase.h"
#include "vision/VisionRequests.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextBrowser>
#include <QTextStream>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace {
using Panel = sim::OperatorPanel;

int64_t wallUs() {
    static SystemClock wall;
    return wall.nowUs();
}

std::set<int> cellSet(const QJsonValue& v) {
    std::set<int> cells;
    for (const QJsonValue& c : v.toArray()) cells.insert(c.toInt());
    return cells;
}
} // namespace

ProductionRunner::ProductionRunner(uint32_t seed, bool images) : vm(seed), cameras(seed), m_seed(seed) {
    clock.install();
    // Hours of machine time pass in seconds: waiting for the disk at every save would
    // cost more than the whole run (the files still change atomically).
    m_syncWas = AtomicFile::syncToDisk();
    AtomicFile::setSyncToDisk(false);
    vm.installCard();
    sim::VirtualMachine::setInstance(&vm);
    clock.setPlant([this](int64_t t) { vm.step(t); }, sim::kPlantStepUs);
    // Most of a shift the plant stands still between moves: no need to step it then.
    clock.setPlantRest([this] { return plant().nextStepUs(); }, [this](int64_t t) { plant().restUntil(t); });
    cameras.setPoseSource(&VirtualCameras::cardPose);
    cameras.setScene(vm.workcell().cameraScene());
    cameras.setRenderImages(images);
    m_images = images;
    VisionBackend::install(&cameras);
    // Questions at start (switch MES on?) keep the recipe as it is.
    Prompt::setHandler([](const Prompt::Shown&) { return false; });
}

ProductionRunner::~ProductionRunner() {
    // Threads of manual mode (calibrations) sleep on this clock; none may outlive the machine.
    clock.releaseSleepers();
    stopCalibrations();
    ImageHousekeeping::stop();
    retireVisionWatchers();
    if (window) TaskParams::GetInstance()->setSaveImages(m_savedImages);
    window.reset();
    VisionBackend::install(nullptr);
    sim::VirtualMachine::setInstance(nullptr);
    AtomicFile::setSyncToDisk(m_syncWas);
    vm.uninstallCard();
    Prompt::setHandler(Prompt::Handler());
}

bool ProductionRunner::loadFaults(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QString("cannot read the fault file %1: %2").arg(path, f.errorString());
        return false;
    }
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = QString("the fault file %1 is not a JSON object: %2").arg(path, pe.errorString());
        return false;
    }
    return applyFaults(doc.object(), error);
}

bool ProductionRunner::applyFaults(const QJsonObject& faults, QString* error) {
    static const QStringList known = {"emptyCells",     "badBarrels",    "unreadableCodes",  "highBarrels",
                                      "emptyRate",      "badBarrelRate", "unreadableRate",   "highRate",
                                      "labelEmptyRate", "labelBadRate",  "feederPlates",     "feederJam",
                                      "vision",         "noise",         "servoAlarm",       "cylinderStuck",
                                      "canNodeLost",    "noLabel",       "labelsLostOnLift", "ngTrayMissing",
                                      "labelBoxMissing"};
    for (const QString& key : faults.keys())
        if (!known.contains(key)) {
            *error = QString("unknown fault \"%1\" (known: %2)").arg(key, known.join(", "));
            return false;
        }
    const QJsonObject vision = faults.value("vision").toObject();
    for (const QString& task : vision.keys()) {
        bool ok = false;
        const int t = task.toInt(&ok);
        const QString how = vision.value(task).toString();
        if (!ok || t < 0 || t >= VirtualCameras::kMaxTasks ||
            (how != "NG" && how != "silent" && how != "OK")) {
            *error = QString("vision fault \"%1\": \"%2\" (a task number with \"NG\", \"silent\" or \"OK\")")
                         .arg(task, how);
            return false;
        }
    }
    m_faults = faults;
    auto lock = plant().lock();
    sim::ProductTray::Settings& t = workcell().tray().settings();
    t.emptyCells = cellSet(faults.value("emptyCells"));
    t.badCells = cellSet(faults.value("badBarrels"));
    t.codeBadCells = cellSet(faults.value("unreadableCodes"));
    t.heightBadCells = cellSet(faults.value("highBarrels"));
    t.emptyRate = faults.value("emptyRate").toDouble();
    t.badRate = faults.value("badBarrelRate").toDouble();
    t.codeBadRate = faults.value("unreadableRate").toDouble();
    t.heightBadRate = faults.value("highRate").toDouble();
    sim::Feeder& f = workcell().feeder();
    f.settings().emptyRate = faults.value("labelEmptyRate").toDouble();
    f.settings().badRate = faults.value("labelBadRate").toDouble();
    f.setPlatesLeft(faults.value("feederPlates").toInt(-1));
    f.setJammed(faults.value("feederJam").toBool());
    for (const QString& task : vision.keys()) {
        const QString how = vision.value(task).toString();
        cameras.setForce(task.toInt(), how == "NG"       ? VirtualCameras::ForceNG
                                       : how == "silent" ? VirtualCameras::ForceNever
                                                         : VirtualCameras::ForceOK);
    }
    if (faults.contains("noise")) {
        const QJsonArray n = faults.value("noise").toArray();
        cameras.setSceneNoise(n.at(0).toDouble(), n.at(1).toDouble());
    }
    for (const QJsonValue& a : faults.value("servoAlarm").toArray()) plant().setServoAlarm(a.toInt(), true);
    for (const QJsonValue& k : faults.value("cylinderStuck").toArray())
        plant().setCylinderStuck(k.toInt(), true);
    for (const QJsonValue& n : faults.value("canNodeLost").toArray()) plant().setCanNodeLost(n.toInt(), true);
    if (faults.value("noLabel").toBool()) plant().setNoLabel(true);
    workcell().loseLabelsOnLift(faults.value("labelsLostOnLift").toInt());
    if (faults.value("ngTrayMissing").toBool()) workcell().tray().setNgTrayPresent(plant(), false);
    workcell().setLabelBoxPresent(!faults.value("labelBoxMissing").toBool());
    return true;
}

void ProductionRunner::layoutFromRecipe() {
    // The plate and the trays as the recipe describes them, where its taught points
    // put them (the recipe was taught on this machine).
    sim::WorkLayout L = workcell().layout();
    auto grid = [](int base, double x1, double y1) {
        sim::TrayGrid g;
        g.x1 = x1;
        g.y1 = y1;
        g.rows = std::max(1, int(gf[base]));
        g.cols = std::max(1, int(gf[base + 1]));
        g.rowPitch = gf[base + 2];
        g.colPitch = gf[base + 3];
        return g;
    };
    L.plate = grid(500, gf[605], gf[606]);
    L.product = grid(510, gf[620], gf[621]);
    L.ngTray = grid(520, gf[645], gf[646]);
    auto lock = plant().lock();
    workcell().setLayout(L);
}

bool ProductionRunner::powerUp(QString* error) {
    Q_INIT_RESOURCE(config);
    const QString setup = DataSetup::ensure();
    if (!setup.isEmpty()) {
        *error = setup;
        return false;
    }
    MainWindow1::Options o;
    o.startWorkers = false;
    o.startTicks = false;
    o.startHousekeeping = false;
    window = std::make_unique<MainWindow1>(nullptr, o);
    // Only for this run: the recipe's vision setting is put back when the runner ends.
    m_savedImages = TaskParams::GetInstance()->saveImages();
    if (!m_images) TaskParams::GetInstance()->setSaveImages(false);
    MainWindow1* w = window.get();
    layoutFromRecipe();
    m_csvRowsAtStart = csvRows();
    m_productsAtStart = int(gr[21] + gr[22]); // the run data of earlier runs
    m_wallStartUs = wallUs();
    m_machineStartUs = clock.nowUs();
    // The belt line brings trays when its model is in the plant; otherwise one tray
    // stands at the assembly position and is exchanged in place.
    m_beltModel = sim::findBelts(plant()).finished != nullptr;
    clock.addPeriodic("fast", 5000, [w] { w->taskFast().pass(); });
    clock.addPeriodic("cycle", 5000, [w] { w->taskA().pass(); });
    clock.addPeriodic("belt", 5000, [w] { w->taskB().pass(); });
    // The ticks' machine logic; the widgets they would refresh are not on a screen.
    MainCycle* c = &w->machineCycle();
    clock.addPeriodic("tick100", 100000, [c] { c->tick100ms(); });
    clock.addPeriodic("tick25", 25000, [c] { c->tick25ms(); });
    clock.addPeriodic("tick10", 10000, [c] { c->tick10ms(); });
    clock.addPeriodic("tick3s", 3000000, [c] { c->tick3s(); });
    clock.addPeriodic("rundata", 100000, [] { RunDataKeeper::tick(); });
    clock.addPeriodic(
        "tick10min", 600000000, [c] { c->tick10min(); }, 600000000);
    // Queued signals (the product rows) every 10 ms; the full event loop, which polls
    // the sockets and the screen, every 100 ms is enough without a screen.
    clock.addPeriodic("events", 10000, [n = 0]() mutable {
        if (++n % 10 == 0)
            QCoreApplication::processEvents();
        else
            QCoreApplication::sendPostedEvents();
    });
    clock.addPeriodic("height", 150000, [this] { heightLink(); });
    clock.addPeriodic("watch", 10000, [this] { watch(); });
    if (!m_beltModel) {
        plant().forceInput(sim::ProductTray::kTrayInput, 1);
        clock.addPeriodic("trays", 10000, [this] { trayStandIn(); });
    }
    clock.runFor(1.0);
    if (cardOk != 1.0) {
        *error = "the motion card did not start";
        return false;
    }
    return true;
}

bool ProductionRunner::useMes(QString* error) {
    MesConfig::load();
    const QUrl in(mesInUrl), out(mesOutUrl);
    const auto loopback = [](const QUrl& u) {
        return u.host() == "127.0.0.1" || u.host() == "::1" || u.host() == "localhost";
    };
    if (!loopback(in) || !loopback(out)) {
        *error = QString("the MES configuration names %1 and %2; runs talk to loopback only")
                     .arg(mesInUrl, mesOutUrl);
        return false;
    }
    if (in.port() == sim::VirtualMachine::kMesPort) {
        m_mes = std::make_unique<sim::MesEmulator>();
        if (!m_mes->start(sim::VirtualMachine::kMesPort) && !m_mes->start(0)) {
            *error = "the MES emulator cannot listen on loopback";
            return false;
        }
        mesInUrl = m_mes->url(in.path());
        mesOutUrl = m_mes->url(out.path());
    }
    gd[46] = 2.0;
    return true;
}

bool ProductionRunner::resetAndHome(QString* error, double maxSeconds) {
    plant().panel().clickButton(Panel::ResetButton, 100000);
    if (!clock.runUntil([] { return waitOperator == 1; }, maxSeconds)) {
        *error = QString("the machine did not home within %1 s").arg(maxSeconds);
        return false;
    }
    return true;
}

bool ProductionRunner::start(QString* error) {
    clock.runFor(0.3);
    plant().panel().clickButton(Panel::StartButton, 100000);
    if (!clock.runUntil([] { return runA == 1; }, 2.0)) {
        *error = "the machine did not start";
        return false;
    }
    return true;
}

void ProductionRunner::produce(int products, int trays, double maxSeconds, double stallSeconds) {
    int64_t stoppedSinceUs = -1;
    const int64_t endUs = clock.nowUs() + int64_t(maxSeconds * 1e6);
    m_endReason = "time limit";
    clock.runUntil(
        [&] {
            if (products > 0 && productsMade() >= products) return m_endReason = "products made", true;
            if (trays > 0 && m_traysFinished >= trays) return m_endReason = "trays finished", true;
            const bool moving = runA == 1 || stepA >= 1000;
            if (moving) {
                stoppedSinceUs = -1;
            } else if (stoppedSinceUs < 0) {
                stoppedSinceUs = clock.nowUs();
            } else if (clock.nowUs() - stoppedSinceUs >= int64_t(stallSeconds * 1e6)) {
                m_endReason = alarmActive ? "stopped on an alarm" : "stopped";
                return true;
            }
            return clock.nowUs() >= endUs;
        },
        maxSeconds + 1.0);
    // A product finished in the last pass still has its row queued for the window.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    m_wallUs = wallUs() - m_wallStartUs;
}

void ProductionRunner::shutdown() {
    // As the main window closes: the last rows, then the run data.
    clock.runFor(0.1);
    RunDataKeeper::closing();
    iniRUNvartofile();
}

int ProductionRunner::productsMade() const {
    return int(gr[21] + gr[22]) - m_productsAtStart;
}

void ProductionRunner::watch() {
    // Flags change seldom; a whole shift passes here every 10 ms.
    u8 alarms[256], prompts[64];
    std::memcpy(alarms, const_cast<const u8*>(alarmFlags), sizeof alarms);
    std::memcpy(prompts, const_cast<const u8*>(promptFlags), sizeof prompts);
    const bool same = std::memcmp(alarms, m_alarmFlagsSeen, sizeof alarms) == 0 &&
                      std::memcmp(prompts, m_promptFlagsSeen, sizeof prompts) == 0;
    std::memcpy(m_alarmFlagsSeen, alarms, sizeof alarms);
    std::memcpy(m_promptFlagsSeen, prompts, sizeof prompts);
    if (!same) countRaisedFlags();
    const int state = trayState;
    if (state == 2 && m_lastTrayState != 2) ++m_traysFinished;
    m_lastTrayState = state;
}

void ProductionRunner::countRaisedFlags() {
    for (int i = 0; i < 256; ++i) {
        const bool on = alarmFlags[i];
        if (on && !m_alarmWas[i]) ++m_alarms[QString("alarmFlags[%1]").arg(i)];
        m_alarmWas[i] = on;
    }
    for (int i = 0; i < 64; ++i) {
        const bool on = promptFlags[i];
        if (on && !m_promptWas[i]) ++m_alarms[QString("promptFlags[%1]").arg(i)];
        m_promptWas[i] = on;
    }
}

void ProductionRunner::heightLink() {
    // The sensor answers every poll with what lies under its spot; nothing in range
    // gives no reply, so the values keep their age.
    const double h = workcell().heightUnderSensor();
    if (std::isnan(h) || gd[23] != 0.0 || m_heightFault == HeightFault::Silent) return;
    const QByteArray reply = m_heightFault == HeightFault::Garbled ? QByteArray("%01$RMD+00A1B2C**\r")
                                                                   : sim::HeightSensor::reply(h);
    double mm = 0;
    if (!TcpBase::parseReply(reply, &mm)) return;
    heightRaw = mm;
    heightCalibrated = gd[250] + heightRaw;
    heightMarkGood(clk::nowUs());
}

void ProductionRunner::trayStandIn() {
    // Without the belt line's model the finished tray is taken away and a fresh one
    // clamped in its place, as the belt line would report it.
    if (trayState == 2 && !m_trayAway) {
        plant().forceInput(sim::ProductTray::kTrayInput, 0);
        m_trayAway = true;
    } else if (m_trayAway) {
        plant().forceInput(sim::ProductTray::kTrayInput, 1);
        trayState = 1;
        stepB = 100;
        m_trayAway = false;
    } else if (trayState == 0 && waitOperator == 1) {
        // After the reset the belt line reports the clamped tray again.
        trayState = 1;
        stepB = 100;
    }
}

int ProductionRunner::csvRows() {
    int rows = 0;
    const QDir dir(Paths::tableDir());
    for (const QString& name : dir.entryList({"Table*.csv"}, QDir::Files)) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) continue;
        int lines = 0;
        while (!f.atEnd())
            if (!f.readLine().trimmed().isEmpty()) ++lines;
        rows += std::max(0, lines - 1);
    }
    return rows;
}

QStringList ProductionRunner::alarmTexts() const {
    static const QStringList status = {"自动运行中。",  "已停止。",      "结束生产中。",
                                       "相机1已连接。", "相机2已连接。", "空跑过站模式中。"};
    QStringList out;
    const QTextBrowser* view = window ? window->findChild<QTextBrowser*>("textBrowser") : nullptr;
    if (!view) return out;
    for (const QString& line : view->toPlainText().split('\n', Qt::SkipEmptyParts))
        if (!status.contains(line.trimmed())) out << line.trimmed();
    return out;
}

void ProductionRunner::press(int button) {
    plant().panel().clickButton(button, 100000);
    clock.runFor(0.3);
}

int ProductionRunner::csvRowsWritten() const {
    return csvRows() - m_csvRowsAtStart;
}

QJsonObject ProductionRunner::summary() const {
    QJsonObject s;
    s["seed"] = double(m_seed);
    s["end"] = m_endReason;
    s["productsGood"] = gr[21];
    s["productsNg"] = gr[22];
    s["traysFinished"] = m_traysFinished;
    s["steps"] = QString("cycle %1, feeder %2, belt line %3, tray state %4, next job %5")
                     .arg(stepA)
                     .arg(feederStep)
                     .arg(stepB)
                     .arg(trayState)
                     .arg(nextJob);
    QJsonObject counters;
    for (int i = 21; i <= 33; ++i) counters[QString("gr[%1]").arg(i)] = gr[i];
    s["counters"] = counters;
    QJsonObject alarms;
    for (auto it = m_alarms.begin(); it != m_alarms.end(); ++it) alarms[it.key()] = it.value();
    s["alarms"] = alarms;
    s["csvRows"] = csvRowsWritten();
    // Where the running machine waited, by the same causes as the run page's banner.
    if (window) {
        QJsonObject waits;
        const WaitTracker& w = window->machineCycle().waits();
        for (int c = 1; c < kWaitCauses; ++c) {
            const double seconds = w.secondsIn(WaitCause(c));
            if (seconds > 0) waits[waitKey(WaitCause(c))] = std::round(seconds * 10) / 10;
        }
        s["waitSeconds"] = waits;
    }
    if (m_mes) {
        int in = 0, out = 0;
        for (const sim::MesEmulator::Request& q : m_mes->requests()) (q.path.endsWith("/in") ? in : out)++;
        const bool answers = m_mes->mode() != sim::MesEmulator::Mode::Silent;
        s["mesIn"] = in;
        s["mesOut"] = out;
        s["mesInAnswered"] = answers ? in : 0;
        s["mesOutAnswered"] = answers ? out : 0;
    }
    auto* self = const_cast<ProductionRunner*>(this);
    {
        auto lock = self->plant().lock();
        const sim::PlacementRecord& p = self->workcell().placements();
        s["labelsPlaced"] = p.count();
        s["placementMeanMm"] = std::round(p.meanError() * 1e5) / 1e5;
        s["placementWorstMm"] = std::round(p.worstError() * 1e5) / 1e5;
        s["labelsInBox"] = self->workcell().labelsInBox();
        s["labelsLost"] = self->workcell().labelsLost();
        s["platesFed"] = self->workcell().feeder().platesFed();
    }
    const double machine = (self->clock.nowUs() - m_machineStartUs) * 1e-6;
    const double wall = m_wallUs * 1e-6;
    s["machineSeconds"] = std::round(machine * 1000) / 1000;
    s["wallSeconds"] = std::round(wall * 1000) / 1000;
    s["ratio"] = wall > 0 ? std::round(machine / wall) : 0.0;
    return s;
}

QString ProductionRunner::summaryText(const QJsonObject& s) {
    QString out;
    QTextStream t(&out);
    t << "seed " << s["seed"].toInt() << ", ended: " << s["end"].toString() << "\n";
    t << "products good " << s["productsGood"].toInt() << ", NG " << s["productsNg"].toInt()
      << ", trays finished " << s["traysFinished"].toInt() << "\n";
    t << "steps at the end: " << s["steps"].toString() << "\n";
    t << "counters:";
    const QJsonObject c = s["counters"].toObject();
    for (int i = 21; i <= 33; ++i) t << " gr[" << i << "]=" << c[QString("gr[%1]").arg(i)].toInt();
    t << "\n";
    t << "alarm and prompt flags raised:";
    const QJsonObject a = s["alarms"].toObject();
    if (a.isEmpty()) t << " none";
    for (const QString& code : a.keys()) t << " " << code << " x" << a[code].toInt();
    t << "\n";
    t << "CSV rows written " << s["csvRows"].toInt() << "\n";
    if (s.contains("waitSeconds")) {
        t << "time waiting while running:";
        const QJsonObject w = s["waitSeconds"].toObject();
        if (w.isEmpty()) t << " none";
        for (const QString& cause : w.keys()) t << " " << cause << " " << w[cause].toDouble() << " s";
        t << "\n";
    }
    if (s.contains("mesIn"))
        t << "MES requests: in-station " << s["mesIn"].toInt() << " sent, " << s["mesInAnswered"].toInt()
          << " answered; out-station " << s["mesOut"].toInt() << " sent, " << s["mesOutAnswered"].toInt()
          << " answered\n";
    t << "labels placed " << s["labelsPlaced"].toInt() << ", into the NG box " << s["labelsInBox"].toInt()
      << ", lost " << s["labelsLost"].toInt() << ", plates fed " << s["platesFed"].toInt() << "\n";
    t << QString("placement error: mean %1 mm, worst %2 mm\n")
             .arg(s["placementMeanMm"].toDouble(), 0, 'f', 4)
             .arg(s["placementWorstMm"].toDouble(), 0, 'f', 4);
    t << QString("machine time %1 s, wall time %2 s, %3x real time\n")
             .arg(s["machineSeconds"].toDouble(), 0, 'f', 1)
             .arg(s["wallSeconds"].toDouble(), 0, 'f', 2)
             .arg(s["ratio"].toDouble(), 0, 'f', 0);
    return out;
}
