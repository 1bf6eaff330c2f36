// The virtual machine's workpieces: the feeder's handshake and timing, labels
// picked, carried, turned and put down by the nozzle, barrels in the product tray,
// the NG gripper, and the cameras and height sensor answering from what is there.
// The program's own vision requests and named moves drive the head, so the
// geometry the plant uses is checked against the program's correction formulas.
#include "MachineState.h"
#include "TestSupport.h"

#include "app/MachineData.h"
#include "machine/FastScan.h"
#include "platform/kzmc.h"
#include "platform/vision/TaskParams.h"
#include "platform/vision/VisionBackend.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"
#include "sim/BeltTransport.h"
#include "sim/Feeder.h"
#include "sim/ProductTray.h"
#include "sim/VirtualCameras.h"
#include "sim/Workcell.h"
#include "vision/VisionRequests.h"

#include <QtTest>
#include <cmath>
#include <functional>

namespace {

constexpr WORD kX = 0, kY = 1, kZ = 2, kQ = 3, kNgZ = 4;
constexpr int kNozzleValve = 34, kVacuum = 32, kBlow = 33, kVacuumSwitch = 32;
constexpr int kGripValveOpen = 35, kGripValveClose = 36;

// Demo recipe, the working axes homed, fast scan and cylinder follow-up running,
// and the cameras looking at the plant.
struct PlantRig : SimRig {
    FastScan scan;
    VirtualCameras cams{7};

    explicit PlantRig(uint32_t seed = 1) : SimRig(seed) {
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
        cams.setPoseSource(&VirtualCameras::cardPose);
        cams.setScene(vm.workcell().cameraScene());
        VisionBackend::install(&cams);
        clock.addPeriodic("fast", 5000, [this] { scan.pass(); });
        clock.addPeriodic("cylinders", 10000, [] { cylindersFollow(); });
        for (int a : {kZ, kNgZ, kX, kY, kQ}) {
            homeAxis(a, 0, gd[130 + a], gd[90 + a]);
            axisHomed[a] = 1;
        }
        runFor(0.05);
    }
    ~PlantRig() { VisionBackend::install(nullptr); }

    sim::Workcell& cell() { return vm.workcell(); }
    sim::Feeder& feeder() { return cell().feeder(); }
    sim::ProductTray& tray() { return cell().tray(); }

    bool standing() {
        for (WORD a = 0; a < 5; ++a)
            if (!isidle(0, a)) return false;
        return true;
    }
    bool goTo(std::initializer_list<std::pair<WORD, double>> targets) {
        for (const auto& t : targets) spmove(0, t.first, t.second, 200.0, 1);
        return runUntil([this] { return standing(); }, 10.0);
    }
    bool arrive(const std::function<int(int)>& move) {
        move(0);
        return runUntil([&] { return move(1) == 1; }, 10.0);
    }
    void out(int image, bool on) { plant().writeOutput(image, on); }
    bool in(int image) { return plant().input(image); }
    // Nozzle down (valve on) or up, and wait for the cylinder.
    bool nozzle(bool down) {
        out(kNozzleValve, down);
        return runUntil([&] { return plant().cylinder(sim::CylNozzleLift).atB() == down; }, 1.0);
    }
    bool photo(int task) {
        visionTrigger(task);
        return runUntil(
            [task] {
                visionRead(task);
                return VisionResult[task][0] == 1;
            },
            1.0);
    }
    void loadTray() {
        plant().forceInput(25, 1);
        runFor(0.01);
    }
    void feedPlate() {
        auto lock = plant().lock();
        feeder().presentPlate(plant());
    }
    // Label photo of plate cell n and the corrected pick, as the cycle does it.
    bool pickLabel(int n) {
        if (!goTo({{kZ, gf[400]}})) return false;
        if (!arrive([n](int m) { return moveLabelPhotoXY(m, n); })) return false;
        if (!arrive(moveLabelPhotoZ) || !photo(0) || VisionResult[0][1] != 1.0) return false;
        if (!goTo({{kZ, gf[400]}})) return false;
        if (!arrive([n](int m) { return moveLabelPickXYQ(m, n); })) return false;
        if (!nozzle(true) || !arrive(moveLabelPickZ)) return false;
        out(kBlow, false);
        out(kVacuum, true);
        return runUntil([&] { return in(kVacuumSwitch); }, 0.5);
    }
};

} // namespace

