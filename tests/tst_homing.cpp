// Reset, homing and the end of production on the virtual machine: the cycle thread's
// pass and the fast scan run in machine time, the operator presses the panel buttons.
#include "MachineState.h"
#include "TestSupport.h"

#include "app/MachineData.h"
#include "machine/FastScan.h"
#include "machine/ResetMachine.h"
#include "recipes/DemoRecipe.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"
#include "sequences/Homing.h"
#include "sequences/Taska.h"

#include <QtTest>
#include <cmath>
#include <future>

namespace {

using Panel = sim::OperatorPanel;
constexpr WORD kX = 0, kY = 1, kZ = 2, kQ = 3, kNgZ = 4;
constexpr int kNone = -1;

// The machine after start-up in automatic mode: card up, demo recipe, fast scan,
// cylinder follow-up (the window's 10 ms tick) and the cycle thread's pass, plus a
// watcher that notes from the plant when each axis first moves and homes.
struct Machine : SimRig {
    FastScan scan;
    Taska cycle;
    int fastId = -1;
    int cycleId = -1;

    int64_t movedAt[12];
    int64_t homingAt[12];
    int64_t homedAt[12];
    bool homingLampSeen = false;
    int64_t sequenceEndAt = kNone; // stepA back to 0 from a homing step
    double lastStep = 0;
    int64_t passEndAt = kNone;   // end of the cycle thread's last pass
    int passesEndedInHoming = 0; // passes that left stepA in 1000..1004

    Machine() {
        resetMachineData();
        kzct::resetLibraryState();
        startCard();
        cardOk = 1.0;
        applyDemoRecipe();
        fastId = clock.addPeriodic("fast", 5000, [this] { scan.pass(); });
        clock.addPeriodic("cylinders", 10000, [] { cylindersFollow(); });
        cycleId = clock.addPeriodic("cycle", 5000, [this] {
            cycle.pass();
            passEndAt = clock.nowUs();
            if (stepA >= 1000 && stepA <= 1004) ++passesEndedInHoming;
        });
        clock.addPeriodic("watch", 1000, [this] { watch(); });
        runFor(0.05);
        clearWatch();
    }

    void clearWatch() {
        for (int a = 0; a < 12; ++a) movedAt[a] = homingAt[a] = homedAt[a] = kNone;
        homingLampSeen = false;
        sequenceEndAt = kNone;
    }

    void watch() {
        const int64_t now = clock.nowUs();
        for (int a = 0; a < 12; ++a) {
            const sim::AxisSnapshot s = plant().axisSnapshot(a);
            if (s.moving && movedAt[a] == kNone) movedAt[a] = now;
            if (s.homing && homingAt[a] == kNone) homingAt[a] = now;
            if (homingAt[a] != kNone && !s.moving && s.homeResult == 1 && homedAt[a] == kNone)
                homedAt[a] = now;
        }
        if (plant().output(Panel::ResetLamp)) homingLampSeen = true;
        if (lastStep >= 1000 && stepA == 0 && sequenceEndAt == kNone) sequenceEndAt = now;
        lastStep = stepA;
    }

    void pressReset() {
        plant().setButtonPressed(Panel::ResetButton, true);
        runFor(0.05);
        plant().setButtonPressed(Panel::ResetButton, false);
    }

    bool homeMachine() {
        pressReset();
        return runUntil([] { return waitOperator == 1; }, 30.0);
    }

    bool moving(int axis) { return plant().axisSnapshot(axis).moving; }
    bool anyWorkingAxisMoving() {
        for (int a = 0; a <= 6; ++a)
            if (moving(a)) return true;
        return false;
    }
};

bool homedFlags(std::initializer_list<WORD> axes) {
    for (WORD a : axes)
        if (!axisHomed[a]) return false;
    return true;
}
bool noneHomed(std::initializer_list<WORD> axes) {
    for (WORD a : axes)
        if (axisHomed[a]) return false;
    return true;
}

} // namespace

