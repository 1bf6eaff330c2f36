// Named moves, tray geometry, the vision-corrected pick and assembly points and the
// page moves, on a homed virtual machine in machine time.
#include "MachineState.h"
#include "TestSupport.h"

#include "app/MachineData.h"
#include "machine/FastScan.h"
#include "platform/vision/TaskParams.h"
#include "recipes/DemoRecipe.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"
#include "sequences/ManualMoves.h"
#include "sequences/NamedMoves.h"
#include "vision/VisionRequests.h"

#include <QtTest>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr WORD kX = 0, kY = 1, kZ = 2, kQ = 3, kNgZ = 4;
using Call = sim::VirtualCard::Call;

struct Target {
    WORD axis;
    double position;
};

// Demo recipe, the five working axes homed, fast scan and cylinder follow-up
// running, and the top speed of every axis noted from the plant.
struct MoveRig : SimRig {
    FastScan scan;
    double peak[12] = {};

    MoveRig() {
        resetMachineData();
        kzct::resetLibraryState();
        TaskParams::GetInstance()->reset();
        startCard();
        cardOk = 1.0;
        applyDemoRecipe();
        for (int a = 0; a < kVisionSlots; ++a) {
            for (int i = 0; i < 20; ++i) VisionResult[a][i] = 0.0;
            photoPos[a] = PhotoPoint();
        }
        angleRef = 0.0;
        trayPathMode = 0;
        clock.addPeriodic("fast", 5000, [this] { scan.pass(); });
        clock.addPeriodic("cylinders", 10000, [] { cylindersFollow(); });
        clock.addPeriodic("watch", 1000, [this] {
            for (int a = 0; a < 12; ++a)
                peak[a] = std::max(peak[a], std::fabs(plant().axisSnapshot(a).velocity));
        });
        for (int a : {kZ, kNgZ, kX, kY, kQ}) {
            homeAxis(a, 0, gd[130 + a], gd[90 + a]);
            axisHomed[a] = 1;
        }
        runFor(0.05);
    }
    ~MoveRig() { manualMode = 0.0; } // ends any photo watcher

    // Every command the card can receive, summed.
    uint64_t commands() {
        uint64_t n = 0;
        for (Call c : {Call::CallPmove, Call::CallVmove, Call::CallStop, Call::CallEmgStop,
                       Call::CallHomeMove, Call::CallWriteOutbit, Call::CallWriteCanOutbit,
                       Call::CallSetEncoder, Call::CallSetPosition, Call::CallWriteSevon})
            n += card().calls(c);
        return n;
    }
    void clearPeaks() {
        for (double& p : peak) p = 0.0;
    }
    bool standing() {
        for (WORD a = 0; a < 12; ++a)
            if (!isidle(0, a)) return false;
        return true;
    }
    bool goTo(std::initializer_list<Target> targets) {
        for (const Target& t : targets) spmove(0, t.axis, t.position, 100.0, 1);
        return runUntil([this] { return standing(); }, 10.0);
    }
    // Runs a mode-1 poll until it answers 1; notes any command a poll issued.
    bool mode1Commanded = false;
    bool arrive(const std::function<int(int)>& move) {
        return runUntil(
            [&] {
                const uint64_t before = commands();
                const int there = move(1);
                if (commands() != before) mode1Commanded = true;
                return there == 1;
            },
            10.0);
    }
    bool near(double peakSpeed, double speed) { return std::fabs(peakSpeed - speed) < 0.02 * speed + 0.01; }
};

// Cell c of a tray numbered row by row from its start: along a row X falls by the
// column pitch, from row to row Y grows by the row pitch.
Target cellX(double startX, int c, int cols, double colPitch) {
    return {kX, startX - ((c - 1) % cols) * colPitch};
}
Target cellY(double startY, int c, int cols, double rowPitch) {
    return {kY, startY + ((c - 1) / cols) * rowPitch};
}

void setTask(int task, double x, double y, double angle) {
    TaskParam p = TaskParams::GetInstance()->param(task);
    p.mode = TaskParam::ModeOK;
    p.values[21] = x;
    p.values[20] = y;
    p.values[22] = angle;
    TaskParams::GetInstance()->setParam(task, p);
}

