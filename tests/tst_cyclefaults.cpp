// The automatic cycle's NG paths and faults on the virtual machine: vision NG with and
// without the skip switches, empty cells, MES refusals, vacuum failures, a label lost
// while lifting, feeder time-outs and a silent height sensor.
#include "CycleRig.h"

#include "platform/KZLOG.h"
#include "sequences/NamedMoves.h"
#include "sim/NozzleVacuum.h"

#include <QtTest>
#include <cmath>
#include <memory>
#include <vector>

using namespace cycletest;

namespace {

// Counts rising edges of a plant output.
struct EdgeCounter {
    int count = 0;
    bool was = false;
    void sample(bool now) {
        if (now && !was) ++count;
        was = now;
    }
};

// Runs until the front door, opened while the nozzle carries its label to the barrel
// (step 302), has stopped the cycle, and a second more.
bool stoppedByTheFrontDoorAtPlacement(CycleRig& rig) {
    gd[4] = 0.0; // the doors are watched
    auto opened = std::make_shared<bool>(false);
    rig.clock.addPeriodic("door", 1000, [&rig, opened] {
        if (!*opened && stepA == 302) {
            rig.plant().setDoorOpen(0, true);
            *opened = true;
        }
    });
    if (!rig.homeAndStart()) return false;
    if (!rig.runUntil([opened] { return *opened && runA == 0; }, 60.0)) return false;
    rig.runFor(1.0);
    return true;
}
} // namespace

