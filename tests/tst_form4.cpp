// The calibration settings page offscreen on the virtual machine: fields, teach,
// the grid and calibration-position GO moves, the camera photos with their
// return values, the calibration starts with the progress notice, and enabling.
#include "PageRig.h"
#include "WhoMayUse.h"

#include "pages/Form4.h"
#include "pages/liaocang.h"
#include "vision/Calibrations.h"
#include "vision/VisionRequests.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <memory>

namespace {

struct Field {
    const char* box;
    volatile double* element;
};

} // namespace

class TestForm4 : public QObject {
    Q_OBJECT

    std::unique_ptr<PageRig> rig;
    std::unique_ptr<Form4> page;

    template <class T> T* w(const char* name) { return child<T>(page.get(), name); }
    void refreshed() { rig->runFor(0.21); }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    QString text(const char* edit) { return w<QLineEdit>(edit)->text(); }
    bool idle(WORD axis) { return isidle(0, axis) == 1; }
    bool settle() {
        return rig->runUntil([&] { return idle(0) && idle(1) && idle(2) && idle(3) && idle(4); }, 20.0);
    }
    bool at(WORD axis, double pos) { return idle(axis) && std::fabs(command(axis) - pos) < 1e-6; }
    // Presses a GO button and waits until the axis stands at the target.
    bool goesTo(const char* button, std::initializer_list<std::pair<WORD, double>> targets) {
        click(button);
        rig->runFor(0.02);
        if (!settle()) return false;
        for (const auto& t : targets)
            if (!at(t.first, t.second)) {
                qWarning("%s: axis %d at %f, wanted %f", button, t.first, command(t.first), t.second);
                return false;
            }
        return true;
    }

private slots:
    void init() {
        rig = std::make_unique<PageRig>();
        userLevel = 1;
        calibBusy = 0;
        // Calibration runs go on the harness's clock, every 5 ms, like their threads.
        setCalibLauncher([this](std::function<bool()> pass) {
            auto done = std::make_shared<bool>(false);
            rig->clock.addPeriodic("calibration", 5000, [pass, done] {
                if (!*done) *done = pass();
            });
        });
        page = std::make_unique<Form4>();
        page->resize(1920, 1000);
        page->show();
        refreshed();
    }
    void cleanup() {
        page.reset();
        rig.reset();
        setCalibLauncher(nullptr);
        userLevel = 0;
        calibBusy = 0;
    }

    void fieldsShowAndStoreTheirElements() {
        const Field speeds[] = {{"doubleSpinBox_100", &gf[350]},
                                {"doubleSpinBox_101", &gf[351]},
                                {"doubleSpinBox_102", &gf[352]},
                                {"doubleSpinBox_103", &gf[353]}};
        const Field points[] = {
            {"doubleSpinBox_200", &gf[625]}, {"doubleSpinBox_201", &gf[626]}, {"doubleSpinBox_202", &gf[627]},
            {"doubleSpinBox_203", &gf[610]}, {"doubleSpinBox_204", &gf[611]}, {"doubleSpinBox_205", &gf[612]},
            {"doubleSpinBox_206", &gd[340]}, {"doubleSpinBox_207", &gd[341]}, {"doubleSpinBox_208", &gd[342]},
            {"doubleSpinBox_209", &gd[345]}, {"doubleSpinBox_210", &gd[346]}, {"doubleSpinBox_211", &gd[347]},
            {"doubleSpinBox_212", &gf[402]}};
        double v = 1.125;
        for (const Field& f : speeds) {
            QCOMPARE(w<QDoubleSpinBox>(f.box)->maximum(), 1000.0);
            QCOMPARE(w<QDoubleSpinBox>(f.box)->minimum(), 0.0);
            *f.element = v += 1.0;
        }
        for (const Field& f : points) {
            QCOMPARE(w<QDoubleSpinBox>(f.box)->minimum(), -1000.0);
            QCOMPARE(w<QDoubleSpinBox>(f.box)->maximum(), 9999.0);
            *f.element = v += 1.0;
        }
        page->initvartoui();
        v = 1.125;
        for (const Field& f : speeds) QCOMPARE(w<QDoubleSpinBox>(f.box)->value(), v += 1.0);
        for (const Field& f : points) QCOMPARE(w<QDoubleSpinBox>(f.box)->value(), v += 1.0);
        // Edits wait for the save.
        for (const Field& f : speeds) w<QDoubleSpinBox>(f.box)->setValue(7.5);
        for (const Field& f : points) w<QDoubleSpinBox>(f.box)->setValue(-7.5);
        QCOMPARE(gf[350], 2.125);
        page->inituitovar();
        for (const Field& f : speeds) QCOMPARE(*f.element, 7.5);
        for (const Field& f : points) QCOMPARE(*f.element, -7.5);
    }