bool photo(MoveRig& rig, int task) {
    visionTrigger(task);
    return rig.runUntil(
        [task] {
            visionRead(task);
            return VisionResult[task][0] == 1;
        },
        1.0);
}

} // namespace

class TestMoves : public QObject {
    Q_OBJECT
private slots:
    void everyNamedMoveArrivesAtItsCatalogueTarget() {
        MoveRig rig;
        gf[633] = 8.0; // Z beside the NG put, so that it shows
        const int c = 7;
        struct Row {
            const char* name;
            std::function<int(int)> move;
            std::vector<Target> targets;
        };
        // Demo trays: labels 3 x 4 (pitches 12, 15), products 4 x 5 and NG 2 x 5 (20, 20).
        const std::vector<Row> rows = {
            {"label photo XY",
             [&](int m) { return moveLabelPhotoXY(m, c); },
             {cellX(460, c, 4, 15), cellY(60, c, 4, 12)}},
            {"label photo Z", moveLabelPhotoZ, {{kZ, 3.0}}},
            {"Z safe with lift", moveZSafeLift, {{kZ, 5.0}, {kNgZ, 0.0}}},
            {"label cell XY",
             [&](int m) { return moveLabelCellXY(m, c); },
             {cellX(420, c, 4, 15), cellY(60, c, 4, 12)}},
            {"label pick Z", moveLabelPickZ, {{kZ, 40.0}}},
            {"Z safe", moveZSafe, {{kZ, 5.0}, {kNgZ, 0.0}}},
            {"lower camera XY", moveLowCamXY, {{kX, 380.0}, {kY, 140.0}}},
            {"lower camera Z", moveLowCamZ, {{kZ, 30.0}}},
            {"assembly cell XY",
             [&](int m) { return moveAssembleCellXY(m, c); },
             {cellX(260, c, 5, 20), cellY(220, c, 5, 20)}},
            {"assembly Z", moveAssembleZ, {{kZ, 38.0}}},
            {"barrel photo XY",
             [&](int m) { return moveBarrelPhotoXY(m, c); },
             {cellX(300, c, 5, 20), cellY(220, c, 5, 20)}},
            {"barrel photo Z", moveBarrelPhotoZ, {{kZ, 3.0}}},
            {"QR photo XY",
             [&](int m) { return moveQrPhotoXY(m, c); },
             {cellX(300, c, 5, 20), cellY(232, c, 5, 20)}},
            {"label NG box Z", moveLabelBinZ, {{kZ, 20.0}}},
            {"QR photo Z", moveQrPhotoZ, {{kZ, 3.0}}},
            {"height XY",
             [&](int m) { return moveHeightXY(m, c); },
             {cellX(335, c, 5, 20), cellY(220, c, 5, 20)}},
            {"height Z", moveHeightZ, {{kZ, 3.0}}},
            {"NG pick XY",
             [&](int m) { return moveNgPickXY(m, c); },
             {cellX(300, c, 5, 20), cellY(160, c, 5, 20)}},
            {"NG pick Z", moveNgPickZ, {{kNgZ, 45.0}}},
            {"NG Z safe", moveNgZSafe, {{kNgZ, 0.0}}},
            {"NG put XY",
             [&](int m) { return moveNgPutXY(m, c); },
             {cellX(160, c, 5, 20), cellY(280, c, 5, 20)}},
            {"NG put Z", moveNgPutZ, {{kNgZ, 40.0}, {kZ, 8.0}}},
            {"NG photo XY",
             [&](int m) { return moveNgPhotoXY(m, c); },
             {cellX(160, c, 5, 20), cellY(340, c, 5, 20)}},
            {"NG photo Z", moveNgPhotoZ, {{kZ, 3.0}}},
            {"label NG box XY", moveLabelBinXY, {{kX, 330.0}, {kY, 60.0}}},
            {"Z safe again", moveZSafeLift, {{kZ, 5.0}, {kNgZ, 0.0}}},
        };
        for (const Row& row : rows) {
            bool travels = false;
            for (const Target& t : row.targets)
                travels = travels || std::fabs(command(t.axis) - t.position) > 0.01;
            const uint64_t before = rig.commands();
            QVERIFY2(row.move(0) == 0, row.name);
            QVERIFY2(rig.commands() > before, row.name);
            const uint64_t started = rig.commands();
            if (travels) QVERIFY2(row.move(1) == 0, row.name);
            QVERIFY2(rig.commands() == started, row.name); // mode 1 commands nothing
            QVERIFY2(rig.arrive(row.move), row.name);
            QVERIFY2(!rig.mode1Commanded, row.name);
            for (const Target& t : row.targets) {
                const QString what = QString("%1: axis %2 at %3, expected %4")
                                         .arg(row.name)
                                         .arg(t.axis)
                                         .arg(encoder(t.axis))
                                         .arg(t.position);
                QVERIFY2(std::fabs(encoder(t.axis) - t.position) < 0.002, qPrintable(what));
            }
        }
    }

