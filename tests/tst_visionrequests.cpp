// Photo requests and their results on the virtual machine: lights and light timers,
// latched positions, the copy of the library's records, dry run and the watcher.
#include "MachineState.h"
#include "TestSupport.h"

#include "app/MachineData.h"
#include "machine/FastScan.h"
#include "platform/vision/TaskParams.h"
#include "platform/vision/gcallfun.h"
#include "platform/vision/taskdata.h"
#include "recipes/DemoRecipe.h"
#include "vision/VisionFlags.h"
#include "vision/VisionRequests.h"

#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <thread>

namespace {

constexpr WORD kX = 0, kY = 1, kQ = 3;
constexpr int kCoaxial = 16, kRing = 17, kLower = 18;
constexpr double kUnset = -7.0;

struct VisionRig : SimRig {
    FastScan scan;
    VisionRig() {
        resetMachineData();
        kzct::resetLibraryState();
        TaskParams::GetInstance()->reset();
        taskdata::GetInstance()->setManual(0);
        taskdata::GetInstance()->setBusy(0, 0); // a run an earlier machine left unfinished
        taskdata::GetInstance()->setBusy(1, 0);
        startCard();
        cardOk = 1.0;
        applyDemoRecipe();
        for (int t = 0; t < kVisionSlots; ++t) {
            for (int i = 0; i < 20; ++i) VisionResult[t][i] = kUnset;
            for (int i = 0; i < 10; ++i) visionText[t][i] = "unset";
            photoPos[t] = PhotoPoint();
        }
        angleRef = kUnset;
        clock.addPeriodic("fast", 5000, [this] { scan.pass(); });
        runFor(0.02);
    }
    ~VisionRig() {
        manualMode = 0.0; // ends any watcher
        taskdata::GetInstance()->setManual(0);
    }
    bool light(int out) { return plant().output(out); }
    bool goTo(double x, double y, double q) {
        spmove(0, kX, x, 200.0, 1);
        spmove(0, kY, y, 200.0, 1);
        spmove(0, kQ, q, 200.0, 1);
        return runUntil([] { return isidle(0, kX) && isidle(0, kY) && isidle(0, kQ); }, 5.0);
    }
    bool finish(int task) {
        return runUntil(
            [task] {
                visionRead(task);
                return VisionResult[task][0] == 1;
            },
            2.0);
    }
};

TaskParam taskWith(int task, int mode) {
    TaskParam p = TaskParams::GetInstance()->param(task);
    p.mode = mode;
    for (int i = 0; i < TaskParam::kValueCount; ++i) p.values[i] = 100.0 + i; // value n is 100 + n
    return p;
}

} // namespace

class TestVisionRequests : public QObject {
    Q_OBJECT
private slots:
    void okRecordIsCopiedWithItsValueMapping() {
        VisionRig rig;
        TaskParam p = taskWith(2, TaskParam::ModeOK);
        p.processMs = 80;
        TaskParams::GetInstance()->setParam(2, p);
        VisionResult[2][0] = 1;
        VisionResult[2][1] = 2;
        visionTrigger(2);
        QCOMPARE(VisionResult[2][0], 0.0);
        QCOMPARE(VisionResult[2][1], 0.0);
        rig.runFor(0.07);
        visionRead(2); // still running: nothing changes
        QCOMPARE(VisionResult[2][0], 0.0);
        QCOMPARE(VisionResult[2][2], kUnset);
        QVERIFY(rig.finish(2));
        QVERIFY(rig.clock.nowUs() >= 20000 + 80000); // triggered at 20 ms, 80 ms of processing

        QCOMPARE(VisionResult[2][1], 1.0);
        QCOMPARE(VisionResult[2][2], 121.0);
        QCOMPARE(VisionResult[2][3], 120.0);
        for (int i = 4; i <= 8; ++i) QCOMPARE(VisionResult[2][i], 100.0 + 18 + i);
        QCOMPARE(VisionResult[2][9], 80.0); // value 27 is the processing time
        QCOMPARE(VisionResult[2][10], 110.0);
        QCOMPARE(VisionResult[2][11], 111.0);
        QCOMPARE(VisionResult[2][12], 112.0);
        for (int i = 13; i < 20; ++i) QCOMPARE(VisionResult[2][i], kUnset);
        QCOMPARE(visionText[2][0], QString("OK"));
        QVERIFY(visionText[2][1].startsWith("X="));
        QCOMPARE(visionText[2][2], QString("unset"));

        // The result stays until the next trigger of the same task.
        rig.runFor(1.0);
        visionRead(2);
        QCOMPARE(VisionResult[2][2], 121.0);
        visionTrigger(2);
        QCOMPARE(VisionResult[2][0], 0.0);
        QCOMPARE(VisionResult[2][1], 0.0);
    }

