#include "TestSupport.h"

#include "platform/LTDMC.h"
#include "platform/kzmc.h"

#include <QtTest>
#include <cmath>

// Axis motion through the motion library, on the virtual card, in machine time.
namespace {
constexpr WORD kCard = 0;
constexpr WORD kX = 0, kZ = 2, kQ = 3, kNgZ = 4;

double command(WORD axis) {
    double p = 0;
    dmc_get_position_unit(kCard, axis, &p);
    return p;
}
double encoder(WORD axis) {
    double p = 0;
    dmc_get_encoder_unit(kCard, axis, &p);
    return p;
}
long stopReason(WORD axis) {
    long r = -1;
    dmc_get_stop_reason(kCard, axis, &r);
    return r;
}
} // namespace

class TestMotion : public QObject {
    Q_OBJECT
private slots:
    void moveArrivesAfterItsProfileTime_data() {
        QTest::addColumn<double>("distance");
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("speedFactor");
        QTest::addColumn<double>("expectedS");
        // Ramps of 0.1 s: long moves cruise (d/v + ramp), short ones are triangles (2 sqrt(d/a)).
        QTest::newRow("cruise") << 100.0 << 200.0 << 1.0 << 0.6;
        QTest::newRow("half speed factor") << 100.0 << 200.0 << 0.5 << 1.1;
        QTest::newRow("triangle") << 5.0 << 200.0 << 1.0 << 0.1;
        QTest::newRow("backwards") << -15.0 << 100.0 << 1.0 << 0.25;
    }
    void moveArrivesAfterItsProfileTime() {
        QFETCH(double, distance);
        QFETCH(double, speed);
        QFETCH(double, speedFactor);
        QFETCH(double, expectedS);
        SimRig rig;
        rig.startCard();
        autospeedk = speedFactor;
        const double start = command(kX);
        const double target = start + distance;
        QCOMPARE(spmove(kCard, kX, target, speed, 1), short(0));
        rig.runFor(expectedS - 0.02);
        QCOMPARE(isidle(kCard, kX), short(0));
        QCOMPARE(get_poscmp(kCard, kX, target), short(0));
        QVERIFY(rig.runUntil([] { return isidle(kCard, kX) == 1; }, 0.05));
        autospeedk = 1.0;
        QVERIFY2(std::fabs(rig.nowS() - expectedS) <= 0.012, qPrintable(QString::number(rig.nowS())));
        QCOMPARE(get_poscmp(kCard, kX, target), short(1));
        QVERIFY(std::fabs(encoder(kX) - target) < 1e-6);
    }

    void inPositionHonoursTolerance() {
        SimRig rig;
        rig.startCard();
        spmove(kCard, kX, 10.03, 100, 1);
        QVERIFY(rig.runUntil([] { return isidle(kCard, kX) == 1; }, 2));
        QCOMPARE(get_poscmp(kCard, kX, 10.03), short(1));
        QCOMPARE(get_poscmp(kCard, kX, 10.0), short(0));
        QCOMPARE(get_poscmp2(kCard, kX, 10.0, 0.05), short(1));
        QCOMPARE(get_poscmp2(kCard, kX, 10.0, 0.02), short(0));
        // A rotation in degrees with the Q scale; 0.05 is what the program allows there.
        spmove(kCard, kQ, 90.0, 180, 1);
        rig.runFor(0.2);
        QCOMPARE(get_poscmp2(kCard, kQ, 90.0, 0.05), short(0));
        QVERIFY(rig.runUntil([] { return get_poscmp2(kCard, kQ, 90.0, 0.05) == 1; }, 2));
    }

    void scaleFollowsThePulseEquivalent() {
        SimRig rig;
        rig.startCard();
        const double mech0 = rig.plant().axisSnapshot(kQ).mech;
        spmove(kCard, kQ, command(kQ) + 30.0, 90, 1);
        QVERIFY(rig.runUntil([] { return isidle(kCard, kQ) == 1; }, 2));
        QVERIFY(std::fabs(rig.plant().axisSnapshot(kQ).mech - mech0 - 30.0) < 1e-6);
        // With the card's default equivalent a user unit is one pulse.
        SimRig raw;
        axis_enable(kCard, kX, 1);
        const double mechX = raw.plant().axisSnapshot(kX).mech;
        spmove(kCard, kX, 1000.0, 10000, 1);
        QVERIFY(raw.runUntil([] { return isidle(kCard, kX) == 1; }, 2));
        QVERIFY(std::fabs(raw.plant().axisSnapshot(kX).mech - mechX - 1.0) < 1e-6);
    }

