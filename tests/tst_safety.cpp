// The fast scan and the machine reset on the virtual machine: e-stop, doors,
// servo alarms, readiness, hardware buttons, lamps and buzzer.
#include "MachineState.h"
#include "TestSupport.h"

#include "app/MachineData.h"
#include "machine/FastScan.h"
#include "machine/IoAccess.h"
#include "machine/Permissions.h"
#include "machine/ResetMachine.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"
#include "vision/VisionFlags.h"

#include <QtTest>

namespace {

using Panel = sim::OperatorPanel;

// A started card, every working axis homed, automatic mode.
struct ScanRig : SimRig {
    FastScan scan;
    ScanRig() {
        resetMachineData();
        startCard();
        cardOk = 1.0;
        for (int axis = 0; axis < 12; ++axis) axisHomed[axis] = 1;
        clock.addPeriodic("fast", 5000, [this] { scan.pass(); });
        runFor(0.02);
    }
    void moveAll() {
        for (WORD axis = 0; axis < 12; ++axis) spmove(0, axis, 50.0, 20.0, 1);
        runFor(0.05);
    }
    bool moving(int axis) { return isidle(0, WORD(axis)) == 0; }
    // Raw card level of an output (0 = on).
    int level(int bit) { return dmc_read_outbit(0, WORD(bit)); }
};

} // namespace

class TestSafety : public QObject {
    Q_OBJECT
private slots:
    void estopStopsEveryAxisAndKeepsRunFlagsOff() {
        ScanRig rig;
        rig.moveAll();
        rig.plant().setEstopPressed(true);
        rig.runFor(0.006);
        for (int axis = 0; axis < 12; ++axis) QVERIFY2(!rig.moving(axis), qPrintable(QString::number(axis)));
        QCOMPARE(int(estopOk), 0);
        for (int pass = 0; pass < 5; ++pass) {
            runA = runB = 1;
            homeRequest = 1;
            rig.scan.pass();
            QCOMPARE(int(runA), 0);
            QCOMPARE(int(runB), 0);
            QCOMPARE(int(homeRequest), 0);
        }
        rig.plant().setEstopPressed(false);
        rig.runFor(0.01);
        QCOMPARE(int(estopOk), 1);
        QCOMPARE(int(readyA), 1);
    }

    void doorStopsWorkingAxesUnlessBypassed_data() {
        QTest::addColumn<int>("door");
        QTest::newRow("front") << 0;
        QTest::newRow("rear") << 1;
        QTest::newRow("left") << 2;
        QTest::newRow("right") << 3;
    }
    void doorStopsWorkingAxesUnlessBypassed() {
        QFETCH(int, door);
        ScanRig rig;
        rig.moveAll();
        QCOMPARE(int(readyA), 1);
        rig.plant().setDoorOpen(door, true);
        rig.runFor(0.3); // decelerating stop of 0.1 s
        QCOMPARE(int(doorOk), 0);
        QCOMPARE(int(readyA), 0);
        for (int axis = 0; axis <= 6; ++axis) QVERIFY(!rig.moving(axis));
        for (int axis = 7; axis < 12; ++axis) QVERIFY(rig.moving(axis));

        QCOMPARE(int(readyB), 0);
        QCOMPARE(sim::StopReason(rig.plant().axisSnapshot(0).stopReason), sim::StopDecel);

        ScanRig bypass;
        gd[4] = 2.0;
        bypass.moveAll();
        bypass.plant().setDoorOpen(door, true);
        bypass.runFor(0.3);
        QCOMPARE(int(doorOk), 1);
        QCOMPARE(int(readyA), 1);
        for (int axis = 0; axis < 12; ++axis) QVERIFY(bypass.moving(axis));
    }

