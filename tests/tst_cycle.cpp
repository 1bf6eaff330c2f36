// The automatic cycle on the virtual machine from power-up: a whole tray, the plate
// buffer, the tray-level steps and the end of production.
#include "CycleRig.h"

#include "platform/qtcsv/Reader.h"
#include "production/MesMessages.h"
#include "sequences/NamedMoves.h"

#include <QtTest>
#include <algorithm>
#include <cmath>

using namespace cycletest;

class TestCycle : public QObject {
    Q_OBJECT
private slots:
    void fullTrayIsAssembledAndRecorded() {
        CycleRig rig;
        QVERIFY(rig.homeAndStart());
        const double startedS = rig.nowS();
        QVERIFY2(rig.runUntil([&] { return rig.traysDone == 1; }, 600.0), qPrintable(rig.state()));
        qInfo("tray of 20 in %.1f s machine time; last cycle time %.2f s", rig.nowS() - startedS, cycleTime);
        const int cells = int(gf[510] * gf[511]);
        QCOMPARE(cells, 20);
        for (int counter : {21, 23, 25, 28, 30}) QCOMPARE(gr[counter], double(cells));
        for (int counter : {22, 24, 26, 29, 31, 33})
            QVERIFY2(gr[counter] == 0.0, qPrintable(QString("gr[%1] = %2").arg(counter).arg(gr[counter])));
        QCOMPARE(gr[32], 24.0); // every cell of two plates is photographed before the picks
        QCOMPARE(gr[1], 1.0);   // the next tray starts at cell 1
        QCOMPARE(rig.reports, cells);
        QCOMPARE(int(rig.records.size()), cells);
        QVERIFY(cycleTime > 1.0 && cycleTime < 30.0);
        QCOMPARE(rig.feedPulses, 1); // the first plate was there at start

        // The day's file: header and one row per product in order.
        const QString path = ProductRecords::tablePath(QDateTime::fromMSecsSinceEpoch(clk::wallMs()));
        bool ok = false;
        const QList<QStringList> rows = QtCSV::Reader::readToList(path, ",", "\"", nullptr, &ok);
        QVERIFY(ok);
        QCOMPARE(rows.size(), cells + 1);
        QCOMPARE(rows[0], ProductRecords::header());
        QStringList codes;
        for (int i = 1; i <= cells; ++i) {
            QCOMPARE(rows[i].size(), 7);
            QCOMPARE(rows[i][6], QString("OK"));
            QCOMPARE(rows[i][1], rig.records[size_t(i - 1)].code);
            QVERIFY(rows[i][1].contains(QRegularExpression("^[A-Za-z0-9]+$")));
            QVERIFY(!codes.contains(rows[i][1]));
            codes << rows[i][1];
        }
        QCOMPARE(alarmActive, u8(0));
    }

