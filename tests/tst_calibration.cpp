// The camera calibrations on the virtual machine: the whole program in machine time,
// switched to manual mode as the operator does, each calibration started as its
// button does. The plant has its own true camera optics, nozzle offset and nozzle
// angle, different from the demo recipe's nominal values; each case checks what the
// calibration found against the plant and what the machine did.
#include "MachineState.h"

#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "platform/vision/CamCalib.h"
#include "platform/vision/TaskParams.h"
#include "platform/vision/taskcontrol.h"
#include "platform/vision/taskdata.h"
#include "production/MesMessages.h"
#include "production/ProductRecords.h"
#include "runner/ProductionRunner.h"
#include "sequences/CycleData.h"
#include "vision/CalibrationSteps.h"
#include "vision/Calibrations.h"
#include "vision/VisionRequests.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QtTest>
#include <cmath>
#include <memory>

namespace {

// The plant's true values; the demo recipe assumes a nozzle 40 mm beside the upper
// camera, the lower camera 420 mm from the origin, a plate exactly at its taught place
// and 50 px/mm cameras.
constexpr double kNozzleDx = 40.23, kNozzleDy = -0.17;
constexpr double kNestX = 480.12, kNestY = 139.91;
constexpr double kLowerCamX = 420.31, kLowerCamY = 139.78;

struct CalibLine {
    std::unique_ptr<ProductionRunner> r;
    int launches = 0;

    explicit CalibLine(bool trueOffsets = true) {
        resetMachineData();
        feederStep = 0;
        manualLabelReq = manualBarrelReq = 0;
        heightResult = cycleStartClock = cycleTime = 0.0;
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
        nozzleZeroBusy = linkCalibBusy = linkVerifyBusy = linkVerify2Busy = 0;
        nozzleZeroDone = linkCalibDone = 0;
        kzct::resetLibraryState();
        TaskParams::GetInstance()->reset();
        taskcontrol::clearCalibrations();
        r = std::make_unique<ProductionRunner>(5);
        // Runs go on the harness's clock, every 5 ms, like their threads.
        setCalibLauncher([this](std::function<bool()> pass) {
            ++launches;
            auto done = std::make_shared<bool>(false);
            r->clock.addPeriodic("calibration", 5000, [pass, done] {
                if (!*done) *done = pass();
            });
        });
        QString error;
        if (!r->powerUp(&error)) qFatal("%s", qPrintable(error));
        // The demo recipe as shipped: an earlier case saved its calibration results.
        applyDemoRecipe();
        for (int i : {311, 312, 316, 317, 321, 327, 328}) gd[i] = 0.0;
        gd[310] = gd[315] = -40.0;
        gd[325] = 380.0;
        gd[326] = 140.0;
        for (int cam = 0; cam < 2; ++cam) QFile::remove(taskcontrol::calibFile(cam));
        taskcontrol::clearCalibrations();
        if (trueOffsets) {
            auto lock = r->plant().lock();
            sim::WorkLayout L = r->workcell().layout();
            L.nozzleDx = kNozzleDx;
            L.nozzleDy = kNozzleDy;
            L.lowerCamX = kLowerCamX;
            L.lowerCamY = kLowerCamY;
            L.nestX = kNestX;
            L.nestY = kNestY;
            L.nestAngle = 0.4;
            r->workcell().setLayout(L);
            r->workcell().placePlate(kNestX + 0.03, kNestY - 0.02, 0.7);
            // The plate pick point as taught on this machine: the nozzle over the plate by eye.
            gd[340] = kNestX - kNozzleDx + 0.08;
            gd[341] = kNestY - kNozzleDy - 0.05;
        }
        if (!r->resetAndHome(&error)) qFatal("%s", qPrintable(error));
    }
    ~CalibLine() {
        r.reset();
        setCalibLauncher(nullptr);
    }