    // A reset refused for a door or the e-stop changes nothing but the photo table;
    // one stopped by a servo alarm stops and re-enables the drives and no more.
    void refusedResetsLeaveTheMachineAsItWas_data() {
        QTest::addColumn<int>("cause"); // 0 door, 1 e-stop, 2 servo alarm
        QTest::newRow("door open") << 0;
        QTest::newRow("e-stop pressed") << 1;
        QTest::newRow("servo alarm") << 2;
    }
    void refusedResetsLeaveTheMachineAsItWas() {
        QFETCH(int, cause);
        ScanRig rig;
        for (WORD axis = 0; axis < 8; ++axis) axis_enable(0, axis, 0); // drives off
        if (cause == 0) rig.plant().setDoorOpen(2, true);
        if (cause == 1) rig.plant().setEstopPressed(true);
        if (cause == 2) rig.plant().setServoAlarm(4, true);
        rig.runFor(0.02);
        rig.moveAll(); // a disabled drive refuses; axes 8..11 have no enable and run
        const bool movingBefore = rig.moving(9);
        runA = runB = 1;
        stepA = 120;
        stepB = 100;
        lineInStep = 3;
        axisHomed[0] = 1;
        resetMachine();
        QCOMPARE(int(homeRequest), 0);
        QCOMPARE(stepA, 120.0);
        QCOMPARE(stepB, 100.0);
        QCOMPARE(lineInStep, 3.0);
        QCOMPARE(int(runA) + int(runB), 2);
        QCOMPARE(int(axisHomed[0]), 1);
        const bool reenabled = dmc_read_sevon_pin(0, 0) == 0 && dmc_read_sevon_pin(0, 5) != 0;
        QCOMPARE(reenabled, cause == 2);
        if (cause == 2) {
            QVERIFY(movingBefore);
            QVERIFY(!rig.moving(9)); // stopped on the way
        } else if (cause == 0) {
            QCOMPARE(rig.moving(9), movingBefore); // not even stopped
        }
        rig.runFor(1.0);
        QCOMPARE(int(homeRequest), 0);
    }

    // The stop button ends the run and the wait for the operator, but only while held.
    void stopButtonClearsRunFlagsAndTheWait() {
        ScanRig rig;
        runA = 1;
        runB = 1;
        waitOperator = 1;
        promptActive = 1;
        rig.runFor(0.05);
        QCOMPARE(int(runA) + int(runB) + int(waitOperator), 3);
        rig.plant().setButtonPressed(Panel::StopButton, true);
        rig.runFor(0.01);
        QCOMPARE(int(runA), 0);
        QCOMPARE(int(runB), 0);
        QCOMPARE(int(waitOperator), 0);
        QCOMPARE(int(promptActive), 0);
        rig.plant().setButtonPressed(Panel::StopButton, false);
        rig.runFor(0.01);
        runA = 1;
        waitOperator = 1;
        rig.runFor(0.05);
        QCOMPARE(int(runA), 1);
        QCOMPARE(int(waitOperator), 1);
    }

    // Each condition of the checks of axes 7 to 10, alone, and the axis 11 exception.
    void permissionsOfTheAuxiliaryAxes() {
        ScanRig rig;
        manualMode = 1.0;
        rig.runFor(0.01);
        enum Cond { Belt6, Axis10, Up, Down, Axis789 };
        const auto setCond = [&](int c, bool good) {
            switch (c) {
            case Belt6:
                axisHomed[6] = good;
                break;
            case Axis10:
                axisHomed[10] = good;
                break;
            case Up:
                rig.plant().forceInput(33, good ? 1 : 0);
                break;
            case Down:
                rig.plant().forceInput(34, good ? 0 : 1);
                break;
            case Axis789:
                axisHomed[7] = axisHomed[8] = axisHomed[9] = good;
                break;
            }
            rig.runFor(0.01);
        };
        // Nozzle up: the homing and jog checks pass, the move check (needs nozzle down) not.
        rig.plant().forceInput(33, 1);
        rig.plant().forceInput(34, 0);
        rig.runFor(0.01);
        for (int axis = 7; axis <= 9; ++axis) {
            QVERIFY(mayHome(axis) && mayHomeManual(axis) && mayJog(axis));
            QVERIFY(!mayMoveManual(axis));
        }
        for (int c : {Belt6, Up, Down}) {
            setCond(c, false);
            for (int axis = 7; axis <= 9; ++axis) {
                QVERIFY2(!mayHome(axis) && !mayJog(axis), qPrintable(QString("%1 %2").arg(c).arg(axis)));
            }
            setCond(c, true);
        }
        setCond(Axis10, false); // the jog needs axis 10 safe, the homing not
        QVERIFY(mayHome(8) && !mayJog(8));
        setCond(Axis10, true);
        spmove(0, 10, 5.0, 50.0, 1); // axis 10 below 0 is not safe
        QVERIFY(rig.runUntil([] { return isidle(0, 10) == 1; }, 2.0));
        QVERIFY(!axisSafe(10));
        QVERIFY(mayHome(8) && !mayJog(8));
        spmove(0, 10, 0.0, 50.0, 1);
        QVERIFY(rig.runUntil([] { return isidle(0, 10) == 1; }, 2.0));
        QVERIFY(axisSafe(10));

        // Nozzle down: the move check passes; each of its conditions alone refuses.
        rig.plant().forceInput(33, 0);
        rig.plant().forceInput(34, 1);
        rig.runFor(0.01);
        QVERIFY(mayMoveManual(7));
        for (int c : {Belt6, Axis10}) {
            setCond(c, false);
            QVERIFY2(!mayMoveManual(7), qPrintable(QString::number(c)));
            setCond(c, true);
        }
        axisHomed[7] = 0;
        QVERIFY(!mayMoveManual(7)); // its own homed flag
        axisHomed[7] = 1;
        rig.plant().forceInput(34, 0);
        rig.runFor(0.01);
        QVERIFY(!mayMoveManual(7));

        // Axis 10 needs 7, 8 and 9 safe, each alone.
        for (int axis = 7; axis <= 9; ++axis) {
            QVERIFY(mayHome(10) && mayJog(10));
            axisHomed[axis] = 0;
            QVERIFY2(!mayHome(10) && !mayJog(10) && !mayMoveManual(10), qPrintable(QString::number(axis)));
            axisHomed[axis] = 1;
        }
        // Axis 11: no homed test and no group precondition for the move check only.
        axisHomed[11] = 0;
        axisHomed[6] = 0;
        QVERIFY(mayMoveManual(11));
        QVERIFY(mayJog(11));
        estopOk = 0;
        QVERIFY(!mayMoveManual(11));
        estopOk = 1;
        manualMode = 0.0;
        QVERIFY(!mayMoveManual(11) && !mayJog(11) && !mayHomeManual(8));
        QVERIFY(mayHome(11)); // the sequence's check needs no manual mode
    }

