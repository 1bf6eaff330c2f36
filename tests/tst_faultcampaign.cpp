// Faults struck at chosen phases of production on the whole program and the virtual
// machine, repaired as the operator does, and the product flow checked against the
// plant's record of every cell; then half an hour of production with faults at
// random times. One machine serves every case, as on the shop floor.
#include "MachineState.h"

#include "app/MachineData.h"
#include "platform/kzct.h"
#include "platform/vision/TaskParams.h"
#include "production/ProductRecords.h"
#include "runner/FaultCampaign.h"
#include "runner/ProductionRunner.h"
#include "sequences/CycleData.h"
#include "sim/VirtualCameras.h"
#include "sim/Workcell.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>
#include <memory>

namespace {

struct Expect {
    const char* fault;
    CyclePhase phase;
    const char* alarm; // part of an alarm line the operator must see; "" for none
    bool stops;
    bool rehome;
};

QString describe(const CellOutcome& c) {
    return QString("%1 at %2: alarms [%3] stopped %4 still %5 (%6) rehomed %7 resumed %8 tray %9 extra %10 "
                   "hangs %11 later [%12] violations [%13] %14 notes [%15]")
        .arg(c.fault, c.phase, c.alarms.join(" / "))
        .arg(c.stopped)
        .arg(c.stillOk)
        .arg(c.moved.join(","))
        .arg(c.rehomed)
        .arg(c.resumed)
        .arg(c.trayDone)
        .arg(c.extraStops)
        .arg(c.hangs)
        .arg(c.laterAlarms.join(" / "), c.violations.join("; "), c.explanation)
        .arg(c.notes.join("; "));
}

} // namespace

class TestFaultCampaign : public QObject {
    Q_OBJECT
    std::unique_ptr<ProductionRunner> r;
    std::unique_ptr<FaultCampaign> campaign;
    QList<FaultKind> catalog;

private slots:
    void initTestCase() {
        resetMachineData();
        feederStep = 0;
        heightResult = cycleStartClock = cycleTime = assembledCell = 0.0;
        plateReady = 0;
        mesState = 0;
        ProductRecords::takeAll();
        kzct::resetLibraryState();
        TaskParams::GetInstance()->reset();
        r = std::make_unique<ProductionRunner>(1);
        QString error;
        QVERIFY2(r->applyFaults(QJsonObject{{"badBarrels", QJsonArray{3}}}, &error), qPrintable(error));
        QVERIFY2(r->powerUp(&error) && r->useMes(&error) && r->resetAndHome(&error) && r->start(&error),
                 qPrintable(error));
        campaign = std::make_unique<FaultCampaign>(*r);
        catalog = faultCatalog();
    }

    void cleanupTestCase() {
        campaign.reset();
        r.reset();
    }

