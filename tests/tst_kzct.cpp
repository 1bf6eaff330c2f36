// The machine function library: timers, delay, tray cells, outputs, cylinders and
// the alarm list, driven the way the program drives them, in virtual time.
#include "TestSupport.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "platform/kzct_internal.h"
#include "sim/Lockstep.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include <cmath>
#include <thread>

namespace {
QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

struct Point {
    double x, y;
};

Point cell(int n, int pathMode, int rows = 3, int cols = 4) {
    Point p{};
    getlpxy(100.0, 50.0, n, rows, cols, 10.0, -5.0, &p.x, &p.y, pathMode);
    return p;
}

// The program's follow-up of the nozzle lift (single valve, out 34; sensors 33 up,
// 34 down) and the buffer stopper (valves 37 up / 38 down, sensors alike) every
// 10 ms, and their error checks every 100 ms.
struct CylinderTicks {
    explicit CylinderTicks(SimRig& rig, double nozzleT2 = 0.0) {
        rig.clock.addPeriodic("cylinders", 10000, [nozzleT2] {
            single1done(0, 33, 34, 34, 0, nozzleT2, 0, 0, 0, 0, 0);
            double1done(0, 37, 38, 37, 38, 0, 0, 0.1, 0.1, 0, 0, 3);
        });
        rig.clock.addPeriodic("errors", 100000, [] {
            single2err(33, 34, 34, 5000, 0);
            double2err(37, 38, 37, 38, 5000, 3);
        });
    }
};

void nozzle(bool down) {
    singleout(0, 2, 1, 2, down ? 1 : 0, 0);
    resetqigandone(0);
}

bool nozzleDone() {
    return single1done(1, 33, 34, 34, 0, 0, 0, 0, 0, 0, 0) == 1;
}
} // namespace