    void servoAlarmsOfAuxiliaryAxes() {
        ScanRig rig;
        rig.plant().setServoAlarm(7, true);
        rig.plant().setServoAlarm(9, true);
        rig.runFor(0.01);
        QCOMPARE(int(axisAlmOk[7]), 0);
        QCOMPARE(int(axisHomed[7]), 0);
        QCOMPARE(int(axisAlmOk[9]), 1); // treated as alarm-free
        QCOMPARE(int(axisHomed[9]), 1);
        QCOMPARE(int(readyA), 1);

        runA = 1;
        rig.plant().setServoAlarm(3, true);
        rig.runFor(0.01);
        QCOMPARE(int(axisHomed[3]), 0);
        QCOMPARE(int(homedA), 0);
        QCOMPARE(int(readyA), 0);
        QCOMPARE(int(runA), 0);
    }

    void readinessNeedsHomedAxesAndNoLimit() {
        ScanRig rig;
        QCOMPARE(int(readyA), 1);
        rig.plant().forceLimit(2, +1, true);
        rig.runFor(0.01);
        QCOMPARE(int(axisElpOk[2]), 0);
        QCOMPARE(int(readyA), 0);
        rig.plant().forceLimit(2, +1, false);
        axisHomed[4] = 0;
        rig.runFor(0.01);
        QCOMPARE(int(homedA), 0);
        QCOMPARE(int(readyB), 0);
    }

    void buttonsGiveOneRequestPerPress() {
        ScanRig rig;
        rig.plant().setButtonPressed(Panel::ResetButton, true);
        QVERIFY(rig.runUntil([] { return homeRequest == 1; }, 1.0));
        homeRequest = 0;
        rig.runFor(0.5);
        QCOMPARE(int(homeRequest), 0); // still held: no second reset
        rig.plant().setButtonPressed(Panel::ResetButton, false);
        rig.runFor(0.02);
        rig.plant().setButtonPressed(Panel::ResetButton, true);
        QVERIFY(rig.runUntil([] { return homeRequest == 1; }, 1.0));
        rig.plant().setButtonPressed(Panel::ResetButton, false);

        rig.plant().setButtonPressed(Panel::AlarmClearButton, true);
        QVERIFY(rig.runUntil([] { return alarmClearReq == 1; }, 0.1));
        alarmClearReq = 0;
        rig.runFor(0.2);
        QCOMPARE(int(alarmClearReq), 0);
        rig.plant().setButtonPressed(Panel::AlarmClearButton, false);

        for (int axis = 0; axis < 12; ++axis) axisHomed[axis] = 1;
        manualMode = 1.0;
        rig.plant().setButtonPressed(Panel::StartButton, true);
        rig.runFor(0.05);
        QCOMPARE(int(startRequest), 0);
        manualMode = 0.0;
        waitOperator = 1;
        QVERIFY(rig.runUntil([] { return startRequest == 1; }, 0.1));
        QCOMPARE(int(waitOperator), 0);
    }