class TestPlant : public QObject {
    Q_OBJECT
private slots:
    void feederAnswersItsHandshakeWithRealisticTiming() {
        PlantRig rig;
        sim::Feeder& f = rig.feeder();
        QVERIFY(!rig.in(17) && !rig.in(18) && !rig.in(16));
        // A feed before the initialisation is ignored.
        rig.out(20, true);
        rig.runFor(2.0);
        rig.out(20, false);
        QVERIFY(!rig.in(18));
        // Initialisation pulse: initialised 0.8 s after it began, not before.
        rig.out(19, true);
        rig.runFor(0.6);
        rig.out(19, false);
        QVERIFY(!rig.in(17));
        QVERIFY(rig.runUntil([&] { return rig.in(17); }, 0.3));
        QVERIFY(rig.nowS() > 0.0);
        // Feed: the plate carrier moves, then a plate of 3 x 4 labels.
        const double t0 = rig.nowS();
        rig.out(20, true);
        rig.runFor(0.01);
        QVERIFY(!rig.in(18));
        QVERIFY(rig.runUntil([&] { return rig.in(18); }, 3.0));
        QVERIFY(std::fabs(rig.nowS() - t0 - 1.2) < 0.01);
        rig.out(20, false);
        {
            auto lock = rig.plant().lock();
            QCOMPARE(f.labelsLeft(), 12);
            QCOMPARE(f.platesFed(), 1);
            // Every label lies near its cell centre, turned a little.
            for (int c = 1; c <= 12; ++c) {
                double x, y;
                rig.cell().layout().plate.cellXY(c, &x, &y);
                QVERIFY(std::hypot(f.label(c).x - x, f.label(c).y - y) < 0.5);
                QVERIFY(std::fabs(f.label(c).angle) < 3.5);
            }
            // Empty magazine: the next feed takes the plate away and brings none.
            f.setPlatesLeft(0);
        }
        rig.runFor(0.01);
        rig.out(20, true);
        rig.runFor(3.0);
        rig.out(20, false);
        QVERIFY(!rig.in(18) && !rig.in(16));
        // Jammed, with plates in the magazine: no plate, and the feeder alarm until cleared.
        {
            auto lock = rig.plant().lock();
            f.setPlatesLeft(-1);
            f.setJammed(true);
        }
        rig.runFor(0.01);
        rig.out(20, true);
        rig.runFor(3.0);
        rig.out(20, false);
        QVERIFY(!rig.in(18));
        QVERIFY(rig.in(16));
        {
            auto lock = rig.plant().lock();
            f.setJammed(false);
        }
        rig.runFor(0.01);
        QVERIFY(!rig.in(16));
        rig.out(20, true);
        QVERIFY(rig.runUntil([&] { return rig.in(18); }, 3.0));
        QCOMPARE(f.platesFed(), 2);
    }

    void plateReadyGoesOffWhenTheLastLabelIsTaken() {
        PlantRig rig;
        rig.feedPlate();
        rig.runFor(0.01);
        QVERIFY(rig.in(18));
        {
            auto lock = rig.plant().lock();
            for (int c = 1; c <= 11; ++c) rig.feeder().removeLabel(rig.plant(), c);
        }
        QVERIFY(rig.in(18));
        {
            auto lock = rig.plant().lock();
            rig.feeder().removeLabel(rig.plant(), 12);
        }
        QVERIFY(!rig.in(18));
    }

    void theCorrectedPickGripsTheLabelThePhotoFound() {
        PlantRig rig;
        rig.feedPlate();
        sim::Label original;
        {
            auto lock = rig.plant().lock();
            original = rig.feeder().label(6);
        }
        QVERIFY(rig.pickLabel(6));
        auto lock = rig.plant().lock();
        QVERIFY(rig.cell().carrying());
        QCOMPARE(rig.cell().carried().id, original.id);
        QVERIFY(!rig.feeder().hasLabel(6));
        QCOMPARE(rig.feeder().labelsLeft(), 11);
        // The nozzle turned to the label's angle: the label sits square on it.
        const double q = rig.plant().axis(kQ).encoderUnits();
        QVERIFY2(std::fabs(q - original.angle) < 0.2, qPrintable(QString::number(q - original.angle)));
    }

