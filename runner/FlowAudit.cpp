#include "FlowAudit.h"

#include "ProductionRunner.h"
#include "app/MachineData.h"
#include "platform/vision/VisionBackend.h"
#include "sequences/CycleData.h"
#include "sim/MesEmulator.h"
#include "sim/ProductTray.h"
#include "sim/VirtualCameras.h"

#include <QRegularExpression>
#include <map>

namespace {
// The code as the program reports it to MES.
QByteArray cleaned(const std::string& code) {
    return QString::fromStdString(code).remove(QRegularExpression("[^a-zA-Z0-9]")).toUtf8();
}

bool ngBody(const QByteArray& body) {
    return body.contains("ZC-PMTF-");
}
} // namespace

// Sits in front of the cameras and keeps what they answered about each product, so
// that the flow is judged by the verdicts the program got, not only by the plant's truth.
class FlowAudit::Recorder : public VisionBackend {
public:
    Recorder(FlowAudit& audit, VisionBackend* inner) : m_audit(audit), m_inner(inner) {}
    VisionBackend* inner() const { return m_inner; }
    TaskOutcome run(int task, const TaskParam& param) override {
        TaskOutcome o = m_inner->run(task, param);
        if ((task == 4 || task == 13) && o.finishes && o.result.status != TaskPending) {
            const VirtualCameras::Pose p = VirtualCameras::cardPose();
            m_audit.tell(task, o.result.status == TaskOK, p.x, p.y);
        }
        return o;
    }
    bool cameraConnected(int cam) override { return m_inner->cameraConnected(cam); }

private:
    FlowAudit& m_audit;
    VisionBackend* m_inner;
};

FlowAudit::FlowAudit(ProductionRunner& runner) : r(runner) {
    if (VisionBackend* cameras = VisionBackend::current()) {
        m_recorder = std::make_unique<Recorder>(*this, cameras);
        VisionBackend::install(m_recorder.get());
    }
    baseline();
}

FlowAudit::~FlowAudit() {
    if (m_recorder && VisionBackend::current() == m_recorder.get())
        VisionBackend::install(m_recorder->inner());
}

void FlowAudit::tell(int task, bool ok, double x, double y) {
    std::string code;
    {
        auto lock = r.plant().lock();
        sim::ProductTray& t = r.workcell().tray();
        // The presence photo looks at the product's code beside the barrel.
        const int cell = t.barrelAt(x, task == 13 ? y - r.workcell().layout().codeDy : y, 3.0);
        if (cell == 0 || !t.barrel(cell).present) return;
        code = t.barrel(cell).code;
    }
    QMutexLocker hold(&m_toldMutex);
    Told& told = m_told[code];
    if (task == 13) told.judgedEmpty = !ok;
    if (task == 4) told.checked = true;
}

void FlowAudit::note(const QString& what) {
    if (!m_notes.contains(what)) m_notes << what;
}

void FlowAudit::baseline() {
    m_good = gr[21];
    m_ng = gr[22];
    m_csvRows = r.csvRowsWritten();
    m_mesRequests = r.mes() ? r.mes()->requestCount() : 0;
    auto lock = r.plant().lock();
    m_lost = r.workcell().labelsLost();
    m_dropped = r.workcell().tray().productsDropped();
    if (!m_started) m_placementsSeen = r.workcell().placements().count();
    m_started = true;
    mesFaultInSpan = false;
}

void FlowAudit::fail(const QString& what) {
    if (!m_violations.contains(what)) m_violations << what;
}

void FlowAudit::watch() {
    {
        auto lock = r.plant().lock();
        const std::vector<sim::Placement>& items = r.workcell().placements().items();
        for (size_t i = size_t(m_placementsSeen); i < items.size(); ++i) {
            const sim::Placement& p = items[i];
            if (!m_labelIds.insert(p.labelId).second)
                fail(QString("label %1 placed twice (tray %2 cell %3)")
                         .arg(p.labelId)
                         .arg(p.tray)
                         .arg(p.cell));
            if (!m_placedCells.insert({p.tray, p.cell}).second)
                fail(QString("tray %1 cell %2 got a second label").arg(p.tray).arg(p.cell));
        }
        m_placementsSeen = int(items.size());
        const int lost = r.workcell().labelsLost();
        if (lost > m_lost && vacuumCut)
            note(QString("%1 label(s) fell off the nozzle when the fault took its vacuum away")
                     .arg(lost - m_lost));
        else if (lost > m_lost)
            fail(QString("%1 label(s) lost (neither placed, in the NG box nor on a plate)")
                     .arg(lost - m_lost));
        m_lost = lost;
        if (m_takenOff > 0)
            note(
                QString("%1 label(s) taken off the nozzle by the operator before the reset").arg(m_takenOff));
        m_takenOff = 0;
        if (m_productsTaken > 0)
            note(QString("%1 NG product(s) taken out of the NG gripper by the operator before the reset")
                     .arg(m_productsTaken));
        m_productsTaken = 0;
        const int dropped = r.workcell().tray().productsDropped();
        if (dropped > m_dropped)
            fail(QString("%1 product(s) dropped by the NG gripper").arg(dropped - m_dropped));
        m_dropped = dropped;
    }
    if (gr[21] < m_good || gr[22] < m_ng) fail("a product counter went down");
    const int state = trayState;
    if (state == 2 && m_lastTrayState != 2) checkTray();
    m_lastTrayState = state;
}