    // The operator's "手动/自动" button.
    void toggleManual() {
        r->window->findChild<QPushButton*>("pushButton_5")->click();
        r->clock.runFor(0.2);
    }
    void manual() {
        if (manualMode != 1.0) toggleManual();
    }
    bool runUntilIdle(double seconds) {
        return r->clock.runUntil([] { return !calibrationRunning(); }, seconds);
    }
    // Takes the plate from its nest onto the nozzle or puts it back, as done by hand on
    // the jog page.
    bool handlePlate(PlateStep::Kind kind) {
        PlateStep step;
        step.begin(kind, gd[340], gd[341], gd[342]);
        bool done = false;
        const int id = r->clock.addPeriodic("plate", 5000, [&] {
            if (!done) done = step.run() == 1;
        });
        const bool ok = r->clock.runUntil([&] { return done; }, 30.0);
        r->clock.setEnabled(id, false);
        auto lock = r->plant().lock();
        return ok && r->workcell().plateOnNozzle() == (kind == PlateStep::Pick);
    }
    bool plateOntoNozzle() { return handlePlate(PlateStep::Pick); }
    double axis(int a) {
        auto lock = r->plant().lock();
        return r->plant().axis(a).encoderUnits();
    }
};

// Worst distance, over a 5 x 5 grid 4 mm wide around (cx, cy), between the axis position
// and what the camera's active calibration makes of the image the plant shows there.
// mark(x, y, &mx, &my): the offset the camera truly sees with the axes at (x, y).
template <typename Mark> double calibrationError(int cam, double cx, double cy, Mark mark) {
    CamCalib calib;
    if (!taskcontrol::activeCalib(cam, &calib)) return 1e9;
    double worst = 0;
    for (int i = -2; i <= 2; ++i)
        for (int j = -2; j <= 2; ++j) {
            const double x = cx + i, y = cy + j;
            double ox, oy, col, row, mx, my;
            mark(x, y, &ox, &oy);
            VirtualCameras::offsetToImage(cam, ox, oy, &col, &row);
            calib.imageToAxis(col, row, &mx, &my);
            worst = std::max(worst, std::hypot(mx - x, my - y));
        }
    return worst;
}

} // namespace

class TestCalibration : public QObject {
    Q_OBJECT
private slots:
    void ninePointOnEachCamera();
    void secondStartOrAutomaticModeDoesNothing();
    void ninePointPhotoNgOrLateFails();
    void openDoorHoldsTheRunEmergencyStopEndsIt();
    void nozzleZeroAngle_data();
    void nozzleZeroAngle();
    void endingTheNoticeStopsTheLinkedCalibration();
    void linkedPhotoNgEndsTheRun();
    void linkedCalibrationPlacesTheNextTray();
    void withoutTheLinkedCalibrationTheTrayIsOff();
    void closingTheWindowStopsAndJoinsACalibration();
    void endingTheRunnerJoinsACalibrationThread();
};

namespace {
// Nothing but the file itself in its folder: no write left half done beside it.
QStringList besides(const QString& file) {
    const QFileInfo info(file);
    return QDir(info.absolutePath()).entryList({info.fileName() + "*"}, QDir::Files | QDir::Hidden);
}
} // namespace

// The operator closes the program during a 9-point calibration: the close tells the run to
// stop and waits for its thread; the camera's calibration file stays as it was.
void TestCalibration::closingTheWindowStopsAndJoinsACalibration() {
    CalibLine line;
    line.manual();
    const QString file = taskcontrol::calibFile(0);
    QVERIFY(AtomicFile::write(file, "earlier calibration\n"));
    // On its own thread, as in the program.
    setCalibLauncher(nullptr);
    startNinePoint(0);
    QCOMPARE(calibrationThreads(), 1);
    line.r->clock.runFor(1.0);
    QVERIFY(calibrationRunning()); // nine photos take longer
    line.r->window->close();
    QCOMPARE(line.r->window->shutdowns(), 1);
    QCOMPARE(calibrationThreads(), 0);
    QVERIFY(!calibrationRunning());
    QCOMPARE(lastNinePointResult(0), 2);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("earlier calibration\n"));
    QCOMPARE(besides(file), QStringList{QFileInfo(file).fileName()});
}

// A program that ends without a close (the runner's end) still joins a run's thread
// before the machine goes; the run reports no success and stores nothing.
void TestCalibration::endingTheRunnerJoinsACalibrationThread() {
    CalibLine line;
    line.manual();
    const double zero = gd[321];
    setCalibLauncher(nullptr);
    startNozzleZero();
    QCOMPARE(calibrationThreads(), 1);
    line.r->clock.runFor(0.3);
    QCOMPARE(int(nozzleZeroBusy), 1);
    line.r.reset();
    QCOMPARE(calibrationThreads(), 0);
    QCOMPARE(int(nozzleZeroBusy), 0);
    QCOMPARE(lastNozzleZeroResult(), 2);
    QCOMPARE(int(nozzleZeroDone), 0);
    QCOMPARE(int(refreshSaveReq), 0);
    QCOMPARE(gd[321], zero);
}

