// Program start-up below the main window: the motion card start-up, the image
// housekeeping and the single-instance guard (in-process and with the real program).
#include "TestSupport.h"

#include "app/ImageHousekeeping.h"
#include "app/MachineData.h"
#include "app/Prompt.h"
#include "app/SingleInstance.h"
#include "machine/CardInit.h"
#include "platform/CardBackend.h"
#include "platform/DiskSpace.h"
#include "platform/Paths.h"
#include "platform/kzmc.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace {

// Passes every call on to the virtual card and notes the start-up calls in order.
class RecordingCard : public CardBackend {
public:
    explicit RecordingCard(CardBackend& inner) : m(inner) {}
    QStringList log;

    short boardInit() override { return note("boardInit", m.boardInit()); }
    short boardClose() override { return note("boardClose", m.boardClose()); }
    short setDebugMode(WORD mode, const char* f) override {
        return note(QString("debug %1 %2").arg(mode).arg(QString::fromUtf8(f)), m.setDebugMode(mode, f));
    }
    short downloadConfigfile(WORD c, const char* f) override {
        return note(QString("download %1 %2").arg(c).arg(QString::fromLocal8Bit(f)),
                    m.downloadConfigfile(c, f));
    }
    short setCanState(WORD c, WORD n, WORD s, WORD b) override {
        return note(QString("can %1 %2 %3 %4").arg(c).arg(n).arg(s).arg(b), m.setCanState(c, n, s, b));
    }
    short getCanState(WORD c, WORD* n, WORD* s) override { return m.getCanState(c, n, s); }
    short setEquiv(WORD c, WORD a, double e) override {
        return note(QString("equiv %1 %2").arg(a).arg(e), m.setEquiv(c, a, e));
    }
    short getEquiv(WORD c, WORD a, double* e) override { return m.getEquiv(c, a, e); }
    short setFactorError(WORD c, WORD a, double f, long e) override {
        return note(QString("factor %1 %2 %3").arg(a).arg(f).arg(e), m.setFactorError(c, a, f, e));
    }
    short setDecStopTime(WORD c, WORD a, double t) override {
        return note(QString("decstop %1 %2").arg(a).arg(t), m.setDecStopTime(c, a, t));
    }
    short setHomeElReturn(WORD c, WORD a, WORD e) override {
        return note(QString("elreturn %1 %2").arg(a).arg(e), m.setHomeElReturn(c, a, e));
    }
    DWORD axisIoStatus(WORD c, WORD a) override { return m.axisIoStatus(c, a); }
    short readInbit(WORD c, WORD b) override { return m.readInbit(c, b); }
    short readOutbit(WORD c, WORD b) override { return m.readOutbit(c, b); }
    short writeOutbit(WORD c, WORD b, WORD o) override { return m.writeOutbit(c, b, o); }
    short readCanInbit(WORD c, WORD n, WORD b) override { return m.readCanInbit(c, n, b); }
    short readCanOutbit(WORD c, WORD n, WORD b) override { return m.readCanOutbit(c, n, b); }
    short writeCanOutbit(WORD c, WORD n, WORD b, WORD o) override { return m.writeCanOutbit(c, n, b, o); }
    short writeSevonPin(WORD c, WORD a, WORD o) override {
        return note(QString("sevon %1 %2").arg(a).arg(o), m.writeSevonPin(c, a, o));
    }
    short readSevonPin(WORD c, WORD a) override { return m.readSevonPin(c, a); }
    short setPositionUnit(WORD c, WORD a, double p) override { return m.setPositionUnit(c, a, p); }
    short getPositionUnit(WORD c, WORD a, double* p) override { return m.getPositionUnit(c, a, p); }
    short setEncoder(WORD c, WORD a, long v) override { return m.setEncoder(c, a, v); }
    short getEncoderUnit(WORD c, WORD a, double* p) override { return m.getEncoderUnit(c, a, p); }
    short setProfileUnit(WORD c, WORD a, double v0, double v1, double ta, double td, double vs) override {
        return m.setProfileUnit(c, a, v0, v1, ta, td, vs);
    }
    short pmoveUnit(WORD c, WORD a, double d, WORD p) override { return m.pmoveUnit(c, a, d, p); }
    short vmove(WORD c, WORD a, WORD d) override { return m.vmove(c, a, d); }
    short checkDone(WORD c, WORD a) override { return m.checkDone(c, a); }
    short stop(WORD c, WORD a, WORD s) override { return m.stop(c, a, s); }
    short emgStop(WORD c) override { return m.emgStop(c); }
    short getStopReason(WORD c, WORD a, long* r) override { return m.getStopReason(c, a, r); }
    short clearStopReason(WORD c, WORD a) override { return m.clearStopReason(c, a); }
    short setHomemode(WORD c, WORD a, WORD d, double v, WORD mo, WORD s) override {
        return m.setHomemode(c, a, d, v, mo, s);
    }
    short setHomeProfileUnit(WORD c, WORD a, double l, double h, double ta, double td) override {
        return m.setHomeProfileUnit(c, a, l, h, ta, td);
    }
    short setHomePositionUnit(WORD c, WORD a, WORD e, double p) override {
        return m.setHomePositionUnit(c, a, e, p);
    }
    short homeMove(WORD c, WORD a) override { return m.homeMove(c, a); }
    short getHomeResult(WORD c, WORD a, WORD* s) override { return m.getHomeResult(c, a, s); }