class TestHoming : public QObject {
    Q_OBJECT
private slots:
    void resetHomesInTheSafeOrderAndWaitsForTheOperator() {
        Machine m;
        QCOMPARE(int(homedA), 0);
        QVERIFY(m.homeMachine());

        for (WORD a : {kX, kY, kZ, kQ, kNgZ}) {
            QVERIFY2(axisHomed[a] == 1, qPrintable(QString("axis %1").arg(a)));
            QVERIFY(std::fabs(encoder(a)) < 1e-6);
            QVERIFY(std::fabs(command(a)) < 1e-6);
        }
        QCOMPARE(int(axisHomed[5]), 0); // the belts are not homed here
        QCOMPARE(int(axisHomed[6]), 0);
        QCOMPARE(stepA, 0.0);
        QVERIFY(m.homingLampSeen);
        // Each block acts on the step the one before it advanced to, in the same pass:
        // the pass that took the request homed the machine and ended at step 0.
        QCOMPARE(m.passesEndedInHoming, 0);

        // Z and NG Z stand homed before X, Y or Q make their first move.
        QVERIFY(m.homedAt[kZ] != kNone && m.homedAt[kNgZ] != kNone);
        for (WORD a : {kX, kY, kQ}) {
            QVERIFY2(m.movedAt[a] != kNone, qPrintable(QString("axis %1 never moved").arg(a)));
            QVERIFY(m.movedAt[a] > m.homedAt[kZ]);
            QVERIFY(m.movedAt[a] > m.homedAt[kNgZ]);
        }

        // The product cycle does not start by itself; the start lamp blinks meanwhile
        // (the window toggles blink every 500 ms).
        m.clock.addPeriodic("blink", 500000, [] { invbool(&blink); });
        int lampOn = 0, lampOff = 0;
        m.clock.addPeriodic("start lamp", 50000,
                            [&] { ++(m.plant().output(Panel::StartLamp) ? lampOn : lampOff); });
        m.runFor(3.0);
        QVERIFY(lampOn > 20 && lampOff > 20);
        QCOMPARE(int(waitOperator), 1);
        QCOMPARE(int(runA), 0);
        QCOMPARE(stepA, 0.0);
        QVERIFY(!m.anyWorkingAxisMoving());
        QVERIFY(!m.plant().output(Panel::ResetLamp));
        QCOMPARE(int(readyA), 1);
    }

    void resetBlockPutsOutputsAndFlagsToRest() {
        Machine m;
        // Leave lights, feeder, nozzle, cylinders and handshake outputs in working states.
        for (WORD bit = 0; bit < 6; ++bit) singleout(0, 1, 1, bit, 1, 0);
        node2Out(0, true);
        node2Out(1, true);
        cylinderCmd(cylNozzleLift, 0, 1);
        cylinderCmd(cylNgGrip, 0, 1);
        cylinderCmd(cylBufferStop, 0, 0);
        cylinderCmd(cylAssyStop, 0, 0);
        cylinderCmd(cylAssyLift, 0, 1);
        for (WORD bit = 0; bit < 12; ++bit) singleout(0, 3, 1, bit, 1, 0);
        m.runFor(0.3);
        cylinderCmd(cylNozzleLift, 0, 0); // the nozzle must be up again for homing
        for (int i = 0; i < 256; ++i) {
            alarmFlags[i] = 1;
            counterNg[i] = 3.0;
        }
        cycleTime = 4.2;
        mesState = 2;
        nextJob = 7;

        // The homing runs within the pass that took the request; it leaves these alone.
        m.pressReset();
        QVERIFY(m.runUntil([] { return waitOperator == 1; }, 30.0));
        sim::Plant& p = m.plant();
        for (int out = 16; out <= 21; ++out) QVERIFY2(!p.output(out), qPrintable(QString::number(out)));
        QVERIFY(!p.output(32));                 // vacuum
        QVERIFY(!p.output(33));                 // blow
        QVERIFY(!p.output(34));                 // nozzle lift up
        QVERIFY(p.output(35) && !p.output(36)); // NG gripper open
        QVERIFY(p.output(37) && !p.output(38)); // buffer stopper up
        QVERIFY(p.output(39) && !p.output(40)); // assembly stopper up
        QVERIFY(!p.output(41) && p.output(42)); // assembly lift down
        for (int out = 48; out <= 59; ++out) QVERIFY2(!p.output(out), qPrintable(QString::number(out)));
        for (int i = 0; i < 255; ++i) {
            QCOMPARE(int(alarmFlags[i]), 0);
            QCOMPARE(counterNg[i], 0.0);
        }
        QCOMPARE(int(alarmFlags[255]), 1); // 255 entries, not 256
        QCOMPARE(counterNg[255], 3.0);
        QCOMPARE(cycleTime, 0.0);
        QCOMPARE(mesState, 0);
        QCOMPARE(nextJob, 0);
        QCOMPARE(int(homeRequest), 0);
    }

