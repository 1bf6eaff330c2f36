// The machine producing from end to end: the whole program on the virtual machine
// in machine time, powered up, reset, homed and started as an operator does, with
// labels and barrels that the plant really carries. Each case asserts what the
// operator and the plant would show: counters, alarms, records, the tray's barrels
// and where their labels ended up.
#include "MachineState.h"
#include "WindowChild.h"

#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "platform/vision/TaskParams.h"
#include "production/MesMessages.h"
#include "production/ProductRecords.h"
#include "runner/ProductionRunner.h"
#include "sequences/CycleData.h"
#include "sim/BeltTransport.h"
#include "sim/Feeder.h"
#include "sim/MesEmulator.h"
#include "sim/ProductTray.h"
#include "vision/VisionRequests.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using Panel = sim::OperatorPanel;

// A machine that is up, homed and ready to start; faults go in before the power-up.
// everyStep: the plant and each of its parts are stepped every millisecond even while
// nothing in them moves.
std::unique_ptr<ProductionRunner> line(const QJsonObject& faults = {}, uint32_t seed = 1,
                                       bool everyStep = false) {
    resetMachineData();
    // The cycle's own words, as after a program start.
    feederStep = 0;
    manualLabelReq = manualBarrelReq = 0;
    heightResult = cycleStartClock = cycleTime = assembledCell = 0.0;
    plateReady = 0;
    feedRetry = pickSlot = photoPass = 0;
    mesState = 0;
    productCode.clear();
    ngCode.clear();
    for (auto& row : VisionResult)
        for (auto& v : row) v = 0.0;
    ProductRecords::takeAll();
    dryRun = 0;
    workMode = 0.0;
    kzct::resetLibraryState();
    TaskParams::GetInstance()->reset();
    // Each case on a machine with no run data yet: production saves it as it goes.
    QFile::remove(kzct::runDataFile(kzct::currentRecipeName()));
    auto r = std::make_unique<ProductionRunner>(seed);
    if (everyStep) {
        r->clock.setPlantRest(nullptr, nullptr);
        r->plant().setPartsRest(false);
    }
    QString error;
    if (!r->applyFaults(faults, &error)) qFatal("%s", qPrintable(error));
    if (!r->powerUp(&error) || !r->resetAndHome(&error)) qFatal("%s", qPrintable(error));
    return r;
}

bool started(ProductionRunner& r) {
    QString error;
    return r.start(&error);
}

