// The label side and the product checks in detail on the virtual machine: label photo
// NG, consecutive-NG alarms, NG labels thrown off the plate, label photo off, the
// feeder's initialisation and ready signal, the check photo, the NG tray cell photo.
#include "CycleRig.h"

#include "sequences/NamedMoves.h"

#include <QtTest>
#include <cmath>
#include <vector>

using namespace cycletest;

namespace {

// Forces the label photo NG while the plate cell counter is one of the given cells.
void labelNgAtCells(CycleRig& rig, std::vector<int> cells) {
    rig.clock.addPeriodic("label ng", 1000, [&rig, cells] {
        bool ng = false;
        for (int c : cells) ng = ng || int(gr[0]) == c;
        rig.force(0, ng ? VirtualCameras::ForceNG : VirtualCameras::ForceNone);
    });
}

struct EdgeFeed {
    int count = 0;
    bool was = false;
    double offAt = -1;
};

} // namespace

class TestCycleLabel : public QObject {
    Q_OBJECT
private slots:
    void labelPhotoNgWithoutSkipStopsAndRepeatsThePhoto() {
        CycleRig rig;
        gd[12] = 0.0;
        rig.force(0, VirtualCameras::ForceNG);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[17] == 1; }, 60.0), qPrintable(rig.state()));
        rig.runFor(0.5);
        QCOMPARE(int(runA), 0);
        QCOMPARE(stepA, 161.0);
        QCOMPARE(gr[0], 1.0);
        QCOMPARE(gr[33], 0.0);
        rig.force(0, VirtualCameras::ForceNone);
        rig.clearAlarm();
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[32] == 1; }, 5.0), qPrintable(rig.state()));
        QCOMPARE(labelPhotoBuf[0][1], 1.0);
    }

    void consecutiveLabelNgRaisesItsAlarmAndRestartsTheCount() {
        CycleRig rig;
        gf[218] = 3;
        rig.force(0, VirtualCameras::ForceNG);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[19] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[33], 4.0);
        QCOMPARE(labelNgCount, 0.0);
        QCOMPARE(labelPhotoBuf[3][1], 2.0);
        rig.runFor(0.1);
        QCOMPARE(int(runA), 0); // stops one pass later, through the alarm logic
    }

    void ngLabelsLeftOnThePlateGoIntoTheLabelNgBox() {
        CycleRig rig;
        labelNgAtCells(rig, {2, 5});
        int binDrops = 0;
        bool wasBlow = false;
        rig.clock.addPeriodic("bin", 1000, [&] {
            const bool blowing = stepA == 254;
            if (blowing && !wasBlow) ++binDrops;
            wasBlow = blowing;
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[21] == 10; }, 300.0), qPrintable(rig.state()));
        QCOMPARE(binDrops, 0);
        QCOMPARE(rig.feedPulses, 0);
        // The feeder may feed while the nozzle carries the last NG label to the box.
        QVERIFY2(rig.runUntil([&] { return rig.feedPulses == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[21], 10.0);
        for (int i = 0; i < 12; ++i) QCOMPARE(labelPhotoBuf[i][1], 0.0);
        QVERIFY2(rig.runUntil([] { return gr[21] == 11; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(binDrops, 2);
        QCOMPARE(alarmActive, u8(0));
    }

    void ngLabelsLeftWithoutDiscardAskForTheOperator() {
        CycleRig rig;
        gd[22] = 0.0;
        labelNgAtCells(rig, {12});
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[35] == 1; }, 300.0), qPrintable(rig.state()));
        QCOMPARE(gr[21], 11.0);
        rig.runFor(0.1);
        QCOMPARE(int(runA), 0);
        QCOMPARE(rig.feedPulses, 0);
    }

    // Picks go to the cell position without correction; the counter stays on its cell.
    void labelPhotoOffPicksByCellPosition() {
        CycleRig rig;
        gd[11] = 2.0;
        gr[0] = 3;
        std::vector<double> pickX, pickY;
        rig.clock.addPeriodic("picks", 1000, [&] {
            if (stepA == 173 && (pickX.empty() || pickX.size() == size_t(gr[21]))) {
                pickX.push_back(command(0));
                pickY.push_back(command(1));
            }
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[21] == 2; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[32], 0.0);
        QCOMPARE(lastPhotoCell, 0.0);
        double x = 0, y = 0;
        cellFromStart(gf[600], gf[601], 3, 0, &x, &y);
        QVERIFY(pickX.size() >= 2);
        for (size_t i = 0; i < 2; ++i) {
            QVERIFY(std::fabs(pickX[i] - x) < 0.01);
            QVERIFY(std::fabs(pickY[i] - y) < 0.01);
        }
    }

    void feederInitialisationTimesOut() {
        CycleRig rig;
        rig.feederOn = false;
        rig.plant().forceInput(17, 0);
        rig.plant().forceInput(18, 0);
        double pulseOn = -1, pulseOff = -1;
        rig.clock.addPeriodic("init", 1000, [&] {
            const bool init = rig.plant().output(19);
            if (init && pulseOn < 0 && rig.nowS() > 1.0 && runA) pulseOn = rig.nowS();
            if (!init && pulseOn >= 0 && pulseOff < 0) pulseOff = rig.nowS();
        });
        QVERIFY(rig.homeAndStart());
        const double started = rig.nowS();
        QVERIFY2(rig.runUntil([] { return alarmFlags[32] == 1; }, 30.0), qPrintable(rig.state()));
        QVERIFY(rig.nowS() - started > 10.0);
        QVERIFY(pulseOn > 0 && pulseOff > pulseOn);
        QVERIFY2(std::fabs(pulseOff - pulseOn - 0.6) < 0.02, qPrintable(QString::number(pulseOff - pulseOn)));
        QCOMPARE(int(runA), 0);
        QCOMPARE(feederStep, 0.0);
    }

    void readySignalThatDropsAtTheCountLimitIsFedAgain() {
        CycleRig rig;
        rig.feederOn = false;
        rig.plant().forceInput(17, 1);
        rig.plant().forceInput(18, 0);
        // The cycle's pass run from here, so that the plate signal drops right after the
        // 20th pass that counted it at step 50.
        rig.clock.setEnabled(rig.cycleId, false);
        EdgeFeed feeds;
        int counted = 0;
        rig.clock.addPeriodic("counted", 5000, [&] {
            const bool offPlate = stepA < 150 || stepA > 180;
            const bool on = inImg[18] != 0;
            rig.cycle.pass();
            if (offPlate && on && feederStep == 50.0 && ++counted == 20) {
                rig.plant().forceInput(18, 0);
                inImg[18] = 0;
            }
            const bool feed = rig.plant().output(kFeederFeed);
            if (!feed && feeds.was) feeds.offAt = rig.nowS();
            if (feed && !feeds.was) ++feeds.count;
            feeds.was = feed;
            if (feeds.count == 1 && feeds.offAt > 0 && counted == 0) rig.plant().forceInput(18, 1);
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([&] { return counted == 20; }, 30.0), qPrintable(rig.state()));
        QCOMPARE(int(plateReady), 0);
        QVERIFY2(rig.runUntil([&] { return feeds.count == 2; }, 1.0), qPrintable(rig.state()));
        QCOMPARE(alarmActive, u8(0));
    }

    void shortReadySignalIsNoPlate() {
        CycleRig rig;
        rig.feederOn = false;
        rig.plant().forceInput(17, 1);
        rig.plant().forceInput(18, 0);
        EdgeFeed feeds;
        rig.clock.addPeriodic("short", 1000, [&] {
            const bool feed = rig.plant().output(kFeederFeed);
            if (!feed && feeds.was) feeds.offAt = rig.nowS();
            if (feed && !feeds.was) ++feeds.count;
            feeds.was = feed;
            const double since = rig.nowS() - feeds.offAt;
            // After the first feed the plate signal comes for 160 ms only: long enough for the
            // feed's own check 0.1 s after it came; after the second feed it stays.
            const bool on = feeds.count == 1 ? since > 0.5 && since < 0.66 : feeds.count >= 2 && since > 0.5;
            rig.plant().forceInput(18, feeds.offAt > 0 && on ? 1 : 0);
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([&] { return feeds.count == 2; }, 30.0), qPrintable(rig.state()));
        QCOMPARE(int(plateReady), 0);
        QCOMPARE(gr[32], 0.0);
        QVERIFY2(rig.runUntil([] { return plateReady == 1; }, 10.0), qPrintable(rig.state()));
        QVERIFY2(rig.runUntil([] { return gr[32] == 1; }, 10.0), qPrintable(rig.state()));
        QCOMPARE(alarmActive, u8(0));
    }

    void checkPhotoNgWithSkipRecordsAndRemovesTheProduct() {
        CycleRig rig;
        rig.force(4, VirtualCameras::ForceNG);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[29] == 1; }, 60.0), qPrintable(rig.state()));
        rig.force(4, VirtualCameras::ForceNone);
        QCOMPARE(ngCode, QString("ZC-PMTF-PMJCNG"));
        QCOMPARE(mesState, 2);
        QCOMPARE(int(rig.records.size()), 1);
        QVERIFY(!rig.records[0].ok);
        QVERIFY(cycleTime > 1.0);
        QVERIFY2(rig.runUntil([] { return gr[22] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[21], 0.0);
        QCOMPARE(gr[28], 0.0);
        QCOMPARE(gr[1], 2.0);
    }

    void checkPhotoNgWithoutSkipStopsAndRepeatsThePhoto() {
        CycleRig rig;
        gd[36] = 0.0;
        rig.force(4, VirtualCameras::ForceNG);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[23] == 1; }, 60.0), qPrintable(rig.state()));
        rig.runFor(0.5);
        QCOMPARE(stepA, 361.0);
        QCOMPARE(int(runA), 0);
        QCOMPARE(rig.reports, 0);
        rig.force(4, VirtualCameras::ForceNone);
        rig.clearAlarm();
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 10.0), qPrintable(rig.state()));
        QCOMPARE(int(rig.records.size()), 1);
        QVERIFY(rig.records[0].ok);
    }

    void occupiedNgTrayCellRaisesItsAlarmAndIsPhotographedAgain() {
        CycleRig rig;
        rig.force(2, VirtualCameras::ForceNG); // the first product goes NG at the barrel photo
        rig.force(14, VirtualCameras::ForceNG);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[16] == 1; }, 60.0), qPrintable(rig.state()));
        rig.force(2, VirtualCameras::ForceNone);
        rig.runFor(0.5);
        QCOMPARE(int(runA), 0); // the alarm logic stops it
        QVERIFY(stepA >= 460 && stepA <= 461);
        QCOMPARE(gr[22], 0.0);
        rig.force(14, VirtualCameras::ForceNone);
        rig.clearAlarm();
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[22] == 1; }, 20.0), qPrintable(rig.state()));
        QCOMPARE(gr[2], 2.0);
    }
};

QTEST_GUILESS_MAIN(TestCycleLabel)
#include "tst_cyclelabel.moc"