void TestCalibration::ninePointOnEachCamera() {
    CalibLine line;
    line.manual();
    // Upper camera: the plate lies in its nest.
    startNinePoint(0);
    QCOMPARE(int(calibBusy), 1);
    QVERIFY(line.runUntilIdle(60));
    QCOMPARE(lastNinePointResult(0), 1);
    QVERIFY(QFile::exists(taskcontrol::calibFile(0)));
    sim::CalibPlate plate;
    {
        auto lock = line.r->plant().lock();
        plate = line.r->workcell().plate();
    }
    const double upper =
        calibrationError(0, gf[625], gf[626], [&](double x, double y, double* ox, double* oy) {
            *ox = x - plate.x;
            *oy = y - plate.y;
        });
    qInfo("upper camera: worst mapping error %.4f mm", upper);
    QVERIFY(upper < 0.01);

    // Lower camera: the plate on the nozzle.
    QVERIFY(line.plateOntoNozzle());
    double ex, ey;
    sim::WorkLayout L;
    {
        auto lock = line.r->plant().lock();
        line.r->workcell().plateOnNozzleOffset(&ex, &ey);
        L = line.r->workcell().layout();
    }
    startNinePoint(1);
    QVERIFY(line.runUntilIdle(60));
    QCOMPARE(lastNinePointResult(1), 1);
    QVERIFY(QFile::exists(taskcontrol::calibFile(1)));
    const double lower =
        calibrationError(1, gf[610], gf[611], [&](double x, double y, double* ox, double* oy) {
            *ox = x + L.nozzleDx + ex - L.lowerCamX;
            *oy = y + L.nozzleDy + ey - L.lowerCamY;
        });
    qInfo("lower camera: worst mapping error %.4f mm", lower);
    QVERIFY(lower < 0.01);
    // The machine ends at the safe height.
    QVERIFY(line.r->clock.runUntil([&] { return std::fabs(line.axis(2) - gf[400]) < 0.01; }, 5));
}

void TestCalibration::secondStartOrAutomaticModeDoesNothing() {
    CalibLine line;
    // Automatic mode: refused, nothing moves.
    QCOMPARE(manualMode, 0.0);
    const double x0 = line.axis(0);
    startNinePoint(0);
    QCOMPARE(int(calibBusy), 0);
    QCOMPARE(line.launches, 0);
    line.r->clock.runFor(2.0);
    QCOMPARE(line.axis(0), x0);

    line.manual();
    startNinePoint(0);
    startNinePoint(1);
    startNinePoint(0);
    QCOMPARE(line.launches, 1);
    QVERIFY(line.runUntilIdle(60));
    QCOMPARE(lastNinePointResult(0), 1);
    QVERIFY(!QFile::exists(taskcontrol::calibFile(1)));

    // Switching to automatic mode ends a run at its next step.
    startNinePoint(0);
    QCOMPARE(line.launches, 2);
    line.r->clock.runFor(1.0);
    line.toggleManual();
    QVERIFY(line.runUntilIdle(0.1));
    QCOMPARE(lastNinePointResult(0), 2);
}

void TestCalibration::ninePointPhotoNgOrLateFails() {
    CalibLine line;
    line.manual();
    // Every photo NG: nothing is stored, the alarm table shows it.
    line.r->cameras.setForce(6, VirtualCameras::ForceNG);
    startNinePoint(0);
    QVERIFY(line.runUntilIdle(30));
    QCOMPARE(lastNinePointResult(0), 2);
    QVERIFY(!QFile::exists(taskcontrol::calibFile(0)));
    QVERIFY(!taskcontrol::activeCalib(0, nullptr));
    QCOMPARE(int(alarmFlags[6]), 1);
    QCOMPARE(int(alarmFlags[7]), 0);

    // A photo that takes longer than 500 ms fails the run too.
    alarmFlags[6] = 0;
    line.r->cameras.setForce(6, VirtualCameras::ForceNone);
    line.r->cameras.setExtraDelayUs(6, 600000);
    startNinePoint(0);
    QVERIFY(line.runUntilIdle(30));
    QCOMPARE(lastNinePointResult(0), 2);
    QVERIFY(!taskcontrol::activeCalib(0, nullptr));
    QCOMPARE(int(alarmFlags[6]), 1);

    // Just in time passes.
    line.r->cameras.setExtraDelayUs(6, 350000);
    startNinePoint(0);
    QVERIFY(line.runUntilIdle(30));
    QCOMPARE(lastNinePointResult(0), 1);
}

