// Files that hold operator data under damage and a full disk: the one atomic
// writer, parameter files cut short, values that are not numbers, the recipe name
// file pointing elsewhere, and what the operator is told.
#include "TestSupport.h"

#include "app/DataSetup.h"
#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "platform/AtomicFile.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "platform/vision/CVMainWindow.h"
#include "platform/vision/TaskParams.h"
#include "platform/vision/taskcontrol.h"
#include "platform/vision/taskdata.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextBrowser>
#include <QtTest>

#include <cmath>
#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {
QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

void fillArrays(double value) {
    for (auto& v : gd) v = value;
    for (auto& v : gf) v = value;
    for (auto& v : gr) v = value;
}

// A saved recipe "r1" whose every entry is distinct from what the tests fill in.
void makeRecipe() {
    QDir().mkpath(kzct::recipeDir("r1"));
    QVERIFY(kzct::setCurrentRecipeName("r1"));
    for (int i = 0; i < kGdSize; ++i) gd[i] = i + 0.5;
    for (int i = 0; i < kGfSize; ++i) gf[i] = -i - 0.25;
    for (int i = 0; i < kGrSize; ++i) gr[i] = i + 1;
    inivartofile();
    iniRUNvartofile();
}

// Cuts the file after the line that starts with marker.
QByteArray cutAfter(const QString& path, const QByteArray& marker) {
    const QByteArray whole = readFile(path);
    const int at = whole.indexOf(marker);
    const QByteArray cut = whole.left(whole.indexOf('\n', at + 1) + 1);
    writeFile(path, cut);
    return cut;
}

// While alive, no file may grow beyond limit bytes: writes past it fail as on a full
// disk (EFBIG; the signal that would end the process is ignored).
struct FileSizeLimit {
    rlimit old{};
    explicit FileSizeLimit(rlim_t limit) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit r = old;
        r.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

MainWindow1::Options drivenByTest() {
    MainWindow1::Options o;
    o.startWorkers = false;
    o.startTicks = false;
    o.startHousekeeping = false;
    return o;
}
} // namespace

class TestDataFiles : public QObject {
    Q_OBJECT
    QList<Prompt::Shown> shown;
    bool answer = false;
    QStringList failures;

