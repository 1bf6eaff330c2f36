// The machine-state periods from the main window's tick to the database: each
// period on its own conditions with every column, and a database that another
// process holds locked.
#include "TestSupport.h"

#include "app/DataSetup.h"
#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "platform/Clock.h"
#include "production/MachineStateStore.h"
#include "sequences/CycleData.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

namespace {

struct Row {
    QString utype;
    qint64 pn = 0, acttime = 0, starttime = 0, stoptime = 0, duration = 0;
};

QList<Row> rowsOf(const QString& kind) {
    QList<Row> rows;
    QSqlQuery q(QSqlDatabase::database());
    q.prepare("select utype,pn,acttime,starttime,stoptime,duration from Table_S1 where utype=? order by id");
    q.addBindValue(kind);
    if (!q.exec()) return rows;
    while (q.next())
        rows << Row{q.value(0).toString(),   q.value(1).toLongLong(), q.value(2).toLongLong(),
                    q.value(3).toLongLong(), q.value(4).toLongLong(), q.value(5).toLongLong()};
    return rows;
}

// The main window's 100 ms tick on the virtual clock; the flags the periods look at
// are set by the test alone (no fast scan, no cycle).
struct TickRig : SimRig {
    std::unique_ptr<MainWindow1> window;
    TickRig() {
        MainWindow1::Options o;
        o.startWorkers = false;
        o.startTicks = false;
        o.startHousekeeping = false;
        window = std::make_unique<MainWindow1>(nullptr, o);
        startRequest = 0; // nothing starts on its own here
        gd[46] = 2.0;
        MainWindow1* w = window.get();
        clock.addPeriodic("tick100", 100000, [w] { w->tick100ms(); });
        runFor(0.05); // between two ticks from here on
    }
    bool open(int kind) { return window->machineCycle().recorder().isOpen(kind); }
};

// Another program holding the database with a write lock until stopped.
struct Locker {
    QProcess process;
    explicit Locker(const QString& path) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start("python3", {"-c",
                                  "import sqlite3,sys\n"
                                  "c=sqlite3.connect(sys.argv[1],isolation_level=None)\n"
                                  "c.execute('BEGIN EXCLUSIVE')\n"
                                  "print('locked',flush=True)\n"
                                  "sys.stdin.read()\n"
                                  "c.execute('COMMIT')\n",
                                  path});
    }
    bool locked() { return process.waitForReadyRead(10000) && process.readLine().startsWith("locked"); }
    void release() {
        process.closeWriteChannel();
        process.waitForFinished(10000);
    }
    ~Locker() {
        if (process.state() != QProcess::NotRunning) release();
    }
};

} // namespace

class TestStateDb : public QObject {
    Q_OBJECT