void TestCalibration::openDoorHoldsTheRunEmergencyStopEndsIt() {
    CalibLine line;
    line.manual();
    startNinePoint(0);
    QVERIFY(line.r->clock.runUntil([] { return VisionResult[6][0] == 1; }, 20));
    // An open door takes readiness away: the run holds where it is.
    line.r->plant().panel().setDoorOpen(0, true);
    QVERIFY(line.r->clock.runUntil([] { return readyA == 0; }, 1));
    line.r->clock.runFor(0.5);
    const double x = line.axis(0), y = line.axis(1);
    const double shots = photoPos[6].x;
    line.r->clock.runFor(3.0);
    QCOMPARE(line.axis(0), x);
    QCOMPARE(line.axis(1), y);
    QCOMPARE(photoPos[6].x, shots);
    QCOMPARE(int(calibBusy), 1);
    // Closed again, it goes on to the end.
    line.r->plant().panel().setDoorOpen(0, false);
    QVERIFY(line.runUntilIdle(60));
    QCOMPARE(lastNinePointResult(0), 1);

    // The emergency stop ends it for good.
    VisionResult[6][0] = 0;
    startNinePoint(0);
    QVERIFY(line.r->clock.runUntil([] { return VisionResult[6][0] == 1; }, 20));
    line.r->plant().panel().setEstopPressed(true);
    QVERIFY(line.runUntilIdle(1));
    QCOMPARE(lastNinePointResult(0), 2);
    line.r->plant().panel().setEstopPressed(false);
    line.r->clock.runFor(2.0);
    QCOMPARE(int(calibBusy), 0);
}

void TestCalibration::nozzleZeroAngle_data() {
    QTest::addColumn<double>("plantZero");
    QTest::addColumn<double>("q");
    QTest::addColumn<double>("stored");
    QTest::newRow("found 40 at Q 10") << -30.0 << 10.0 << 330.0;
    QTest::newRow("found -12.5 at Q 0") << 12.5 << 0.0 << 12.5;
    QTest::newRow("found 0 at Q 200") << 200.0 << 200.0 << 200.0;
}

void TestCalibration::nozzleZeroAngle() {
    QFETCH(double, plantZero);
    QFETCH(double, q);
    QFETCH(double, stored);
    CalibLine line;
    {
        auto lock = line.r->plant().lock();
        sim::WorkLayout L = line.r->workcell().layout();
        L.nozzleZeroDeg = plantZero;
        line.r->workcell().setLayout(L);
    }
    line.manual();
    spmove(cardNo, axisQ, q, 90, 1);
    QVERIFY(line.r->clock.runUntil([&] { return get_poscmp2(cardNo, axisQ, q, 0.01) == 1; }, 10));
    gd[321] = 77.0;
    startNozzleZero();
    QCOMPARE(int(nozzleZeroBusy), 1);
    QVERIFY(line.runUntilIdle(30));
    QCOMPARE(lastNozzleZeroResult(), 1);
    QCOMPARE(int(nozzleZeroDone), 1);
    qInfo("nozzle zero %.3f (plant %.3f)", gd[321], stored);
    QVERIFY2(std::fabs(gd[321] - stored) < 0.1, qPrintable(QString::number(gd[321])));
    // The main window writes the new value into the pages and saves the recipe.
    QVERIFY(line.r->clock.runUntil([] { return refreshSaveReq == 0; }, 0.5));

    // NG: the value stays.
    gd[321] = 77.0;
    line.r->cameras.setForce(5, VirtualCameras::ForceNG);
    startNozzleZero();
    QVERIFY(line.runUntilIdle(30));
    QCOMPARE(lastNozzleZeroResult(), 2);
    QCOMPARE(gd[321], 77.0);
}

void TestCalibration::endingTheNoticeStopsTheLinkedCalibration() {
    CalibLine line;
    line.manual();
    gd[310] = -1.5;
    gd[311] = 2.5;
    startLinkedCalibration();
    QCOMPARE(int(linkCalibBusy), 1);
    // Let it take the plate in its first pass, then end the test.
    QVERIFY(line.r->clock.runUntil([&] { return photoPos[7].x != 0 && VisionResult[12][0] == 1; }, 60));
    QVERIFY(line.r->clock.runUntil(
        [&] {
            auto lock = line.r->plant().lock();
            return line.r->workcell().plateOnNozzle();
        },
        60));
    linkCalibBusy = 0; // "结束测试"
    line.r->clock.runFor(0.02);
    QCOMPARE(lastLinkedResult(), 2);
    const double x = line.axis(0), y = line.axis(1);
    line.r->clock.runFor(3.0);
    QCOMPARE(line.axis(0), x);
    QCOMPARE(line.axis(1), y);
    QCOMPARE(gd[310], -1.5);
    QCOMPARE(gd[311], 2.5);
    QCOMPARE(int(linkCalibDone), 0);
}