    void homingEndsAtTheOrigin() {
        SimRig rig;
        rig.startCard();
        const double from = rig.plant().axisSnapshot(kZ).mech; // below the top
        QVERIFY(from > 0.5);
        axis_home(kCard, kZ, 5, 5, 20, 0, 0);
        rig.runFor(0.05);
        QCOMPARE(isidle(kCard, kZ), short(0));
        QCOMPARE(ishomedone(kCard, kZ), short(0));
        QVERIFY(rig.runUntil([] { return isidle(kCard, kZ) == 1; }, 10));
        QCOMPARE(ishomedone(kCard, kZ), short(1));
        QVERIFY(rig.nowS() > from / 20.0);
        QCOMPARE(command(kZ), 0.0);
        QVERIFY(dmc_axis_io_status(kCard, kZ) & 0x10);
        QVERIFY(std::fabs(rig.plant().axisSnapshot(kZ).mech) < 1e-6);
        // The encoder counts on from power-up until the program sets it.
        QVERIFY2(std::fabs(encoder(kZ) + from) < 1e-6, qPrintable(QString::number(encoder(kZ))));
        QCOMPARE(get_poscmp(kCard, kZ, 0.0), short(0));
        dmc_set_encoder(kCard, kZ, 0);
        QCOMPARE(encoder(kZ), 0.0);
        QCOMPARE(get_poscmp(kCard, kZ, 0.0), short(1));
    }

    void homingTheWrongWayReturnsFromTheLimit() {
        SimRig rig;
        rig.startCard();
        // Positive is down for Z: the search runs into the lower limit and comes back.
        QVERIFY(rig.homeAxis(kZ, 1, 5, 50));
        QVERIFY(rig.nowS() > 1.9);
        QCOMPARE(command(kZ), 0.0);
        // Without the return the search ends at the limit, not homed.
        SimRig noReturn;
        noReturn.startCard();
        dmc_set_home_el_return(kCard, kZ, 0);
        QVERIFY(!noReturn.homeAxis(kZ, 1, 5, 50));
        QVERIFY(dmc_axis_io_status(kCard, kZ) & 0x2);
    }

    void homingWithOffsetZeroesBesideTheSwitch() {
        SimRig rig;
        rig.startCard();
        axis_home(kCard, kNgZ, 2, 5, 20, 0, 2.5);
        QVERIFY(rig.runUntil([] { return isidle(kCard, kNgZ) == 1; }, 10));
        QCOMPARE(ishomedone(kCard, kNgZ), short(1));
        QCOMPARE(command(kNgZ), 0.0);
        QVERIFY(std::fabs(rig.plant().axisSnapshot(kNgZ).mech - 2.5) < 1e-6);
    }

