// Crashes in production: the real program (tavrin-runner in a child process) is
// killed with SIGKILL at random moments while it produces and started again on the
// same data root; the plant keeps its trays across the kills as a machine does. Afterwards
// every file is whole, the counters equal the record rows, every start homed and produced,
// each restart after a crash said so in the log, and the plant's record of every cell shows
// that each restart went on at the right cell: no cell labelled twice, none skipped, no
// product with two rows. TAVRIN_CRASH_KILLS sets the number of kills (default 10;
// scripts/crash-test.sh runs 50), TAVRIN_CRASH_SEED their moments.
#include "CycleRig.h"

#include "app/RunDataKeeper.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "platform/kzct_records.h"
#include "platform/qtcsv/Reader.h"
#include "runner/PlantJournal.h"
#include "sequences/CycleData.h"
#include "sim/Lockstep.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// key=value entries of one section of a parameter or run-data file.
QMap<QByteArray, QByteArray> entries(const QByteArray& text, const QByteArray& name) {
    QMap<QByteArray, QByteArray> found;
    bool in = false;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            in = line == "[" + name + "]";
            continue;
        }
        const int eq = line.indexOf('=');
        if (in && eq > 0) found[line.left(eq)] = line.mid(eq + 1);
    }
    return found;
}

// index=value entries of one section.
QMap<int, double> section(const QByteArray& text, const QByteArray& name) {
    QMap<int, double> values;
    const QMap<QByteArray, QByteArray> found = entries(text, name);
    for (auto it = found.begin(); it != found.end(); ++it) values[it.key().toInt()] = it.value().toDouble();
    return values;
}

// The [records] section of the run data: record file name -> rows it vouches for.
QMap<QString, int> recordRows(const QByteArray& text) {
    QMap<QString, int> rows;
    const QMap<QByteArray, QByteArray> found = entries(text, "records");
    for (auto it = found.begin(); it != found.end(); ++it)
        if (it.key().endsWith(".csv")) rows[QString::fromUtf8(it.key())] = it.value().toInt();
    return rows;
}

// Whole: the last line counts the entries above it, and they are all there.
bool wholeDataFile(const QString& path, QString* why) {
    const QByteArray text = readFile(path);
    static const QRegularExpression end("\\n; end of file: (\\d+) entries\\n$");
    const QRegularExpressionMatch m = end.match(QString::fromUtf8(text));
    if (!m.hasMatch()) {
        *why = path + " has no end line";
        return false;
    }
    int entries = 0;
    for (const QByteArray& line : text.split('\n'))
        if (!line.startsWith(';') && !line.startsWith('[') && line.contains('=')) ++entries;
    if (entries != m.captured(1).toInt()) {
        *why = QString("%1 holds %2 entries, its end line says %3").arg(path).arg(entries).arg(m.captured(1));
        return false;
    }
    return true;
}

} // namespace

class TestCrashSafe : public QObject {
    Q_OBJECT

private:
    QString runner() const { return QCoreApplication::applicationDirPath() + "/../tavrin-runner"; }

    void start(QProcess& p, const QString& root, int products) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TAVRIN_DATA", root);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(runner(), {"--products", QString::number(products), "--plant", root + "/plant.journal"});
        QVERIFY2(p.waitForStarted(30000), qPrintable(p.errorString()));
    }