void TestCalibration::linkedPhotoNgEndsTheRun() {
    CalibLine line;
    line.manual();
    gd[315] = -40.0;
    line.r->cameras.setForce(8, VirtualCameras::ForceNG);
    startLinkedCalibration();
    QVERIFY(line.runUntilIdle(120));
    QCOMPARE(lastLinkedResult(), 2);
    QCOMPARE(gd[315], -40.0);
    QCOMPARE(int(linkCalibDone), 0);
    QCOMPARE(int(refreshSaveReq), 0);
}

void TestCalibration::linkedCalibrationPlacesTheNextTray() {
    CalibLine line;
    line.manual();
    // Both cameras first, then the plate back into its nest.
    startNinePoint(0);
    QVERIFY(line.runUntilIdle(60));
    QVERIFY(line.plateOntoNozzle());
    startNinePoint(1);
    QVERIFY(line.runUntilIdle(60));
    QCOMPARE(lastNinePointResult(0), 1);
    QCOMPARE(lastNinePointResult(1), 1);
    QVERIFY(line.handlePlate(PlateStep::Place));
    startLinkedCalibration();
    QVERIFY(line.runUntilIdle(300));
    QCOMPARE(lastLinkedResult(), 1);
    QCOMPARE(int(linkCalibDone), 1);
    qInfo("label pick %.4f %.4f, assembly %.4f %.4f angle %.4f, nozzle photo %.3f %.3f at %.4f %.4f", gd[310],
          gd[311], gd[315], gd[316], gd[317], gd[325], gd[326], gd[327], gd[328]);
    QVERIFY(std::fabs(gd[310] + kNozzleDx) < 0.02);
    QVERIFY(std::fabs(gd[311] + kNozzleDy) < 0.02);
    QVERIFY(std::fabs(gd[315] + kNozzleDx) < 0.02);
    QVERIFY(std::fabs(gd[316] + kNozzleDy) < 0.02);
    // Where the bare nozzle showed in the lower camera: it carries the camera's place.
    QVERIFY(std::fabs(gd[325] + kNozzleDx - gd[327] - kLowerCamX) < 0.02);
    QVERIFY(std::fabs(gd[326] + kNozzleDy - gd[328] - kLowerCamY) < 0.02);

    startLinkedVerification();
    QCOMPARE(int(linkVerifyBusy), 1);
    QVERIFY(line.runUntilIdle(120));
    QCOMPARE(lastVerifyResult(), 1);

    // The next tray, in automatic mode after a reset.
    line.toggleManual();
    QString error;
    QVERIFY2(line.r->resetAndHome(&error), qPrintable(error));
    QVERIFY2(line.r->start(&error), qPrintable(error));
    line.r->produce(0, 1, 900);
    QCOMPARE(line.r->endReason(), QString("trays finished"));
    auto lock = line.r->plant().lock();
    const sim::PlacementRecord& p = line.r->workcell().placements();
    qInfo("after the linked calibration: placement error over %d labels: mean %.4f mm, worst %.4f mm",
          p.count(), p.meanError(), p.worstError());
    QCOMPARE(p.count(), 20);
    QVERIFY(p.meanError() < 0.02);
}

// The same plant with the demo recipe's nominal offsets: the labels land off by the
// difference, which is what the linked calibration takes away.
void TestCalibration::withoutTheLinkedCalibrationTheTrayIsOff() {
    CalibLine line;
    QString error;
    QVERIFY2(line.r->start(&error), qPrintable(error));
    line.r->produce(0, 1, 900);
    auto lock = line.r->plant().lock();
    const sim::PlacementRecord& p = line.r->workcell().placements();
    qInfo("nominal offsets: placement error over %d labels: mean %.4f mm", p.count(), p.meanError());

    QVERIFY(p.count() > 0);
    QVERIFY(p.meanError() > 0.2);
}

QTEST_MAIN(TestCalibration)
#include "tst_calibration.moc"