    void ngRecordGivesVerdict2AndZeroValues() {
        VisionRig rig;
        TaskParams::GetInstance()->setParam(13, taskWith(13, TaskParam::ModeNG));
        visionTrigger(13);
        QVERIFY(rig.finish(13));
        QCOMPARE(VisionResult[13][1], 2.0);
        for (int i = 2; i <= 12; ++i) QCOMPARE(VisionResult[13][i], 0.0);
        QCOMPARE(visionText[13][0], QString("NG"));
    }

    void taskThatNeverFinishesStaysUndone() {
        VisionRig rig;
        TaskParams::GetInstance()->setParam(4, taskWith(4, TaskParam::ModeNever));
        visionTrigger(4);
        QVERIFY(!rig.finish(4));
        QCOMPARE(VisionResult[4][0], 0.0);
        QCOMPARE(VisionResult[4][1], 0.0);
    }

    void triggerLatchesPositions() {
        VisionRig rig;
        QVERIFY(rig.goTo(123.4, 56.7, 33.0));
        visionTrigger(0); // upper camera: angleRef untouched
        QVERIFY(std::fabs(photoPos[0].x - 123.4) < 1e-6);
        QVERIFY(std::fabs(photoPos[0].y - 56.7) < 1e-6);
        QCOMPARE(angleRef, kUnset);
        QVERIFY(rig.goTo(80.0, 90.0, -45.0));
        visionTrigger(1); // lower camera
        QVERIFY(std::fabs(angleRef - command(kQ)) < 1e-9);
        QVERIFY(std::fabs(angleRef + 45.0) < 1e-6);
        QVERIFY(std::fabs(photoPos[1].x - 80.0) < 1e-6);
        QVERIFY(std::fabs(photoPos[0].x - 123.4) < 1e-6); // the other task keeps its photo
    }

    void tasksAbove14OnlyLatchThePosition() {
        VisionRig rig;
        QVERIFY(rig.goTo(210.0, 95.0, 20.0));
        for (int task = 15; task <= 19; ++task) {
            visionTrigger(task);
            QVERIFY(std::fabs(photoPos[task].x - 210.0) < 1e-6);
            QVERIFY(std::fabs(photoPos[task].y - 95.0) < 1e-6);
        }
        QCOMPARE(int(upperLightOn), 0);
        QCOMPARE(int(lowerLightOn), 0);
        QVERIFY(!rig.light(kCoaxial) && !rig.light(kRing) && !rig.light(kLower));
        QCOMPARE(taskdata::GetInstance()->busy(0), 0);
        QCOMPARE(taskdata::GetInstance()->busy(1), 0);
        rig.runFor(1.0);
        for (int task = 15; task <= 19; ++task) {
            visionRead(task);
            QCOMPARE(VisionResult[task][0], kUnset);
            QCOMPARE(VisionResult[task][1], kUnset);
        }
        QCOMPARE(angleRef, kUnset);
        visionRead(20); // beyond the table: nothing
        visionTrigger(20);
    }