    // One axis with a fault; the verdict of the sequence and when it gives up.
    void homingFaults_data() {
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("fault"); // 0 slow, 1 origin dead, 2 never reports
        QTest::addColumn<double>("needsS");
        QTest::addColumn<bool>("verticalHomed");
        QTest::addColumn<bool>("horizontalHomed");
        QTest::newRow("Z needs 9.9 s") << int(kZ) << 0 << 9.9 << true << true;
        QTest::newRow("Z needs 9.99 s") << int(kZ) << 0 << 9.99 << true << true;
        QTest::newRow("Z needs 10.01 s") << int(kZ) << 0 << 10.01 << false << false;
        QTest::newRow("NG Z needs 10.01 s") << int(kNgZ) << 0 << 10.01 << false << false;
        QTest::newRow("NG Z never reports") << int(kNgZ) << 2 << 0.0 << false << false;
        QTest::newRow("Z keeps searching") << int(kZ) << 3 << 0.0 << false << false;
        QTest::newRow("Q needs 9.99 s") << int(kQ) << 0 << 9.99 << true << true;
        QTest::newRow("Q needs 10.01 s") << int(kQ) << 0 << 10.01 << true << false;
        QTest::newRow("X origin dead") << int(kX) << 1 << 0.0 << true << false;
        QTest::newRow("Y keeps searching") << int(kY) << 3 << 0.0 << true << false;
    }
    void homingFaults() {
        QFETCH(int, axis);
        QFETCH(int, fault);
        QFETCH(double, needsS);
        QFETCH(bool, verticalHomed);
        QFETCH(bool, horizontalHomed);
        Machine m;
        if (fault == 0) m.plant().setHomingMinDurationUs(axis, int64_t(needsS * 1e6));
        if (fault == 1) m.plant().setHomingFault(axis, sim::HomingFault::Fails);
        if (fault == 2) m.plant().setHomingFault(axis, sim::HomingFault::Hangs);
        if (fault == 3) m.plant().setHomingFault(axis, sim::HomingFault::Searches);

        m.pressReset();
        QVERIFY(m.runUntil([&] { return m.sequenceEndAt != kNone; }, 40.0));
        QCOMPARE(stepA, 0.0);
        QCOMPARE(homedFlags({kZ, kNgZ}), verticalHomed);
        QCOMPARE(noneHomed({kZ, kNgZ}), !verticalHomed);
        QCOMPARE(homedFlags({kX, kY, kQ}), horizontalHomed);
        QCOMPARE(noneHomed({kX, kY, kQ}), !horizontalHomed);
        QCOMPARE(int(waitOperator), horizontalHomed ? 1 : 0);
        if (!verticalHomed)
            for (WORD a : {kX, kY, kQ}) QCOMPARE(m.movedAt[a], int64_t(kNone));

        if (!horizontalHomed) {
            // Given up 10 s after the failing axis started homing, and nothing moves on.
            const double afterS = (m.sequenceEndAt - m.homingAt[axis]) * 1e-6;
            QVERIFY2(afterS >= 9.99 && afterS < 10.05, qPrintable(QString::number(afterS)));
            // Still homing when its time ran out: stopped, and the card never reports
            // it homed later (a slow homing would otherwise end a moment afterwards).
            m.runFor(5.0);
            QVERIFY(!m.anyWorkingAxisMoving());
            QCOMPARE(ishomedone(0, WORD(axis)), short(0));
            QCOMPARE(int(axisHomed[axis]), 0);
            QCOMPARE(stepA, 0.0);
            QCOMPARE(int(homedA), 0);
        }
    }

