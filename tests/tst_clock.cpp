#include "sim/Lockstep.h"

#include <QtTest>

namespace {
// A plant with one slide that moves a step per millisecond towards its target and
// reports settled a while after it arrives. It records everything it does.
struct Slide {
    int64_t now = 0;
    int level = 0, target = 0;
    int64_t settleAt = -1;
    int steps = 0;
    QStringList* log = nullptr;

    void step(int64_t t) {
        now = t;
        ++steps;
        if (level < target) {
            ++level;
            *log << QString("moved to %1 at %2").arg(level).arg(t);
            if (level == target) settleAt = t + 7300;
        }
        if (settleAt >= 0 && t >= settleAt) {
            settleAt = -1;
            *log << QString("settled at %1").arg(t);
        }
    }
    int64_t nextStep() const { return level != target ? 0 : settleAt >= 0 ? settleAt : INT64_MAX; }
};

// The program commands the slide from passes between and on the plant's steps, from
// a timed event due on a step, from inside a pass that sleeps, and from outside between runs.
QStringList slideRun(bool rest, int* plantSteps) {
    QStringList log;
    Lockstep clock;
    clock.install();
    Slide slide;
    slide.log = &log;
    clock.setPlant([&](int64_t t) { slide.step(t); }, 1000);
    if (rest) clock.setPlantRest([&] { return slide.nextStep(); }, [&](int64_t t) { slide.now = t; });
    int between = 0, onGrid = 0;
    clock.addPeriodic(
        "between", 5000,
        [&] {
            log << QString("between at %1 sees plant time %2, level %3")
                       .arg(clk::nowUs())
                       .arg(slide.now)
                       .arg(slide.level);
            ++between;
            if (between == 3) slide.target += 4;
            if (between == 6) clk::callAfterUs(40000 - clk::nowUs(), [&] { slide.target += 2; });
            if (between == 15) {
                slide.target += 1;
                clk::sleepUs(3000);
                log << QString("woke at %1 sees plant time %2").arg(clk::nowUs()).arg(slide.now);
                slide.target += 1;
            }
        },
        2500);
    clock.addPeriodic("on grid", 10000, [&] {
        log << QString("on grid at %1 sees plant time %2").arg(clk::nowUs()).arg(slide.now);
        if (++onGrid == 5) slide.target += 3;
    });
    clock.runFor(0.2);
    slide.target += 2;
    clock.runFor(0.05);
    log << QString("end at %1, plant time %2").arg(clk::nowUs()).arg(slide.now);
    *plantSteps = slide.steps;
    return log;
}
} // namespace

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
    // A plant that may rest moves, settles and shows its time exactly as one stepped every
    // millisecond, whoever touches it; it is only stepped less often.
    void restingPlantDoesWhatAPlantSteppedEveryTimeDoes() {
        int everySteps = 0, restingSteps = 0;
        const QStringList every = slideRun(false, &everySteps);
        const QStringList resting = slideRun(true, &restingSteps);
        QCOMPARE(resting, every);
        QVERIFY(every.contains("moved to 4 at 16000")); // commanded at 12500
        QVERIFY(every.contains("moved to 5 at 40000")); // the event at 40000 comes before the plant
        QVERIFY(every.contains("moved to 9 at 44000"));
        QVERIFY2(restingSteps * 2 < everySteps,
                 qPrintable(QString("%1 of %2").arg(restingSteps).arg(everySteps)));
    }
};

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