void FlowAudit::checkTray() {
    int serial = 0, good = 0, unlabelled = 0, judgedEmpty = 0, ngCount = 0, ngLabelled = 0, ngChecked = 0,
        placed = 0;
    QList<QByteArray> goodCodes, labelledCodes;
    std::map<std::string, Told> told;
    {
        QMutexLocker hold(&m_toldMutex);
        told.swap(m_told);
    }
    {
        auto lock = r.plant().lock();
        sim::ProductTray& t = r.workcell().tray();
        serial = t.traySerial();
        const QString tag = QString("tray %1").arg(serial);
        if (!t.loaded() || m_checkedTrays.contains(tag)) {
            baseline();
            return;
        }
        m_checkedTrays.insert(tag);
        for (const sim::Barrel& b : t.cells()) {
            if (!b.present) continue;
            if (b.labelled) {
                ++good;
                goodCodes << cleaned(b.code);
                labelledCodes << cleaned(b.code);
            } else if (told[b.code].judgedEmpty) {
                ++judgedEmpty; // the cycle skips a cell it was told is empty
            } else {
                ++unlabelled;
            }
        }
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "TVR-%04d-", serial);
        for (const sim::Barrel& b : t.ngProducts())
            if (b.code.rfind(prefix, 0) == 0) {
                ++ngCount;
                if (b.labelled) {
                    ++ngLabelled;
                    labelledCodes << cleaned(b.code);
                } else if (told[b.code].checked) {
                    ++ngChecked; // its label never reached it; the check photo found it NG
                }
            }
        if (t.gripperHolding()) fail(QString("tray %1: the NG gripper still holds a product").arg(serial));
        for (const sim::Placement& p : r.workcell().placements().items())
            if (p.tray == serial) ++placed;
    }
    const QString tray = QString("tray %1: ").arg(serial);
    if (unlabelled > 0)
        fail(tray + QString("%1 product(s) left in the tray without a label").arg(unlabelled));
    if (judgedEmpty > 0)
        note(tray + QString("%1 product(s) the presence photo judged empty, skipped without a label")
                        .arg(judgedEmpty));
    if (ngChecked > 0)
        note(tray + QString("%1 product(s) without a label found NG by the check photo and taken out")
                        .arg(ngChecked));
    const int dGood = int(gr[21] - m_good), dNg = int(gr[22] - m_ng);
    if (dGood != good)
        fail(tray + QString("%1 good product(s) in the tray, gr[21] rose by %2").arg(good).arg(dGood));
    if (dNg != ngCount)
        fail(tray + QString("%1 product(s) into the NG tray, gr[22] rose by %2").arg(ngCount).arg(dNg));
    if (placed != good + ngLabelled)
        fail(tray +
             QString("%1 label(s) placed for %2 labelled product(s)").arg(placed).arg(good + ngLabelled));
    // A row for every product that reached the check photo.
    if (gd[43] != 2.0 && gd[35] != 2.0) {
        const int rows = r.csvRowsWritten() - m_csvRows;
        if (rows != good + ngLabelled + ngChecked)
            fail(tray + QString("%1 CSV row(s) for %2 checked product(s)")
                            .arg(rows)
                            .arg(good + ngLabelled + ngChecked));
    }
    if (r.mes() && gd[46] != 0.0) {
        const QList<sim::MesEmulator::Request> all = r.mes()->requests();
        std::map<QByteArray, int> inFor, outOkFor, outAnyFor;
        for (int i = m_mesRequests; i < all.size(); ++i) {
            const sim::MesEmulator::Request& q = all[i];
            const bool in = q.path.endsWith("/in");
            for (const QByteArray& code : labelledCodes)
                if (q.body.contains(code)) {
                    if (in)
                        ++inFor[code];
                    else {
                        ++outAnyFor[code];
                        if (!ngBody(q.body)) ++outOkFor[code];
                    }
                }
        }
        for (const QByteArray& code : labelledCodes) {
            if (gd[34] != 2.0 && inFor[code] == 0)
                fail(tray + QString("no in-station request for %1").arg(QString(code)));
            if (outAnyFor[code] == 0)
                fail(tray + QString("no out-station request for %1").arg(QString(code)));
        }
        for (const QByteArray& code : goodCodes)
            if (outOkFor[code] > 1 && !mesFaultInSpan)
                fail(tray + QString("%1 reported out good %2 times").arg(QString(code)).arg(outOkFor[code]));
    }
    ++m_traysChecked;
    m_productsChecked += good + ngCount;
    baseline();
}