    // Closing the program sets the cycle thread's stop flag while a pass waits on an
    // axis; the pass ends within a second, the axes stand and nothing homes later.
    void stopFlagEndsEveryWaitWithinASecond_data() {
        QTest::addColumn<double>("stopAtStep");
        QTest::addColumn<double>("afterS"); // into that step
        QTest::addColumn<int>("searching"); // axis that never finds its switch, or -1
        QTest::newRow("first second of Z homing") << 1000.0 << 0.5 << -1;
        QTest::newRow("Q keeps searching") << 1003.0 << 4.0 << int(kQ);
        QTest::newRow("X keeps searching") << 1003.0 << 4.0 << int(kX);
        QTest::newRow("end of production") << 2000.0 << 0.2 << -1;
    }
    void stopFlagEndsEveryWaitWithinASecond() {
        QFETCH(double, stopAtStep);
        QFETCH(double, afterS);
        QFETCH(int, searching);
        Machine m;
        if (searching >= 0) m.plant().setHomingFault(searching, sim::HomingFault::Searches);
        int64_t stepSeenAt = kNone, stopAt = kNone;
        m.clock.addPeriodic("operator closes", 1000, [&] {
            if (stepSeenAt == kNone && stepA == stopAtStep) stepSeenAt = m.clock.nowUs();
            if (stopAt == kNone && stepSeenAt != kNone &&
                m.clock.nowUs() - stepSeenAt >= int64_t(afterS * 1e6)) {
                taskaStop = 1; // what the close does first
                stopAt = m.clock.nowUs();
            }
        });
        if (stopAtStep == 2000.0) {
            QVERIFY(m.homeMachine());
            // A move that never stands by itself keeps the end of production waiting.
            axis_jog(0, kX, 5.0, 1);
            runA = 1;
            stepA = 2000;
        } else {
            m.pressReset();
        }
        QVERIFY(m.runUntil([&] { return stopAt != kNone; }, 20.0));
        QVERIFY(m.runUntil([&] { return m.passEndAt > stopAt; }, 1.0));
        QVERIFY2(m.passEndAt - stopAt < 1000000, qPrintable(QString::number(m.passEndAt - stopAt)));
        QVERIFY(m.runUntil([&] { return !m.anyWorkingAxisMoving(); }, 0.3));
        m.runFor(5.0);
        QVERIFY(!m.anyWorkingAxisMoving());
        if (stopAtStep != 2000.0) {
            for (WORD a : {kX, kY, kQ}) QCOMPARE(int(axisHomed[a]), 0);
            QCOMPARE(int(waitOperator), 0);
        }
    }

    // The close calls stop() while the pass may hold the mutex in a wait: setting the
    // flag must not wait for that pass.
    void stopDoesNotWaitForThePass() {
        Machine m;
        m.cycle.mutex.lock();
        auto stopped = std::async(std::launch::async, [&] { m.cycle.stop(); });
        const bool returned = stopped.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        m.cycle.mutex.unlock();
        stopped.wait();
        QVERIFY(returned);
        QCOMPARE(int(taskaStop), 1);
    }