    // Each fault at one phase: the alarm the operator sees, the stop with no new motion,
    // the repair, and the next finished tray in order.
    void faultsAtTheirPhases_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("servo X at the pick") << 0;
        QTest::newRow("servo X after the label is on (reset mid-product)") << 1;
        QTest::newRow("servo X while the finished tray leaves (reset)") << 2;
        QTest::newRow("servo Z in NG handling") << 3;
        QTest::newRow("nozzle picks nothing") << 4;
        QTest::newRow("label photo always NG") << 5;
        QTest::newRow("MES refusing the out-station request") << 6;
        QTest::newRow("Z homing fails") << 7;
        QTest::newRow("front door at the label photo") << 8;
        QTest::newRow("e-stop at the barrel photo") << 9;
    }
    void faultsAtTheirPhases() {
        static const Expect cells[] = {
            {"servo-x", CyclePhase::Pick, "取料X轴报警", true, true},
            {"servo-x", CyclePhase::MesOut, "取料X轴报警", true, true},
            {"servo-x", CyclePhase::TrayOut, "取料X轴报警", true, true},
            {"servo-z", CyclePhase::NgHandling, "取料Z轴报警", true, true},
            {"nozzle-empty", CyclePhase::Pick, "吸笔真空报警", true, false},
            {"vision-label-ng", CyclePhase::LabelPhoto, "标签连续拍照NG报警", true, false},
            {"mes-refuses", CyclePhase::MesOut, "MES出站通讯反馈错误报警", true, false},
            {"homing-fails-z", CyclePhase::Homing, "取料Z轴正限感应", true, true},
            {"door-front", CyclePhase::LabelPhoto, "安全门打开", true, false},
            {"estop", CyclePhase::BarrelPhoto, "急停按下", true, false},
        };
        QFETCH(int, index);
        const Expect& e = cells[index];
        const FaultKind* f = findFault(catalog, e.fault);
        QVERIFY(f);
        const CellOutcome c = campaign->runCell(*f, e.phase);
        const QString d = describe(c);
        // A machine left waiting is brought back for the next case.
        if (!c.trayDone) campaign->recoverHung();
        QCOMPARE(int(c.kind), int(CellOutcome::Struck));
        bool seen = false;
        for (const QString& a : c.alarms) seen = seen || a.contains(QString::fromUtf8(e.alarm));
        QVERIFY2(seen, qPrintable(d));
        QVERIFY2(c.stopped == e.stops, qPrintable(d));
        QVERIFY2(c.stillOk, qPrintable(d));
        QVERIFY2(c.rehomed == e.rehome, qPrintable(d));
        QVERIFY2(c.resumed, qPrintable(d));
        // After the e-stop and the door the belt lines' hand-shakes start over; the tray
        // may need more than the operator's clears (see the fault matrix).
        if (index >= 8) return;
        QVERIFY2(c.trayDone, qPrintable(d));
        QVERIFY2(c.violations.isEmpty(), qPrintable(d));
    }

    // What the cycle does with what it was told is no fault: cells the presence photo
    // judged empty are skipped without a label; a label the fault itself takes off the
    // nozzle leaves its product to the check photo, which finds it NG (a row, the NG tray).
    void flowsTheCycleWasToldAreNoViolations() {
        const CellOutcome empty =
            campaign->runCell(*findFault(catalog, "vision-presence-ng"), CyclePhase::HeightPresence);
        QVERIFY2(empty.held(), qPrintable(describe(empty)));
        QVERIFY2(empty.notes.join("; ").contains("judged empty"), qPrintable(describe(empty)));
        const CellOutcome fell =
            campaign->runCell(*findFault(catalog, "nozzle-empty"), CyclePhase::Placement);
        QVERIFY2(fell.held(), qPrintable(describe(fell)));
        const QString notes = fell.notes.join("; ");
        QVERIFY2(notes.contains("fell off the nozzle") && notes.contains("found NG by the check photo"),
                 qPrintable(describe(fell)));
    }

    // A servo alarm while the nozzle holds its label: the axes must home again, and the
    // operator takes the label off before the reset lets it fall into the machine.
    void aLabelOnTheNozzleIsTakenOffBeforeTheReset() {
        QVERIFY2(r->clock.runUntil([] { return stepA >= 211 && stepA <= 214; }, 120.0),
                 qPrintable(QString::number(stepA)));
        {
            auto lock = r->plant().lock();
            QVERIFY(r->workcell().carrying());
        }
        const CellOutcome c = campaign->runCell(*findFault(catalog, "servo-x"), CyclePhase::LowerPhoto);
        QVERIFY2(c.rehomed && c.held(), qPrintable(describe(c)));
        QVERIFY2(c.notes.join("; ").contains("taken off the nozzle"), qPrintable(describe(c)));
        auto lock = r->plant().lock();
        QVERIFY(!r->workcell().carrying());
    }

    void faultsThatCannotStrikeSaySo() {
        const CellOutcome c = campaign->runCell(*findFault(catalog, "homing-hangs-z"), CyclePhase::Pick);
        QCOMPARE(int(c.kind), int(CellOutcome::Explained));
        QVERIFY(c.explanation.contains("reset"));
        const CellOutcome card = campaign->runCell(*findFault(catalog, "no-card"), CyclePhase::Placement);
        QCOMPARE(int(card.kind), int(CellOutcome::Explained));
        const QString md = FaultCampaign::matrixMarkdown({c, card}, catalog, "# t\n");
        QVERIFY(md.contains("| pick | — the axes home only after a reset"));
        QVERIFY(md.contains("| 2 | 0 | 2 | 0 |"));
    }

    // Every label of a plate fails its photo and NG labels are not thrown away: the alarm
    // asks for the plate to be cleared by hand, the operator takes the labels off, and the
    // feeder's next plate carries production on with nothing lost.
    void aFailedPlateIsClearedByHand() {
        const double keep = gd[22];
        gd[22] = 0.0;
        r->cameras.setForce(0, VirtualCameras::ForceNG);
        const QJsonObject failed = campaign->runShift(0.05, 0.0, 5);
        r->cameras.setForce(0, VirtualCameras::ForceNone);
        const QJsonObject after = campaign->runShift(0.1, 0.0, 5);
        gd[22] = keep;
        const QString text = FaultCampaign::shiftText(failed) + FaultCampaign::shiftText(after);
        bool asked = false;
        for (const QJsonValue& a : failed["alarms"].toArray())
            asked = asked || a.toObject()["text"].toString() == "标签有料且拍照失败，请人工清料。";
        QVERIFY2(asked, qPrintable(text));
        QVERIFY2(failed["labelsTakenOffByHand"].toInt() > 0, qPrintable(text));
        QVERIFY2(after["productsGood"].toDouble() > 10, qPrintable(text));
        qInfo("%s", qPrintable(text));
        QVERIFY2(failed["violations"].toArray().isEmpty() && after["violations"].toArray().isEmpty(),
                 qPrintable(text));
    }

    // Half an hour with faults at random: the flow stays whole, the machine keeps
    // producing, and memory and file handles stay flat.
    void halfAnHourWithRandomFaults() {
        const QJsonObject rep = campaign->runShift(0.5, 8.0, 3);
        const QString text = FaultCampaign::shiftText(rep);
        qInfo("%s", qPrintable(text));
        QVERIFY2(rep["violations"].toArray().isEmpty(), qPrintable(text));
        int injected = 0;
        const QJsonObject inj = rep["faultsInjected"].toObject();
        for (const QString& k : inj.keys()) injected += inj[k].toInt();
        QVERIFY2(injected >= 2, qPrintable(text));
        QVERIFY2(rep["traysChecked"].toInt() >= 4, qPrintable(text));
        QVERIFY2(rep["productsPerHour"].toDouble() > 150, qPrintable(text));
        QCOMPARE(rep["failedRecoveries"].toInt(), 0);
        double total = 0;
        const QJsonObject st = rep["stateSeconds"].toObject();
        for (const QString& k : st.keys()) total += st[k].toDouble();
        QVERIFY2(qAbs(total - 1800.0) < 5.0, qPrintable(text));
        const QJsonArray alarms = rep["alarms"].toArray();
        for (int i = 1; i < alarms.size(); ++i)
            QVERIFY(alarms[i - 1].toObject()["count"].toInt() >= alarms[i].toObject()["count"].toInt());
        QVERIFY2(rep["rssKbEnd"].toDouble() - rep["rssKbStart"].toDouble() < 16000, qPrintable(text));
        QVERIFY2(rep["openFilesEnd"].toInt() <= rep["openFilesStart"].toInt() + 2, qPrintable(text));
    }
};

QTEST_MAIN(TestFaultCampaign)
#include "tst_faultcampaign.moc"