    void dryRunPassesEveryPhotoAtOnce() {
        VisionRig rig;
        TaskParams::GetInstance()->setParam(0, taskWith(0, TaskParam::ModeNG));
        TaskParams::GetInstance()->setParam(1, taskWith(1, TaskParam::ModeNever));
        dryRun = 1;
        visionTrigger(0);
        visionTrigger(1);
        for (int task = 0; task < kVisionSlots; ++task) {
            visionRead(task);
            QCOMPARE(VisionResult[task][0], 1.0);
            QCOMPARE(VisionResult[task][1], 1.0);
        }
        QCOMPARE(VisionResult[5][2], kUnset); // nothing else is written
        rig.runFor(0.5);
        visionRead(0);
        QCOMPARE(VisionResult[0][1], 1.0);
        QCOMPARE(VisionResult[0][2], kUnset);
    }

    void lightsFollowTheSelectionAndGoOffAfterTheLightTime_data() {
        QTest::addColumn<int>("task");
        QTest::addColumn<int>("selectionIndex"); // 0 for the lower camera
        QTest::addColumn<double>("selection");
        QTest::addColumn<bool>("coaxial");
        QTest::addColumn<bool>("ring");
        QTest::addColumn<bool>("lower");
        QTest::newRow("label, ring") << 0 << 13 << 0.0 << false << true << false;
        QTest::newRow("label, coaxial") << 0 << 13 << 1.0 << true << false << false;
        QTest::newRow("label, both") << 0 << 13 << 2.0 << true << true << false;
        QTest::newRow("assembly photo") << 2 << 14 << 1.0 << true << false << false;
        QTest::newRow("check photo") << 4 << 14 << 2.0 << true << true << false;
        QTest::newRow("QR code") << 3 << 15 << 1.0 << true << false << false;
        QTest::newRow("presence") << 13 << 15 << 2.0 << true << true << false;
        QTest::newRow("NG tray") << 14 << 15 << 1.0 << true << false << false;
        for (int task = 6; task <= 9; ++task)
            QTest::addRow("calibration plate %d", task) << task << 20 << 1.0 << true << false << false;
        for (int task : {1, 5, 10, 11, 12})
            QTest::addRow("lower camera %d", task) << task << 0 << 0.0 << false << false << true;
    }
    void lightsFollowTheSelectionAndGoOffAfterTheLightTime() {
        QFETCH(int, task);
        QFETCH(int, selectionIndex);
        QFETCH(double, selection);
        QFETCH(bool, coaxial);
        QFETCH(bool, ring);
        QFETCH(bool, lower);
        VisionRig rig;
        // The other selections point elsewhere, so that the row's own one decides.
        for (int i : {13, 14, 15, 20}) gd[i] = selection == 0.0 ? 1.0 : 0.0;
        if (selectionIndex) gd[selectionIndex] = selection;
        gf[216] = 0.3;
        visionTrigger(task);
        QCOMPARE(rig.light(kCoaxial), coaxial);
        QCOMPARE(rig.light(kRing), ring);
        QCOMPARE(rig.light(kLower), lower);
        QCOMPARE(int(upperLightOn), lower ? 0 : 1);
        QCOMPARE(int(lowerLightOn), lower ? 1 : 0);

        rig.runFor(0.29);
        QCOMPARE(rig.light(kCoaxial), coaxial);
        QCOMPARE(rig.light(kRing), ring);
        QCOMPARE(rig.light(kLower), lower);
        rig.runFor(0.02);
        QVERIFY(!rig.light(kCoaxial) && !rig.light(kRing) && !rig.light(kLower));
        QCOMPARE(int(upperLightOn), 0);
        QCOMPARE(int(lowerLightOn), 0);
    }