    // The check before each homing starts: without a usable card no axis homes, and
    // the sequence gives up on its timer.
    void mayHomeGatesEveryHomingStart() {
        Machine m;
        cardOk = 0.0;
        homeRequest = 1; // the reset itself refuses without a card
        QVERIFY(m.runUntil([&] { return m.sequenceEndAt != kNone; }, 15.0));
        for (int a = 0; a < 12; ++a) QCOMPARE(m.homingAt[a], int64_t(kNone));
        QVERIFY(noneHomed({kX, kY, kZ, kQ, kNgZ}));

        cardOk = 1.0;
        QVERIFY(m.homeMachine());
    }

    // Modes, directions and the search range of Z, NG Z, X, Y and Q as the card got them.
    void homingModesReachTheCard() {
        Machine m;
        QVERIFY(m.homeMachine());
        const int modes[] = {5, 5, 5, 2, 12};
        for (int a = 0; a <= 4; ++a) {
            const sim::AxisSnapshot s = m.plant().axisSnapshot(a);
            QCOMPARE(s.homeMode, modes[a]);
            QCOMPARE(s.homeDir, -1);
            QCOMPARE(s.homeRange, a == kNgZ ? 200.0 : 0.0);
            QCOMPARE(s.homeResult, 1);
        }
    }

    void servoAlarmBeforeTheCycleTakesTheRequestAbortsWithoutHoming() {
        Machine m;
        m.clock.setEnabled(m.cycleId, false);
        resetMachine(); // the window's reset button
        QCOMPARE(int(homeRequest), 1);
        m.plant().setServoAlarm(kQ, true);
        QVERIFY(m.runUntil([] { return axisAlmOk[kQ] == 0; }, 0.1));
        m.clearWatch();
        m.clock.setEnabled(m.cycleId, true);
        QVERIFY(m.runUntil([] { return homeRequest == 0 && stepA == 0.0; }, 1.0));
        m.runFor(3.0);
        for (int a = 0; a < 12; ++a) {
            QCOMPARE(m.homingAt[a], int64_t(kNone));
            QCOMPARE(int(axisHomed[a]), 0);
        }
        QCOMPARE(stepA, 0.0);
        QCOMPARE(int(waitOperator), 0);
    }

    void servoAlarmAtHomingStartStopsTheSevenAxesAtOnce() {
        Machine m;
        m.clock.setEnabled(m.cycleId, false);
        for (WORD a = 0; a <= 8; ++a) axis_jog(0, a, 5.0, 1);
        m.plant().setServoAlarm(kNgZ, true);
        QVERIFY(m.runUntil([] { return axisAlmOk[kNgZ] == 0; }, 0.1));
        for (WORD a : {kX, kY, kZ, kQ, WORD(5), WORD(6)}) QVERIFY(m.moving(a));

        // The state the reset block hands to the first homing step.
        stepA = 1000;
        usTstart(0, 1000000);
        m.clock.setEnabled(m.cycleId, true);
        QVERIFY(m.runUntil([] { return stepA == 0.0; }, 0.05));
        for (WORD a : {kX, kY, kZ, kQ, WORD(5), WORD(6)})
            QVERIFY2(m.plant().axisSnapshot(a).stopReason == sim::StopDecel, qPrintable(QString::number(a)));
        QCOMPARE(m.plant().axisSnapshot(kNgZ).stopReason, long(sim::StopAlarm));
        QCOMPARE(int(homeRequest), 0);

        m.runFor(0.2);
        QVERIFY(!m.anyWorkingAxisMoving());
        QVERIFY(m.moving(7)); // not one of the seven
        QVERIFY(m.moving(8));
        for (int a = 0; a < 12; ++a) QCOMPARE(m.homingAt[a], int64_t(kNone));
    }