    void teachTakesHomedStillAxesOnly() {
        spmove(0, 0, 123.5, 200, 1);
        spmove(0, 1, 77.25, 200, 1);
        QVERIFY(settle());
        spmove(0, 2, 4.5, 50, 1);
        QVERIFY(settle());
        gf[625] = gf[626] = gf[627] = -1.0;
        click("pushButton_102");
        QCOMPARE(gf[625], 123.5);
        QCOMPARE(gf[626], 77.25);
        QCOMPARE(gf[627], 4.5);
        QCOMPARE(w<QDoubleSpinBox>("doubleSpinBox_201")->value(), 77.25); // shown at once

        // Y not homed: X and Z taught, Y kept.
        axisHomed[1] = 0;
        gd[340] = gd[341] = gd[342] = -2.0;
        click("pushButton_103");
        QCOMPARE(gd[340], 123.5);
        QCOMPARE(gd[341], -2.0);
        QCOMPARE(gd[342], 4.5);
        axisHomed[1] = 1;

        // An axis still moving keeps its element.
        spmove(0, 0, 200.0, 20, 1);
        rig->runFor(0.1);
        gd[345] = gd[346] = gd[347] = -3.0;
        click("pushButton_104");
        QCOMPARE(gd[345], -3.0);
        QCOMPARE(gd[346], 77.25);
        QCOMPARE(gd[347], 4.5);
        QVERIFY(settle());

        // The empty nozzle photo takes Z only; the lower camera centre X, Y and Z.
        gf[402] = -4.0;
        gf[610] = gf[611] = gf[612] = -5.0;
        click("pushButton_105");
        click("pushButton_101");
        QCOMPARE(gf[402], 4.5);
        QCOMPARE(gf[610], 200.0);
        QCOMPARE(gf[611], 77.25);
        QCOMPARE(gf[612], 4.5);
    }

    void goButtonsReachTheGridAndCalibrationPointsAtLevelZero() {
        userLevel = 0;
        refreshed();
        QVERIFY(!w<QPushButton>("pushButton_102")->isEnabled()); // teach needs a level
        gf[350] = 80.0;
        gf[351] = 60.0;
        gf[352] = 40.0;
        // XY first, with Z at its safe height.
        QVERIFY(goesTo("pushButton_401", {{0, gf[625]}, {1, gf[626]}}));
        QVERIFY(rig->peakSpeed(0) <= 80.0 + 1e-6 && rig->peakSpeed(0) > 79.0);
        QVERIFY(rig->peakSpeed(1) <= 60.0 + 1e-6);
        w<QDoubleSpinBox>("doubleSpinBox_220")->setValue(1);
        QVERIFY(goesTo("pushButton_402", {{0, gf[625] + 1}, {1, gf[626] - 1}}));
        w<QDoubleSpinBox>("doubleSpinBox_221")->setValue(9);
        QVERIFY(goesTo("pushButton_405", {{0, gf[610] - 1}, {1, gf[611] + 1}}));
        QVERIFY(goesTo("pushButton_404", {{0, gf[610]}, {1, gf[611]}}));
        QVERIFY(goesTo("pushButton_407", {{0, gd[340]}, {1, gd[341]}}));
        QVERIFY(goesTo("pushButton_409", {{0, gd[345]}, {1, gd[346]}}));
        // Then the heights.
        rig->clearPeaks();
        QVERIFY(goesTo("pushButton_408", {{2, gd[347]}}));
        QVERIFY(goesTo("pushButton_406", {{2, gd[342]}}));
        QVERIFY(rig->peakSpeed(2) <= 40.0 + 1e-6 && rig->peakSpeed(2) > 39.0);
        QVERIFY(goesTo("pushButton_411", {{2, gf[400]}}));
        QVERIFY(goesTo("pushButton_410", {{2, gf[402]}}));
        QVERIFY(goesTo("pushButton_400", {{2, gf[627]}}));
        QVERIFY(goesTo("pushButton_403", {{2, gf[612]}}));
        QVERIFY(goesTo("pushButton_411", {{2, gf[400]}}));
    }