    void lampTableAndBuzzer() {
        ScanRig rig;
        QCOMPARE(QVector<int>({rig.level(0), rig.level(1), rig.level(2)}), QVector<int>({0, 1, 0}));
        runA = 1;
        rig.runFor(0.01);
        QCOMPARE(QVector<int>({rig.level(0), rig.level(1), rig.level(2)}), QVector<int>({1, 1, 0}));
        QCOMPARE(rig.level(5), 0); // start lamp on while running

        alarmFlags[12] = 1;
        rig.runFor(0.01);
        QCOMPARE(QVector<int>({rig.level(0), rig.level(1), rig.level(2)}), QVector<int>({0, 1, 1}));
        QCOMPARE(int(runA), 0);
        // The buzzer sounds for 300 passes of the scan.
        int sounding = 0;
        for (int pass = 0; pass < 400; ++pass) {
            rig.scan.pass();
            if (rig.level(3) == 0) ++sounding;
        }
        QVERIFY2(sounding >= 295 && sounding < 300, qPrintable(QString::number(sounding)));
        QCOMPARE(rig.level(3), 1);
        // A new alarm after a quiet pass sounds again.
        alarmFlags[12] = 0;
        rig.scan.pass();
        alarmFlags[13] = 1;
        rig.scan.pass();
        QCOMPARE(rig.level(3), 0);
        gd[1] = 2.0; // alarm sound masked
        rig.scan.pass();
        QCOMPARE(rig.level(3), 1);
        QCOMPARE(rig.level(2), 1); // the lamps still show the alarm

        stepA = 1004.9;
        rig.scan.pass();
        QCOMPARE(rig.level(8), 0);
        stepA = 1005;
        rig.scan.pass();
        QCOMPARE(rig.level(8), 1);
    }

    void resetStopsEarlyOnEstopOrServoAlarm() {
        ScanRig rig;
        stepA = 120;
        runA = 1;
        labelPhotoBuf[3][0] = 1.0;
        labelPhotoBuf[3][1] = 2.0;
        labelPhotoBuf[3][2] = 0.5;
        lastPhotoCell = 4;
        calibBusy = 1;
        rig.plant().setEstopPressed(true);
        rig.runFor(0.01);
        resetMachine();
        QCOMPARE(labelPhotoBuf[3][0], 0.0);
        QCOMPARE(labelPhotoBuf[3][1], 0.0);
        QCOMPARE(labelPhotoBuf[3][2], 0.5);
        QCOMPARE(lastPhotoCell, 0.0);
        QCOMPARE(int(calibBusy), 0);
        QCOMPARE(int(homeRequest), 0);
        QCOMPARE(stepA, 120.0);
        rig.plant().setEstopPressed(false);

        ScanRig alarm;
        stepA = 120;
        stepB = 100;
        for (WORD axis = 0; axis < 8; ++axis) axis_enable(0, axis, axis < 3 ? 0 : 1); // drives off
        alarm.plant().setServoAlarm(4, true);
        alarm.runFor(0.01);
        resetMachine();
        QCOMPARE(dmc_read_sevon_pin(0, 0), short(0)); // re-enabled
        QVERIFY(dmc_read_sevon_pin(0, 5) != 0);
        QCOMPARE(stepA, 120.0);
        QCOMPARE(stepB, 100.0);
        QCOMPARE(int(homeRequest), 0);
    }

    void completeResetClearsSequencesAndRequestsHoming() {
        ScanRig rig;
        rig.moveAll();
        runA = runB = 1;
        stepA = 300;
        stepB = 250;
        stepC = 5;
        lineInStep = 261;
        emptyStep = 262;
        for (auto& job : cycleJobs) job = 7;
        endProduction = interlockOff = 1;
        waitOperator = 1;
        resetMachine();
        for (int axis = 0; axis < 12; ++axis) QVERIFY(!rig.moving(axis));
        QCOMPARE(int(runA) + int(runB), 0);
        QCOMPARE(stepA + stepB + stepC + lineInStep + emptyStep, 0.0);
        for (auto job : cycleJobs) QCOMPARE(int(job), 0);
        QCOMPARE(int(nextJob), 0);
        QCOMPARE(int(trayState), 0);
        for (int axis = 0; axis < 15; ++axis) QCOMPARE(int(axisHomed[axis]), 0);
        QCOMPARE(int(homedA) + int(homedB) + int(homedUi), 0);
        QCOMPARE(int(endProduction) + int(interlockOff) + int(promptActive) + int(waitOperator), 0);
        QCOMPARE(int(homeRequest), 1);
    }