    QStringList entries(const QString& kind) const {
        return log.filter(QRegularExpression("^" + kind + " "));
    }

private:
    short note(const QString& what, short rc) {
        log << what;
        return rc;
    }
    CardBackend& m;
};

// Installs a recorder in front of the rig's card for the life of the scope.
struct Recording {
    explicit Recording(SimRig& rig) : card(rig.card()), inner(rig.card()) { CardBackend::install(&card); }
    ~Recording() { CardBackend::install(&inner); }
    RecordingCard card;
    CardBackend& inner;
};

QString configFile() {
    return Paths::configDir() + "/QRDMC3C00.ini";
}

// Sets a file's or folder's (or link's own) modification time to ageSecs before the clock's now.
void age(const QString& path, double ageSecs) {
    const int64_t ms = clk::wallMs() - int64_t(ageSecs * 1000.0);
    timespec times[2];
    times[0].tv_sec = times[1].tv_sec = ms / 1000;
    times[0].tv_nsec = times[1].tv_nsec = (ms % 1000) * 1000000;
    QVERIFY2(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0,
             qPrintable(path));
}

void touch(const QString& path, double ageSecs) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("image");
    f.close();
    age(path, ageSecs);
}

constexpr double kHour = 3600.0;

} // namespace

namespace {
void startProgram(QProcess& p, const QString& root, const QString& ready) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TAVRIN_DATA", root);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TAVRIN_READY_FILE", ready);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationDirPath() + "/../tavrin", QStringList());
    QVERIFY(p.waitForStarted(10000));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sets the entry "index=..." of an INI text.
