#include "FlowAudit.h"

#include "ProductionRunner.h"
#include "app/MachineData.h"
#include "sequences/CycleData.h"
#include "sim/MesEmulator.h"
#include "sim/ProductTray.h"

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

FlowAudit::FlowAudit(ProductionRunner& runner) : r(runner) {
    baseline();
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
        if (lost > m_lost)
            fail(QString("%1 label(s) lost (neither placed, in the NG box nor on a plate)")
                     .arg(lost - m_lost));
        m_lost = lost;
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
    int serial = 0, good = 0, unlabelled = 0, ngCount = 0, ngLabelled = 0, placed = 0;
    QList<QByteArray> goodCodes, labelledCodes;
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
                }
            }
        if (t.gripperHolding()) fail(QString("tray %1: the NG gripper still holds a product").arg(serial));
        for (const sim::Placement& p : r.workcell().placements().items())
            if (p.tray == serial) ++placed;
    }
    const QString tray = QString("tray %1: ").arg(serial);
    if (unlabelled > 0)
        fail(tray + QString("%1 product(s) left in the tray without a label").arg(unlabelled));
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
        if (rows != good + ngLabelled)
            fail(tray + QString("%1 CSV row(s) for %2 checked product(s)").arg(rows).arg(good + ngLabelled));
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