    void zSafeChecks() {
        MoveRig rig;
        // Z counts as safe at its safe height and at 0.0, nowhere else.
        QVERIFY(rig.goTo({{kZ, 0.0}, {kNgZ, 0.0}}));
        QCOMPARE(moveZSafeLift(1), 1);
        QCOMPARE(moveZSafe(1), 1);
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        QCOMPARE(moveZSafeLift(1), 1);
        QVERIFY(rig.goTo({{kZ, 3.0}}));
        QCOMPARE(moveZSafeLift(1), 0);
        QCOMPARE(moveZSafe(1), 0);

        // The lift also needs the nozzle cylinder up.
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        rig.plant().forceInput(33, 0);
        rig.plant().forceInput(34, 1);
        moveZSafeLift(0); // asks the cylinder anew
        rig.runFor(0.5);
        QCOMPARE(moveZSafe(1), 1);
        QCOMPARE(moveZSafeLift(1), 0);
        QCOMPARE(int(zParkedOk()), 0);
        rig.plant().forceInput(33, -1);
        rig.plant().forceInput(34, -1);
        rig.runFor(0.5);
        QCOMPARE(moveZSafeLift(1), 1);

        // Parked: Z at a photo or measuring height (or safe), NG Z at 0.
        QVERIFY(rig.goTo({{kZ, gf[642]}}));
        QCOMPARE(int(zParkedOk()), 1);
        QVERIFY(rig.goTo({{kZ, 10.0}}));
        QCOMPARE(int(zParkedOk()), 0);
        QVERIFY(rig.goTo({{kZ, gf[652]}, {kNgZ, 5.0}}));
        QCOMPARE(int(zParkedOk()), 0);

        // Whatever a page stored as NG Z safe height, parking uses 0.
        gf[401] = 12.5;
        QCOMPARE(moveNgZSafe(1), 0);
        QCOMPARE(gf[401], 0.0);
        gf[401] = 5.0;
        QCOMPARE(int(zParkedOk()), 0);
        QCOMPARE(gf[401], 0.0);
        gf[401] = 5.0;
        moveZSafe(0);
        QCOMPARE(gf[401], 0.0);
        QVERIFY(rig.arrive(moveZSafe));
        QVERIFY(std::fabs(encoder(kNgZ)) < 0.002);
    }

    void ngZSpeeds() {
        MoveRig rig;
        gf[202] = 40.0;
        gf[204] = 25.0;
        struct Leg {
            const char* name;
            std::function<int(int)> move;
            double speed;
        };
        const std::vector<Leg> legs = {{"NG pick descent", moveNgPickZ, 40.0},
                                       {"NG Z safe", moveNgZSafe, 25.0},
                                       {"NG put", moveNgPutZ, 25.0},
                                       {"Z safe", moveZSafe, 25.0},
                                       {"NG pick descent again", moveNgPickZ, 40.0},
                                       {"Z safe with lift", moveZSafeLift, 25.0}};
        for (const Leg& leg : legs) {
            rig.clearPeaks();
            leg.move(0);
            QVERIFY2(rig.arrive(leg.move), leg.name);
            QVERIFY2(rig.near(rig.peak[kNgZ], leg.speed),
                     qPrintable(QString("%1: %2 mm/s").arg(leg.name).arg(rig.peak[kNgZ])));
        }
    }