void setEntry(QByteArray& text, int index, const QByteArray& value) {
    const QByteArray key = "\n" + QByteArray::number(index) + "=";
    const int at = text.indexOf(key);
    QVERIFY(at >= 0);
    text.replace(at, text.indexOf('\n', at + 1) - at, key + value);
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
    QList<Prompt::Shown> shown;

private slots:
    void initTestCase() {
        QVERIFY(Paths::ensureFolders());
        Prompt::setHandler([this](const Prompt::Shown& s) {
            shown << s;
            return false;
        });
    }
    void init() {
        shown.clear();
        QVERIFY(SimRig::writeCardConfig(configFile()));
    }

    // ---- motion card start-up ----

    void boardInitResult_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("warns");
        QTest::newRow("no card (0)") << 0 << true;
        QTest::newRow("one card (1)") << 1 << false;
        QTest::newRow("seven cards (7)") << 7 << false;
        QTest::newRow("error (8)") << 8 << true;
    }
    void boardInitResult() {
        QFETCH(int, result);
        QFETCH(bool, warns);
        SimRig rig;
        rig.plant().setBoardInitResult(result);
        QWidget owner;
        initCard(&owner);
        if (warns) {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].kind, Prompt::Kind::Warning);
            QCOMPARE(shown[0].title, QString("错误"));
            QCOMPARE(shown[0].text, QString("初始化控制卡失败！"));
            QCOMPARE(shown[0].parent, &owner);
            QCOMPARE(cardOk, 0.0);
        } else {
            QVERIFY(shown.isEmpty());
            QCOMPARE(cardOk, 1.0);
        }
        // The start-up goes on after the warning: the bus runs and the drives are on.
        QVERIFY(rig.plant().canRunning());
        QVERIFY(rig.plant().axis(0).enabled());
    }

    void missingConfigurationWarns() {
        SimRig rig;
        QVERIFY(QFile::remove(configFile()));
        initCard(nullptr);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QString("下载板卡文件"));
        QCOMPARE(shown[0].text, QString("下载板卡文件文件失败！"));
        QCOMPARE(shown[0].parent, static_cast<QWidget*>(nullptr));
        QCOMPARE(cardOk, 0.0);
        QVERIFY(rig.plant().canRunning());
    }

    void rejectedConfigurationWarns() {
        SimRig rig;
        rig.plant().setConfigRejected(true);
        initCard(nullptr);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QString("下载板卡文件"));
        QCOMPARE(cardOk, 0.0);
    }

    void missingCardWarnsTwice() {
        SimRig rig;
        rig.plant().setCardMissing(true);
        initCard(nullptr);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QString("初始化控制卡失败！"));
        QCOMPARE(shown[1].text, QString("下载板卡文件文件失败！"));
        QCOMPARE(cardOk, 0.0);
    }

    void healthyCardNeedsNoWord() {
        SimRig rig;
        initCard(nullptr);
        QVERIFY(shown.isEmpty());
        QCOMPARE(cardOk, 1.0);
        WORD nodes = 0, state = 0;
        dmc_get_can_state(0, &nodes, &state);
        QCOMPARE(int(nodes), 1);
        QCOMPARE(int(state), 3);
    }

    void pathsHandedToTheCard() {
        SimRig rig;
        Recording rec(rig);
        initCard(nullptr);
        const QString config = QDir::toNativeSeparators(Paths::programDir() + "/Config/QRDMC3C00.ini");
        QCOMPARE(rec.card.entries("download"), QStringList{"download 0 " + config});
        QCOMPARE(rec.card.entries("debug"), QStringList{"debug 2 " + Paths::programDir() + "/DMCerr.txt"});
        QCOMPARE(QString::fromStdString(rig.card().lastConfigPath()), config);
    }

    void axesConfiguredInOrder() {
        SimRig rig;
        Recording rec(rig);
        initCard(nullptr);
        QStringList expected{"boardInit", "debug", "download", "can 0 3 1 0"};
        for (int a = 0; a < 12; ++a)
            expected << QString("equiv %1 %2").arg(a).arg(a == 3 ? 55.555 : a == 11 ? 38.194 : 1000.0);
        for (int a = 0; a < 12; ++a) expected << QString("factor %1 1 3").arg(a);
        for (int a = 0; a < 12; ++a) expected << QString("decstop %1 0.1").arg(a);
        for (int a = 0; a < 12; ++a) expected << QString("elreturn %1 1").arg(a);
        QStringList seen;
        for (const QString& e : rec.card.log) {
            if (e.startsWith("sevon")) break;
            seen << (e.startsWith("debug") || e.startsWith("download") ? e.section(' ', 0, 0) : e);
        }
        QCOMPARE(seen, expected);
        // The card holds the scales.
        double equiv = 0;
        dmc_get_equiv(0, 11, &equiv);
        QCOMPARE(equiv, 38.194);
        dmc_get_equiv(0, 3, &equiv);
        QCOMPARE(equiv, 55.555);
    }

    void servoEnablePolarity() {
        SimRig rig;
        Recording rec(rig);
        initCard(nullptr);
        const QStringList enables = rec.card.entries("sevon");
        // Axes 8..11 are never switched; axis 11 is configured above but has no drive enable.
        QCOMPARE(enables.size(), 8);
        for (int a = 8; a < 12; ++a) QVERIFY(rec.card.entries(QString("sevon %1").arg(a)).isEmpty());
        // What initCard wrote equals axis_enable with level 1 for axes 0..2 and level 0 for 3..7.
        for (int a = 0; a < 8; ++a) {
            rec.card.log.clear();
            axis_enable(0, WORD(a), a <= 2 ? 1 : 0);
            QCOMPARE(enables[a], rec.card.log.value(0));
        }
        // As the reset judges it: pin 0 for axes 0..2, non-zero for 3..7.
        for (int a = 0; a < 8; ++a) {
            if (a <= 2)
                QCOMPARE(int(dmc_read_sevon_pin(0, WORD(a))), 0);
            else
                QVERIFY(dmc_read_sevon_pin(0, WORD(a)) != 0);
            QVERIFY2(rig.plant().axis(a).enabled(), qPrintable(QString::number(a)));
        }
    }

    void enableRuleIgnoresOtherAxes() {
        SimRig rig;
        Recording rec(rig);
        axisEnableLvl(0, -1, 1);
        axisEnableLvl(0, 8, 1);
        axisEnableLvl(0, 11, 0);
        QVERIFY(rec.card.log.isEmpty());
        axisEnableLvl(0, 3, 0); // off for a 3..7 drive is axis_enable level 1
        const QString written = rec.card.log.value(0);
        rec.card.log.clear();
        axis_enable(0, 3, 1);
        QCOMPARE(written, rec.card.log.value(0));
    }

    // ---- image housekeeping ----

    void housekeepingWhenSpaceShort() {
        Lockstep clock;
        clock.install();
        const QString root = Paths::root() + "/hk-short";
        const QString outside = Paths::root() + "/hk-outside";
        QDir(root).removeRecursively();
        QDir(outside).removeRecursively();
        touch(root + "/old.png", 11 * kHour);
        touch(root + "/young.png", 9 * kHour);
        touch(root + "/day/old.png", 11 * kHour);
        touch(root + "/day/young.png", 9 * kHour);
        age(root + "/day", 99 * kHour);
        touch(root + "/week/young.png", 1 * kHour);
        age(root + "/week", 101 * kHour);
        touch(outside + "/kept.png", 200 * kHour);
        age(outside, 200 * kHour);
        QVERIFY(QFile::link(outside, root + "/elsewhere"));
        QVERIFY(QFile::link(outside + "/kept.png", root + "/kept-link.png"));
        age(root + "/elsewhere", 200 * kHour);
        age(root + "/kept-link.png", 200 * kHour);

        DiskSpace::pretendFreeBytes(ImageHousekeeping::kMinFreeBytes - 1);
        ImageHousekeeping::run(root);
        DiskSpace::clearPretend();

        QVERIFY(!QFile::exists(root + "/old.png"));
        QVERIFY(QFile::exists(root + "/young.png"));
        QVERIFY(!QFile::exists(root + "/day/old.png"));
        QVERIFY(QFile::exists(root + "/day/young.png"));
        QVERIFY(!QFileInfo::exists(root + "/week")); // old folder goes with its young content
        QVERIFY(QFile::exists(outside + "/kept.png"));
        QVERIFY(QFileInfo(root + "/elsewhere").isSymLink());
    }

    void housekeepingLeavesEverythingWhenSpaceSuffices() {
        Lockstep clock;
        clock.install();
        const QString root = Paths::root() + "/hk-ample";
        QDir(root).removeRecursively();
        touch(root + "/old.png", 11 * kHour);
        touch(root + "/week/old.png", 150 * kHour);
        age(root + "/week", 150 * kHour);
        DiskSpace::pretendFreeBytes(ImageHousekeeping::kMinFreeBytes);
        QCOMPARE(ImageHousekeeping::run(root), 0);
        DiskSpace::clearPretend();
        QVERIFY(QFile::exists(root + "/old.png"));
        QVERIFY(QFile::exists(root + "/week/old.png"));
    }

    void housekeepingRunsOnItsOwnThread() {
        Lockstep clock;
        clock.install();
        const QString old = Paths::imageDir() + "/2026-01-04/old.png";
        touch(old, 11 * kHour);
        touch(Paths::imageDir() + "/young.png", 1 * kHour);
        DiskSpace::pretendFreeBytes(1000);
        ImageHousekeeping::start();
        // The caller does not wait for it; the file goes soon after.
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(old), 10000);
        // Its thread reads this test's clock: joined before the clock goes.
        ImageHousekeeping::stop();
        QVERIFY(!ImageHousekeeping::running());
        DiskSpace::clearPretend();
        QVERIFY(QFile::exists(Paths::imageDir() + "/young.png"));
    }

    // ---- single instance ----

    void secondHolderIsRefused() {
        const QString key = SingleInstance::keyFor(Paths::root() + "/in-process");
        SingleInstance first(key);
        SingleInstance second(key);
        QVERIFY(first.acquire());
        QVERIFY(!second.acquire());
        first.release();
        QVERIFY(second.acquire());
        QVERIFY(SingleInstance::keyFor("/a") != SingleInstance::keyFor("/b"));
    }

    // The real program: a second start ends with -1 and shows nothing; after the
    // running copy is killed, the next start runs.
    void programStartsOncePerMachine() {
        const QString program = QCoreApplication::applicationDirPath() + "/../tavrin";
        if (!QFile::exists(program)) QSKIP("the program is not built");
        const QString root = Paths::root() + "/instance";
        QDir(root).removeRecursively();
        QVERIFY(QDir().mkpath(root));
        auto start = [&](QProcess& p, const QString& ready) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("TAVRIN_DATA", root);
            env.insert("QT_QPA_PLATFORM", "offscreen");
            env.insert("TAVRIN_READY_FILE", ready);
            p.setProcessEnvironment(env);
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.start(program, QStringList());
            QVERIFY(p.waitForStarted(10000));
        };

        QProcess first;
        start(first, root + "/ready-1");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root + "/ready-1"), 30000);

        QProcess second;
        start(second, root + "/ready-2");
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 255); // -1
        QVERIFY(!QFile::exists(root + "/ready-2"));
        QCOMPARE(first.state(), QProcess::Running);

        first.kill(); // SIGKILL: no clean-up of the shared memory
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitStatus(), QProcess::CrashExit);

        QProcess third;
        start(third, root + "/ready-3");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root + "/ready-3") || third.state() != QProcess::Running,
                                 30000);
        QCOMPARE(third.state(), QProcess::Running);
        QVERIFY(QFile::exists(root + "/ready-3"));
        third.kill();
        QVERIFY(third.waitForFinished(10000));

        // Leave no segment behind.
        SingleInstance cleanup(SingleInstance::keyFor(root));
        QVERIFY(cleanup.acquire());
        cleanup.release();
    }

    // Two copies on one data root reached through a symbolic link are one machine.
    void symbolicLinkIsTheSameMachine() {
        const QString root = Paths::root() + "/real-root";
        const QString link = Paths::root() + "/linked-root";
        QDir(root).removeRecursively();
        QFile::remove(link);
        QVERIFY(QDir().mkpath(root));
        QVERIFY(QFile::link(root, link));
        QCOMPARE(SingleInstance::keyFor(link), SingleInstance::keyFor(root));
        QCOMPARE(SingleInstance::keyFor(link + "/"), SingleInstance::keyFor(root));
        // A root not created yet, below a link.
        QCOMPARE(SingleInstance::keyFor(link + "/sub/../new"), SingleInstance::keyFor(root + "/new"));

        const QString program = QCoreApplication::applicationDirPath() + "/../tavrin";
        if (!QFile::exists(program)) QSKIP("the program is not built");
        QProcess first, second;
        startProgram(first, root, root + "/ready-1");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root + "/ready-1"), 30000);
        startProgram(second, link, root + "/ready-2");
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 255); // -1
        QCOMPARE(first.state(), QProcess::Running);
        first.terminate();
        QVERIFY(first.waitForFinished(30000));
    }

    // SIGTERM and SIGINT end the program as a close does, without the question: the
    // run data is saved, and the next start runs.
    void terminationSavesTheRunData_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void terminationSavesTheRunData() {
        QFETCH(int, signal);
        const QString program = QCoreApplication::applicationDirPath() + "/../tavrin";
        if (!QFile::exists(program)) QSKIP("the program is not built");
        const QString root = Paths::root() + "/terminated";
        QDir(root).removeRecursively();
        QVERIFY(QDir().mkpath(root));
        // A first run makes the demo recipe; a kill saves nothing.
        QProcess first;
        startProgram(first, root, root + "/ready-1");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root + "/ready-1"), 30000);
        first.kill();
        QVERIFY(first.waitForFinished(10000));

        // Run data the start changes: a tray cell of 0 is raised to 1.
        const QString runData = root + "/recipes/demo/RunData.ini";
        QFile in(runData);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QByteArray text = in.readAll();
        in.close();
        setEntry(text, 0, "0");
        setEntry(text, 21, "4321");
        QFile out(runData);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text);
        out.close();
        const QByteArray params = readAll(root + "/recipes/demo/Parameters.ini");

        QProcess second;
        startProgram(second, root, root + "/ready-2");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root + "/ready-2"), 30000);
        QCOMPARE(::kill(pid_t(second.processId()), signal), 0);
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        const QByteArray saved = readAll(runData);
        QVERIFY2(saved.contains("\n0=1\n") && saved.contains("\n21=4321\n"), saved.constData());
        QCOMPARE(readAll(root + "/recipes/demo/Parameters.ini"), params); // nobody answered "Yes"

        QProcess third;
        startProgram(third, root, root + "/ready-3");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(root + "/ready-3") || third.state() != QProcess::Running,
                                 30000);
        QCOMPARE(third.state(), QProcess::Running);
        third.terminate();
        QVERIFY(third.waitForFinished(30000));
        QCOMPARE(third.exitCode(), 0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