    void nozzleCylinderNotUpStopsAfterZAndNgZ_data() {
        QTest::addColumn<int>("up");
        QTest::addColumn<int>("down");
        QTest::newRow("down") << 0 << 1;
        QTest::newRow("both sensors on") << 1 << 1;
        QTest::newRow("both sensors off") << 0 << 0;
    }
    void nozzleCylinderNotUpStopsAfterZAndNgZ() {
        QFETCH(int, up);
        QFETCH(int, down);
        Machine m;
        m.plant().forceInput(33, up);
        m.plant().forceInput(34, down);
        m.pressReset();
        QVERIFY(m.runUntil([&] { return m.sequenceEndAt != kNone; }, 30.0));
        QVERIFY(homedFlags({kZ, kNgZ}));
        QVERIFY(noneHomed({kX, kY, kQ}));
        for (WORD a : {kX, kY, kQ}) QCOMPARE(m.movedAt[a], int64_t(kNone));
        m.runFor(2.0);
        for (WORD a : {kX, kY, kQ}) QCOMPARE(m.movedAt[a], int64_t(kNone));
        QCOMPARE(int(waitOperator), 0);
        QCOMPARE(int(homedA), 0);
    }

    void pendingRequestWaitsForTheEstopRelease() {
        Machine m;
        m.plant().setEstopPressed(true);
        m.runFor(0.02);
        QCOMPARE(int(estopOk), 0);
        // Hold the scan so that the request is still pending while the e-stop is seen
        // (a request the scan itself finds during an e-stop is dropped).
        m.clock.setEnabled(m.fastId, false);
        homeRequest = 1;
        singleout(0, 1, 1, 0, 1, 0); // a photo light left on
        m.clearWatch();
        m.runFor(2.0);
        QCOMPARE(int(homeRequest), 1);
        QCOMPARE(stepA, 0.0);
        QVERIFY(m.plant().output(16)); // the reset block has not run
        for (int a = 0; a < 12; ++a) QCOMPARE(m.movedAt[a], int64_t(kNone));

        m.plant().setEstopPressed(false);
        m.clock.setEnabled(m.fastId, true);
        QVERIFY(m.runUntil([] { return waitOperator == 1; }, 30.0));
        QVERIFY(!m.plant().output(16));
        QVERIFY(homedFlags({kX, kY, kZ, kQ, kNgZ}));
    }

    void resetDuringEstopIsRefusedAndAResetAfterReleaseHomes() {
        Machine m;
        m.plant().setEstopPressed(true);
        m.runFor(0.02);
        m.pressReset();
        resetMachine(); // the window's reset button as well
        m.runFor(2.0);
        QCOMPARE(int(homeRequest), 0);
        QCOMPARE(stepA, 0.0);
        for (int a = 0; a < 12; ++a) QCOMPARE(m.movedAt[a], int64_t(kNone));

        m.plant().setEstopPressed(false);
        m.runFor(2.0);
        QCOMPARE(stepA, 0.0);
        for (int a = 0; a < 12; ++a) QCOMPARE(m.movedAt[a], int64_t(kNone));

        QVERIFY(m.homeMachine());
        QVERIFY(homedFlags({kX, kY, kZ, kQ, kNgZ}));
    }

    void estopDuringHomingFreezesTheSteps() {
        Machine m;
        m.plant().setHomingMinDurationUs(kZ, 3000000);
        // The e-stop is pressed 0.3 s into the Z homing, while the cycle waits for it.
        bool pressed = false;
        m.clock.addPeriodic("operator", 1000, [&] {
            if (!pressed && m.homingAt[kZ] != kNone && m.clock.nowUs() - m.homingAt[kZ] >= 300000) {
                m.plant().setEstopPressed(true);
                pressed = true;
            }
        });
        m.pressReset();
        QVERIFY(m.runUntil([] { return stepA == 1001; }, 3.0));
        QVERIFY(pressed);
        m.runFor(12.0); // past the 10 s of the vertical homing
        QCOMPARE(stepA, 1001.0);
        QCOMPARE(m.homedAt[kZ], int64_t(kNone));
        QVERIFY(!m.anyWorkingAxisMoving());

        m.plant().setEstopPressed(false);
        QVERIFY(m.runUntil([] { return stepA == 0.0; }, 0.1));
        QVERIFY(noneHomed({kX, kY, kZ, kQ, kNgZ}));
        QCOMPARE(int(waitOperator), 0);
        QVERIFY(m.homeMachine());
    }