private slots:
    // The restart itself, on files as a crash leaves them: rows the run data never
    // counted and a line cut short are taken out, and the loss is logged.
    void restartPutsTheRecordsBackToTheSavedRunData() {
        QDir(Paths::root()).removeRecursively();
        QVERIFY(QDir().mkpath(kzct::recipeDir("r")) && QDir().mkpath(Paths::tableDir()));
        QVERIFY(kzct::setCurrentRecipeName("r"));
        const QByteArray header = "Date,QRCode,OffSetX,OffSetY,Angle,Height,Result\n";
        const QByteArray row = "2026.01.05 08:00:01.000,\"TVR\n01\",0.1,0.2,0.3,0.4,OK\n";
        auto write = [](const QString& path, const QByteArray& data) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
        };
        const QString day1 = Paths::tableDir() + "/Table20260104.csv";
        const QString day2 = Paths::tableDir() + "/Table20260105.csv";
        const QString day3 = Paths::tableDir() + "/Table20260106.csv";
        QVERIFY(write(day1, header + row + row + row));                  // counted: 3
        QVERIFY(write(day2, header + row + row + row + row + "2026.0")); // counted: 2
        QVERIFY(write(day3, header + row));                              // newer than the last save
        for (int i = 0; i < kGrSize; ++i) gr[i] = 0.0;
        gr[1] = 3.0;
        gr[28] = 5.0;
        kzct::RunDataRecords notes;
        notes.rows = {{"Table20260104.csv", 3}, {"Table20260105.csv", 2}};
        notes.open = true;
        kzct::setRunDataRecords(notes);
        QVERIFY(kzct::saveRunData("r"));
        gr[28] = 0.0;

        inifiletovar();
        QCOMPARE(gr[28], 5.0);
        RunDataKeeper::recover();
        QCOMPARE(readFile(day1), header + row + row + row);
        QCOMPARE(readFile(day2), header + row + row);
        QCOMPARE(readFile(day3), header);
        KZLOG::CLog::Deinitializes();
        const QByteArray log = readFile(KZLOG::CLog::currentFile());
        QVERIFY(log.contains("did not close last time"));
        QVERIFY(log.contains("cell 3 of the product tray is made again"));
        QVERIFY(
            log.contains("2 record row(s) of Table20260105.csv were written after the last saved run data"));
        QVERIFY(log.contains("1 record row(s) of Table20260106.csv"));
        QVERIFY(log.contains("cut short by the crash removed"));
        QVERIFY(!log.contains("Table20260104.csv were written"));

        // A clean close marks the run data closed: the next start checks nothing.
        RunDataKeeper::closing();
        QVERIFY(kzct::saveRunData("r"));
        QVERIFY(write(day2, header + row + row + row));
        inifiletovar();
        RunDataKeeper::recover();
        QCOMPARE(readFile(day2), header + row + row + row);

        // The label of the cell in progress was placed when the program went down: the
        // cell is not made again, with or without a crash, and its product is given up.
        // The first cell of a tray too.
        for (int cell : {7, 1})
            for (bool crash : {true, false}) {
                gr[1] = cell;
                kzct::RunDataRecords placed;
                placed.open = crash;
                placed.assembledCell = cell;
                kzct::setRunDataRecords(placed);
                QVERIFY(kzct::saveRunData("r"));
                gr[1] = 0.0;
                inifiletovar();
                QCOMPARE(kzct::runDataRecords().assembledCell, cell);
                RunDataKeeper::recover();
                QCOMPARE(gr[1], cell + 1.0);
                KZLOG::CLog::Deinitializes();
                QVERIFY(
                    readFile(KZLOG::CLog::currentFile())
                        .contains(QString("the label of cell %1 of the product tray was placed before the "
                                          "program stopped and its product is not counted")
                                      .arg(cell)
                                      .toUtf8()));
                QFile::remove(KZLOG::CLog::currentFile());
            }
        // A label placed on another cell than the one in progress says nothing about it.
        gr[1] = 4.0;
        kzct::RunDataRecords earlier;
        earlier.open = true;
        earlier.assembledCell = 3;
        kzct::setRunDataRecords(earlier);
        QVERIFY(kzct::saveRunData("r"));
        inifiletovar();
        RunDataKeeper::recover();
        QCOMPARE(gr[1], 4.0);

        // A finished tray still at the assembly position is handed on, not made again.
        gr[1] = 1.0;
        kzct::RunDataRecords finished;
        finished.open = true;
        finished.trayFinished = true;
        kzct::setRunDataRecords(finished);
        QVERIFY(kzct::saveRunData("r"));
        inifiletovar();
        QVERIFY(kzct::runDataRecords().trayFinished);
        gf[510] = 4.0;
        gf[511] = 5.0;
        RunDataKeeper::recover();
        QCOMPARE(gr[1], 21.0);
    }

    // Every 100 ms the keeper saves what changed: a tray cell, a placed label or the
    // output count at once; the yield counters alone with the next save, at most 5 s late.
    void yieldCountersAloneWaitForTheNextSave() {
        QDir(Paths::root()).removeRecursively();
        QVERIFY(QDir().mkpath(kzct::recipeDir("r")));
        QVERIFY(kzct::setCurrentRecipeName("r"));
        for (int i = 0; i < kGrSize; ++i) gr[i] = 0.0;
        gr[1] = 2.0;
        assembledCell = 0;
        trayState = 1;
        kzct::setRunDataRecords(kzct::RunDataRecords());
        QVERIFY(kzct::saveRunData("r"));
        inifiletovar();
        Lockstep clock;
        clock.install();
        clock.addPeriodic("rundata", 100000, [] { RunDataKeeper::tick(); });
        RunDataKeeper::recover();
        const QString file = kzct::recipeDir("r") + "/RunData.ini";
        auto saved = [&](int i) { return section(readFile(file), "gr").value(i); };

        for (int counter : {23, 25, 28, 30, 33}) {
            gr[counter] += 1.0;
            clock.runFor(4.85);
            QCOMPARE(saved(counter), gr[counter] - 1.0);
            clock.runFor(0.3);
            QCOMPARE(saved(counter), gr[counter]);
        }
        // Each of these goes at once, and takes the waiting counters along.
        for (int urgent : {0, 1, 2, 21, 22}) {
            gr[29] += 1.0;
            clock.runFor(1.0);
            gr[urgent] += 1.0;
            clock.runFor(0.15);
            QCOMPARE(saved(urgent), gr[urgent]);
            QCOMPARE(saved(29), gr[29]);
        }
    }

    // The nozzle lets a label go only once the run data on disk names its cell, so a
    // crash right after the release never labels that cell a second time.
    void labelLeavesTheNozzleOnlyOnceItsCellIsSaved() {
        const QByteArray dataRoot = qgetenv("TAVRIN_DATA");
        {
            cycletest::CycleRig rig;
            QVERIFY(QDir().mkpath(kzct::recipeDir("r")));
            QVERIFY(kzct::setCurrentRecipeName("r"));
            kzct::setRunDataRecords(kzct::RunDataRecords());
            RunDataKeeper::recover();
            rig.clock.addPeriodic("rundata", 100000, [] { RunDataKeeper::tick(); });
            const QString file = kzct::recipeDir("r") + "/RunData.ini";
            QStringList wrong;
            int releases = 0;
            double was = stepA;
            rig.clock.addPeriodic("release", 1000, [&] {
                if (was == 303 && stepA == 304) {
                    ++releases;
                    const int saved = entries(readFile(file), "records").value("assembled").toInt();
                    if (saved != int(gr[1]))
                        wrong << QString("cell %1 released with cell %2 saved").arg(gr[1]).arg(saved);
                }
                was = stepA;
            });
            QVERIFY(rig.homeAndStart());
            QVERIFY2(rig.runUntil([&] { return releases >= 3; }, 120.0), qPrintable(rig.state()));
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
        }
        qputenv("TAVRIN_DATA", dataRoot);
    }

    void killedWhileProducingLosesAtMostTheProductInProgress() {
        QVERIFY2(QFile::exists(runner()), qPrintable(runner() + " is not built"));
        const int kills = qEnvironmentVariableIsSet("TAVRIN_CRASH_KILLS")
                              ? qEnvironmentVariableIntValue("TAVRIN_CRASH_KILLS")
                              : 10;
        const quint32 seed = qEnvironmentVariableIsSet("TAVRIN_CRASH_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("TAVRIN_CRASH_SEED"))
                                 : 17u;
        QRandomGenerator random(seed);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // TAVRIN_CRASH_KEEP=1 leaves the data root behind for a look at a failure.
        dir.setAutoRemove(!qEnvironmentVariableIsSet("TAVRIN_CRASH_KEEP"));
        const QString root = dir.path();
        qInfo("data root %s", qPrintable(root));
        const QString recipe = root + "/recipes/demo";
        int killedProducing = 0;
        QElapsedTimer wall;
        wall.start();

        for (int k = 0; k < kills; ++k) {
            QProcess p;
            // More products than any host makes before the kill: a fast one makes a
            // thousand in two seconds.
            start(p, root, 1000000);
            // Killed only once the machine produces: homing is not the moment asked for.
            QElapsedTimer up;
            up.start();
            while (!p.readAllStandardError().contains("producing") && p.state() == QProcess::Running &&
                   up.elapsed() < 60000)
                p.waitForReadyRead(1000);
            QVERIFY2(p.state() == QProcess::Running,
                     qPrintable(QString("kill %1: the runner ended early").arg(k)));
            const int afterMs = int(random.bounded(2500));
            if (!p.waitForFinished(afterMs)) {
                p.kill(); // SIGKILL
                QVERIFY(p.waitForFinished(30000));
                ++killedProducing;
            }
            QCOMPARE(p.exitStatus(), QProcess::CrashExit);
            QString why;
            QVERIFY2(wholeDataFile(recipe + "/RunData.ini", &why),
                     qPrintable(QString("kill %1: %2").arg(k).arg(why)));
            QVERIFY2(wholeDataFile(recipe + "/Parameters.ini", &why),
                     qPrintable(QString("kill %1: %2").arg(k).arg(why)));
        }

        // The last start runs to its end and closes as an operator would.
        QProcess last;
        start(last, root, 3);
        while (!last.readAllStandardError().contains("producing") && last.state() == QProcess::Running)
            last.waitForReadyRead(1000);
        QVERIFY(last.waitForFinished(120000));
        const QByteArray summary = last.readAllStandardOutput();
        QCOMPARE(last.exitCode(), 0);
        QVERIFY2(summary.contains("ended: products made"), summary.constData());

        QString why;
        QVERIFY2(wholeDataFile(recipe + "/RunData.ini", &why), qPrintable(why));
        QVERIFY2(wholeDataFile(recipe + "/Parameters.ini", &why), qPrintable(why));
        int ok = 0, ng = 0;
        QMap<QString, int> rowsOf; // product code -> record rows
        const QDir tables(root + "/data/TableData");
        for (const QString& name : tables.entryList({"Table*.csv"}, QDir::Files)) {
            const QByteArray text = readFile(tables.filePath(name));
            QVERIFY2(text.endsWith('\n'), qPrintable(name + " ends in a cut line"));
            const QList<QStringList> rows = QtCSV::Reader::parse(QString::fromUtf8(text));
            QVERIFY(!rows.isEmpty());
            // The run data vouches for exactly the rows the file holds.
            QCOMPARE(recordRows(readFile(recipe + "/RunData.ini")).value(name, -1), rows.size() - 1);
            for (int i = 1; i < rows.size(); ++i) {
                QCOMPARE(rows[i].size(), 7);
                const QString result = rows[i][6].trimmed();
                QVERIFY2(result == "OK" || result == "NG", qPrintable(rows[i].join(',')));
                (result == "OK" ? ok : ng)++;
                ++rowsOf[rows[i][1].trimmed()];
            }
        }
        const QMap<int, double> gr = section(readFile(recipe + "/RunData.ini"), "gr");
        qInfo("%d kills (%d while producing) in %.1f s wall; %d good and %d NG rows; gr[1]=%g gr[21]=%g "
              "gr[28]=%g "
              "gr[29]=%g",
              kills, killedProducing, wall.elapsed() / 1000.0, ok, ng, gr.value(1), gr.value(21),
              gr.value(28), gr.value(29));
        QVERIFY(ok + ng > kills); // the machine really produced between the kills
        // Every product that reached the check photo has its row, once.
        QCOMPARE(int(gr.value(28)), ok);
        QCOMPARE(int(gr.value(29)), ng);
        QCOMPARE(int(gr.value(21)), ok);

        // Each restart after a crash reported it.
        QByteArray log;
        for (const QString& name : QDir(root + "/log").entryList({"*.log"}, QDir::Files))
            log += readFile(root + "/log/" + name);
        const int crashes = log.count("did not close last time");
        QVERIFY2(crashes >= killedProducing / 2 && crashes <= killedProducing,
                 qPrintable(QString("%1 crash reports for %2 kills").arg(crashes).arg(killedProducing)));

        // The plant's record of every cell against the records.
        QStringList unreadable;
        const std::map<int, PlantJournal::TrayRecord> trays =
            PlantJournal::read(root + "/plant.journal", &unreadable);
        QVERIFY2(unreadable.size() <= kills, qPrintable(unreadable.join('\n')));
        // Cells whose product a restart gave up, as the log told the operator to take them
        // out: the label may or may not have left the nozzle before the kill.
        QMap<int, int> givenUp;
        static const QRegularExpression gaveUp("the label of cell (\\d+) of the product tray was placed");
        for (auto m = gaveUp.globalMatch(QString::fromUtf8(log)); m.hasNext();)
            ++givenUp[m.next().captured(1).toInt()];
        QStringList wrong;
        int labelled = 0, lost = 0, away = 0;
        for (const auto& [serial, t] : trays) {
            away += t.away;
            for (int cell = 1; cell <= t.cells; ++cell) {
                const int labels = t.labels.count(cell) ? t.labels.at(cell) : 0;
                if (labels > 1)
                    wrong << QString("tray %1 cell %2 labelled %3 times").arg(serial).arg(cell).arg(labels);
                if (t.away && labels == 0 && !t.gone.count(cell) && givenUp[cell]-- <= 0)
                    wrong << QString("tray %1 cell %2 left without a label").arg(serial).arg(cell);
                if (labels == 0) continue;
                ++labelled;
                const QString code =
                    QString("TVR%1%2").arg(serial, 4, 10, QChar('0')).arg(cell, 2, 10, QChar('0'));
                const int rowCount = rowsOf.take(code);
                if (rowCount > 1) wrong << QString("%1 has %2 record rows").arg(code).arg(rowCount);
                if (rowCount == 0) ++lost;
            }
        }
        for (auto it = rowsOf.begin(); it != rowsOf.end(); ++it)
            wrong << QString("a record row for %1, a product that got no label").arg(it.key());
        const int givenUpLogged = log.count("is not counted");
        const int reported = givenUpLogged + log.count("that product is lost");
        qInfo("%d trays, %d handed on; %d labelled products, %d of them without a record row; %d losses "
              "logged (%d cells given up at a restart)",
              int(trays.size()), away, labelled, lost, reported, givenUpLogged);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
        // A kill loses at most the product in progress, and the restart says so.
        QVERIFY2(lost <= reported,
                 qPrintable(
                     QString("%1 labelled products have no row, %2 losses logged").arg(lost).arg(reported)));
    }
};

QTEST_MAIN(TestCrashSafe)
#include "tst_crashsafe.moc"