    // Each mode homes against its own switch; the wrong one fails or ends elsewhere.
    void homingModesPickTheirSwitch() {
        struct Run {
            SimRig rig;
            Run() { rig.startCard(); }
            bool home(WORD axis, WORD mode, double further = 0.0) {
                axis_home(kCard, axis, mode, 5, 30, 0, further);
                rig.runUntil([&] { return isidle(kCard, axis) == 1; }, 40);
                return ishomedone(kCard, axis) == 1;
            }
        };
        {
            Run q; // Q has an origin switch but no index pulse and no limits
            QVERIFY(q.home(kQ, 2));
            QVERIFY(!q.home(kQ, 5));
            QCOMPARE(stopReason(kQ), long(sim::StopHomeFailed));
            QVERIFY(!q.home(kQ, 10));
            QCOMPARE(stopReason(kQ), long(sim::StopHomeFailed));
        }
        {
            Run z; // the limit mode homes against the upper limit, 1 mm above the origin
            QVERIFY(z.home(kZ, 5));
            QVERIFY(std::fabs(z.rig.plant().axisSnapshot(kZ).mech) < 1e-6);
            QVERIFY(z.home(kZ, 10));
            QVERIFY(std::fabs(z.rig.plant().axisSnapshot(kZ).mech + 1.0) < 1e-6);
            QCOMPARE(command(kZ), 0.0);
            QVERIFY(!(dmc_axis_io_status(kCard, kZ) & 0x10));
            QVERIFY(dmc_axis_io_status(kCard, kZ) & 0x4);
        }
        {
            Run ng; // mode 12 searches only as far as its further value
            spmove(kCard, kNgZ, 30.0, 50.0, 1);
            QVERIFY(ng.rig.runUntil([] { return isidle(kCard, kNgZ) == 1; }, 5));
            const double from = ng.rig.plant().axisSnapshot(kNgZ).mech;
            QVERIFY(!ng.home(kNgZ, 12, 5.0));
            QCOMPARE(stopReason(kNgZ), long(sim::StopHomeFailed));
            QVERIFY(std::fabs(ng.rig.plant().axisSnapshot(kNgZ).mech - (from - 5.0)) < 0.5);
            QVERIFY(!ng.home(kNgZ, 12, 0.0));
            QVERIFY(ng.home(kNgZ, 12, 200.0));
            QVERIFY(std::fabs(ng.rig.plant().axisSnapshot(kNgZ).mech) < 1e-6);
        }
        {
            Run bad; // a mode the card does not know is refused
            QCOMPARE(int(dmc_set_homemode(kCard, kX, 0, 1.0, 7, 0)), 0);
            QVERIFY(dmc_home_move(kCard, kX) != 0);
            bad.rig.runFor(0.1);
            QCOMPARE(isidle(kCard, kX), short(1));
        }
    }

    void homingFaults_data() {
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>(
            "fault"); // 0 servo alarm on the way, 1 dead origin switch, 2 hangs, 3 alarm before
        QTest::newRow("servo alarm on the way") << int(kZ) << 0;
        QTest::newRow("origin not found") << int(kZ) << 1;
        QTest::newRow("origin not found, rotary") << int(kQ) << 1;
        QTest::newRow("never reports") << int(kZ) << 2;
        QTest::newRow("servo alarm at start") << int(kZ) << 3;
    }
    void homingFaults() {
        QFETCH(int, axis);
        QFETCH(int, fault);
        const WORD a = WORD(axis);
        SimRig rig;
        rig.startCard();
        sim::Plant& plant = rig.plant();
        if (fault == 1) plant.setHomingFault(axis, sim::HomingFault::Fails);
        if (fault == 2) plant.setHomingFault(axis, sim::HomingFault::Hangs);
        if (fault == 3) plant.setServoAlarm(axis, true);
        axis_home(kCard, a, 5, 5, 30, 0, 0);
        if (fault == 0) {
            rig.runFor(0.1);
            QCOMPARE(isidle(kCard, a), short(0));
            plant.setServoAlarm(axis, true);
        }
        QVERIFY(rig.runUntil([&] { return isidle(kCard, a) == 1; }, 40));
        rig.runFor(1.0);
        QCOMPARE(ishomedone(kCard, a), short(0));
        if (fault == 0 || fault == 3) QVERIFY(dmc_axis_io_status(kCard, a) & 0x1);
        if (fault == 1) {
            // The search went the whole way before giving up.
            QVERIFY(rig.nowS() > 2.0);
            QCOMPARE(stopReason(a), long(axis == kQ ? sim::StopHomeFailed : sim::StopLimitPos));
        }
        if (fault == 2) QVERIFY(std::fabs(plant.axisSnapshot(axis).mech) < 1e-6);
    }

    void slowHomingTakesItsTime() {
        SimRig rig;
        rig.startCard();
        rig.plant().setHomingMinDurationUs(kZ, 9900000);
        axis_home(kCard, kZ, 5, 5, 50, 0, 0);
        rig.runFor(9.85);
        QCOMPARE(isidle(kCard, kZ), short(0));
        QCOMPARE(ishomedone(kCard, kZ), short(0));
        QVERIFY(rig.runUntil([] { return ishomedone(kCard, kZ) == 1; }, 0.1));
        QVERIFY(std::fabs(rig.nowS() - 9.9) < 0.002);
    }