    void vacuumOverNothingGripsNothing() {
        PlantRig rig;
        rig.feedPlate();
        {
            auto lock = rig.plant().lock();
            rig.feeder().removeLabel(rig.plant(), 1);
        }
        // Over an empty cell at pick height.
        QVERIFY(rig.arrive([](int m) { return moveLabelCellXY(m, 1); }));
        QVERIFY(rig.nozzle(true));
        QVERIFY(rig.arrive(moveLabelPickZ));
        rig.out(kVacuum, true);
        rig.runFor(0.5);
        QVERIFY(!rig.in(kVacuumSwitch));
        // Over a label but with the nozzle up: too high.
        rig.out(kVacuum, false);
        QVERIFY(rig.nozzle(false));
        QVERIFY(rig.arrive([](int m) { return moveLabelCellXY(m, 2); }));
        rig.out(kVacuum, true);
        rig.runFor(0.5);
        QVERIFY(!rig.in(kVacuumSwitch));
        // Down on it: now it holds, and only then.
        rig.out(kVacuum, false);
        QVERIFY(rig.nozzle(true));
        rig.runFor(0.01);
        rig.out(kVacuum, true);
        QVERIFY(rig.runUntil([&] { return rig.in(kVacuumSwitch); }, 0.1));
        auto lock = rig.plant().lock();
        QCOMPARE(rig.feeder().labelsLeft(), 10);
    }

    // The whole chain of the program's corrections: label photo, corrected pick,
    // lower-camera photos before and after turning to the barrel's angle, barrel
    // photo, corrected assembly move, blow. The plant records the label within a
    // few hundredths of its barrel, and the check photo passes.
    void labelPlacedByTheProgramsCorrectionsLandsOnItsBarrel() {
        PlantRig rig;
        rig.feedPlate();
        rig.loadTray();
        const int labelCell = 7, productCell = 9;
        QVERIFY(rig.pickLabel(labelCell));
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        // Barrel photo first, so that the assembly angle knows the barrel.
        QVERIFY(rig.nozzle(false));
        QVERIFY(rig.arrive([](int m) { return moveBarrelPhotoXY(m, 9); }));
        QVERIFY(rig.arrive(moveBarrelPhotoZ));
        QVERIFY(rig.photo(2));
        QCOMPARE(VisionResult[2][1], 1.0);
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        QVERIFY(rig.arrive(moveLowCamXY));
        QVERIFY(rig.nozzle(true));
        QVERIFY(rig.arrive(moveLowCamZ));
        QVERIFY(rig.photo(1));
        QCOMPARE(VisionResult[1][1], 1.0);
        QVERIFY(rig.arrive(moveAssembleQ));
        QVERIFY(rig.photo(1));
        QCOMPARE(VisionResult[1][1], 1.0);
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        QVERIFY(rig.arrive([](int m) { return moveAssembleXY(m, 9); }));
        QVERIFY(rig.arrive(moveAssembleZ));
        rig.out(kVacuum, false);
        rig.out(kBlow, true);
        rig.runFor(0.1);
        rig.out(kBlow, false);
        {
            auto lock = rig.plant().lock();
            QVERIFY(!rig.cell().carrying());
            QCOMPARE(rig.cell().placements().count(), 1);
            const sim::Placement& p = rig.cell().placements().items().front();
            QCOMPARE(p.cell, productCell);
            QCOMPARE(p.code, std::string("TVR-0001-09"));
            QVERIFY2(p.error() < 0.03, qPrintable(QString("error %1 mm").arg(p.error())));
            QVERIFY2(std::fabs(p.dAngle) < 0.2, qPrintable(QString("angle %1").arg(p.dAngle)));
            QVERIFY(rig.tray().barrel(productCell).labelled);
        }
        (void)labelCell;
        // The check photo sees the label on the barrel.
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        QVERIFY(rig.nozzle(false));
        QVERIFY(rig.arrive([](int m) { return moveBarrelPhotoXY(m, 9); }));
        QVERIFY(rig.arrive(moveBarrelPhotoZ));
        QVERIFY(rig.photo(4));
        QCOMPARE(VisionResult[4][1], 1.0);
        // Its neighbour has no label: NG.
        QVERIFY(rig.arrive([](int m) { return moveBarrelPhotoXY(m, 10); }));
        QVERIFY(rig.photo(4));
        QCOMPARE(VisionResult[4][1], 2.0);
    }