    void atMostTenTexts() {
        VisionRig rig;
        TaskRecord record;
        record.status = TaskOK;
        for (int i = 0; i < 12; ++i) record.texts << QString("text %1").arg(i);
        taskdata::GetInstance()->setRecord(3, record);
        visionRead(3);
        QCOMPARE(VisionResult[3][0], 1.0);
        for (int i = 0; i < 10; ++i) QCOMPARE(visionText[3][i], QString("text %1").arg(i));

        // A shorter list overwrites only its own entries.
        record.texts = QStringList{"OK", "QR-0042"};
        taskdata::GetInstance()->setRecord(3, record);
        visionRead(3);
        QCOMPARE(visionText[3][0], QString("OK"));
        QCOMPARE(visionText[3][1], QString("QR-0042"));
        QCOMPARE(visionText[3][2], QString("text 2"));
    }

    void watcherFillsTheTableInManualModeOnly() {
        VisionRig rig;
        visionTrigger(0); // automatic mode: the cycle polls by itself
        rig.runFor(1.0);
        QCOMPARE(VisionResult[0][0], 0.0);
        visionRead(0);
        QCOMPARE(VisionResult[0][0], 1.0);

        manualMode = 1.0;
        visionTrigger(6);
        QVERIFY(rig.runUntil([] { return VisionResult[6][0] == 1; }, 60.0));
        QCOMPARE(VisionResult[6][1], 1.0);
    }

    void visionExecShowsTheTaskWhileTheLibraryIsInManualMode() {
        VisionRig rig;
        QSignalSpy shown(gcallfun::GetInstance(), &gcallfun::signalSetCurrentTast);
        taskdata* data = taskdata::GetInstance();
        data->setCurrentTask(0);
        QCOMPARE(visionExec(4), 0);
        QCOMPARE(shown.count(), 0);
        QCOMPARE(data->currentTask(), 0);
        rig.runFor(0.2);

        data->setManual(1);
        data->setBusy(0, 1);
        data->setBusy(1, 1);
        QCOMPARE(visionExec(10), 0);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toInt(), 10);
        QCOMPARE(data->currentTask(), 10);
        QCOMPARE(data->busy(0), 0); // cleared before the run; the lower camera is busy now
        QCOMPARE(data->busy(1), 1);
        QCOMPARE(visionExec(15), -1); // the library has tasks 0..14
    }

    void normAngle_data() {
        QTest::addColumn<double>("a0");
        QTest::addColumn<double>("a1");
        QTest::addColumn<double>("a2");
        QTest::addColumn<double>("a3");
        QTest::addColumn<double>("ref");
        QTest::addColumn<double>("expected");
        QTest::newRow("sum") << 1.5 << 30.0 << -5.0 << 90.0 << 0.0 << 126.5;
        QTest::newRow("above 180") << 0.0 << 200.0 << 0.0 << 0.0 << 0.0 << -160.0;
        QTest::newRow("below -180") << 0.0 << -200.0 << 0.0 << 0.0 << 0.0 << 160.0;
        QTest::newRow("180 stays") << 0.0 << 180.0 << 0.0 << 0.0 << 0.0 << 180.0;
        QTest::newRow("540 is 180") << 0.0 << 540.0 << 0.0 << 0.0 << 0.0 << 180.0;
        QTest::newRow("-725 is -5") << 0.0 << -725.0 << 0.0 << 0.0 << 0.0 << -5.0;
        QTest::newRow("plus the nozzle angle") << 0.0 << 190.0 << 0.0 << 0.0 << 12.0 << -158.0;
    }
    void normAngle() {
        QFETCH(double, a0);
        QFETCH(double, a1);
        QFETCH(double, a2);
        QFETCH(double, a3);
        QFETCH(double, ref);
        QFETCH(double, expected);
        angleRef = ref;
        QCOMPARE(::normAngle(a0, a1, a2, a3), expected);
    }
};

QTEST_MAIN(TestVisionRequests)
#include "tst_visionrequests.moc"