    void limitsStopTheAxis_data() {
        QTest::addColumn<int>("dir");
        QTest::addColumn<uint>("bit");
        QTest::addColumn<long>("reason");
        QTest::newRow("positive") << 1 << 0x2u << long(sim::StopLimitPos);
        QTest::newRow("negative") << 0 << 0x4u << long(sim::StopLimitNeg);
    }
    void limitsStopTheAxis() {
        QFETCH(int, dir);
        QFETCH(uint, bit);
        QFETCH(long, reason);
        SimRig rig;
        rig.startCard();
        axis_jog(kCard, kX, 300, WORD(dir));
        rig.runFor(0.5);
        QCOMPARE(isidle(kCard, kX), short(0));
        QCOMPARE(dmc_axis_io_status(kCard, kX) & 0x6u, 0u);
        QVERIFY(rig.runUntil([] { return isidle(kCard, kX) == 1; }, 5));
        QCOMPARE(dmc_axis_io_status(kCard, kX) & 0x6u, bit);
        QCOMPARE(stopReason(kX), reason);
        const double at = command(kX);
        // Further on is refused; back off is allowed and frees the switch.
        QVERIFY(axis_jog(kCard, kX, 50, WORD(dir)) != 0);
        rig.runFor(0.2);
        QCOMPARE(command(kX), at);
        axis_jog(kCard, kX, 50, WORD(!dir));
        rig.runFor(0.3);
        dmc_stop(kCard, kX, 0);
        QVERIFY(rig.runUntil([] { return isidle(kCard, kX) == 1; }, 1));
        QCOMPARE(dmc_axis_io_status(kCard, kX) & 0x6u, 0u);
    }

    void forcedLimitStopsAMove() {
        SimRig rig;
        rig.startCard();
        spmove(kCard, kX, 300, 100, 1);
        rig.runFor(0.3);
        rig.plant().forceLimit(kX, 1, true);
        rig.runFor(0.002);
        QCOMPARE(isidle(kCard, kX), short(1));
        QCOMPARE(stopReason(kX), long(sim::StopLimitPos));
        QVERIFY(dmc_axis_io_status(kCard, kX) & 0x2);
        QVERIFY(spmove(kCard, kX, 400, 100, 1) != 0);
        rig.plant().forceLimit(kX, 1, false);
        QCOMPARE(spmove(kCard, kX, 400, 100, 1), short(0));
    }

    void stopsDecelerateOrCut() {
        SimRig rig;
        rig.startCard();
        spmove(kCard, kX, 400, 200, 1);
        spmove(kCard, kNgZ, 75, 60, 1);
        rig.runFor(0.5);
        const double before = command(kX);
        dmc_clear_stop_reason(kCard, kX);
        dmc_stop(kCard, kX, 0);
        rig.runFor(0.05);
        QCOMPARE(isidle(kCard, kX), short(0));
        QVERIFY(rig.runUntil([] { return isidle(kCard, kX) == 1; }, 0.2));
        // 200 mm/s to standstill in 0.1 s: 10 mm.
        QVERIFY2(std::fabs(command(kX) - before - 10.0) < 0.5,
                 qPrintable(QString::number(command(kX) - before)));
        QCOMPARE(stopReason(kX), long(sim::StopDecel));
        QCOMPARE(isidle(kCard, kNgZ), short(0));
        dmc_stop(kCard, kNgZ, 1);
        QCOMPARE(isidle(kCard, kNgZ), short(1));
        QCOMPARE(stopReason(kNgZ), long(sim::StopImmediate));
    }