// Rows of the day's CSV file (without the header).
QStringList csvRows() {
    QStringList rows;
    const QDir dir(Paths::tableDir());
    for (const QString& name : dir.entryList({"Table*.csv"}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
        rows += lines.mid(1);
    }
    return rows;
}

// Presses a panel button as the operator does.
void press(ProductionRunner& r, int button) {
    r.plant().panel().clickButton(button, 100000);
    r.clock.runFor(0.3);
}

std::vector<std::string> ngCodes(ProductionRunner& r) {
    std::vector<std::string> codes;
    auto lock = r.plant().lock();
    for (const sim::Barrel& b : r.workcell().tray().ngProducts()) codes.push_back(b.code);
    return codes;
}

// Notes when the cycle reaches the end of production (it leaves it inside one pass).
bool* watchEnd(ProductionRunner& r) {
    auto* seen = new bool(false);
    r.clock.addPeriodic("end", 1000, [seen] {
        // The last pass of the end of production resets the machine and shows its notice.
        if (stepA == 2000 || promptActive) *seen = true;
    });
    return seen;
}

QString state() {
    return QString("step %1 job %2 tray %3 cell %4 run %5 good %6 ng %7 end %8 feeder %9")
        .arg(stepA)
        .arg(nextJob)
        .arg(trayState)
        .arg(gr[1])
        .arg(int(runA))
        .arg(gr[21])
        .arg(gr[22])
        .arg(int(endProduction))
        .arg(feederStep);
}

int alarms(ProductionRunner& r, const QString& flag) {
    return r.alarmsRaised().value(flag);
}

std::set<int> labelledCells(ProductionRunner& r, int tray) {
    std::set<int> cells;
    auto lock = r.plant().lock();
    for (const sim::Placement& p : r.workcell().placements().items())
        if (p.tray == tray) cells.insert(p.cell);
    return cells;
}

// A button of the main window clicked by the operator.
void click(ProductionRunner& r, const char* name) {
    QPushButton* b = windowChild<QPushButton>(r.window.get(), name);
    if (!b) qFatal("no %s", name);
    b->click();
    r.clock.runFor(0.25);
}

// Pause, a look in manual mode (with what the operator does there), back to
// automatic and start, all on the main window.
bool pauseLookAndStart(ProductionRunner& r, const std::function<void()>& inManual = {}) {
    click(r, "pushButton_31"); // "暂停"
    click(r, "pushButton_5");  // manual
    if (manualMode != 1.0 || runA || runB) return false;
    r.clock.runFor(2.0);
    if (inManual) inManual();
    click(r, "pushButton_5"); // automatic
    click(r, "pushButton_3"); // "启动"
    return r.clock.runUntil([] { return runA == 1; }, 2.0);
}

// No barrel of any tray got two labels.
bool noCellLabelledTwice(ProductionRunner& r) {
    std::set<std::pair<int, int>> seen;
    auto lock = r.plant().lock();
    for (const sim::Placement& p : r.workcell().placements().items())
        if (!seen.insert({p.tray, p.cell}).second) return false;
    return true;
}
} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QDir(Paths::tableDir()).removeRecursively(); }

    void oneTrayOfTheDemoRecipe() {
        auto r = line();
        QString error;
        QVERIFY2(r->useMes(&error), qPrintable(error));
        QVERIFY(started(*r));
        r->produce(0, 1, 900);
        QCOMPARE(r->endReason(), QString("trays finished"));
        const int made = 20;
        QCOMPARE(int(gr[21]), made);
        for (int i : {23, 25, 28, 30}) QVERIFY2(int(gr[i]) == made, qPrintable(QString("gr[%1]").arg(i)));
        QCOMPARE(int(gr[22]), 0);
        // Every cell of the tray got its label.
        const std::set<int> cells = labelledCells(*r, 1);
        QCOMPARE(int(cells.size()), 20);
        // One CSV row per checked product, in cell order, with the cleaned code.
        const QStringList rows = csvRows();
        QCOMPARE(rows.size(), made);
        for (int c = 1; c <= made; ++c) {
            const QString code = QString("TVR0001%1").arg(c, 2, 10, QChar('0'));
            QVERIFY2(rows[c - 1].contains(code), qPrintable(rows[c - 1]));
            QVERIFY(rows[c - 1].endsWith("OK"));
        }
        // MES: one in-station request per product whose code was read, one out-station
        // request per checked product, each with its code.
        QList<sim::MesEmulator::Request> in, out;
        for (const sim::MesEmulator::Request& q : r->mes()->requests())
            (q.path.endsWith("/in") ? in : out) << q;
        QCOMPARE(in.size(), made);
        QCOMPARE(out.size(), made);
        for (int c = 1; c <= made; ++c) {
            const QByteArray code = QString("TVR0001%1").arg(c, 2, 10, QChar('0')).toUtf8();
            QVERIFY2(in[c - 1].body.contains(code), in[c - 1].body.constData());
            QVERIFY2(out[c - 1].body.contains(code), out[c - 1].body.constData());
        }
        auto lock = r->plant().lock();
        const sim::PlacementRecord& p = r->workcell().placements();
        qInfo("placement error over %d labels: mean %.4f mm, worst %.4f mm", p.count(), p.meanError(),
              p.worstError());
        QVERIFY(p.meanError() < 0.02);
        QVERIFY(p.worstError() < 0.05);
    }

    void mesOutRefusalTurnsAGoodProductNg() {
        auto r = line();
        QString error;
        QVERIFY2(r->useMes(&error), qPrintable(error));
        gd[350] = 2.0;
        QVERIFY(started(*r));
        // The product is accepted in, then refused out.
        QVERIFY(r->clock.runUntil([&] { return r->mes()->requestCount() == 1; }, 60.0));
        r->mes()->setMode(sim::MesEmulator::Mode::Refuse);
        // The refusal is an alarm: the machine stops at the check; the operator clears and starts.
        QVERIFY2(r->clock.runUntil([] { return alarmFlags[42] == 1; }, 120.0), qPrintable(state()));
        r->clock.runFor(0.5);
        QCOMPARE(int(runA), 0);
        r->mes()->setMode(sim::MesEmulator::Mode::Answer);
        press(*r, Panel::AlarmClearButton);
        press(*r, Panel::StartButton);
        QVERIFY2(r->clock.runUntil([] { return gr[22] == 1; }, 120.0), qPrintable(state()));
        QCOMPARE(int(gr[21]), 0);
        QCOMPARE(int(gr[28]), 0);
        QCOMPARE(ngCodes(*r), std::vector<std::string>{"TVR-0001-01"});
        QList<sim::MesEmulator::Request> out;
        for (const sim::MesEmulator::Request& q : r->mes()->requests())
            if (q.path.endsWith("/out")) out << q;
        QCOMPARE(out.size(), 2);
        QVERIFY(!out[0].body.contains("ZC-PMTF-PMJCNG"));
        QVERIFY2(out[1].body.contains("ZC-PMTF-PMJCNG"), out[1].body.constData());
        QVERIFY(out[1].body.contains("TVR000101"));
        // The label was on it: the product went into the NG tray with its label.
        auto lock = r->plant().lock();
        QVERIFY(r->workcell().tray().ngProducts().front().labelled);
    }

    void barrelPhotoNgWithTheSkipGoesToTheNgTray() {
        auto r = line(QJsonObject{{"badBarrels", QJsonArray{3}}});
        QVERIFY(started(*r));
        r->produce(0, 1, 900);
        QCOMPARE(r->endReason(), QString("trays finished"));
        QCOMPARE(int(gr[21]), 19);
        QCOMPARE(int(gr[22]), 1);
        QCOMPARE(int(gr[26]), 1);
        QCOMPARE(ngCodes(*r), std::vector<std::string>{"TVR-0001-03"});
        QVERIFY(!labelledCells(*r, 1).count(3)); // taken out before a label was spent on it
        QCOMPARE(int(labelledCells(*r, 1).size()), 19);
        QCOMPARE(alarms(*r, "alarmFlags[18]"), 0);
    }

    void barrelPhotoNgWithoutTheSkipStopsAndRepeatsThePhoto() {
        auto r = line();
        gd[36] = 0.0;
        r->cameras.setForce(2, VirtualCameras::ForceNG);
        QVERIFY(started(*r));
        QVERIFY(r->clock.runUntil([] { return alarmFlags[18] == 1; }, 120.0));
        r->clock.runFor(1.0);
        QCOMPARE(int(runA), 0);
        QCOMPARE(int(gr[25]), 0);
        QCOMPARE(int(gr[22]), 0);
        const double stoppedAt = stepA;
        QVERIFY(stoppedAt >= 131 && stoppedAt <= 134);
        // The operator clears the cause and the alarm, and starts again: the photo is taken again.
        r->cameras.setForce(2, VirtualCameras::ForceNone);
        press(*r, Panel::AlarmClearButton);
        QCOMPARE(int(alarmFlags[18]), 0);
        press(*r, Panel::StartButton);
        QVERIFY(r->clock.runUntil([] { return gr[25] == 1; }, 10.0));
        QVERIFY(r->clock.runUntil([] { return gr[21] == 1; }, 60.0));
        QCOMPARE(int(gr[26]), 0);
        QCOMPARE(int(gr[22]), 0);
    }

    void emptyCellIsSkippedWithoutNgHandling() {
        auto r = line(QJsonObject{{"emptyCells", QJsonArray{2}}});
        QVERIFY(started(*r));
        r->produce(0, 1, 900);
        QCOMPARE(int(gr[21]), 19);
        QCOMPARE(int(gr[22]), 0);
        QVERIFY(ngCodes(*r).empty());
        QVERIFY(!labelledCells(*r, 1).count(2));
        QCOMPARE(r->csvRowsWritten(), 19);
    }

    void labelLostWhileLiftingIsNgAndTheNextLabelIsPhotographed() {
        auto r = line(QJsonObject{{"labelsLostOnLift", 1}});
        QVERIFY(started(*r));
        r->produce(3, 0, 300);
        QCOMPARE(int(gr[21]), 3);
        // The run ends in the pass that finished the third product; its row is written too.
        QCOMPARE(r->csvRowsWritten(), 3);
        auto lock = r->plant().lock();
        QCOMPARE(r->workcell().labelsLost(), 1);
        // Labels 1 (lost), 2, 3, 4 were taken from the plate for three products.
        QCOMPARE(r->workcell().feeder().labelsLeft(), 8);
        QCOMPARE(int(r->alarmsRaised().size()), 0);
    }

    void vacuumFailuresWithTheSkipAlarmOnlyAfterTheLimit() {
        auto r = line(QJsonObject{{"noLabel", true}});
        gd[6] = 2.0;
        int tries = 0;
        bool was = false;
        r->clock.addPeriodic("vacuum", 1000, [&] {
            const bool on = r->plant().output(32);
            if (on && !was) ++tries;
            was = on;
        });
        QVERIFY(started(*r));
        QVERIFY(r->clock.runUntil([] { return alarmFlags[15] == 1; }, 300.0));
        // Two tries per label; more than gf[215] = 3 labels in a row.
        QCOMPARE(tries, 2 * (int(gf[215]) + 1));
        QCOMPARE(int(gr[21]), 0);
        QCOMPARE(int(alarmFlags[12]), 0);
        r->clock.runFor(0.5);
        QCOMPARE(int(runA), 0);
    }

    void feedTimingOutTwiceRaisesTheFeedAlarm() {
        auto r = line(QJsonObject{{"feederPlates", 0}});
        int pulses = 0;
        bool was = false;
        r->clock.addPeriodic("feed", 1000, [&] {
            const bool on = r->plant().output(sim::Feeder::kFeedOutput);
            if (on && !was) ++pulses;
            was = on;
        });
        QVERIFY(started(*r));
        QVERIFY(r->clock.runUntil([] { return alarmFlags[33] == 1; }, 120.0));
        QCOMPARE(pulses, 2);
        r->clock.runFor(0.5);
        QCOMPARE(int(runA), 0);
        QCOMPARE(int(gr[21]), 0);
    }

    void fullNgTrayPromptsMovesItOutAndWaits() {
        auto r = line();
        gr[2] = gf[520] * gf[521] + 1; // every NG place used
        const bool outBefore = r->plant().cylinder(sim::CylNgExtend).atB();
        QVERIFY(started(*r));
        QVERIFY(r->clock.runUntil([] { return promptFlags[1] == 1; }, 60.0));
        r->clock.runFor(10.0);
        QVERIFY(r->plant().cylinder(sim::CylNgExtend).atB() != outBefore);
        QCOMPARE(int(runA), 1); // a prompt does not stop the machine
        QVERIFY(stepA >= 100 && stepA <= 103);
        QCOMPARE(int(gr[21]), 0);
    }

    void passThroughModeNeverWorksATray() {
        auto r = line();
        gd[18] = 3.0;
        QVERIFY(started(*r));
        r->clock.runFor(60.0);
        QVERIFY(r->traysFinished() == 0);
        QVERIFY(stepA <= 1.0);
        QCOMPARE(int(feederStep), 0);
        auto lock = r->plant().lock();
        QCOMPARE(r->workcell().feeder().platesFed(), 0);
        QCOMPARE(r->workcell().placements().count(), 0);
    }

    void dryRunEndsProductionWithTheUsedUpTray() {
        auto r = line();
        dryRun = 1;
        workMode = 1;
        {
            // No tray comes in dry run: the operator puts one at the assembly position.
            auto lock = r->plant().lock();
            sim::Tray t;
            t.id = 1;
            t.front = sim::BeltTransport::kAssemblyStop;
            sim::findBelts(r->plant()).finished->placeTray(t);
        }
        std::unique_ptr<bool> ended(watchEnd(*r));
        QVERIFY(started(*r));
        QVERIFY2(r->clock.runUntil([&] { return *ended; }, 900.0), qPrintable(state()));
        QCOMPARE(int(gr[21]), 20);
        QCOMPARE(r->traysFinished(), 0);
        QVERIFY(r->clock.runUntil([] { return runA == 0 && stepA != 2000; }, 60.0));
        dryRun = 0;
        workMode = 0;
    }

    // The operator pauses, looks in manual mode and starts again: the machine carries
    // on with the same tray where it stopped, whatever it was doing.
    void pauseManualAndStartCarryOn_data() {
        QTest::addColumn<int>("phase");
        QTest::newRow("picking a label") << 0;
        QTest::newRow("label placed, not yet checked") << 1;
        QTest::newRow("measuring the height") << 2;
        QTest::newRow("finished tray going out") << 3;
        QTest::newRow("finished tray across, neighbour still signalling") << 4;
        QTest::newRow("empty tray across, neighbour still signalling") << 5;
        QTest::newRow("next tray coming in") << 6;
    }
    void pauseManualAndStartCarryOn() {
        QFETCH(int, phase);
        const std::function<bool()> at[] = {
            [] { return gr[21] >= 2 && stepA >= 150 && stepA <= 176; },
            [] { return gr[21] >= 2 && stepA >= 302 && stepA <= 364; },
            [] { return gr[21] >= 2 && stepA >= 660 && stepA <= 664; },
            [] { return trayState == 2 && stepB >= 211 && stepB <= 213; },
            [] { return stepB == 214; },
            [] { return emptyStep == 213; },
            [] { return gr[21] >= 20 && trayState == 0 && stepB >= 250; },
        };
        auto r = line();
        QVERIFY(started(*r));
        QVERIFY2(r->clock.runUntil(at[phase], 900.0), qPrintable(state()));
        const int good = int(gr[21]);
        const int cell = int(gr[1]);
        QVERIFY(pauseLookAndStart(*r));
        QCOMPARE(int(gr[21]), good);
        QCOMPARE(int(gr[1]), cell); // the look in manual mode moved nothing on
        // On to the end of the next tray.
        r->produce(0, r->traysFinished() + 1, 900);
        QVERIFY2(r->endReason() == "trays finished",
                 qPrintable(r->endReason() + ": " + r->alarmTexts().join(", ")));
        QVERIFY2(r->alarmsRaised().isEmpty(), qPrintable(QStringList(r->alarmsRaised().keys()).join(" ")));
        QVERIFY(int(gr[21]) >= good + 5);
        QCOMPARE(int(gr[22]), 0);
        QVERIFY(noCellLabelledTwice(*r));
        // Each product counted once: one label, one row per good product.
        QCOMPARE(r->workcell().placements().count(), int(gr[21]));
        QCOMPARE(r->csvRowsWritten(), int(gr[21]));
        // The first tray was worked in full.
        QCOMPARE(int(labelledCells(*r, 1).size()), 20);
    }

    // A downstream neighbour that takes the tray but then keeps its signals up past the
    // time-out: the alarm stands; once the operator clears it and starts, production goes
    // on and the tray that left is not announced again.
    void neighbourSilentAfterTakingTheTray_data() {
        QTest::addColumn<bool>("empty");
        QTest::newRow("finished line") << false;
        QTest::newRow("empty line") << true;
    }
    void neighbourSilentAfterTakingTheTray() {
        QFETCH(bool, empty);
        auto r = line();
        const sim::Belts belts = sim::findBelts(r->plant());
        sim::Neighbour* down = empty ? belts.emptyDown : belts.finishedDown;
        {
            auto lock = r->plant().lock();
            down->setStopAt(sim::Neighbour::Finished);
        }
        const QString flag = empty ? "alarmFlags[30]" : "alarmFlags[28]";
        QVERIFY(started(*r));
        QVERIFY2(r->clock.runUntil([&] { return alarms(*r, flag) == 1; }, 900.0), qPrintable(state()));
        r->clock.runFor(2.0);
        QCOMPARE(int(runB), 0);
        {
            auto lock = r->plant().lock();
            down->setStopAt(-1);
        }
        click(*r, "pushButton_33"); // "报警清除"
        click(*r, "pushButton_3");  // "启动"
        QVERIFY(r->clock.runUntil([] { return runA == 1; }, 2.0));
        r->produce(0, 2, 900);
        QVERIFY2(r->endReason() == "trays finished",
                 qPrintable(r->endReason() + ": " + r->alarmTexts().join(", ")));
        QCOMPARE(r->alarmsRaised().size(), 1);
        QCOMPARE(alarms(*r, flag), 1);
        QVERIFY(noCellLabelledTwice(*r));
        QCOMPARE(r->workcell().placements().count(), int(gr[21]));
    }

    // Dry run chosen during a pause: the machine runs through the rest of the work
    // without material and ends production, with no alarm. At the hand-out of a
    // finished tray the tray still leaves and the dry run goes on without one.
    void dryRunChosenDuringAPauseEndsProduction_data() {
        QTest::addColumn<int>("phase");
        QTest::newRow("finished tray going out") << 0;
        QTest::newRow("measuring the height") << 1;
    }
    void dryRunChosenDuringAPauseEndsProduction() {
        QFETCH(int, phase);
        auto r = line();
        QVERIFY(started(*r));
        const std::function<bool()> at[] = {
            [] { return trayState == 2 && stepB >= 211; },
            [] { return gr[21] >= 3 && stepA >= 660 && stepA <= 664; },
        };
        QVERIFY2(r->clock.runUntil(at[phase], 900.0), qPrintable(state()));
        const int labelled = r->workcell().placements().count();
        QVERIFY(pauseLookAndStart(*r, [&] {
            windowChild<QComboBox>(r->window.get(), "comboBox_3")->setCurrentIndex(1); // "空跑模式"
        }));
        QCOMPARE(int(dryRun), 1);
        std::unique_ptr<bool> ended(watchEnd(*r));
        QVERIFY2(r->clock.runUntil([&] { return *ended; }, 900.0), qPrintable(state()));
        QVERIFY(r->clock.runUntil([] { return waitOperator == 1; }, 60.0));
        QVERIFY2(r->alarmsRaised().isEmpty(), qPrintable(QStringList(r->alarmsRaised().keys()).join(" ")));
        QCOMPARE(int(runA), 0);
        QVERIFY(noCellLabelledTwice(*r));
        if (phase == 0) {
            // The finished tray left; nothing was placed since.
            QCOMPARE(r->traysFinished(), 1);
            QCOMPARE(r->workcell().placements().count(), labelled);
            auto lock = r->plant().lock();
            QVERIFY(!r->plant().input(sim::ProductTray::kTrayInput));
        }
        dryRun = 0;
        workMode = 0;
    }

    void endOfProductionBetweenAssemblyAndCheckFinishesTheProduct() {
        auto r = line();
        QVERIFY(started(*r));
        QVERIFY(r->clock.runUntil([] { return gr[21] == 1 && stepA >= 300 && stepA <= 306; }, 120.0));
        endProduction = 1;
        std::unique_ptr<bool> ended(watchEnd(*r));
        QVERIFY2(r->clock.runUntil([&] { return *ended; }, 60.0), qPrintable(state()));
        QCOMPARE(int(gr[21]), 2); // the product on the way was checked and counted
        QCOMPARE(r->workcell().placements().count(), 2);
        r->clock.runFor(30.0);
        QCOMPARE(int(gr[21]), 2);
        QVERIFY(stepA != 300);
    }

    void plateOf4x5LabelsIsWorkedCompletely() {
        auto r = line();
        gf[500] = 4;
        gf[501] = 5;
        r->layoutFromRecipe();
        QVERIFY(started(*r));
        r->produce(20, 0, 900);
        QCOMPARE(int(gr[21]), 20);
        QCOMPARE(int(gr[32]), 20);
        auto lock = r->plant().lock();
        // The twenty labels of the first plate, every one.
        std::set<int> ids;
        for (const sim::Placement& p : r->workcell().placements().items()) ids.insert(p.labelId);
        QCOMPARE(int(ids.size()), 20);
        QCOMPARE(*ids.begin(), 1);
        QCOMPARE(*ids.rbegin(), 20);
    }

    void sameSeedSameSummary() {
        auto once = [](uint32_t seed) {
            auto r = line(QJsonObject{{"badBarrelRate", 0.1}, {"emptyRate", 0.1}}, seed);
            started(*r);
            r->produce(8, 0, 300);
            QJsonObject s = r->summary();
            s.remove("wallSeconds");
            s.remove("ratio");
            s.remove("csvRows");
            return s;
        };
        const QJsonObject a = once(5);
        QCOMPARE(once(5), a);
        QVERIFY(once(6) != a);
    }

    // Letting the plant rest while nothing in it moves changes nothing of a run: two trays
    // with NG barrels, empty cells and the tray exchanges on the belts.
    void restingPlantChangesNothing() {
        auto run = [](bool everyStep) {
            auto r = line(QJsonObject{{"badBarrelRate", 0.15}, {"emptyRate", 0.1}}, 3, everyStep);
            started(*r);
            r->produce(0, 2, 900);
            QJsonObject s = r->summary();
            s.remove("wallSeconds");
            s.remove("ratio");
            s.remove("csvRows");
            s["machineUs"] = double(r->clock.nowUs());
            s["plantUs"] = double(r->plant().nowUs());
            return s;
        };
        const QJsonObject resting = run(false);
        QCOMPARE(resting["traysFinished"].toInt(), 2);
        QVERIFY(resting["productsNg"].toDouble() > 0);
        QCOMPARE(resting, run(true));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