    void goButtonsAskThePermissionCheck() {
        spmove(0, 2, 30.0, 50, 1); // Z below its safe height: X and Y must not move
        QVERIFY(settle());
        const double x = command(0), y = command(1);
        click("pushButton_407");
        rig->runFor(0.5);
        QCOMPARE(command(0), x);
        QCOMPARE(command(1), y);
        // In automatic mode the buttons are off.
        manualMode = 0.0;
        refreshed();
        click("pushButton_411");
        rig->runFor(0.5);
        QCOMPARE(command(2), 30.0);
    }

    void photoButtonsShowTheCameraReturnValues() {
        userLevel = 0;
        refreshed();
        QCOMPARE(text("lineEdit_9"), QString("空"));
        QCOMPARE(text("lineEdit_13"), QString("空"));
        const struct {
            const char* button;
            int task;
            const char* x;
            const char* y;
            const char* q;
            const char* verdict;
        } photos[] = {{"pushButton_300", 10, "lineEdit_6", "lineEdit_7", "lineEdit_8", "lineEdit_9"},
                      {"pushButton_303", 6, "lineEdit_10", "lineEdit_11", "lineEdit_12", "lineEdit_13"}};
        for (const auto& p : photos) {
            VisionResult[p.task][1] = 0;
            click(p.button);
            QVERIFY(rig->runUntil([&] { return VisionResult[p.task][0] == 1; }, 10.0));
            refreshed();
            QVERIFY(VisionResult[p.task][1] == 1 || VisionResult[p.task][1] == 2);
            QCOMPARE(text(p.verdict), QString(VisionResult[p.task][1] == 1 ? "OK" : "NG"));
            QCOMPARE(text(p.x), QString::number(VisionResult[p.task][2], 'f', 3));
            QCOMPARE(text(p.y), QString::number(VisionResult[p.task][3], 'f', 3));
            QCOMPARE(text(p.q), QString::number(VisionResult[p.task][4], 'f', 3));
        }
        VisionResult[6][1] = 2;
        VisionResult[6][2] = 1.23456;
        refreshed();
        QCOMPARE(text("lineEdit_13"), QString("NG"));
        QCOMPARE(text("lineEdit_10"), QString("1.235"));
    }

    void realTimePositions() {
        spmove(0, 0, 12.3456, 200, 1);
        spmove(0, 4, 7.5, 50, 1);
        QVERIFY(settle());
        refreshed();
        QCOMPARE(text("lineEdit"), QString("12.346"));
        QCOMPARE(text("lineEdit_5"), QString("7.500"));
        QCOMPARE(text("lineEdit_2"), QString::number(command(1), 'f', 3));
    }

    void calibrationStartsShowTheNoticeInManualModeOnly() {
        userLevel = 0;
        refreshed();
        for (const char* start :
             {"pushButton_301", "pushButton_304", "pushButton_306", "pushButton_307", "pushButton_308"}) {
            QVERIFY(w<QPushButton>(start)->isEnabled());
            click(start);
            QPointer<liaocang> n = page->findChild<liaocang*>();
            QVERIFY2(n && n->isVisible(), start);
            QVERIFY(rig->runUntil([&] { return !n || !n->isVisible(); }, 600.0));
            QVERIFY(!calibrationRunning());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        manualMode = 0.0;
        refreshed();
        for (const char* start :
             {"pushButton_301", "pushButton_304", "pushButton_306", "pushButton_307", "pushButton_308"}) {
            QVERIFY(!w<QPushButton>(start)->isEnabled());
            click(start);
            QVERIFY(!page->findChild<liaocang*>());
            QVERIFY(!calibrationRunning());
        }
    }

    void whoMayUseWhat() {
        const QStringList editing = numbered("doubleSpinBox_", 100, 103) +
                                    numbered("doubleSpinBox_", 200, 212) + numbered("pushButton_", 101, 105);
        // The photo buttons and the calibration starts.
        const QStringList commands = numbered("pushButton_", 400, 411) +
                                     QStringList{"pushButton_300", "pushButton_301",    "pushButton_303",
                                                 "pushButton_304", "pushButton_306",    "pushButton_307",
                                                 "pushButton_308", "doubleSpinBox_220", "doubleSpinBox_221"};
        checkWhoMayUse(
            page.get(), [this] { refreshed(); }, editing, commands);
    }
};

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"