    // State 1 is the closed, raised or extended position each cylinder's sensors name.
    void everyCylinderReachesBothStates() {
        ScanRig rig;
        rig.clock.addPeriodic("follow", 10000, [] { cylindersFollow(); });
        rig.clock.addPeriodic("errors", 100000, [] { cylindersCheckErrors(); });
        const int state1Sensor[6] = {34, 36, 44, 37, 39, 41};
        const int state0Sensor[6] = {33, 35, 43, 38, 40, 42};
        for (int state : {1, 0}) {
            for (int k = 0; k < 6; ++k) cylinderCmd(k, 0, state);
            QVERIFY(rig.runUntil(
                [] {
                    for (int k = 0; k < 6; ++k)
                        if (!cylinderCmd(k, 1, 0)) return false;
                    return true;
                },
                1.0));
            for (int k = 0; k < 6; ++k) {
                const int there = state ? state1Sensor[k] : state0Sensor[k];
                const int other = state ? state0Sensor[k] : state1Sensor[k];
                QVERIFY2(rig.plant().input(there) && !rig.plant().input(other),
                         qPrintable(QString("cylinder %1 state %2").arg(k).arg(state)));
            }
            rig.runFor(6.0);
            for (int k = 0; k < 6; ++k) QVERIFY2(!eerv[k], qPrintable(QString::number(k)));
        }
        rig.plant().setCylinderStuck(4, true);
        cylinderCmd(4, 0, 1);
        rig.runFor(4.9);
        QVERIFY(!eerv[4]);
        QVERIFY(rig.runUntil([] { return eerv[4]; }, 0.3));
        QCOMPARE(int(cylinderCmd(4, 1, 0)), 0);
    }

    void permissionsFollowTheAxisGroups() {
        ScanRig rig;
        gf[400] = 5.0;
        manualMode = 1.0;
        // X and Y need both Z axes up and the nozzle up.
        spmove(0, 2, 20.0, 50.0, 1);
        rig.runFor(1.0);
        QVERIFY(!axisSafe(2));
        QVERIFY(!mayMoveManual(0));
        QVERIFY(mayMoveManual(2));
        spmove(0, 2, 3.0, 50.0, 1);
        spmove(0, 4, 0.0, 50.0, 1);
        rig.runFor(1.0);
        QVERIFY(axisSafe(2));
        QVERIFY(mayMoveManual(0));
        QVERIFY(mayJog(1));
        interlockOff = 1; // skips the group preconditions, not the machine's own
        rig.plant().forceInput(33, 0);
        rig.runFor(0.01);
        QVERIFY(mayMoveManual(0));
        interlockOff = 0;
        QVERIFY(!mayMoveManual(0));
        rig.plant().forceInput(33, -1);
        rig.runFor(0.01);

        // Axis 11 needs no homing; Z does.
        axisHomed[11] = 0;
        QVERIFY(mayMoveManual(11));
        axisHomed[2] = 0;
        QVERIFY(!mayMoveManual(2));
        QVERIFY(mayHomeManual(2));
        // Manual-page checks need manual mode; the homing sequence's check does not.
        manualMode = 0.0;
        QVERIFY(!mayHomeManual(2));
        QVERIFY(mayHome(2));
        QVERIFY(!mayHome(12));
        cardOk = 0.0;
        QVERIFY(!mayHome(2));
        cardOk = 1.0;

        // Outputs by image number reach the card and the CAN nodes with the card's levels.
        outputBit(10, true);
        outputBit(50, true);
        rig.runFor(0.01);
        QVERIFY(rig.plant().output(10));
        QVERIFY(rig.plant().output(50));
        QCOMPARE(int(outputState(50)), 1);
        outputBit(50, false);
        rig.runFor(0.01);
        QCOMPARE(int(outputState(50)), 0);
        inputFreeze = 1;
        rig.plant().setDoorOpen(0, true);
        rig.runFor(0.01);
        QCOMPARE(int(inImg[5]), 0);
        QCOMPARE(int(inputBit(5)), 1); // frozen copy
    }
};

QTEST_MAIN(TestSafety)
#include "tst_safety.moc"