    // Holds the kind's condition for 2 s of machine time; every column of its row.
    void checkPeriod(TickRig& rig, int kind, const QString& name, const std::function<void(bool)>& set) {
        set(true);
        const qint64 from = clk::wallMs();
        rig.runFor(0.1);
        QVERIFY2(rig.open(kind), qPrintable(name));
        rig.runFor(1.9);
        set(false);
        rig.runFor(0.1);
        QVERIFY2(!rig.open(kind), qPrintable(name));
        const qint64 to = clk::wallMs();
        QVERIFY(MachineStateStore::instance().waitWritten(5000));
        const QList<Row> rows = rowsOf(name);
        QCOMPARE(rows.size(), 1);
        const Row& r = rows[0];
        QCOMPARE(r.pn, qint64(1));
        QCOMPARE(r.duration, qint64(2000));
        QCOMPARE(r.stoptime - r.starttime, r.duration);
        QCOMPARE(r.acttime, r.stoptime);
        QVERIFY(r.starttime > from && r.starttime < from + 100);
        QVERIFY(r.stoptime > to - 100 && r.stoptime < to);
    }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(config);
        QCOMPARE(DataSetup::ensure(), QString());
        Prompt::setHandler([](const Prompt::Shown&) { return false; });
        QVERIFY(MachineStateStore::instance().isOpen());
    }
    void init() {
        runA = runB = 0;
        stepA = stepB = 0;
        alarmActive = 0;
        inImg[25] = 0;
        startRequest = 0;
        QVERIFY(MachineStateStore::instance().waitWritten(5000));
        QSqlQuery(QSqlDatabase::database()).exec("delete from Table_S1");
    }

    void stopIsOpenWhileNothingRuns() {
        TickRig rig;
        rig.runFor(0.1);
        QVERIFY(rig.open(2));
        runB = 1;
        rig.runFor(0.2);
        QVERIFY(MachineStateStore::instance().waitWritten(5000));
        QCOMPARE(rowsOf("stop").size(), 1);
        QSqlQuery(QSqlDatabase::database()).exec("delete from Table_S1");
        checkPeriod(rig, 2, "stop", [](bool on) { runB = on ? 0 : 1; });
    }

    void runOpensOnEitherRunFlag_data() {
        QTest::addColumn<bool>("belt");
        QTest::newRow("cycle") << false;
        QTest::newRow("belt line") << true;
    }
    void runOpensOnEitherRunFlag() {
        QFETCH(bool, belt);
        TickRig rig;
        checkPeriod(rig, 1, "run", [belt](bool on) { (belt ? runB : runA) = on; });
    }

    void standbyNeedsARunFlagNoTrayAndAnIdleBelt() {
        TickRig rig;
        runA = 1;
        inImg[25] = 1;
        rig.runFor(0.2);
        QVERIFY(!rig.open(0)); // a tray is there
        inImg[25] = 0;
        stepB = 200;
        rig.runFor(0.2);
        QVERIFY(!rig.open(0)); // the belt is busy
        stepB = 0;
        runA = 0;
        rig.runFor(0.2);
        QVERIFY(!rig.open(0)); // nothing runs
        runA = 1;
        checkPeriod(rig, 0, "standby", [](bool on) { inImg[25] = on ? 0 : 1; });
    }

    void homeCoversStepsThousandToTenTen() {
        TickRig rig;
        checkPeriod(rig, 3, "home", [](bool on) { stepA = on ? 1000 : 1010.5; });
        stepA = 999;
        rig.runFor(0.2);
        QVERIFY(!rig.open(3));
    }

    void errorFollowsTheAlarm() {
        TickRig rig;
        checkPeriod(rig, 4, "error", [](bool on) { alarmActive = on; });
    }

    // Another process holds the database: the tick does not wait for it, and the
    // periods are written once the database is free again.
    void aLockedDatabaseNeitherBlocksNorLoses() {
        TickRig rig;
        Locker locker(MachineStateStore::filePath());
        QVERIFY(locker.locked());
        QElapsedTimer slowest;
        qint64 worstMs = 0;
        for (int i = 0; i < 3; ++i) {
            alarmActive = 1;
            rig.runFor(0.5);
            alarmActive = 0;
            // The tick that closes the period hands it to the database.
            for (int t = 0; t < 2; ++t) {
                slowest.start();
                rig.runFor(0.1);
                worstMs = qMax(worstMs, slowest.elapsed());
            }
        }
        QVERIFY2(worstMs < 1000, qPrintable(QString("a tick took %1 ms").arg(worstMs)));
        QCOMPARE(MachineStateStore::instance().pending(), 3);
        QVERIFY(!MachineStateStore::instance().waitWritten(600)); // still locked
        locker.release();
        QVERIFY(MachineStateStore::instance().waitWritten(5000));
        const QList<Row> rows = rowsOf("error");
        QCOMPARE(rows.size(), 3);
        QVERIFY(rows[0].starttime < rows[1].starttime && rows[1].starttime < rows[2].starttime);
        for (const Row& r : rows) QCOMPARE(r.duration, qint64(500));
    }
};

QTEST_MAIN(TestStateDb)
#include "tst_statedb.moc"