    void emergencyStopHaltsEveryAxis() {
        SimRig rig;
        rig.startCard();
        for (WORD a = 0; a < 8; ++a) axis_jog(kCard, a, 20, 1);
        rig.runFor(0.2);
        for (WORD a = 0; a < 8; ++a) QCOMPARE(isidle(kCard, a), short(0));
        dmc_emg_stop(kCard);
        for (WORD a = 0; a < 8; ++a) {
            QCOMPARE(isidle(kCard, a), short(1));
            QCOMPARE(stopReason(a), long(sim::StopEmergency));
        }
        QCOMPARE(rig.card().calls(sim::VirtualCard::CallEmgStop), uint64_t(1));
    }

    void servoAlarmStopsAndRefuses() {
        SimRig rig;
        rig.startCard();
        spmove(kCard, kX, 300, 100, 1);
        rig.runFor(0.3);
        rig.plant().setServoAlarm(kX, true);
        QCOMPARE(isidle(kCard, kX), short(1));
        QCOMPARE(dmc_axis_io_status(kCard, kX) & 0x1u, 1u);
        QVERIFY(spmove(kCard, kX, 300, 100, 1) != 0);
        rig.runFor(0.5);
        QCOMPARE(dmc_axis_io_status(kCard, kX) & 0x1u, 1u);
        rig.plant().setServoAlarm(kX, false);
        QCOMPARE(dmc_axis_io_status(kCard, kX) & 0x1u, 0u);
        QCOMPARE(spmove(kCard, kX, 300, 100, 1), short(0));
        QVERIFY(rig.runUntil([] { return get_poscmp(kCard, kX, 300) == 1; }, 5));
    }

    void servoEnablePolarityPerDrive() {
        SimRig rig;
        // Before start-up the active-low drives are off.
        for (WORD a = 0; a < 3; ++a) QVERIFY(!rig.plant().axisSnapshot(a).enabled);
        QVERIFY(spmove(kCard, kX, 10, 100, 1) != 0);
        rig.startCard();
        for (WORD a = 0; a < 8; ++a) {
            QVERIFY2(rig.plant().axisSnapshot(a).enabled, qPrintable(QString::number(a)));
            const short pin = dmc_read_sevon_pin(kCard, a);
            // What the program reads as "enabled".
            QVERIFY(a < 3 ? pin == 0 : pin != 0);
        }
        // Switching a drive off stops it and refuses moves.
        axis_jog(kCard, kQ, 90, 1);
        rig.runFor(0.1);
        axis_enable(kCard, kQ, 1); // axes 3..7 are off at the active level
        QVERIFY(!rig.plant().axisSnapshot(kQ).enabled);
        QCOMPARE(isidle(kCard, kQ), short(1));
        QCOMPARE(stopReason(kQ), long(sim::StopDisabled));
        QVERIFY(spmove(kCard, kQ, 0, 90, 1) != 0);
        axis_enable(kCard, kX, 0);
        QVERIFY(spmove(kCard, kX, 10, 100, 1) != 0);
    }

    void waitIdleBlocksThroughTheClock() {
        SimRig rig;
        rig.startCard();
        int scans = 0;
        int64_t waitedUs = -1;
        bool started = false;
        rig.clock.addPeriodic("scan", 5000, [&] { ++scans; });
        rig.clock.addPeriodic("cycle", 5000, [&] {
            if (started) return;
            started = true;
            const int64_t t0 = clk::nowUs();
            spmove(kCard, kX, command(kX) + 100, 200, 1);
            waitidle(kCard, kX);
            waitedUs = clk::nowUs() - t0;
        });
        rig.runFor(1.0);
        QVERIFY2(std::abs(waitedUs - 600000) <= 12000, qPrintable(QString::number(waitedUs)));
        // The scan kept its 5 ms period while the cycle waited.
        QVERIFY2(scans >= 199 && scans <= 201, qPrintable(QString::number(scans)));
    }

    void withoutACardNothingMoves() {
        Lockstep clock;
        clock.install();
        QCOMPARE(dmc_board_init(), short(0));
        QVERIFY(spmove(kCard, kX, 10, 100, 1) != 0);
        QCOMPARE(isidle(kCard, kX), short(1));
        QCOMPARE(waitidle(kCard, kX), short(1));
        QCOMPARE(clock.nowUs(), int64_t(0));
    }
};

QTEST_MAIN(TestMotion)
#include "tst_motion.moc"