    // A finished tray is handed over once: the cycle waits at step 2 until the belt
    // line has brought the next one, however long that takes.
    void finishedTrayWaitsForTheNextOne() {
        CycleRig rig;
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[21] >= 19.0; }, 600.0), qPrintable(rig.state()));
        rig.beltOn = false; // the belt line is busy elsewhere
        QVERIFY2(rig.runUntil([] { return stepA == 2.0; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(trayState, 2);
        rig.runFor(20.0);
        QCOMPARE(stepA, 2.0);
        QCOMPARE(gr[21], 20.0);
        QCOMPARE(gr[1], 1.0);

        trayState = 1; // the next tray is clamped
        QVERIFY2(rig.runUntil([] { return gr[21] >= 21.0; }, 120.0), qPrintable(rig.state()));
    }

    // 20 cells used to fold onto cell 1 of a 20-record buffer.
    void plateOf4x5IsWorkedCompletely() {
        CycleRig rig;
        gf[500] = 4;
        gf[501] = 5;
        gf[502] = 10;
        gf[503] = 10;
        std::vector<double> pickX;
        bool vacWas = false;
        rig.clock.addPeriodic("picks", 1000, [&] {
            const bool vac = rig.plant().output(kVacuumSwitch);
            if (vac && !vacWas && stepA == 174) pickX.push_back(command(0) * 1000 + command(1));
            vacWas = vac;
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[32] == 20; }, 60.0), qPrintable(rig.state()));
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(labelPhotoBuf[i][0], 1.0);
            QCOMPARE(labelPhotoBuf[i][1], 1.0);
        }
        QCOMPARE(labelPhotoBuf[20][0], 0.0);
        QCOMPARE(gr[32], 20.0);
        QCOMPARE(int(pickX.size()), 0);

        QVERIFY2(rig.runUntil([] { return gr[21] == 20; }, 600.0), qPrintable(rig.state()));
        for (int i = 0; i < 20; ++i) QCOMPARE(labelPhotoBuf[i][1], 0.0); // every label used
        QCOMPARE(int(pickX.size()), 20);
        // Twenty different places on the plate.
        std::vector<double> sorted = pickX;
        std::sort(sorted.begin(), sorted.end());
        QVERIFY(std::unique(sorted.begin(), sorted.end()) == sorted.end());
    }

    void passThroughModeNeverWorksATray() {
        CycleRig rig;
        gd[18] = 3.0;
        QVERIFY(rig.homeAndStart());
        rig.runFor(10.0);
        QCOMPARE(stepA, 1.0);
        QCOMPARE(feederStep, 0.0);
        QCOMPARE(rig.maxStep, 1.0);
        QCOMPARE(rig.feedPulses, 0);
        QCOMPARE(gr[21], 0.0);
        QCOMPARE(int(runA), 1);
    }

    void dryRunEndsProductionWithAUsedUpTray() {
        CycleRig rig;
        rig.feederOn = false;
        rig.plant().forceInput(17, 0);
        rig.plant().forceInput(18, 0);
        dryRun = 1;
        gd[23] = 2.0; // no height sensor in a dry run
        bool sawEnd = false;
        rig.clock.addPeriodic("end", 1000, [&] { sawEnd = sawEnd || stepA == 2000 || homeRequest == 1; });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([&] { return sawEnd; }, 600.0), qPrintable(rig.state()));
        QCOMPARE(gr[21], 20.0);
        QCOMPARE(rig.traysDone, 0); // no tray exchange asked
        QCOMPARE(rig.feedPulses, 0);
        QCOMPARE(feederStep, 0.0);
        QVERIFY(rig.runUntil([] { return waitOperator == 1; }, 40.0)); // homed again
        QCOMPARE(int(runA), 0);
    }

    void endOfProductionFinishesTheProductFirst() {
        CycleRig rig;
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return stepA == 303; }, 60.0), qPrintable(rig.state()));
        endProduction = 1; // between assembly and check
        bool sawEnd = false;
        double goodAtEnd = -1;
        rig.clock.addPeriodic("end", 1000, [&] {
            if ((stepA == 2000 || homeRequest == 1) && !sawEnd) {
                sawEnd = true;
                goodAtEnd = gr[21];
            }
        });
        QVERIFY2(rig.runUntil([&] { return sawEnd; }, 30.0), qPrintable(rig.state()));
        QCOMPARE(goodAtEnd, 1.0);
        QCOMPARE(gr[28], 1.0);
        QCOMPARE(int(rig.records.size()), 1);
        QCOMPARE(gr[1], 2.0);
        QVERIFY(rig.runUntil([] { return waitOperator == 1; }, 40.0));
        QCOMPARE(gr[21], 1.0);
        QCOMPARE(int(runA), 0);
    }

    // Each input of the NG stations check alone.
    void ngStationsCheck_data() {
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("alarm"); // -1: none
        QTest::addColumn<int>("prompt");
        QTest::newRow("label NG box missing") << 20 << 0 << 2 << -1;
        QTest::newRow("label NG box full") << 21 << 1 << -1 << 2;
        QTest::newRow("NG tray missing") << 19 << 0 << 1 << -1;
    }
    void ngStationsCheck() {
        QFETCH(int, input);
        QFETCH(int, value);
        QFETCH(int, alarm);
        QFETCH(int, prompt);
        CycleRig rig;
        rig.plant().forceInput(input, value);
        QVERIFY(rig.homeAndStart());
        rig.runFor(5.0);
        QVERIFY(rig.maxStep <= 103);
        QCOMPARE(gr[21], 0.0);
        if (alarm >= 0) {
            QCOMPARE(int(alarmFlags[alarm]), 1);
            QCOMPARE(int(runA), 0);
            QCOMPARE(stepA, 100.0);
        } else {
            QCOMPARE(int(promptFlags[prompt]), 1);
            QCOMPARE(int(runA), 1); // a prompt does not stop
        }
        // The operator mends it, clears and starts: the tray is worked.
        rig.plant().forceInput(input, 1 - value);
        rig.clearAlarm();
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
    }

    void fullNgTrayPromptsMovesItOutAndWaits() {
        CycleRig rig;
        gr[2] = gf[520] * gf[521] + 1; // used up
        QVERIFY(rig.homeAndStart());
        rig.runFor(5.0);
        QCOMPARE(int(promptFlags[1]), 1);
        QCOMPARE(int(runA), 1);
        QVERIFY(rig.maxStep <= 103);
        QCOMPARE(gr[21], 0.0);
        QVERIFY(rig.plant().output(32 + 12)); // NG tray out to the operator
        QVERIFY(!rig.plant().output(32 + 11));
        gr[2] = 1; // the operator's new NG tray
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QVERIFY(rig.plant().output(32 + 11)); // back in its working position
    }

    // Nothing to correct against: the label goes onto the cell position.
    void barrelPhotoOffAssemblesByCellPosition() {
        CycleRig rig;
        gd[35] = 2.0;
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[21] == 3; }, 120.0), qPrintable(rig.state()));
        QCOMPARE(gr[25], 0.0);
        QCOMPARE(gr[23], 0.0); // no lower-camera photo either
        double x = 0, y = 0;
        QVERIFY(rig.runUntil([&] { return stepA == 302; }, 60.0));
        QVERIFY(rig.runUntil([&] { return stepA == 303; }, 10.0));
        cellFromStart(gf[615], gf[616], gr[1], 1, &x, &y);
        QVERIFY(std::fabs(command(0) - x) < 0.01);
        QVERIFY(std::fabs(command(1) - y) < 0.01);
        QCOMPARE(alarmActive, u8(0));
    }
};

QTEST_GUILESS_MAIN(TestCycle)
#include "tst_cycle.moc"
