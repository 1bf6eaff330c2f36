// The jog dialog on the virtual machine: press-and-hold jogs at the chosen speed,
// the stop on release, safe positions, the output and cylinder buttons with the
// plant's answer, the belts, the protection switch and the manual-mode lock.
#include "PageRig.h"

#include "pages/Jogct.h"
#include "sim/VmPanel.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

class TestJog : public QObject {
    Q_OBJECT

    std::unique_ptr<PageRig> rig;
    std::unique_ptr<Jogct> dlg;

    QPushButton* button(const char* name) { return child<QPushButton>(dlg.get(), name); }
    void press(const char* name) { QTest::mousePress(button(name), Qt::LeftButton); }
    void release(const char* name) { QTest::mouseRelease(button(name), Qt::LeftButton); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

private slots:
    void init() {
        rig = std::make_unique<PageRig>();
        dlg = std::make_unique<Jogct>();
        dlg->show();
        rig->runFor(0.15);
    }
    void cleanup() {
        dlg.reset();
        rig.reset();
    }

    void startsWithHighSpeedAndTheStoredJogSpeed() {
        QVERIFY(child<QRadioButton>(dlg.get(), "radioButton")->isChecked());
        QCOMPARE(jogFactor, 1.0);
        QCOMPARE(child<QDoubleSpinBox>(dlg.get(), "doubleSpinBox")->value(), 20.0);
        QCOMPARE(gd[41], 20.0);
        QCOMPARE(dlg->windowTitle(), QString("JOG"));
    }

    void jogRunsAtSpeedTimesFactorWhileHeld_data() {
        QTest::addColumn<QString>("jogButton");
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("sign");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<double>("speed");
        QTest::newRow("X+ low") << "pushButton_101" << 0 << 1 << "radioButton_3" << 0.1;
        QTest::newRow("X- medium") << "pushButton_102" << 0 << -1 << "radioButton_2" << 1.0;
        QTest::newRow("Y+ high") << "pushButton_105" << 1 << 1 << "radioButton" << 10.0;
        QTest::newRow("Y- low") << "pushButton_104" << 1 << -1 << "radioButton_3" << 0.1;
        QTest::newRow("Z+ high") << "pushButton_108" << 2 << 1 << "radioButton" << 10.0;
        QTest::newRow("Z- medium") << "pushButton_107" << 2 << -1 << "radioButton_2" << 1.0;
        QTest::newRow("Q+ medium") << "pushButton_113" << 3 << 1 << "radioButton_2" << 1.0;
        QTest::newRow("Q- high") << "pushButton_112" << 3 << -1 << "radioButton" << 10.0;
        QTest::newRow("NG Z+ medium") << "pushButton_111" << 4 << 1 << "radioButton_2" << 1.0;
        QTest::newRow("NG Z- low") << "pushButton_110" << 4 << -1 << "radioButton_3" << 0.1;
    }
    void jogRunsAtSpeedTimesFactorWhileHeld() {
        QFETCH(QString, jogButton);
        QFETCH(int, axis);
        QFETCH(int, sign);
        QFETCH(QString, radio);
        QFETCH(double, speed);
        // Away from the origin, so that a negative jog has room.
        spmove(0, WORD(axis), axis == 3 ? 90.0 : 20.0, 100.0, 1);
        QVERIFY(rig->runUntil([&] { return isidle(0, WORD(axis)) == 1; }, 3.0));
        child<QRadioButton>(dlg.get(), radio.toLatin1())->click();
        child<QDoubleSpinBox>(dlg.get(), "doubleSpinBox")->setValue(10.0);
        QCOMPARE(gd[41], 10.0);

        const QByteArray name = jogButton.toLatin1();
        press(name);
        rig->runFor(0.5);
        QVERIFY2(std::fabs(rig->velocity(axis) - sign * speed) < 1e-6,
                 qPrintable(QString("velocity %1").arg(rig->velocity(axis))));
        rig->runFor(0.5);
        QVERIFY(rig->moving(axis));
        release(name);
        QVERIFY(rig->runUntil([&] { return !rig->moving(axis); }, 0.5));
    }

    void releaseStopsAlsoAfterARefusedJog() {
        // X still runs from an earlier jog; Z no longer homed refuses the next one.
        axis_jog(0, 0, 5.0, 1);
        rig->runFor(0.3);
        axisHomed[2] = 0;
        rig->runFor(0.02);
        press("pushButton_101");
        rig->runFor(0.3);
        QVERIFY2(std::fabs(rig->velocity(0) - 5.0) < 1e-6, "the refused jog changed the running one");
        const uint64_t before = rig->stops();
        release("pushButton_101");
        QCOMPARE(rig->stops(), before + 1);
        QVERIFY(rig->runUntil([&] { return !rig->moving(0); }, 0.5));
    }

    void refusedJogLeavesTheAxisStill() {
        rig->plant().forceInput(33, 0); // nozzle not up: X and Y must not move
        rig->runFor(0.02);
        press("pushButton_105");
        rig->runFor(0.3);
        QVERIFY(!rig->moving(1));
        release("pushButton_105");
        rig->plant().forceInput(33, -1);
        rig->runFor(0.02);
        press("pushButton_105");
        rig->runFor(0.3);
        QVERIFY(rig->moving(1));
        release("pushButton_105");
    }

    void speedBoxWritesEveryChange() {
        auto* box = child<QDoubleSpinBox>(dlg.get(), "doubleSpinBox");
        box->setValue(12.5);
        QCOMPARE(gd[41], 12.5);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(gd[41], box->value());
        QVERIFY(gd[41] > 12.5);
    }

    void safePositionButtons_data() {
        QTest::addColumn<QString>("safeButton");
        QTest::addColumn<int>("axis");
        QTest::addColumn<double>("away");
        QTest::addColumn<double>("target");
        QTest::newRow("X") << "pushButton_100" << 0 << 80.0 << 0.0;
        QTest::newRow("Y") << "pushButton_103" << 1 << 60.0 << 0.0;
        QTest::newRow("Z") << "pushButton_106" << 2 << 30.0 << 5.0;
        QTest::newRow("NG Z") << "pushButton_109" << 4 << 30.0 << 0.0;
    }
    void safePositionButtons() {
        QFETCH(QString, safeButton);
        QFETCH(int, axis);
        QFETCH(double, away);
        QFETCH(double, target);
        spmove(0, WORD(axis), away, 100.0, 1);
        QVERIFY(rig->runUntil([&] { return isidle(0, WORD(axis)) == 1; }, 3.0));
        // X and Y move only with Z and NG Z at their safe heights.
        if (axis < 2) {
            QVERIFY(std::fabs(command(WORD(axis)) - away) < 1e-6);
        }
        click(safeButton.toLatin1());
        rig->runFor(0.05);
        QVERIFY(rig->runUntil([&] { return isidle(0, WORD(axis)) == 1; }, 5.0));
        QVERIFY2(std::fabs(command(WORD(axis)) - target) < 1e-6,
                 qPrintable(QString::number(command(WORD(axis)))));
    }

    void outputButtonsToggleAndShowTheirOutput_data() {
        QTest::addColumn<QString>("outButton");
        QTest::addColumn<int>("out");
        QTest::newRow("coaxial light") << "pushButton_200" << 16;
        QTest::newRow("upper ring light") << "pushButton_201" << 17;
        QTest::newRow("lower ring light") << "pushButton_202" << 18;
        QTest::newRow("feeder vacuum") << "pushButton_205" << 21;
        QTest::newRow("nozzle vacuum") << "pushButton_206" << 32;
        QTest::newRow("nozzle blow") << "pushButton_207" << 33;
        QTest::newRow("nozzle lift") << "pushButton_208" << 34;
        QTest::newRow("door lock") << "pushButton_221" << 10;
    }
    void outputButtonsToggleAndShowTheirOutput() {
        QFETCH(QString, outButton);
        QFETCH(int, out);
        const QByteArray name = outButton.toLatin1();
        QVERIFY(!rig->output(out));
        click(name);
        QVERIFY(rig->output(out));
        rig->runFor(0.15);
        QVERIFY(button(name)->isChecked());
        rig->runFor(2.0);
        QVERIFY2(rig->output(out), "a toggled output stays on");
        click(name);
        QVERIFY(!rig->output(out));
        rig->runFor(0.15);
        QVERIFY(!button(name)->isChecked());
    }

    void feederButtonsPulseFor500ms_data() {
        QTest::addColumn<QString>("outButton");
        QTest::addColumn<int>("out");
        QTest::newRow("feeder initialise") << "pushButton_203" << 19;
        QTest::newRow("feeder feed start") << "pushButton_204" << 20;
    }
    void feederButtonsPulseFor500ms() {
        QFETCH(QString, outButton);
        QFETCH(int, out);
        click(outButton.toLatin1());
        const double t0 = rig->nowS();
        QVERIFY(rig->output(out));
        rig->runFor(0.15);
        QVERIFY(button(outButton.toLatin1())->isChecked());
        QVERIFY(rig->runUntil([&] { return !rig->output(out); }, 1.0));
        QVERIFY2(std::fabs(rig->nowS() - t0 - 0.5) < 0.002, qPrintable(QString::number(rig->nowS() - t0)));
        rig->runFor(0.15);
        QVERIFY(!button(outButton.toLatin1())->isChecked());
    }

    void valvePairButtonsDriveTheCylinders_data() {
        QTest::addColumn<QString>("sideA");
        QTest::addColumn<QString>("sideB");
        QTest::addColumn<int>("outA");
        QTest::addColumn<int>("outB");
        QTest::newRow("NG gripper") << "pushButton_209"
                                    << "pushButton_210" << 35 << 36;
        QTest::newRow("buffer stopper") << "pushButton_213"
                                        << "pushButton_214" << 37 << 38;
        QTest::newRow("assembly stopper") << "pushButton_215"
                                          << "pushButton_216" << 39 << 40;
        QTest::newRow("assembly lift") << "pushButton_217"
                                       << "pushButton_218" << 41 << 42;
        QTest::newRow("NG tray") << "pushButton_211"
                                 << "pushButton_212" << 43 << 44;
    }
    void valvePairButtonsDriveTheCylinders() {
        QFETCH(QString, sideA);
        QFETCH(QString, sideB);
        QFETCH(int, outA);
        QFETCH(int, outB);
        // The sensors carry the valves' numbers: sensor A = outA, sensor B = outB.
        for (int round = 0; round < 2; ++round) {
            click(sideB.toLatin1());
            QVERIFY(rig->output(outB) && !rig->output(outA));
            QVERIFY(rig->runUntil([&] { return inImg[outB] == 1 && inImg[outA] == 0; }, 0.5));
            rig->runFor(0.15);
            QVERIFY(button(sideB.toLatin1())->isChecked());
            QVERIFY(!button(sideA.toLatin1())->isChecked());
            click(sideA.toLatin1());
            QVERIFY(rig->output(outA) && !rig->output(outB));
            QVERIFY(rig->runUntil([&] { return inImg[outA] == 1 && inImg[outB] == 0; }, 0.5));
            rig->runFor(0.15);
            QVERIFY(button(sideA.toLatin1())->isChecked());
            QVERIFY(!button(sideB.toLatin1())->isChecked());
        }
    }

    void nozzleLiftButtonMovesTheNozzle() {
        QCOMPARE(int(inImg[33]), 1);
        click("pushButton_208");
        QVERIFY(rig->runUntil([&] { return inImg[34] == 1 && inImg[33] == 0; }, 0.5));
        click("pushButton_208");
        QVERIFY(rig->runUntil([&] { return inImg[33] == 1 && inImg[34] == 0; }, 0.5));
    }

    void doorLockHoldsTheDoorsShut() {
        click("pushButton_221");
        rig->runFor(0.02);
        QCOMPARE(rig->plant().panel().pullDoor(1, true), false);
        rig->runFor(0.05);
        QCOMPARE(int(inImg[6]), 1);
        QVERIFY(!rig->plant().panel().doorOpen(1));
        click("pushButton_221");
        rig->runFor(0.02);
        QVERIFY(rig->plant().panel().pullDoor(1, true));
        rig->runFor(0.05);
        QCOMPARE(int(inImg[6]), 0);
        // Locking an open door does not close it.
        click("pushButton_221");
        rig->runFor(0.05);
        QCOMPARE(int(inImg[6]), 0);
        QVERIFY(rig->plant().panel().pullDoor(1, false));
        rig->runFor(0.05);
        QCOMPARE(int(inImg[6]), 1);
    }

    void lockedDoorStaysShutOnTheMachinePanel() {
        VmPanel panel(rig->plant());
        auto* door = child<QPushButton>(&panel, "doorButton0");
        click("pushButton_221");
        rig->runFor(0.02);
        door->click();
        QVERIFY(!door->isChecked());
        rig->runFor(0.05);
        QCOMPARE(int(inImg[5]), 1);
        click("pushButton_221");
        rig->runFor(0.02);
        door->click();
        QVERIFY(door->isChecked());
        rig->runFor(0.05);
        QCOMPARE(int(inImg[5]), 0);
    }

    void beltButtonsStartAStillBeltAndStopARunningOne_data() {
        QTest::addColumn<QString>("beltButton");
        QTest::addColumn<int>("axis");
        QTest::newRow("finished-product belt") << "pushButton_219" << 5;
        QTest::newRow("empty-tray belt") << "pushButton_220" << 6;
    }
    void beltButtonsStartAStillBeltAndStopARunningOne() {
        QFETCH(QString, beltButton);
        QFETCH(int, axis);
        const QByteArray name = beltButton.toLatin1();
        const double speed = gf[205 + axis - 5];
        QVERIFY(speed > 0);
        QVERIFY(!rig->moving(axis));
        click(name);
        rig->runFor(0.5);
        QVERIFY(rig->moving(axis));
        QVERIFY(std::fabs(rig->velocity(axis) - speed) < 1e-6);
        rig->runFor(2.0);
        QVERIFY(rig->moving(axis));
        click(name);
        QVERIFY(rig->runUntil([&] { return !rig->moving(axis); }, 0.5));
        rig->runFor(0.5);
        QVERIFY(!rig->moving(axis));
        QVERIFY(!rig->moving(axis == 5 ? 6 : 5));
    }

    void enabledOnlyInManualMode() {
        QVERIFY(dlg->isEnabled());
        manualMode = 0.0;
        rig->runFor(0.11);
        QVERIFY(!dlg->isEnabled());
        manualMode = 1.0;
        rig->runFor(0.11);
        QVERIFY(dlg->isEnabled());
    }

    void protectionSwitch() {
        auto* box = child<QCheckBox>(dlg.get(), "checkBox_1");
        QVERIFY(!box->isChecked());
        box->click();
        QCOMPARE(int(interlockOff), 1);
        // With protection off X jogs although the nozzle is not up.
        rig->plant().forceInput(33, 0);
        rig->runFor(0.02);
        press("pushButton_101");
        rig->runFor(0.3);
        QVERIFY(rig->moving(0));
        release("pushButton_101");
        box->click();
        QCOMPARE(int(interlockOff), 0);
        interlockOff = 1; // set elsewhere: shown at the next refresh
        rig->runFor(0.11);
        QVERIFY(box->isChecked());
    }
};

QTEST_MAIN(TestJog)
#include "tst_jog.moc"