    void labelLetGoElsewhereGoesToTheBoxOrIsLost() {
        PlantRig rig;
        rig.feedPlate();
        QVERIFY(rig.pickLabel(1));
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        QVERIFY(rig.arrive(moveLabelBinXY));
        QVERIFY(rig.arrive(moveLabelBinZ));
        rig.out(kVacuum, false);
        rig.out(kBlow, true);
        rig.runFor(0.05);
        rig.out(kBlow, false);
        {
            auto lock = rig.plant().lock();
            QCOMPARE(rig.cell().labelsInBox(), 1);
            QCOMPARE(rig.cell().labelsLost(), 0);
            rig.cell().setLabelBoxCapacity(2);
        }
        QVERIFY(rig.in(20));
        QVERIFY(!rig.in(21));
        // A second label fills the box (input 21).
        QVERIFY(rig.pickLabel(2));
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        QVERIFY(rig.arrive(moveLabelBinXY));
        rig.out(kVacuum, false);
        rig.runFor(0.01);
        QVERIFY(rig.in(21));
        // Released over the lower camera: lost.
        QVERIFY(rig.pickLabel(3));
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        QVERIFY(rig.arrive(moveLowCamXY));
        rig.out(kVacuum, false);
        rig.runFor(0.01);
        auto lock = rig.plant().lock();
        QCOMPARE(rig.cell().labelsLost(), 1);
        QCOMPARE(rig.cell().labelsInBox(), 2);
    }

    void aLabelLostWhileLiftingDropsTheVacuumSwitch() {
        PlantRig rig;
        rig.feedPlate();
        {
            auto lock = rig.plant().lock();
            rig.cell().loseLabelsOnLift(1);
        }
        QVERIFY(rig.pickLabel(4));
        QVERIFY(rig.in(kVacuumSwitch));
        moveZSafe(0);
        QVERIFY(rig.runUntil([&] { return !rig.in(kVacuumSwitch); }, 2.0));
        QVERIFY(rig.plant().output(kVacuum)); // the vacuum is still on
        auto lock = rig.plant().lock();
        QVERIFY(!rig.cell().carrying());
        QCOMPARE(rig.cell().labelsLost(), 1);
    }