    void trayHelpers() {
        MoveRig rig;
        const int cells[3] = {12, 20, 10}; // demo trays
        for (int k = 0; k < 3; ++k) {
            gr[k] = cells[k];
            QCOMPARE(trayDone(k), 0);
            gr[k] = cells[k] + 1;
            QCOMPARE(trayDone(k), 1);
        }
        lastPhotoCell = 11;
        QCOMPARE(labelPlateDone(), 0);
        lastPhotoCell = 12;
        QCOMPARE(labelPlateDone(), 1);

        // Label plate 3 x 4 from (460, 60): row by row, then serpentine ("S型路径").
        const double rowByRow[12] = {460, 445, 430, 415, 460, 445, 430, 415, 460, 445, 430, 415};
        const double serpentine[12] = {460, 445, 430, 415, 415, 430, 445, 460, 460, 445, 430, 415};
        const double rowY[3] = {60, 72, 84};
        for (int mode = 0; mode < 2; ++mode) {
            trayPathMode = mode; // the window's tick copies gd[10] here
            for (int c = 1; c <= 12; ++c) {
                double x = 0, y = 0;
                cellFromStart(460, 60, c, 0, &x, &y);
                QCOMPARE(x, mode ? serpentine[c - 1] : rowByRow[c - 1]);
                QCOMPARE(y, rowY[(c - 1) / 4]);
            }
        }
        // The machine goes there: cell 5 is the end of the second row in serpentine order.
        trayPathMode = 1;
        moveLabelPhotoXY(0, 5);
        QVERIFY(rig.arrive([](int m) { return moveLabelPhotoXY(m, 5); }));
        QVERIFY(std::fabs(encoder(kX) - 415.0) < 0.002);
        QVERIFY(std::fabs(encoder(kY) - 72.0) < 0.002);
        trayPathMode = 0;
        moveLabelPhotoXY(0, 5);
        QVERIFY(rig.arrive([](int m) { return moveLabelPhotoXY(m, 5); }));
        QVERIFY(std::fabs(encoder(kX) - 460.0) < 0.002);

        // A cell past the tray is still handed on (the library keeps it on the tray).
        double x = 0, y = 0;
        cellFromStart(460, 60, 13, 0, &x, &y);
        QCOMPARE(x, 415.0);
        QCOMPARE(y, 84.0);
    }

    void labelPickAngle_data() {
        QTest::addColumn<double>("found");
        QTest::addColumn<double>("zero");
        QTest::addColumn<double>("compensation");
        QTest::addColumn<double>("visionAngleOff");
        QTest::addColumn<double>("expected");
        QTest::newRow("250 picks at 70") << 250.0 << 0.0 << 0.0 << 0.0 << 70.0;
        QTest::newRow("-200 picks at -20") << -200.0 << 0.0 << 0.0 << 0.0 << -20.0;
        QTest::newRow("180 stays") << 180.0 << 0.0 << 0.0 << 0.0 << 180.0;
        QTest::newRow("zero and compensation") << 250.0 << 3.0 << 2.0 << 0.0 << 75.0;
        QTest::newRow("370 in two steps") << 370.0 << 0.0 << 0.0 << 0.0 << 10.0;
        QTest::newRow("vision angle off") << 250.0 << 3.0 << 2.0 << 2.0 << 5.0;
    }
    void labelPickAngle() {
        QFETCH(double, found);
        QFETCH(double, zero);
        QFETCH(double, compensation);
        QFETCH(double, visionAngleOff);
        QFETCH(double, expected);
        MoveRig rig;
        gd[321] = zero;
        gd[312] = compensation;
        gd[44] = visionAngleOff;
        VisionResult[0][4] = found;
        double x = 0, y = 0, q = 0;
        labelPickTarget(1, &x, &y, &q);
        QCOMPARE(q, expected);
    }