class TestCycleFaults : public QObject {
    Q_OBJECT
private slots:
    void barrelPhotoNgWithSkipGoesToTheNgTray() {
        CycleRig rig;
        QCOMPARE(gd[36], 2.0);
        gr[2] = 3; // two NG tray cells already used
        double putX = -1, putY = -1;
        rig.clock.addPeriodic("put", 1000, [&] {
            if (stepA == 453 && putX < 0) {
                putX = command(0);
                putY = command(1);
            }
        });
        rig.force(2, VirtualCameras::ForceNG);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[26] == 1; }, 60.0), qPrintable(rig.state()));
        rig.force(2, VirtualCameras::ForceNone);
        QCOMPARE(ngCode, QString("ZC-PMTF-JTDWNG"));
        QCOMPARE(nextJob, 6);
        QVERIFY2(rig.runUntil([] { return gr[22] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[2], 4.0); // the product went into cell 3 of the NG tray
        double x = 0, y = 0;
        cellFromStart(gf[630], gf[631], 3, 2, &x, &y);
        QVERIFY(std::fabs(putX - x) < 0.01 && std::fabs(putY - y) < 0.01);
        QCOMPARE(gr[1], 2.0);     // the NG product left cell 1
        QCOMPARE(gr[23], 0.0);    // no label was spent on it
        QCOMPARE(rig.reports, 0); // no record for it
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[22], 1.0);
        QCOMPARE(alarmActive, u8(0));
    }

    void barrelPhotoNgWithoutSkipStopsAndRepeatsThePhoto() {
        CycleRig rig;
        gd[36] = 0.0;
        rig.force(2, VirtualCameras::ForceNG);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[18] == 1; }, 60.0), qPrintable(rig.state()));
        rig.runFor(1.0);
        QCOMPARE(int(runA), 0);
        QCOMPARE(stepA, 131.0);
        QCOMPARE(gr[26], 0.0);
        QCOMPARE(gr[22], 0.0);

        rig.force(2, VirtualCameras::ForceNone);
        rig.clearAlarm();
        QCOMPARE(int(alarmFlags[18]), 0);
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[25] == 1; }, 10.0), qPrintable(rig.state()));
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[1], 2.0);
        QCOMPARE(gr[22], 0.0);
    }

    void emptyCellsAreSkippedWithoutNgHandling() {
        CycleRig rig;
        // Cell 1: nothing under the height sensor; cell 2: the presence photo finds nothing;
        // cell 3: a barrel exactly at the upper limit counts as there.
        rig.heightOf = [](int cell) { return cell == 1 ? gd[251] + 0.5 : cell == 3 ? gd[251] : 0.0; };
        rig.clock.addPeriodic("presence", 1000, [&] {
            rig.force(13, gr[1] == 2 ? VirtualCameras::ForceNG : VirtualCameras::ForceNone);
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[1], 4.0); // cells 1 and 2 skipped, cell 3 made
        QVERIFY2(heightResult == gd[251], qPrintable(QString::number(heightResult)));
        QCOMPARE(gr[22], 0.0);
        QCOMPARE(gr[30], 1.0); // one QR photo
        QCOMPARE(gr[31], 0.0);
        QCOMPARE(gr[2], 1.0);
        QCOMPARE(int(rig.records.size()), 1);
        QCOMPARE(rig.records[0].height, gd[251]);
    }

    // A reading that is not fresh says nothing about the cell under the head.
    void silentHeightSensorStopsUntilReadingsReturn() {
        CycleRig rig;
        rig.heightOn = false;
        heightMarkGood(-10000000);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[kHeightAlarm] == 1; }, 30.0), qPrintable(rig.state()));
        rig.runFor(0.5);
        QCOMPARE(int(runA), 0);
        QCOMPARE(stepA, 663.0);
        rig.heightOn = true;
        QVERIFY(rig.runUntil([] { return alarmFlags[kHeightAlarm] == 0; }, 1.0));
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
    }

    // The sensor falls silent while the head is on its way to the next cell: the last
    // reading is of another place and must not judge that cell empty.
    void heightSensorSilentOnTheWayJudgesNoCellEmpty() {
        CycleRig rig;
        // A barrel only under the resting spot; on the way the sensor sees the tray floor.
        rig.heightOf = [](int) { return stepA == 662 || stepA == 663 ? 0.0 : -5.0; };
        rig.clock.addPeriodic("silence", 1000, [&rig] {
            if (gr[21] == 1 && gr[1] == 2 && stepA == 661) rig.heightOn = false;
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[kHeightAlarm] == 1; }, 60.0), qPrintable(rig.state()));
        rig.runFor(2.0); // the alarm stands while no reading comes
        QCOMPARE(alarmFlags[kHeightAlarm], u8(1));
        QCOMPARE(int(runA), 0);
        QCOMPARE(stepA, 663.0);
        QCOMPARE(gr[1], 2.0);
        rig.heightOn = true;
        QVERIFY(rig.runUntil([] { return alarmFlags[kHeightAlarm] == 0; }, 1.0));
        rig.clearAlarm();
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[21] == 2; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[1], 3.0); // cell 2 was labelled, not skipped
    }

    // A door opened while the nozzle carries its label to the barrel stops the axes
    // mid-move; closing it and starting again finishes that move and the product.
    void doorDuringPlacementResumesTheInterruptedMove() {
        CycleRig rig;
        QVERIFY(stoppedByTheFrontDoorAtPlacement(rig));
        QCOMPARE(stepA, 302.0);
        QVERIFY(rig.plant().axisSnapshot(0).moving == false);
        rig.plant().setDoorOpen(0, false);
        rig.runFor(0.5);
        rig.clearAlarm();
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 20.0), qPrintable(rig.state()));
        QCOMPARE(rig.reports, 1);
    }

    // Manual mode between the stop and the start: the axes may have been moved by hand,
    // so the start sends none of them to the target it had before.
    void noInterruptedMoveGoesOnAfterManualMode() {
        CycleRig rig;
        QVERIFY(stoppedByTheFrontDoorAtPlacement(rig));
        rig.plant().setDoorOpen(0, false);
        manualMode = 1.0;
        rig.runFor(0.5);
        manualMode = 0.0;
        rig.clearAlarm();
        bool moved = false;
        rig.clock.addPeriodic("moves", 1000, [&] {
            for (int axis = 0; axis < 5; ++axis) moved = moved || rig.plant().axisSnapshot(axis).moving;
        });
        QVERIFY(rig.start());
        rig.runFor(2.0);
        QVERIFY(!moved);
        QCOMPARE(stepA, 302.0);
    }

    // A reset lets go of a label still on the nozzle: the log says so, so that the
    // operator looks for it.
    void resetWithALabelOnTheNozzleIsLogged() {
        CycleRig rig;
        KZLOG::CLog::Initialize(Paths::logDir()); // this rig's data root
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return stepA >= 211 && stepA <= 214; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(inImg[32], u8(1));
        rig.press(Panel::StopButton);
        rig.press(Panel::ResetButton);
        QVERIFY(rig.runUntil([] { return waitOperator == 1; }, 40.0));
        QCOMPARE(rig.plant().output(sim::NozzleVacuum::kVacuumValve), false);
        QFile log(KZLOG::CLog::currentFile());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(log.readAll()).contains("吸笔真空关闭时吸笔上仍有标签"));
    }

    void mesOutRefusalMakesTheProductNg() {
        CycleRig rig;
        gd[46] = 2.0;
        gd[350] = 2.0;
        std::vector<int> mesStates;
        rig.clock.addPeriodic("mes", 1000, [&] {
            if (mesStates.empty() || mesStates.back() != mesState) mesStates.push_back(int(mesState));
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[29] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(ngCode, QString("ZC-PMTF-PMJCNG"));
        QCOMPARE(int(rig.records.size()), 1);
        QVERIFY(!rig.records[0].ok);
        QVERIFY(!rig.records[0].code.isEmpty());
        QCOMPARE(gr[28], 0.0);
        QCOMPARE(gr[21], 0.0);
        QVERIFY2(rig.runUntil([] { return gr[22] == 1; }, 60.0), qPrintable(rig.state()));
        // In-station, out-station with the good check, out-station again for the NG.
        QCOMPARE(mesStates, (std::vector<int>{0, 1, 2}));
        QCOMPARE(gr[1], 2.0);
    }

    void mesRefusalWithoutTheSwitchKeepsTheProductGood() {
        CycleRig rig;
        gd[46] = 2.0;
        gd[350] = 0.0;
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[29], 0.0);
        QCOMPARE(ngCode, QString(""));
        QVERIFY(rig.records[0].ok);
    }

    void labelLostWhileLiftingIsNgAndTheNextIsTaken() {
        CycleRig rig;
        int lostSlot = -1;
        rig.clock.addPeriodic("lose", 1000, [&] {
            if (stepA == 175 && lostSlot < 0) {
                lostSlot = pickSlot;
                rig.plant().forceInput(kVacuumSwitch, 0);
            }
            if (lostSlot >= 0 && stepA != 175) rig.plant().forceInput(kVacuumSwitch, -1);
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(lostSlot, 0);
        QCOMPARE(labelPhotoBuf[0][1], 2.0);
        QCOMPARE(labelPhotoBuf[1][1], 0.0); // the next label went onto the product
        QCOMPARE(alarmActive, u8(0));
    }

    void vacuumFailuresWithSkip_data() {
        QTest::addColumn<double>("limit");
        QTest::addColumn<int>("labelsBeforeAlarm");
        QTest::newRow("limit 3") << 3.0 << 4;
        QTest::newRow("limit 0, still two") << 0.0 << 2;
    }
    void vacuumFailuresWithSkip() {
        QFETCH(double, limit);
        QFETCH(int, labelsBeforeAlarm);
        CycleRig rig;
        gd[6] = 2.0;
        gf[215] = limit;
        rig.plant().nozzle().setNoLabel(true);
        EdgeCounter tries;
        rig.clock.addPeriodic("tries", 1000, [&] { tries.sample(rig.plant().output(kVacuumSwitch)); });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[15] == 1; }, 120.0), qPrintable(rig.state()));
        int ngLabels = 0;
        for (int i = 0; i < plateCells(); ++i) ngLabels += labelPhotoBuf[i][1] == 2.0 ? 1 : 0;
        QCOMPARE(ngLabels, labelsBeforeAlarm);
        QCOMPARE(tries.count, 2 * labelsBeforeAlarm); // two tries per label
        QCOMPARE(int(alarmFlags[12]), 0);
        QCOMPARE(int(runA), 0);
        QCOMPARE(gr[21], 0.0);
    }

    void vacuumFailureWithoutSkipStopsAndRepeatsThePick() {
        CycleRig rig;
        gd[6] = 0.0;
        rig.plant().nozzle().setNoLabel(true);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[12] == 1; }, 60.0), qPrintable(rig.state()));
        rig.runFor(0.5);
        QCOMPARE(int(runA), 0);
        QCOMPARE(stepA, 172.0);
        QCOMPARE(labelPhotoBuf[0][1], 1.0); // still the label to take
        rig.plant().nozzle().setNoLabel(false);
        rig.clearAlarm();
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(labelPhotoBuf[0][1], 0.0);
    }

    void feedTimingOutTwiceRaisesTheAlarm() {
        CycleRig rig;
        rig.plateLoaded = false;
        rig.jammed = true;
        double firstFeedAt = -1;
        rig.clock.addPeriodic("feed", 1000, [&] {
            if (rig.feedPulses == 1 && firstFeedAt < 0) firstFeedAt = rig.nowS();
        });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return alarmFlags[33] == 1; }, 60.0), qPrintable(rig.state()));
        const double alarmAt = rig.nowS();
        QCOMPARE(rig.feedPulses, 2);
        QVERIFY2(alarmAt - firstFeedAt > 12.0, qPrintable(QString::number(alarmAt - firstFeedAt)));
        QCOMPARE(int(runA), 0);
        QCOMPARE(feederStep, 0.0);

        // Unjammed, the next start feeds a plate and the cycle goes on.
        rig.jammed = false;
        rig.clearAlarm();
        QVERIFY(rig.start());
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(rig.feedPulses, 3);
    }

    void lowerCameraNgWithSkipThrowsTheLabelAway() {
        CycleRig rig;
        QCOMPARE(gd[12], 2.0);
        rig.force(1, VirtualCameras::ForceNG);
        bool sawBin = false;
        rig.clock.addPeriodic("bin", 1000, [&] { sawBin = sawBin || stepA == 254; });
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[24] == 1; }, 60.0), qPrintable(rig.state()));
        rig.force(1, VirtualCameras::ForceNone);
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QVERIFY(sawBin);
        QCOMPARE(gr[23], 1.0);
        QCOMPARE(gr[22], 0.0);
        QCOMPARE(gr[1], 2.0); // the product kept its cell and got the next label
    }

    void qrNgWithSkipGoesToTheNgTray() {
        CycleRig rig;
        rig.force(3, VirtualCameras::ForceNG);
        QVERIFY(rig.homeAndStart());
        QVERIFY2(rig.runUntil([] { return gr[31] == 1; }, 60.0), qPrintable(rig.state()));
        rig.force(3, VirtualCameras::ForceNone);
        QCOMPARE(productCode, QString(""));
        QVERIFY2(rig.runUntil([] { return gr[22] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[25], 0.0);
        QVERIFY2(rig.runUntil([] { return gr[21] == 1; }, 60.0), qPrintable(rig.state()));
        QCOMPARE(gr[1], 3.0);
    }
};

QTEST_GUILESS_MAIN(TestCycleFaults)
#include "tst_cyclefaults.moc"