    void camerasSeeWhatIsThere() {
        PlantRig rig;
        rig.feedPlate();
        {
            auto lock = rig.plant().lock();
            rig.feeder().setBad(3, true);
            rig.feeder().removeLabel(rig.plant(), 4);
            rig.tray().settings().emptyCells = {2};
            rig.tray().settings().badCells = {3};
            rig.tray().settings().codeBadCells = {4};
        }
        rig.loadTray();
        rig.cams.setSceneNoise(0.0, 0.0);
        // Label photo: offsets are camera minus label, the angle is the label's.
        sim::Label l1;
        {
            auto lock = rig.plant().lock();
            l1 = rig.feeder().label(1);
        }
        QVERIFY(rig.arrive([](int m) { return moveLabelPhotoXY(m, 1); }));
        QVERIFY(rig.arrive(moveLabelPhotoZ));
        QVERIFY(rig.photo(0));
        QCOMPARE(VisionResult[0][1], 1.0);
        // Through the uncalibrated camera (3 % scale, a slight tilt).
        QVERIFY(std::fabs(VisionResult[0][2] - (photoPos[0].x - l1.x)) < 0.01);
        QVERIFY(std::fabs(VisionResult[0][3] - (photoPos[0].y - l1.y)) < 0.01);
        QVERIFY(std::fabs(VisionResult[0][4] - l1.angle) < 1e-9);
        // A bad label and an empty cell are NG.
        for (int c : {3, 4}) {
            QVERIFY(rig.arrive([c](int m) { return moveLabelPhotoXY(m, c); }));
            QVERIFY(rig.photo(0));
            QCOMPARE(VisionResult[0][1], 2.0);
        }
        // Out of focus (Z at the pick height): NG.
        QVERIFY(rig.arrive([](int m) { return moveLabelPhotoXY(m, 1); }));
        QVERIFY(rig.goTo({{kZ, 20.0}}));
        QVERIFY(rig.photo(0));
        QCOMPARE(VisionResult[0][1], 2.0);
        QVERIFY(rig.goTo({{kZ, 3.0}}));
        // QR code text, unreadable code, presence, empty cell.
        struct Case {
            int cell, task;
            double verdict;
        };
        for (Case k : {Case{1, 3, 1.0}, Case{4, 3, 2.0}, Case{2, 3, 2.0}, Case{1, 13, 1.0}, Case{4, 13, 1.0},
                       Case{2, 13, 2.0}}) {
            QVERIFY(rig.arrive([k](int m) { return moveQrPhotoXY(m, k.cell); }));
            QVERIFY(rig.photo(k.task));
            QVERIFY2(VisionResult[k.task][1] == k.verdict,
                     qPrintable(QString("cell %1 task %2").arg(k.cell).arg(k.task)));
        }
        QVERIFY(rig.arrive([](int m) { return moveQrPhotoXY(m, 5); }));
        QVERIFY(rig.photo(3));
        QCOMPARE(visionText[3][1], QString("TVR-0001-05"));
        // Barrel photo: a bad barrel and an empty cell are NG, a good one gives its angle.
        for (int c : {1, 2, 3}) {
            QVERIFY(rig.arrive([c](int m) { return moveBarrelPhotoXY(m, c); }));
            QVERIFY(rig.photo(2));
            QCOMPARE(VisionResult[2][1], c == 1 ? 1.0 : 2.0);
            auto lock = rig.plant().lock();
            if (c == 1) QVERIFY(std::fabs(VisionResult[2][4] - rig.tray().barrel(1).angle) < 1e-9);
        }
        // Still forcible: NG and silent.
        rig.cams.setForce(2, VirtualCameras::ForceNG);
        QVERIFY(rig.arrive([](int m) { return moveBarrelPhotoXY(m, 1); }));
        QVERIFY(rig.photo(2));
        QCOMPARE(VisionResult[2][1], 2.0);
        rig.cams.setForce(2, VirtualCameras::ForceNever);
        QVERIFY(!rig.photo(2));
        rig.cams.setForce(2, VirtualCameras::ForceNone);
        QVERIFY(rig.photo(2));
        QCOMPARE(VisionResult[2][1], 1.0);
    }

    void heightSensorReadsTheBarrelTopUnderItsSpot() {
        PlantRig rig;
        {
            auto lock = rig.plant().lock();
            rig.tray().settings().emptyCells = {2};
            rig.tray().settings().heightBadCells = {3};
        }
        QVERIFY(rig.arrive([](int m) { return moveHeightXY(m, 1); }));
        QVERIFY(std::isnan(rig.cell().heightUnderSensor())); // no tray yet
        rig.loadTray();
        const double h1 = rig.cell().heightUnderSensor();
        QVERIFY(std::fabs(h1) < 0.1);
        {
            auto lock = rig.plant().lock();
            QCOMPARE(h1, rig.tray().barrel(1).height);
        }
        QVERIFY(rig.arrive([](int m) { return moveHeightXY(m, 2); }));
        QVERIFY(rig.cell().heightUnderSensor() < gd[252]);
        QVERIFY(rig.arrive([](int m) { return moveHeightXY(m, 3); }));
        QVERIFY(rig.cell().heightUnderSensor() > gd[251]);
        QVERIFY(rig.goTo({{kX, 50.0}}));
        QVERIFY(std::isnan(rig.cell().heightUnderSensor()));
        // The tray leaves: nothing under the sensor.
        QVERIFY(rig.arrive([](int m) { return moveHeightXY(m, 1); }));
        rig.plant().forceInput(25, 0);
        rig.runFor(0.01);
        QVERIFY(std::isnan(rig.cell().heightUnderSensor()));
    }

    void trayInputBringsANewTrayOfBarrels() {
        PlantRig rig;
        rig.loadTray();
        std::string first;
        {
            auto lock = rig.plant().lock();
            QVERIFY(rig.tray().loaded());
            QCOMPARE(int(rig.tray().cells().size()), 20);
            first = rig.tray().barrel(1).code;
        }
        rig.plant().forceInput(25, 0);
        rig.runFor(0.01);
        {
            auto lock = rig.plant().lock();
            QVERIFY(!rig.tray().loaded());
        }
        rig.loadTray();
        auto lock = rig.plant().lock();
        QCOMPARE(rig.tray().traySerial(), 2);
        QVERIFY(rig.tray().barrel(1).code != first);
        // Barrels stand near their cell centres.
        for (int c = 1; c <= 20; ++c) {
            double x, y;
            rig.tray().layout().product.cellXY(c, &x, &y);
            const sim::Barrel& b = rig.tray().barrel(c);
            QVERIFY(b.present);
            QVERIFY(std::hypot(b.x - x, b.y - y) < 0.3);
        }
    }