    void correctedLabelPick() {
        MoveRig rig;
        gd[311] = 1.5;
        setTask(0, 0.5, -0.3, 250.0);
        moveLabelPhotoXY(0, 1);
        QVERIFY(rig.arrive([](int m) { return moveLabelPhotoXY(m, 1); }));
        QVERIFY(photo(rig, 0));
        QCOMPARE(VisionResult[0][1], 1.0);

        // X = -40 + 460 - 0.5, Y = 1.5 + 60 + 0.3, Q = 250 - 180.
        QCOMPARE(moveLabelPickXYQ(0, 1), 0);
        QVERIFY(rig.arrive([](int m) { return moveLabelPickXYQ(m, 1); }));
        QVERIFY(std::fabs(encoder(kX) - 419.5) < 0.002);
        QVERIFY(std::fabs(encoder(kY) - 61.8) < 0.002);
        QVERIFY(std::fabs(encoder(kQ) - 70.0) < 0.05);

        // Q within 0.05 counts as there, beyond does not.
        QVERIFY(rig.goTo({{kQ, 70.04}}));
        QCOMPARE(moveLabelPickXYQ(1, 1), 1);
        QVERIFY(rig.goTo({{kQ, 70.07}}));
        QCOMPARE(moveLabelPickXYQ(1, 1), 0);

        // Label photo off: the cell from the label pick start, no correction.
        gd[11] = 2.0;
        moveLabelPickXYQ(0, 7);
        QVERIFY(rig.arrive([](int m) { return moveLabelPickXYQ(m, 7); }));
        QVERIFY(std::fabs(encoder(kX) - 390.0) < 0.002);
        QVERIFY(std::fabs(encoder(kY) - 72.0) < 0.002);
        QVERIFY(std::fabs(encoder(kQ) - 0.0) < 0.05);
    }

    void correctedAssembly() {
        MoveRig rig;
        gd[316] = 0.5;
        gd[317] = 1.5;
        gd[321] = 3.0;
        gd[327] = 0.05;
        gd[328] = -0.04;
        gf[233] = 90.0;
        gf[237] = 0.2;
        gf[238] = 0.1;
        setTask(1, 0.3, -0.2, -5.0); // label on the nozzle
        setTask(2, 0.25, 0.1, 30.0); // barrel

        moveLowCamXY(0);
        spmove(0, kQ, 12.0, 360.0, 1);
        QVERIFY(rig.arrive(moveLowCamXY));
        QVERIFY(rig.runUntil([] { return isidle(0, kQ) == 1; }, 2.0));
        QVERIFY(photo(rig, 1));
        QVERIFY(std::fabs(angleRef - 12.0) < 1e-6);
        moveBarrelPhotoXY(0, 1);
        QVERIFY(rig.arrive([](int m) { return moveBarrelPhotoXY(m, 1); }));
        QVERIFY(photo(rig, 2));

        // a = 360 - 30 + 90 - 360 = 60 deg, b = 150 deg, ex = -0.1, ey = -0.2:
        // dX = cos150 * ey + cos60 * ex = 0.1232051, dY = sin150 * ey + sin60 * ex = -0.1866025.
        // X = 300 + 380 - 380 + (-40) - 0.3 - 0.25 + 0.05 + dX
        // Y = 220 + 140 - 140 + 0.5 + 0.2 - 0.1 - 0.04 + dY
        const double expectX = 259.6232051, expectY = 220.3733975;
        QCOMPARE(moveAssembleXY(0, 1), 0);
        QVERIFY(std::fabs(lastAssembleXY[0] - expectX) < 1e-6);
        QVERIFY(std::fabs(lastAssembleXY[1] - expectY) < 1e-6);
        QVERIFY(rig.arrive([](int m) { return moveAssembleXY(m, 1); }));
        QVERIFY(std::fabs(encoder(kX) - expectX) < 0.002);
        QVERIFY(std::fabs(encoder(kY) - expectY) < 0.002);

        // 30 - (-5) + 90 + 1.5 = 126.5, plus the Q of the lower-camera photo.
        QCOMPARE(moveAssembleQ(0), 0);
        QVERIFY(rig.arrive(moveAssembleQ));
        QVERIFY(std::fabs(encoder(kQ) - 138.5) < 0.05);
        gd[45] = 2.0; // barrel angle vision off: 1.5 + 90 + 3
        QCOMPARE(moveAssembleQ(1), 0);
        moveAssembleQ(0);
        QVERIFY(rig.arrive(moveAssembleQ));
        QVERIFY(std::fabs(encoder(kQ) - 94.5) < 0.05);

        // Barrel photo off: the plain cell from the assembly start; lastAssembleXY follows.
        gd[35] = 2.0;
        moveAssembleXY(0, 7);
        QCOMPARE(lastAssembleXY[0], 240.0);
        QCOMPARE(lastAssembleXY[1], 240.0);
        QVERIFY(rig.arrive([](int m) { return moveAssembleXY(m, 7); }));
        QVERIFY(std::fabs(encoder(kX) - 240.0) < 0.002);
    }