    QStringList warnings() const {
        QStringList out;
        for (const Prompt::Shown& s : shown)
            if (s.kind == Prompt::Kind::Warning) out << s.title + ": " + s.text;
        return out;
    }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(config);
        Prompt::setHandler([this](const Prompt::Shown& s) {
            shown << s;
            return answer;
        });
    }
    void init() {
        QDir(Paths::root()).removeRecursively();
        QVERIFY(Paths::ensureFolders());
        KZLOG::CLog::Initialize(QString());
        shown.clear();
        answer = false;
        failures.clear();
        AtomicFile::setFailureHandler([this](const QString& path, const QString&) { failures << path; });
    }
    void cleanup() { AtomicFile::setFailureHandler(nullptr); }

    // ---- the writer ----

    void aFailedStageNeverReplacesTheFile_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<bool>("sync"); // off: the runner's way of replacing the file
        for (bool sync : {true, false}) {
            const char* how = sync ? "" : ", not syncing";
            QTest::addRow("data%s", how) << int(AtomicFile::Stage::Data) << sync;
            QTest::addRow("sync%s", how) << int(AtomicFile::Stage::Sync) << sync;
            QTest::addRow("rename%s", how) << int(AtomicFile::Stage::Rename) << sync;
        }
    }
    void aFailedStageNeverReplacesTheFile() {
        QFETCH(int, stage);
        QFETCH(bool, sync);
        const bool syncWas = AtomicFile::syncToDisk();
        AtomicFile::setSyncToDisk(sync);
        auto restore = qScopeGuard([syncWas] { AtomicFile::setSyncToDisk(syncWas); });
        const QString path = Paths::root() + "/some/file.txt";
        QVERIFY(AtomicFile::write(path, "old content\n"));
        AtomicFile::failNextWriteForTest(AtomicFile::Stage(stage));
        QString error;
        QVERIFY(!AtomicFile::write(path, "new content\n", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(path), QByteArray("old content\n"));
        QVERIFY(!QFile::exists(path + ".saving"));
        QCOMPARE(failures, QStringList{path});
        // The hook is spent: the next write goes through, and over an existing file too.
        QVERIFY(AtomicFile::write(path, "new content\n"));
        QCOMPARE(readFile(path), QByteArray("new content\n"));
        QVERIFY(AtomicFile::write(path, "newer\n"));
        QCOMPARE(readFile(path), QByteArray("newer\n"));
        QCOMPARE(QDir(Paths::root() + "/some").entryList(QDir::Files), QStringList{"file.txt"});
    }

    // The file was renamed in place, but whether it is on the disk is not known: say so.
    void aFailedFolderSyncIsReported() {
        const QString path = Paths::root() + "/fresh/deeper/file.txt";
        AtomicFile::failNextWriteForTest(AtomicFile::Stage::FolderSync);
        QString error;
        QVERIFY(!AtomicFile::write(path, "x", &error));
        QVERIFY2(error.contains("may not be on the disk"), qPrintable(error));
        QCOMPARE(failures.size(), 1);
    }

    // A real write failure (file size limit) in the middle of the data.
    void aFullDiskLeavesTheOldFileWhole() {
        const QString path = Paths::root() + "/big.txt";
        const QByteArray old(3000, 'o');
        QVERIFY(AtomicFile::write(path, old));
        QString error;
        {
            FileSizeLimit limit(1000);
            QVERIFY(!AtomicFile::write(path, QByteArray(5000, 'n'), &error));
        }
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(readFile(path), old);
        QVERIFY(!QFile::exists(path + ".saving"));
    }

    // The operator closes with "Yes" on a full disk: every file stays as it was, and
    // the alarm history and the log say what could not be saved.
    void closingOnAFullDiskKeepsEveryFile() {
        SimRig rig;
        QCOMPARE(DataSetup::ensure(), QString());
        auto w = std::make_unique<MainWindow1>(nullptr, drivenByTest());
        QVERIFY(w->visionWindow()->savefilepara());
        const QString vision = taskdata::GetInstance()->visionDir() + "/" + TaskParams::kFileName;
        const QByteArray visionBefore = readFile(vision);
        const QString params = kzct::parameterFile("demo");
        const QByteArray paramsBefore = readFile(params);
        QVERIFY(visionBefore.size() > 1000);
        QVERIFY(paramsBefore.size() > 1000);
        gf[600] = 123.0;
        TaskParams::GetInstance()->setSaveImages(!TaskParams::GetInstance()->saveImages());
        answer = true;
        {
            FileSizeLimit limit(1000);
            w->close();
        }
        QCOMPARE(readFile(vision), visionBefore);
        QCOMPARE(readFile(params), paramsBefore);
        QVERIFY(!QFile::exists(vision + ".saving"));
        const QString history = w->findChild<QTextBrowser*>("textBrowser_2")->toPlainText();
        QVERIFY2(history.contains("文件保存失败") && history.contains("cvpara.json") &&
                     history.contains("Parameters.ini"),
                 qPrintable(history));
    }

    // "保存参数" failing: the run page's alarm view and the log tell it; alarm clear
    // takes it away.
    void aFailedSaveIsShownOnTheRunPage() {
        SimRig rig;
        QCOMPARE(DataSetup::ensure(), QString());
        auto w = std::make_unique<MainWindow1>(nullptr, drivenByTest());
        auto* current = w->findChild<QTextBrowser*>("textBrowser");
        const QByteArray before = readFile(kzct::parameterFile("demo"));
        gf[600] = 77.0;
        AtomicFile::failNextWriteForTest(AtomicFile::Stage::Data);
        w->findChild<QPushButton*>("pushButton_63")->click();
        QVERIFY2(current->toPlainText().contains("文件保存失败"), qPrintable(current->toPlainText()));
        QVERIFY(current->toPlainText().contains("Parameters.ini") ||
                current->toPlainText().contains("cvpara.json"));
        QVERIFY(readFile(KZLOG::CLog::currentFile()).contains("保存失败"));
        startupDone = 1;
        w->tick100ms();
        QVERIFY(current->toPlainText().contains("文件保存失败")); // the table keeps it
        w->clearAlarms();
        w->tick100ms();
        QVERIFY(!current->toPlainText().contains("文件保存失败"));
        Q_UNUSED(before);
        startupDone = 0;
    }

    // The calibrations go through the writer as well.
    void aCalibrationSaveFailsCleanly() {
        SimRig rig;
        double a[9], b[9], c[9], d[9];
        for (int i = 0; i < 9; ++i) {
            a[i] = i % 3;
            b[i] = i / 3;
            c[i] = 10.0 * (i % 3);
            d[i] = 10.0 * (i / 3);
        }
        QCOMPARE(taskcontrol::Save9dianPara(0, a, b, c, d, "cam"), 0);
        failures.clear();
        AtomicFile::failNextWriteForTest(AtomicFile::Stage::Sync);
        c[0] = 1.0;
        QCOMPARE(taskcontrol::Save9dianPara(0, a, b, c, d, "cam"), -1);
        QCOMPARE(failures.size(), 1);
    }

    // ---- parameter files ----

    void aWholeFileLoadsWithoutWarning() {
        makeRecipe();
        QVERIFY(readFile(kzct::parameterFile("r1")).endsWith("; end of file: 1100 entries\n"));
        QVERIFY(readFile(kzct::runDataFile("r1")).endsWith("; end of file: 64 entries\n"));
        fillArrays(9.0);
        inifiletovar();
        QVERIFY(kzct::lastLoadDamage().isEmpty());
        QCOMPARE(gd[399], 399.5);
        QCOMPARE(gr[63], 64.0);
        QVERIFY(!QFile::exists(kzct::parameterFile("r1") + ".damaged"));
    }

    void aCutFileIsToldAndKept() {
        makeRecipe();
        const QString path = kzct::parameterFile("r1");
        const QByteArray cut = cutAfter(path, "\n99=");
        fillArrays(9.0);
        inifiletovar();
        QCOMPARE(gd[99], 99.5);
        QCOMPARE(gd[100], 9.0);
        const QList<kzct::LoadDamage> damage = kzct::lastLoadDamage();
        QCOMPARE(damage.size(), 1);
        QCOMPARE(damage[0].file, path);
        QCOMPARE(damage[0].missing, kGdSize - 100 + kGfSize);
        QVERIFY(damage[0].cut);
        QCOMPARE(readFile(damage[0].copy), cut);
        QVERIFY(readFile(KZLOG::CLog::currentFile()).contains("1000 of 1100 entries missing"));

        // A save replaces the file; the copy stays, and a second load of the same
        // damage adds no second copy.
        inivartofile();
        QVERIFY(kzct::lastLoadDamage().size() == 1);
        QCOMPARE(readFile(path + ".damaged"), cut);
        writeFile(path, cut);
        inifiletovar();
        QCOMPARE(kzct::lastLoadDamage()[0].copy, path + ".damaged");
        QVERIFY(!QFile::exists(path + ".damaged.1"));
    }

    void anEmptyRunDataFileIsDamage() {
        makeRecipe();
        writeFile(kzct::runDataFile("r1"), QByteArray());
        fillArrays(9.0);
        inifiletovar();
        const QList<kzct::LoadDamage> damage = kzct::lastLoadDamage();
        QCOMPARE(damage.size(), 1);
        QCOMPARE(damage[0].file, kzct::runDataFile("r1"));
        QCOMPARE(damage[0].missing, kGrSize);
        QVERIFY(QFile::exists(kzct::runDataFile("r1") + ".damaged"));
    }

    // Files written before they had an end line still load; only missing entries warn.
    void anOlderFileWithoutEndLine() {
        makeRecipe();
        const QString path = kzct::runDataFile("r1");
        QByteArray old = readFile(path);
        old.truncate(old.indexOf("\n; end of file"));
        writeFile(path, old + "\n");
        fillArrays(9.0);
        inifiletovar();
        QVERIFY(kzct::lastLoadDamage().isEmpty());
        QCOMPARE(gr[63], 64.0);

        old.truncate(old.indexOf("\n60="));
        writeFile(path, old + "\n");
        inifiletovar();
        QCOMPARE(kzct::lastLoadDamage().size(), 1);
        QCOMPARE(kzct::lastLoadDamage()[0].missing, 4);
    }

    // A line taken out of a whole file (end line present) is missing too.
    void aLineMissingInTheMiddle() {
        makeRecipe();
        const QString path = kzct::parameterFile("r1");
        QByteArray text = readFile(path);
        const int at = text.indexOf("\n250=");
        text.remove(at + 1, text.indexOf('\n', at + 1) - at);
        writeFile(path, text);
        inifiletovar();
        QCOMPARE(kzct::lastLoadDamage().size(), 1);
        QCOMPARE(kzct::lastLoadDamage()[0].missing, 1);
        QVERIFY(!kzct::lastLoadDamage()[0].cut);
    }

    // The main window tells the operator once, with the file and the count.
    void theOperatorIsWarnedOnce() {
        SimRig rig;
        QCOMPARE(DataSetup::ensure(), QString());
        const QString path = kzct::parameterFile("demo");
        cutAfter(path, "\n99=");
        auto w = std::make_unique<MainWindow1>(nullptr, drivenByTest());
        const QStringList shownWarnings = warnings();
        QCOMPARE(shownWarnings.size(), 1);
        QVERIFY2(shownWarnings[0].contains(path) && shownWarnings[0].contains("缺少 1000 项") &&
                     shownWarnings[0].contains("Parameters.ini.damaged"),
                 qPrintable(shownWarnings[0]));
        startupDone = 1;
        for (int i = 0; i < 5; ++i) w->tick100ms();
        startupDone = 0;
        QCOMPARE(warnings().size(), 1);
    }

    void valuesThatAreNotNumbersReadBack() {
        makeRecipe();
        gf[5] = std::nan("");
        gf[6] = INFINITY;
        gf[7] = -INFINITY;
        inivartofile();
        QVERIFY(readFile(KZLOG::CLog::currentFile()).contains("gf[5] holds nan"));
        fillArrays(9.0);
        inifiletovar();
        QVERIFY(std::isnan(gf[5]));
        QCOMPARE(gf[6], double(INFINITY));
        QCOMPARE(gf[7], -double(INFINITY));
        QVERIFY(kzct::lastLoadDamage().isEmpty());
        QVERIFY(kzct::lastLoadProblems().isEmpty());
    }

    // An index equal to the array's size is outside it, as every larger one.
    void anIndexAtTheArraySizeIsRefused() {
        makeRecipe();
        QByteArray text = readFile(kzct::runDataFile("r1"));
        text.replace("\n; end of file", QByteArray("\n") + QByteArray::number(kGrSize) + "=5\n; end of file");
        writeFile(kzct::runDataFile("r1"), text);
        fillArrays(9.0);
        inifiletovar();
        const QStringList problems = kzct::lastLoadProblems();
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].contains(QString("%1=5 (index outside 0..%2)").arg(kGrSize).arg(kGrSize - 1)),
                 qPrintable(problems[0]));
        QCOMPARE(gr[kGrSize - 1], double(kGrSize));
    }

    // ---- the current recipe's name ----

    void aRecipeNameReachingOutsideFallsBack_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("parent") << QByteArray("../outside\n");
        QTest::newRow("absolute") << QByteArray("/tmp\n");
        QTest::newRow("dots") << QByteArray("..\n");
        QTest::newRow("empty") << QByteArray("\n");
    }
    void aRecipeNameReachingOutsideFallsBack() {
        QFETCH(QByteArray, line);
        SimRig rig;
        QCOMPARE(DataSetup::ensure(), QString());
        const QString outside = Paths::root() + "/outside";
        QVERIFY(QDir().mkpath(outside));
        writeFile(kzct::projectNameFile(), line);
        QCOMPARE(kzct::currentRecipeName(), QString()); // the library refuses it as well
        auto w = std::make_unique<MainWindow1>(nullptr, drivenByTest());
        QCOMPARE(warnings().size(), 1);
        QVERIFY2(warnings()[0].contains("demo"), qPrintable(warnings()[0]));
        QCOMPARE(currentRecipe, QString("demo"));
        QVERIFY(w->windowTitle().contains("当前配方：demo"));
        QCOMPARE(kzct::currentRecipeName(), QString("demo"));
        answer = true;
        w->close();
        QCOMPARE(QDir(outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QVERIFY(!QFile::exists("/tmp/Parameters.ini"));
        QVERIFY(QFile::exists(kzct::parameterFile("demo")));
    }
};

QTEST_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
