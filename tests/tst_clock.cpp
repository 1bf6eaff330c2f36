#include "sim/Lockstep.h"

#include <QtTest>

// The lockstep clock: passes keep their periods while one of them blocks.
class TestClock : public QObject {
    Q_OBJECT
private slots:
    void blockingPassLetsOthersRun() {
        Lockstep clock;
        clock.install();
        int fast = 0, slow = 0;
        int64_t blockedReturnedAt = -1;
        clock.addPeriodic("fast", 5000, [&] { ++fast; });
        clock.addPeriodic("slow", 5000, [&] {
            if (++slow == 1) {
                clk::sleepUs(100000);
                blockedReturnedAt = clk::nowUs();
            }
        });
        clock.runFor(0.1);
        QCOMPARE(blockedReturnedAt, int64_t(100000));
        QVERIFY2(fast >= 20 && fast <= 21, qPrintable(QString::number(fast)));
        QCOMPARE(slow, 1);
        clock.runFor(0.1);
        QVERIFY(slow >= 20);
    }
    // At one machine time: the timed events in the order they were scheduled, then the
    // plant, then the passes in the order they were added.
    void eventsDueTogetherRunInTheDocumentedOrder() {
        Lockstep clock;
        clock.install();
        QStringList seen;
        const auto note = [&](const QString& what) {
            if (clk::nowUs() == 10000) seen << what;
        };
        clock.addPeriodic("first pass", 10000, [&] { note("first pass"); });
        clock.addPeriodic("second pass", 5000, [&] { note("second pass"); });
        clock.setPlant([&](int64_t) { note("plant"); }, 1000);
        clock.callAt(10000, [&] { note("event 1"); });
        clock.callAt(10000, [&] { note("event 2"); });
        clock.runFor(0.02);
        QCOMPARE(seen, QStringList({"event 1", "event 2", "plant", "first pass", "second pass"}));
    }
    void timedEventsRunInOrder() {
        Lockstep clock;
        clock.install();
        QStringList seen;
        clk::callAfterUs(60000, [&] { seen << QString("b@%1").arg(clk::nowUs()); });
        clk::callAfterUs(10000, [&] { seen << QString("a@%1").arg(clk::nowUs()); });
        QVERIFY(clock.runUntil([&] { return seen.size() == 2; }, 1.0));
        QCOMPARE(seen, QStringList({"a@10000", "b@60000"}));
        QCOMPARE(clock.wallMs(), Lockstep::kDefaultStartWallMs + 60);
    }
};

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