    void pageMovesNeedManualModeAndTheirAxesHomed() {
        MoveRig rig;
        const uint64_t before = rig.card().calls(Call::CallPmove);
        QVERIFY(!manualXSafe()); // automatic mode
        QVERIFY(!teachXYGo(TeachPoint::LabelPhoto));
        QVERIFY(!gridGo(0, 5));
        QVERIFY(!labelPickGo(1));
        manualMode = 1.0;
        axisHomed[kY] = 0;
        QVERIFY(!manualYSafe());
        QVERIFY(!teachXYGo(TeachPoint::LowCamPhoto));
        axisHomed[kY] = 1;
        // X and Y only with Z and NG Z up and the nozzle up.
        QVERIFY(rig.goTo({{kZ, 20.0}}));
        QVERIFY(!teachXYGo(TeachPoint::LowCamPhoto));
        QVERIFY(!assembleGo(1));
        QVERIFY(rig.goTo({{kZ, 0.0}}));
        rig.plant().forceInput(33, 0);
        rig.runFor(0.02);
        QVERIFY(!manualXSafe());
        rig.plant().forceInput(33, -1);
        rig.runFor(0.02);
        QCOMPARE(rig.card().calls(Call::CallPmove), before + 2); // only the test's own Z moves
        QVERIFY(teachXYGo(TeachPoint::LowCamPhoto));
    }