class TestKzct : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QDir(Paths::root()).removeRecursively();
        QVERIFY(Paths::ensureFolders());
        kzct::resetLibraryState();
    }

    // ---- timers and delay ----
    void usToutAnswersOnceTheTimeHasRunOut() {
        Lockstep clock;
        clock.install();
        kzct::resetLibraryState();
        QCOMPARE(usTout(7), 1); // never started: counts as run out
        usTstart(7, 1000000);
        QCOMPARE(usTout(7), 0);
        clk::sleepUs(999999);
        QCOMPARE(usTout(7), 0);
        clk::sleepUs(1);
        QCOMPARE(usTout(7), 1);
        clk::sleepUs(5000000);
        QCOMPARE(usTout(7), 1); // stays out until restarted
        usTstart(7, 2.5);       // a fraction of a microsecond never shortens the time
        clk::sleepUs(2);
        QCOMPARE(usTout(7), 0);
        clk::sleepUs(1);
        QCOMPARE(usTout(7), 1);

        usTstart(0, 100);
        usTstart(1, 200);
        clk::sleepUs(150);
        QCOMPARE(usTout(0), 1);
        QCOMPARE(usTout(1), 0);
        usTstart(kTimerCount - 1, 10);
        QCOMPARE(usTout(kTimerCount - 1), 0);
        QCOMPARE(usTout(-1), 1);
        QCOMPARE(usTout(kTimerCount), 1);
    }

    void aStepMachinePollingATimerWaitsExactlyItsTime() {
        // As the cycle does: start a timer in one pass, test it in the following passes.
        Lockstep clock;
        clock.install();
        int step = 0;
        int64_t startedAt = -1, doneAt = -1;
        clock.addPeriodic("cycle", 5000, [&] {
            if (step == 0) {
                usTstart(2, 300000);
                startedAt = clk::nowUs();
                step = 1;
            } else if (step == 1 && usTout(2)) {
                doneAt = clk::nowUs();
                step = 2;
            }
        });
        QVERIFY(clock.runUntil([&] { return step == 2; }, 1.0));
        QCOMPARE(doneAt - startedAt, int64_t(300000));
    }

    void delayWaitsItsTimeWhileOtherPassesRun() {
        Lockstep clock;
        clock.install();
        int fast = 0;
        clock.addPeriodic("fast scan", 5000, [&] { ++fast; });
        int64_t t0 = clk::nowUs();
        delay(200000, nullptr);
        QCOMPARE(clk::nowUs() - t0, int64_t(200000));
        QVERIFY2(fast >= 39 && fast <= 41, qPrintable(QString::number(fast)));

        volatile unsigned char stop = 0;
        clk::callAfterUs(30000, [&] { stop = 1; });
        t0 = clk::nowUs();
        delay(5000000, &stop);
        const int64_t waited = clk::nowUs() - t0;
        QVERIFY2(waited >= 30000 && waited <= 31000, qPrintable(QString::number(waited)));

        t0 = clk::nowUs();
        delay(1000000, &stop); // already stopped
        QCOMPARE(clk::nowUs(), t0);
        stop = 0;
        delay(0, &stop);
        delay(-5, nullptr);
        QCOMPARE(clk::nowUs(), t0);
    }

    // ---- tray cells ----
    void getlpxyNumbersCellsRowByRow() {
        // The program passes the column pitch negated: columns run towards -X.
        QCOMPARE(cell(1, 0).x, 100.0);
        QCOMPARE(cell(1, 0).y, 50.0);
        QCOMPARE(cell(2, 0).x, 95.0);
        QCOMPARE(cell(4, 0).x, 85.0);
        QCOMPARE(cell(4, 0).y, 50.0);
        QCOMPARE(cell(5, 0).x, 100.0); // next row starts at the first column again
        QCOMPARE(cell(5, 0).y, 60.0);
        QCOMPARE(cell(12, 0).x, 85.0);
        QCOMPARE(cell(12, 0).y, 70.0);
    }

    void getlpxyRunsEverySecondRowBackwardsInPathMode1() {
        QCOMPARE(cell(4, 1).x, 85.0);
        QCOMPARE(cell(5, 1).x, 85.0); // row 2 starts under the end of row 1
        QCOMPARE(cell(5, 1).y, 60.0);
        QCOMPARE(cell(8, 1).x, 100.0);
        QCOMPARE(cell(9, 1).x, 100.0); // row 3 forwards again
        QCOMPARE(cell(9, 1).y, 70.0);
        // Every step of the serpentine is one pitch; all cells are different.
        QSet<QString> seen;
        for (int n = 1; n <= 12; ++n) {
            const Point p = cell(n, 1);
            seen.insert(QString("%1/%2").arg(p.x).arg(p.y));
            if (n > 1) {
                const Point q = cell(n - 1, 1);
                const double step = std::abs(p.x - q.x) + std::abs(p.y - q.y);
                QVERIFY2(step == 5.0 || step == 10.0, qPrintable(QString("cell %1").arg(n)));
            }
        }
        QCOMPARE(seen.size(), 12);
    }

    void getlpxyGridCentreAndCellsOutsideTheTray() {
        // The 9-point calibration grid: point 5 is the centre.
        double x = 0, y = 0;
        getlpxy(10 + 1, 20 - 1, 5, 3, 3, 1.0, -1.0, &x, &y, 0);
        QCOMPARE(x, 10.0);
        QCOMPARE(y, 20.0);
        // Outside 1..rows*cols: the nearest cell of the tray.
        QCOMPARE(cell(0, 0).x, cell(1, 0).x);
        QCOMPARE(cell(-3, 0).y, cell(1, 0).y);
        QCOMPARE(cell(13, 0).x, cell(12, 0).x);
        QCOMPARE(cell(13, 0).y, cell(12, 0).y);
        QCOMPARE(cell(400, 1).x, cell(12, 1).x);
        const Point empty = cell(3, 0, 0, 4);
        QCOMPARE(empty.x, 100.0);
        QCOMPARE(empty.y, 50.0);
    }

    // ---- outputs ----
    void outputsDriveTheActiveLowCardLevels() {
        SimRig rig;
        rig.startCard();
        singleout(0, 0, 0, 4, 1, 0);
        QVERIFY(rig.plant().output(4));
        QCOMPARE(dmc_read_outbit(0, 4), short(0));
        singleout(0, 0, 0, 4, 0, 0);
        QVERIFY(!rig.plant().output(4));
        singleout(0, 2, 1, 0, 1, 0); // nozzle vacuum, CAN node 2 bit 0
        QVERIFY(rig.plant().output(32));
        QVERIFY(!rig.plant().output(0));
        doubleout(0, 1, 2, 3, 2, 4, 0);
        QVERIFY(rig.plant().output(35));
        QVERIFY(!rig.plant().output(36));
        doubleout(0, 1, 2, 3, 2, 4, 1);
        QVERIFY(!rig.plant().output(35));
        QVERIFY(rig.plant().output(36));

        volatile bool b = false;
        volatile unsigned char u = 0;
        invbool(&b);
        invbool(&u);
        QVERIFY(b);
        QCOMPARE(int(u), 1);
        invbool(&u);
        QCOMPARE(int(u), 0);
    }

    // ---- cylinders ----
    void cylinderIsDoneWhenItsSensorComesOn() {
        SimRig rig;
        rig.startCard();
        kzct::resetLibraryState();
        CylinderTicks ticks(rig);
        rig.runFor(0.2);
        QVERIFY(nozzleDone()); // up since power-up
        nozzle(true);
        QVERIFY(!nozzleDone()); // a new command is not done before the cylinder moved
        const double t0 = rig.nowS();
        int64_t sensorAt = -1;
        rig.clock.addPeriodic("watch", 1000, [&] {
            if (sensorAt < 0 && rig.plant().input(34)) sensorAt = rig.clock.nowUs();
        });
        QVERIFY(rig.runUntil(nozzleDone, 1.0));
        QVERIFY(rig.plant().input(34) && !rig.plant().input(33));
        const double travel = rig.nowS() - t0;
        QVERIFY2(travel >= 0.08 && travel <= 0.17, qPrintable(QString::number(travel)));
        QVERIFY(rig.clock.nowUs() - sensorAt <= 11000);

        nozzle(false);
        QVERIFY(!nozzleDone());
        QVERIFY(rig.runUntil(nozzleDone, 1.0));
        QVERIFY(rig.plant().input(33));

        // Commanding the position it already has: done at the next follow-up.
        nozzle(false);
        QVERIFY(!nozzleDone());
        const int64_t t1 = rig.clock.nowUs();
        QVERIFY(rig.runUntil(nozzleDone, 1.0));
        QVERIFY(rig.clock.nowUs() - t1 <= 10000);
    }

    // The cycle commands the nozzle and forgets its done state exactly between the
    // 10 ms follow-up's reading of valve and sensors and its decision, in both
    // directions and for a double cylinder: the stale reading must not report the
    // old position as reached.
    void aCommandBetweenReadingAndDecidingIsNotReportedDone() {
        SimRig rig;
        rig.startCard();
        kzct::resetLibraryState();
        CylinderTicks ticks(rig);
        rig.runFor(0.2);
        struct Case {
            int k;
            std::function<void()> command;
            std::function<bool()> done;
            int sensor;
        };
        const auto stopper = [](int state) {
            doubleout(0, 1, 2, 5, 2, 6, WORD(state));
            resetqigandone(3);
        };
        const auto stopperDone = [] { return double1done(1, 37, 38, 37, 38, 0, 0, 0.1, 0.1, 0, 0, 3) == 1; };
        const Case cases[] = {
            {0, [] { nozzle(true); }, nozzleDone, 34},
            {0, [] { nozzle(false); }, nozzleDone, 33},
            {3, [&] { stopper(1); }, stopperDone, 38},
            {3, [&] { stopper(0); }, stopperDone, 37},
        };
        stopper(0); // both valves are off at power-up: no position commanded yet
        for (const Case& c : cases) {
            QVERIFY(rig.runUntil(c.done, 1.0)); // the previous position is reached
            bool fired = false;
            kzct::setCylinderReadHook([&](int k) {
                if (k != c.k || fired) return;
                fired = true;
                c.command();
            });
            rig.runFor(0.011); // one follow-up, the command inside it
            kzct::setCylinderReadHook(nullptr);
            QVERIFY(fired);
            QVERIFY2(!c.done(), qPrintable(QString("cylinder %1 to sensor %2").arg(c.k).arg(c.sensor)));
            QVERIFY(!rig.plant().input(c.sensor));
            QVERIFY(rig.runUntil(c.done, 1.0));
            QVERIFY(rig.plant().input(c.sensor));
        }
    }

    void settleAndTravelTimesDelayDone() {
        SimRig rig;
        rig.startCard();
        kzct::resetLibraryState();
        CylinderTicks ticks(rig, 0.2); // nozzle down must be seen for 0.2 s
        rig.runFor(0.1);
        int64_t sensorAt = -1;
        rig.clock.addPeriodic("watch", 1000, [&] {
            if (sensorAt < 0 && rig.plant().input(34)) sensorAt = rig.clock.nowUs();
        });
        nozzle(true);
        QVERIFY(rig.runUntil(nozzleDone, 2.0));
        const int64_t settled = rig.clock.nowUs() - sensorAt;
        QVERIFY2(settled >= 200000 && settled <= 211000, qPrintable(QString::number(settled)));

        // The stopper has sensors and a travel time of 0.1 s: at least that after the command.
        const int64_t t0 = rig.clock.nowUs();
        doubleout(0, 1, 2, 6, 2, 5, 0); // valve 38 (down) on, 37 off
        resetqigandone(3);
        QVERIFY(
            rig.runUntil([] { return double1done(1, 37, 38, 37, 38, 0, 0, 0.1, 0.1, 0, 0, 3) == 1; }, 1.0));
        QVERIFY(rig.plant().input(38));
        QVERIFY(rig.clock.nowUs() - t0 >= 100000);

        // A position without a sensor counts as reached after its travel time alone.
        rig.clock.addPeriodic("sensorless", 10000,
                              [] { single1done(0, -1, -1, 40, 0, 0, 0.3, 0.5, 0, 0, 10); });
        rig.runFor(0.05);
        const int64_t t1 = rig.clock.nowUs();
        singleout(0, 2, 1, 8, 1, 0); // output 40 on: position B
        resetqigandone(10);
        QVERIFY(rig.runUntil([] { return single1done(1, -1, -1, 40, 0, 0, 0.3, 0.5, 0, 0, 10) == 1; }, 2.0));
        const int64_t took = rig.clock.nowUs() - t1;
        QVERIFY2(took >= 500000 && took <= 510000, qPrintable(QString::number(took)));
    }

    void aRepeatedCommandIsCheckedAgainWithoutItsTravelTime() {
        SimRig rig;
        rig.startCard();
        kzct::resetLibraryState();
        CylinderTicks ticks(rig);
        const auto stopperDone = [] { return double1done(1, 37, 38, 37, 38, 0, 0, 0.1, 0.1, 0, 0, 3) == 1; };
        rig.runFor(0.05);
        doubleout(0, 1, 2, 6, 2, 5, 0); // down
        resetqigandone(3);
        QVERIFY(rig.runUntil(stopperDone, 1.0));
        rig.runFor(0.5);

        // The same command again: forgotten, then done at the next follow-up.
        int64_t t0 = rig.clock.nowUs();
        doubleout(0, 1, 2, 6, 2, 5, 0);
        resetqigandone(3);
        QVERIFY(!stopperDone());
        QVERIFY(rig.runUntil(stopperDone, 1.0));
        QVERIFY2(rig.clock.nowUs() - t0 <= 10000, qPrintable(QString::number(rig.clock.nowUs() - t0)));

        // ... but not when the cylinder has left its position meanwhile.
        rig.plant().setCylinderSensorBroken(3, 1, true);
        doubleout(0, 1, 2, 6, 2, 5, 0);
        resetqigandone(3);
        rig.runFor(0.3);
        QVERIFY(!stopperDone());
        rig.plant().setCylinderSensorBroken(3, 1, false);
        QVERIFY(rig.runUntil(stopperDone, 0.05));

        // A real change still takes the travel time, also when commanded twice.
        t0 = rig.clock.nowUs();
        doubleout(0, 1, 2, 5, 2, 6, 0); // up
        resetqigandone(3);
        rig.runFor(0.02);
        doubleout(0, 1, 2, 5, 2, 6, 0);
        resetqigandone(3);
        QVERIFY(rig.runUntil(stopperDone, 1.0));
        QVERIFY(rig.plant().input(37));
        QVERIFY2(rig.clock.nowUs() - t0 >= 100000, qPrintable(QString::number(rig.clock.nowUs() - t0)));
    }

    void aCylinderThatMissesItsPositionRaisesItsErrorAfterTheLimit() {
        SimRig rig;
        rig.startCard();
        kzct::resetLibraryState();
        CylinderTicks ticks(rig);
        rig.runFor(0.5);
        QVERIFY(!eerv[0] && !eerv[3]);
        rig.plant().setCylinderStuck(0, true);
        nozzle(true);
        const int64_t t0 = rig.clock.nowUs();
        rig.runFor(4.85);
        QVERIFY(!eerv[0]);
        QVERIFY(!nozzleDone());
        QVERIFY(rig.runUntil([] { return eerv[0]; }, 1.0));
        QVERIFY(rig.clock.nowUs() - t0 >= 5000000);
        QVERIFY(!eerv[3]); // only that cylinder

        // Freed, it reaches the position and the error goes away by itself.
        rig.plant().setCylinderStuck(0, false);
        QVERIFY(rig.runUntil([] { return !eerv[0]; }, 1.0));
        QVERIFY(nozzleDone());

        // A broken sensor looks the same to the program.
        nozzle(false);
        QVERIFY(rig.runUntil(nozzleDone, 1.0));
        rig.plant().setCylinderSensorBroken(3, 1, true);
        doubleout(0, 1, 2, 6, 2, 5, 0);
        resetqigandone(3);
        QVERIFY(rig.runUntil([] { return eerv[3]; }, 6.0));
        QVERIFY(!double1done(1, 37, 38, 37, 38, 0, 0, 0, 0, 0, 0, 3));
        // Commanding the other position clears it; that one is reached.
        doubleout(0, 1, 2, 5, 2, 6, 0);
        resetqigandone(3);
        QVERIFY(rig.runUntil([] { return !eerv[3]; }, 0.2));
        QVERIFY(rig.runUntil([] { return double1done(1, 37, 38, 37, 38, 0, 0, 0, 0, 0, 0, 3) == 1; }, 1.0));
    }

    void doubleValvesBothOffKeepTheLastCommand() {
        SimRig rig;
        rig.startCard();
        kzct::resetLibraryState();
        CylinderTicks ticks(rig);
        // Both valves off from power-up: nothing commanded, nothing done, no error.
        rig.runFor(6.0);
        QVERIFY(!double1done(1, 37, 38, 37, 38, 0, 0, 0, 0, 0, 0, 3));
        QVERIFY(!eerv[3]);
        doubleout(0, 1, 2, 6, 2, 5, 0);
        resetqigandone(3);
        QVERIFY(rig.runUntil([] { return double1done(1, 37, 38, 37, 38, 0, 0, 0, 0, 0, 0, 3) == 1; }, 1.0));
        singleout(0, 2, 1, 6, 0, 0); // valve off again: the bistable valve holds the position
        rig.runFor(6.0);
        QVERIFY(double1done(1, 37, 38, 37, 38, 0, 0, 0, 0, 0, 0, 3));
        QVERIFY(!eerv[3]);
    }

    // ---- alarm list ----
    void currentViewShowsActiveMessagesAndHistoryGetsEachRiseOnce() {
        Lockstep clock;
        clock.install();
        QTextBrowser history, current;
        auto tick = [&](bool door, bool vacuum, bool running) {
            adderrshow(&history, &current, "安全门打开", door, 0, 2);
            adderrshow(&history, &current, "自动运行中。", running, 51, 3);
            adderrshow(&history, &current, "已停止。", !running, 52, 3);
            adderrshow(&history, &current, "吸笔真空报警", vacuum, 72, 2);
            adderrshow(&history, &current, "", false, 63, 2);
        };
        tick(true, false, false);
        QCOMPARE(current.toPlainText(), QString("安全门打开\n已停止。"));
        QCOMPARE(current.document()->firstBlock().begin().fragment().charFormat().foreground().color(),
                 QColor(200, 0, 0));
        QCOMPARE(current.document()->lastBlock().begin().fragment().charFormat().foreground().color(),
                 QColor(0, 70, 200));
        const int revision = current.document()->revision();
        for (int i = 0; i < 100; ++i) {
            clk::sleepUs(100000);
            tick(true, false, false);
        }
        QCOMPARE(current.document()->revision(), revision); // unchanged set: view untouched
        QCOMPARE(history.document()->blockCount(), 2);

        tick(true, true, true);
        QCOMPARE(current.toPlainText(), QString("安全门打开\n自动运行中。\n吸笔真空报警"));
        tick(false, true, true);
        QCOMPARE(current.toPlainText(), QString("自动运行中。\n吸笔真空报警"));
        const QStringList lines = history.toPlainText().split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].endsWith("[0] 安全门打开"));
        QVERIFY(lines[2].endsWith("[51] 自动运行中。"));
        QVERIFY(lines[3].endsWith("[72] 吸笔真空报警"));
        QVERIFY(lines[3].startsWith("2026-01-05 "));

        const QString file = readText(kzct::alarmHistoryFile());
        QCOMPARE(file.count("吸笔真空报警"), 1);
        QCOMPARE(file.count("安全门打开"), 1);

        // An empty text still gets a line of its own.
        adderrshow(&history, &current, "", true, 63, 2);
        QVERIFY(current.toPlainText().contains("63"));
        QCOMPARE(current.document()->blockCount(), 3);
    }

    void clearingEmptiesTheViewAndStillActiveMessagesReturn() {
        Lockstep clock;
        clock.install();
        QTextBrowser history, current;
        adderrshow(&history, &current, "安全门打开", true, 0, 2);
        adderrshow(&history, &current, "急停按下", true, 50, 2);
        clearerrshow(&current);
        QVERIFY(current.toPlainText().isEmpty());
        // The door is still open at the next tick; the e-stop was released.
        adderrshow(&history, &current, "安全门打开", true, 0, 2);
        adderrshow(&history, &current, "急停按下", false, 50, 2);
        QCOMPARE(current.toPlainText(), QString("安全门打开"));
        QCOMPARE(readText(kzct::alarmHistoryFile()).count("安全门打开"), 2);
    }

    void historyFileIsReadBackAtStart() {
        Lockstep clock;
        clock.install();
        for (int i = 0; i < 600; ++i)
            adderrshow(nullptr, nullptr, QString("报警 %1").arg(i), true, 1000 + i, 2);
        QTextBrowser history;
        readerrfile(&history);
        const QStringList lines = history.toPlainText().split('\n');
        QCOMPARE(lines.size(), 500); // the newest ones, bounded
        QVERIFY(lines.last().endsWith("[1599] 报警 599"));
        QVERIFY(lines.first().endsWith("[1100] 报警 100"));
    }

    void viewsAreOnlyTouchedOnTheirOwnThread() {
        Lockstep clock;
        clock.install();
        QTextBrowser history, current;
        std::thread worker([&] {
            adderrshow(&history, &current, "NG盘有料报警", true, 76, 2);
            readerrfile(nullptr);
        });
        worker.join();
        QVERIFY(current.toPlainText().isEmpty());
        QVERIFY(history.toPlainText().isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(current.toPlainText(), QString("NG盘有料报警"));
        QVERIFY(history.toPlainText().endsWith("[76] NG盘有料报警"));
    }
};

QTEST_MAIN(TestKzct)
#include "tst_kzct.moc"