    void ngGripperCarriesAProductIntoTheNgTray() {
        PlantRig rig;
        rig.loadTray();
        rig.plant().writeOutput(kGripValveOpen, true);
        rig.runFor(0.3);
        // Down around the barrel of cell 6, close, up, over NG tray cell 1, down, open.
        QVERIFY(rig.arrive([](int m) { return moveNgPickXY(m, 6); }));
        QVERIFY(rig.arrive(moveNgPickZ));
        rig.plant().writeOutput(kGripValveOpen, false);
        rig.plant().writeOutput(kGripValveClose, true);
        rig.runFor(0.3);
        {
            auto lock = rig.plant().lock();
            QVERIFY(rig.tray().gripperHolding());
            QVERIFY(!rig.tray().barrel(6).present);
        }
        QVERIFY(rig.goTo({{kNgZ, 0.0}}));
        // The NG tray cell is free: the NG-tray photo passes.
        QVERIFY(rig.arrive([](int m) { return moveNgPhotoXY(m, 1); }));
        QVERIFY(rig.arrive(moveNgPhotoZ));
        QVERIFY(rig.photo(14));
        QCOMPARE(VisionResult[14][1], 1.0);
        QVERIFY(rig.goTo({{kZ, gf[400]}}));
        QVERIFY(rig.arrive([](int m) { return moveNgPutXY(m, 1); }));
        QVERIFY(rig.arrive(moveNgPutZ));
        rig.plant().writeOutput(kGripValveClose, false);
        rig.plant().writeOutput(kGripValveOpen, true);
        rig.runFor(0.3);
        {
            auto lock = rig.plant().lock();
            QVERIFY(!rig.tray().gripperHolding());
            QVERIFY(rig.tray().ngCellOccupied(1));
            QCOMPARE(rig.tray().ngProducts().back().code, std::string("TVR-0001-06"));
        }
        // Now the cell is occupied: NG.
        QVERIFY(rig.goTo({{kNgZ, 0.0}}));
        QVERIFY(rig.arrive([](int m) { return moveNgPhotoXY(m, 1); }));
        QVERIFY(rig.arrive(moveNgPhotoZ));
        QVERIFY(rig.photo(14));
        QCOMPARE(VisionResult[14][1], 2.0);
        // Input 19 follows the NG tray.
        QVERIFY(rig.in(19));
        {
            auto lock = rig.plant().lock();
            rig.tray().setNgTrayPresent(rig.plant(), false);
        }
        QVERIFY(!rig.in(19));
    }