    void pageMovesGoWhereTheirButtonsSay() {
        MoveRig rig;
        manualMode = 1.0;
        rig.clearPeaks();
        QVERIFY(teachXYGo(TeachPoint::LabelPhoto, 7)); // "XY料号GO" with 7 typed in
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 5.0));
        QVERIFY(std::fabs(encoder(kX) - 430.0) < 0.002);
        QVERIFY(std::fabs(encoder(kY) - 72.0) < 0.002);
        QVERIFY(rig.near(rig.peak[kX], gf[200]));

        QVERIFY(teachXYGo(TeachPoint::LabelBin, 7)); // no tray: the cell does not matter
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 5.0));
        QVERIFY(std::fabs(encoder(kX) - 330.0) < 0.002);
        QVERIFY(std::fabs(encoder(kY) - 60.0) < 0.002);

        gf[633] = 8.0;
        rig.clearPeaks();
        QVERIFY(teachZGo(TeachPoint::NgPut));
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 5.0));
        QVERIFY(std::fabs(encoder(kNgZ) - 40.0) < 0.002);
        QVERIFY(std::fabs(encoder(kZ) - 8.0) < 0.002);
        QVERIFY(rig.near(rig.peak[kNgZ], gf[204]));

        rig.clearPeaks();
        QVERIFY(manualNgZSafe());
        QVERIFY(manualZSafe());
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 5.0));
        QVERIFY(std::fabs(encoder(kNgZ)) < 0.002);
        QVERIFY(std::fabs(encoder(kZ) - gf[400]) < 0.002);

        rig.clearPeaks();
        QVERIFY(nozzlePhotoZGo());
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 5.0));
        QVERIFY(std::fabs(encoder(kZ) - gf[402]) < 0.002);
        QVERIFY(rig.near(rig.peak[kZ], gf[352]));
        QVERIFY(rig.goTo({{kZ, 0.0}}));

        QVERIFY(manualXSafe());
        QVERIFY(manualYSafe());
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 5.0));
        QVERIFY(std::fabs(encoder(kX)) < 0.002);
        QVERIFY(std::fabs(encoder(kY)) < 0.002);

        // The upper-camera grid around (480, 140), one mm apart, at the calibration speeds.
        const double gx[9] = {481, 480, 479, 481, 480, 479, 481, 480, 479};
        const double gy[9] = {139, 139, 139, 140, 140, 140, 141, 141, 141};
        for (int n = 1; n <= 9; ++n) {
            rig.clearPeaks();
            QVERIFY(gridGo(0, n));
            QVERIFY(rig.runUntil([&] { return rig.standing(); }, 10.0));
            QVERIFY2(std::fabs(encoder(kX) - gx[n - 1]) < 0.002, qPrintable(QString::number(n)));
            QVERIFY2(std::fabs(encoder(kY) - gy[n - 1]) < 0.002, qPrintable(QString::number(n)));
        }
        rig.clearPeaks();
        QVERIFY(gridGo(1, 5)); // the lower camera's centre, far away
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 10.0));
        QVERIFY(std::fabs(encoder(kX) - 380.0) < 0.002);
        QVERIFY(std::fabs(encoder(kY) - 140.0) < 0.002);
        QVERIFY(rig.near(rig.peak[kX], gf[350]));
        QVERIFY(!gridGo(0, 0));
        QVERIFY(!gridGo(0, 10));

        // Label pick GO with the data of the last label photo.
        VisionResult[0][2] = 1.0;
        VisionResult[0][3] = 2.0;
        photoPos[0].x = 450.0;
        photoPos[0].y = 70.0;
        QVERIFY(labelPickGo(1));
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 10.0));
        QVERIFY(std::fabs(encoder(kX) - 409.0) < 0.002);
        QVERIFY(std::fabs(encoder(kY) - 68.0) < 0.002);
    }

    void singleAxisHomingJogAndStep() {
        MoveRig rig;
        QVERIFY(!homeOneAxis(kX)); // automatic mode
        manualMode = 1.0;
        QVERIFY(rig.goTo({{kX, 150.0}}));
        rig.clearPeaks();
        QVERIFY(homeOneAxis(kX));
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 10.0));
        QCOMPARE(ishomedone(0, kX), short(1));
        QVERIFY(std::fabs(encoder(kX)) < 0.002);
        QVERIFY(rig.near(rig.peak[kX], gd[90])); // searched at the fast homing speed
        QVERIFY(!homeOneAxis(7));
        QVERIFY(!homeOneAxis(11));

        // Axis page jog at its own speed; release stops it.
        rig.clearPeaks();
        QVERIFY(axisJogStart(kX, 1));
        rig.runFor(0.5);
        QVERIFY(rig.near(rig.peak[kX], gd[50]));
        QVERIFY(encoder(kX) > 0.0);
        jogStop(kX);
        rig.runFor(0.2);
        QCOMPARE(isidle(0, kX), short(1));

        // Jog dialog, "JOG低速" with "手动速度" 10: 0.1 mm/s.
        gd[41] = 10.0;
        rig.clearPeaks();
        QVERIFY(jogDialogStart(kY, 1, 0.01));
        rig.runFor(0.5);
        QVERIFY(rig.near(rig.peak[kY], 0.1));
        jogStop(kY);

        // A refused jog still gets its stop on release.
        manualMode = 0.0;
        const uint64_t stops = rig.card().calls(Call::CallStop);
        const uint64_t vmoves = rig.card().calls(Call::CallVmove);
        QVERIFY(!jogDialogStart(kX, 0, 1.0));
        jogStop(kX);
        QCOMPARE(rig.card().calls(Call::CallVmove), vmoves);
        QCOMPARE(rig.card().calls(Call::CallStop), stops + 1);

        // "寸动GO": a step from where the axis stands.
        manualMode = 1.0;
        rig.runFor(0.2);
        const double from = encoder(kX);
        QVERIFY(stepMove(kX, 5.0));
        QVERIFY(rig.runUntil([&] { return rig.standing(); }, 5.0));
        QVERIFY(std::fabs(encoder(kX) - (from + 5.0)) < 0.002);
    }
};

QTEST_MAIN(TestMoves)
#include "tst_moves.moc"