    void endProductionParksResetsAndHomesAgain() {
        Machine m;
        QVERIFY(m.homeMachine());
        // At work: Z down at a cell, X and Y away from home.
        spmove(0, kZ, 20.0, 50.0, 1);
        spmove(0, kX, 200.0, 200.0, 1);
        spmove(0, kY, 150.0, 200.0, 1);
        QVERIFY(m.runUntil([] { return isidle(0, kZ) && isidle(0, kX) && isidle(0, kY); }, 3.0));

        // Paused: the step waits and moves nothing.
        endProduction = 1;
        stepA = 2000; // what the cycle does at a product boundary
        m.runFor(1.0);
        QCOMPARE(stepA, 2000.0);
        QVERIFY(std::fabs(command(kZ) - 20.0) < 1e-6);

        // Running (start button and the window's tick).
        waitOperator = 0;
        runA = 1;
        double zAtReset = -1.0;
        int64_t resetAt = kNone;
        m.clock.addPeriodic("reset seen", 1000, [&] {
            if (homeRequest == 1 && resetAt == kNone) {
                resetAt = m.clock.nowUs();
                zAtReset = command(kZ);
            }
        });
        m.clearWatch();
        QVERIFY(m.runUntil([&] { return resetAt != kNone; }, 5.0));
        QVERIFY2(std::fabs(zAtReset - gf[400]) < 0.01, qPrintable(QString::number(zAtReset)));
        QCOMPARE(int(endProduction), 0);
        QCOMPARE(int(runA), 0);

        QVERIFY(m.runUntil([] { return waitOperator == 1; }, 30.0));
        QVERIFY(m.homingAt[kZ] > resetAt); // homed again
        QVERIFY(m.homingAt[kX] > m.homedAt[kZ]);
        QVERIFY(homedFlags({kX, kY, kZ, kQ, kNgZ}));
        QCOMPARE(int(promptActive), 1);
        m.runFor(2.0);
        QCOMPARE(stepA, 0.0);
        QCOMPARE(int(runA), 0);
        QVERIFY(!m.anyWorkingAxisMoving());
    }

    void singleAxisHomeModes() {
        // Axes 0..6 are homed from here; 7..11 are not.
        SimRig rig;
        resetMachineData();
        rig.startCard();
        cardOk = 1.0;
        applyDemoRecipe();
        for (int axis = 0; axis <= 6; ++axis) QVERIFY(homeAxis(axis));
        for (int axis = 7; axis <= 11; ++axis) QVERIFY(!homeAxis(axis));
        const int modes[] = {5, 5, 5, 2, 12, 12, 1};
        for (int a = 0; a <= 6; ++a) {
            QCOMPARE(rig.plant().axisSnapshot(a).homeMode, modes[a]);
            QCOMPARE(rig.plant().axisSnapshot(a).homeRange, a == 4 || a == 5 ? 200.0 : 0.0);
        }
        QVERIFY(rig.runUntil(
            [] {
                for (WORD a = 0; a <= 6; ++a)
                    if (!isidle(0, a)) return false;
                return true;
            },
            20.0));
        for (WORD a = 0; a <= 6; ++a) QCOMPARE(ishomedone(0, a), short(1));
        for (WORD a = 7; a <= 11; ++a) QVERIFY(rig.plant().axisSnapshot(a).homeResult == 0);
    }
};

QTEST_MAIN(TestHoming)
#include "tst_homing.moc"
