// Parameter and run-data files of the recipes, and the demo recipe.
#include "TestSupport.h"
#include "platform/AtomicFile.h"
#include "platform/DiskSpace.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "recipes/DemoRecipe.h"
#include "sim/Lockstep.h"
#include "sim/Plant.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>

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

void clearArrays(double value) {
    for (auto& v : gd) v = value;
    for (auto& v : gf) v = value;
    for (auto& v : gr) v = value;
}

// A recipe "r1" with some values, current and saved.
void makeRecipe(const QString& name = "r1") {
    QDir().mkpath(kzct::recipeDir(name));
    QVERIFY(kzct::setCurrentRecipeName(name));
    clearArrays(0.0);
    gd[10] = 2.0; // a checked box
    gd[18] = 3.0;
    gd[316] = -0.1;
    gf[400] = 5.0;
    gf[600] = 1.0 / 3.0;
    gf[652] = 1e-9;
    gr[1] = 7.0;
    gr[21] = 12345.0;
    inivartofile();
    iniRUNvartofile();
}

double demoValue(char array, int index) {
    for (const DemoRecipe::Value& v : DemoRecipe::values()) {
        if (v.array == array && v.index == index) return v.value;
    }
    return 0.0;
}
} // namespace

class TestPersistence : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QDir(Paths::root()).removeRecursively();
        QVERIFY(Paths::ensureFolders());
        KZLOG::CLog::Initialize(QString());
    }

    void valuesSurviveSaveAndReloadExactly() {
        makeRecipe();
        const QByteArray params = readFile(kzct::parameterFile("r1"));
        QVERIFY(params.contains("[gd]\n"));
        QVERIFY(params.contains("\n10=2\n")); // human-readable
        QVERIFY(params.contains("[gf]\n"));
        QVERIFY(!params.contains("[gr]")); // run data kept apart
        QVERIFY(readFile(kzct::runDataFile("r1")).contains("\n21=12345\n"));

        clearArrays(9.0);
        inifiletovar();
        QCOMPARE(gd[10], 2.0);
        QVERIFY(gd[10] == 2.0);
        QCOMPARE(gd[18], 3.0);
        QVERIFY(gd[316] == -0.1);
        QVERIFY(gf[600] == 1.0 / 3.0);
        QVERIFY(gf[652] == 1e-9);
        QCOMPARE(gr[1], 7.0);
        QCOMPARE(gr[21], 12345.0);
        QCOMPARE(gd[11], 0.0); // every entry is written, zeros too
        QCOMPARE(gf[kGfSize - 1], 0.0);
        QVERIFY(kzct::lastLoadProblems().isEmpty());
    }

    void parametersAndRunDataAreSavedSeparately() {
        makeRecipe();
        gd[10] = 0.0;
        gr[1] = 8.0;
        iniRUNvartofile(); // shutdown with "No": run data only
        clearArrays(9.0);
        inifiletovar();
        QCOMPARE(gd[10], 2.0);
        QCOMPARE(gr[1], 8.0);
    }

    void anInterruptedSaveLeavesTheOldFileWhole() {
        makeRecipe();
        const QByteArray before = readFile(kzct::parameterFile("r1"));
        gd[10] = 0.0;
        gf[400] = 99.0;
        AtomicFile::interruptNextWriteForTest();
        inivartofile(); // dies half-way through the temporary file
        QCOMPARE(readFile(kzct::parameterFile("r1")), before);
        const QByteArray partial = readFile(kzct::parameterFile("r1") + ".saving");
        QVERIFY(!partial.isEmpty());
        QVERIFY(partial.size() < before.size());

        clearArrays(9.0);
        inifiletovar();
        QCOMPARE(gd[10], 2.0);
        QCOMPARE(gf[400], 5.0);
        QVERIFY(kzct::lastLoadProblems().isEmpty());

        // The next save goes through and leaves no temporary file behind.
        gf[400] = 6.0;
        inivartofile();
        QVERIFY(!QFile::exists(kzct::parameterFile("r1") + ".saving"));
        clearArrays(9.0);
        inifiletovar();
        QCOMPARE(gf[400], 6.0);
    }

    void aCorruptFileLoadsWhatItCanAndStaysAsItIs() {
        makeRecipe();
        const QByteArray corrupt = "; edited by hand\n"
                                   "[gd]\n"
                                   "7=2\n"
                                   "abc=1\n"
                                   "8=xyz\n"
                                   "999=1\n"
                                   " 9 = 1.5 \n"
                                   "[gx]\n"
                                   "1=2\n"
                                   "[gf]\n"
                                   "400=4.5\n"
                                   "401=1.2.3\n"
                                   "garbage line\n"
                                   "600=12.5";
        writeFile(kzct::parameterFile("r1"), corrupt);
        clearArrays(9.0);
        inifiletovar();
        QCOMPARE(gd[7], 2.0);
        QCOMPARE(gd[9], 1.5);
        QCOMPARE(gf[400], 4.5);
        QCOMPARE(gf[600], 12.5); // last line without a line end
        QCOMPARE(gd[8], 9.0);    // unreadable: keeps its value
        QCOMPARE(gf[401], 9.0);
        QCOMPARE(gd[10], 9.0); // missing: keeps its value
        QCOMPARE(gr[1], 7.0);  // the run data file is fine
        const QStringList problems = kzct::lastLoadProblems();
        QCOMPARE(problems.size(), 6);
        QVERIFY(problems[0].startsWith("Parameters.ini:4:"));
        QVERIFY(problems.join('\n').contains("999=1"));
        QVERIFY(problems.join('\n').contains("[gx]"));
        // Loading never writes; the log names the skipped entries.
        QCOMPARE(readFile(kzct::parameterFile("r1")), corrupt);
        const QByteArray log = readFile(KZLOG::CLog::currentFile());
        QVERIFY(log.contains("unreadable entry skipped: Parameters.ini:5: 8=xyz"));
    }

    void aMissingRecipeKeepsTheValuesAndSaysSo() {
        makeRecipe();
        clearArrays(9.0);
        QFile::remove(kzct::projectNameFile());
        inifiletovar();
        QCOMPARE(gd[10], 9.0);
        inivartofile(); // nowhere to save: nothing written
        QVERIFY(QFile::exists(kzct::parameterFile("r1")));
        QVERIFY(readFile(KZLOG::CLog::currentFile()).contains("no current recipe"));

        QVERIFY(kzct::setCurrentRecipeName("gone"));
        inifiletovar();
        QCOMPARE(gf[400], 9.0);
        QVERIFY(readFile(KZLOG::CLog::currentFile()).contains("recipe \"gone\" not found"));
        QVERIFY(!QFile::exists(kzct::recipeDir("gone")));

        // A recipe folder without a run-data file still loads its parameters.
        QVERIFY(kzct::setCurrentRecipeName("r1"));
        QFile::remove(kzct::runDataFile("r1"));
        inifiletovar();
        QCOMPARE(gd[10], 2.0);
        QCOMPARE(gr[1], 9.0);
    }

    void recipeNamesAndFolders() {
        QVERIFY(kzct::checkRecipeName("镜筒A-01").isEmpty());
        QVERIFY(!kzct::checkRecipeName("").isEmpty());
        QVERIFY(!kzct::checkRecipeName(" a").isEmpty());
        QVERIFY(!kzct::checkRecipeName("a/b").isEmpty());
        QVERIFY(!kzct::checkRecipeName("..").isEmpty());
        makeRecipe("b");
        makeRecipe("a");
        QCOMPARE(kzct::recipeNames(), QStringList({"a", "b"}));
        QCOMPARE(kzct::currentRecipeName(), QString("a"));
        QCOMPARE(kzct::recipeDir("a"), Paths::recipesDir() + "/a");
    }

    // ---- the demo recipe ----
    void demoRecipeIsCreatedOnceAndMadeCurrent() {
        QVERIFY(DemoRecipe::ensure().isEmpty());
        QCOMPARE(kzct::currentRecipeName(), QString("demo"));
        QCOMPARE(kzct::recipeNames(), QStringList({"demo"}));
        clearArrays(9.0);
        inifiletovar();
        for (int i = 0; i < kGdSize; ++i) QCOMPARE(double(gd[i]), demoValue('d', i));
        for (int i = 0; i < kGfSize; ++i) QCOMPARE(double(gf[i]), demoValue('f', i));
        for (int i = 0; i < kGrSize; ++i) QCOMPARE(double(gr[i]), demoValue('r', i));

        // A second start changes nothing.
        gf[400] = 7.0;
        inivartofile();
        const QByteArray saved = readFile(kzct::parameterFile("demo"));
        QVERIFY(DemoRecipe::ensure().isEmpty());
        QCOMPARE(readFile(kzct::parameterFile("demo")), saved);

        // Recipes but no current one: one of them becomes current.
        makeRecipe("other");
        QFile::remove(kzct::projectNameFile());
        QVERIFY(DemoRecipe::ensure().isEmpty());
        QCOMPARE(kzct::currentRecipeName(), QString("demo"));
    }

    void demoRecipeFitsTheVirtualMachine() {
        const auto f = [](int i) { return demoValue('f', i); };
        const auto d = [](int i) { return demoValue('d', i); };
        // Every cell of every tray, as the named moves compute it, lies inside X/Y travel.
        struct Start {
            int x, tray;
        };
        const Start starts[] = {{600, 0}, {605, 0}, {615, 1}, {620, 1}, {630, 2},
                                {635, 1}, {640, 1}, {645, 2}, {650, 1}};
        for (const Start& s : starts) {
            const int g = 500 + 10 * s.tray;
            const int rows = int(f(g)), cols = int(f(g + 1));
            QVERIFY(rows >= 1 && cols >= 1);
            for (int cell = 1; cell <= rows * cols; ++cell) {
                for (int mode = 0; mode <= 1; ++mode) {
                    double x = 0, y = 0;
                    getlpxy(f(s.x), f(s.x + 1), cell, rows, cols, f(g + 2), -f(g + 3), &x, &y, mode);
                    const sim::AxisMechanics& mx = sim::Plant::mechanics(0);
                    const sim::AxisMechanics& my = sim::Plant::mechanics(1);
                    QVERIFY2(x > mx.minTravel && x < mx.maxTravel && y > my.minTravel && y < my.maxTravel,
                             qPrintable(QString("gf[%1] cell %2: %3, %4").arg(s.x).arg(cell).arg(x).arg(y)));
                }
            }
        }
        // The label photo table holds at most 19 cells.
        QVERIFY(f(500) * f(501) <= 19);
        // Z heights inside the travel; photo heights count as safe, work heights do not.
        const sim::AxisMechanics& z = sim::Plant::mechanics(2);
        for (int i : {400, 402, 412, 415, 602, 607, 612, 617, 622, 627, 633, 642, 647, 652})
            QVERIFY2(f(i) >= 0 && f(i) < z.maxTravel, qPrintable(QString::number(i)));
        for (int i : {607, 622, 642, 647, 652}) QVERIFY(f(i) <= f(400));
        for (int i : {602, 617, 412, 415}) QVERIFY(f(i) > f(400));
        QCOMPARE(f(401), 0.0);
        for (int i : {632, 637}) QVERIFY(f(i) > 0 && f(i) < sim::Plant::mechanics(4).maxTravel);
        // Each homing of X, Y, Z, NG Z and Q fits in the sequence's 10 s from anywhere it may stand.
        for (int axis : {0, 1, 2, 4}) {
            const sim::AxisMechanics& m = sim::Plant::mechanics(axis);
            QVERIFY2(m.powerOnMax / d(90 + axis) < 5.0, m.name);
            QVERIFY(d(130 + axis) > 0 && d(130 + axis) <= 20);
        }
        QVERIFY(sim::Plant::mechanics(3).period / d(93) < 5.0);
        // Corrections agree with the taught points: nozzle = camera + compensation.
        QCOMPARE(f(600), f(605) + d(310));
        QCOMPARE(f(615), f(620) + d(315));
        QCOMPARE(d(325), f(410));
        QCOMPARE(d(326), f(411));
        // Ranges of the page widgets.
        for (int i = 200; i <= 203; ++i) QVERIFY(f(i) > 0 && f(i) <= 1000);
        QVERIFY(d(18) == 2.0 || d(18) == 3.0);
        QVERIFY(d(31) >= 1.0 && d(32) >= 1.0);
        for (int i = 0; i <= 7; ++i) QVERIFY(demoValue('r', i) >= 1.0);
    }

    void demoRecipeDocumentListsEveryValue() {
        const QString path = QFINDTESTDATA("../docs/demo-recipe.md");
        QVERIFY(!path.isEmpty());
        const QString doc = QString::fromUtf8(readFile(path));
        QRegularExpression row(R"(^\| g([dfr])\[(\d+)\] \|[^|]*\| (-?[0-9.]+) \|)",
                               QRegularExpression::MultilineOption);
        QMap<QString, double> documented;
        for (auto it = row.globalMatch(doc); it.hasNext();) {
            const auto m = it.next();
            const QString key = m.captured(1) + m.captured(2);
            QVERIFY2(!documented.contains(key), qPrintable("twice: " + key));
            documented.insert(key, m.captured(3).toDouble());
        }
        QCOMPARE(documented.size(), int(DemoRecipe::values().size()));
        for (const DemoRecipe::Value& v : DemoRecipe::values()) {
            const QString key = QString(QChar(v.array)) + QString::number(v.index);
            QVERIFY2(documented.contains(key), qPrintable("not documented: " + key));
            QCOMPARE(documented.value(key), v.value);
        }
    }

    // ---- free space of the data drive ----
    void diskSpaceCanBePretended() {
        const qint64 real = DiskSpace::freeBytes();
        QVERIFY(real > 0);
        DiskSpace::pretendFreeBytes(49999999999LL);
        QCOMPARE(DiskSpace::freeBytes(), 49999999999LL);
        QCOMPARE(DiskSpace::freeBytes(Paths::imageDir()), 49999999999LL);
        DiskSpace::clearPretend();
        QVERIFY(DiskSpace::freeBytes() > 0);
        QVERIFY(DiskSpace::freeBytes(Paths::root() + "/not/there/yet") > 0);
    }
};

QTEST_MAIN(TestPersistence)
#include "tst_persistence.moc"