    // Parts that rest while their step would change nothing (belts, neighbours,
    // cylinders, feeder, nozzle, panel) do exactly what parts stepped every millisecond
    // do, touched through the card, by hand without the lock, or by each other.
    void restingPartsDoWhatPartsSteppedEveryTimeDo() {
        struct Outcome {
            QStringList trace;
            std::vector<int> finishedOut, emptyOut;
            int plates = 0;
        };
        auto run = [](bool rest) {
            SimRig r(11);
            r.startCard();
            sim::Plant& p = r.plant();
            p.setPartsRest(rest);
            const sim::Belts b = sim::findBelts(p);
            Outcome o;
            QString last;
            r.clock.addPeriodic("trace", 1000, [&] {
                QString s;
                for (int g = 0; g < 4; ++g) s += QString("%1/%2 ").arg(p.inputWord(g)).arg(p.outputWord(g));
                for (const sim::BeltTransport* belt : {b.finished, b.empty})
                    for (const sim::Tray& t : belt->trays())
                        s += QString("t%1@%2 ").arg(t.id).arg(t.front, 0, 'g', 17);
                for (const sim::Neighbour* n : {b.finishedUp, b.finishedDown, b.emptyUp, b.emptyDown})
                    s += QString("n%1 ").arg(int(n->stage()));
                for (int k = 0; k < sim::kCylinderCount; ++k)
                    s += QString("c%1 ").arg(p.cylinder(k).position(), 0, 'g', 17);
                if (s != last) o.trace << QString("%1: %2").arg(r.clock.nowUs()).arg(s);
                last = s;
            });
            auto out = [](int image, bool on) {
                dmc_write_can_outbit(0, WORD(image / 16), WORD(image % 16), on ? 0 : 1);
            };
            auto pulse = [&](int image) {
                out(image, true);
                r.runFor(0.05);
                out(image, false);
            };
            // A tray of barrels comes in from upstream and stops at the buffer stopper.
            out(48, true);
            r.runFor(0.6);
            out(49, true);
            dmc_set_profile_unit(0, 5, 0, 150, 0.1, 0.1, 0);
            dmc_vmove(0, 5, 1);
            r.runFor(3);
            out(50, true);
            r.runFor(0.5);
            for (int image : {50, 49, 48}) out(image, false);
            b.finishedUp->setSupply(0); // by hand, without the lock
            r.runFor(1);
            // On to the assembly stopper with the belt started alone; the upstream
            // neighbour idles meanwhile, then makes its next tray.
            dmc_stop(0, 5, 0);
            r.runFor(0.5);
            out(38, true);
            out(37, false);
            r.runFor(0.5);
            dmc_vmove(0, 5, 1);
            r.runFor(3);
            b.finishedUp->setSupply(-1);
            r.runFor(1);
            b.finishedDown->setSlowFactor(2);
            // Out to the downstream neighbour.
            out(40, true);
            out(39, false);
            out(51, true);
            out(53, true);
            r.runFor(1.5);
            out(52, true);
            r.runFor(5);
            for (int image : {53, 52, 51}) out(image, false);
            r.runFor(1);
            dmc_stop(0, 5, 0);
            // The feeder initialises and presents a plate; the nozzle goes down and sucks air.
            pulse(19);
            r.runFor(1);
            pulse(20);
            r.runFor(1.5);
            out(34, true);
            r.runFor(0.3);
            pulse(32);
            out(34, false);
            p.panel().clickButton(sim::OperatorPanel::StartButton, 100000);
            // A stuck stopper, freed later.
            p.setCylinderStuck(sim::CylBufferStop, true);
            out(37, true);
            out(38, false);
            r.runFor(0.5);
            p.setCylinderStuck(sim::CylBufferStop, false);
            r.runFor(0.5);
            // An empty tray crosses the empty-tray belt.
            out(54, true);
            r.runFor(0.6);
            out(55, true);
            dmc_set_profile_unit(0, 6, 0, 200, 0.1, 0.1, 0);
            dmc_vmove(0, 6, 1);
            r.runFor(3);
            out(56, true);
            r.runFor(0.5);
            for (int image : {56, 55, 54}) out(image, false);
            out(57, true);
            out(59, true);
            r.runFor(1);
            out(58, true);
            r.runFor(6);
            for (int image : {59, 58, 57}) out(image, false);
            r.runFor(3);
            o.finishedOut = b.finishedDown->received();
            o.emptyOut = b.emptyDown->received();
            o.plates = r.vm.workcell().feeder().platesFed();
            return o;
        };
        const Outcome every = run(false);
        QCOMPARE(every.finishedOut, std::vector<int>{1});
        QCOMPARE(every.emptyOut, std::vector<int>{1001});
        QCOMPARE(every.plates, 1);
        const Outcome resting = run(true);
        QCOMPARE(resting.trace.size(), every.trace.size());
        for (int i = 0; i < every.trace.size(); ++i) QCOMPARE(resting.trace[i], every.trace[i]);
        QCOMPARE(resting.finishedOut, every.finishedOut);
        QCOMPARE(resting.emptyOut, every.emptyOut);
    }

    void sameSeedSamePlates() {
        auto first = [](uint32_t seed) {
            sim::VirtualMachine vm(seed);
            auto lock = vm.plant().lock();
            vm.workcell().feeder().presentPlate(vm.plant());
            return vm.workcell().feeder().label(5).x;
        };
        QCOMPARE(first(3), first(3));
        QVERIFY(first(3) != first(4));
    }
};

QTEST_GUILESS_MAIN(TestPlant)
#include "tst_plant.moc"
