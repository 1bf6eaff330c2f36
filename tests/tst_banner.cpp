// The run page's state banner on the machine at work: every state and every wait is
// brought about as on the machine (buttons, the neighbours, the feeder, the MES, the
// cameras, a cylinder) and the banner's text and colour are read as the tick left them.
// With TAVRIN_SCREENSHOT_DIR set the run page of five states is saved there.
#include "BannerRig.h"

#include "app/MachineStateBanner.h"
#include "app/Prompt.h"
#include "platform/Paths.h"
#include "sim/BeltTransport.h"
#include "sim/MesEmulator.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

using namespace bannertest;

namespace {

bool shows(ProductionRunner& r, BannerKind kind, const QString& part = QString()) {
    const BannerState& b = banner(r);
    return b.kind == kind && b.text.contains(part);
}

BannerState caught;

// Watched by a pass of its own: a blocking request (the MES) holds the harness's
// condition check off, not the passes.
bool waitsFor(ProductionRunner& r, BannerKind kind, const QString& part, double seconds) {
    bool hit = false;
    const int probe = r.clock.addPeriodic("probe", 20000, [&] {
        if (hit || !shows(r, kind, part)) return;
        hit = true;
        caught = banner(r);
    });
    r.clock.runUntil([&] { return hit; }, seconds);
    r.clock.setEnabled(probe, false);
    return hit;
}

QString seen(ProductionRunner& r) {
    return banner(r).text + " | " + state();
}

// The run page as the operator sees it, when pictures are asked for.
void shot(ProductionRunner& r, const QString& name, int messageTab = 0) {
    const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    MainWindow1* w = r.window.get();
    w->resize(1920, 1080);
    w->show();
    child<QTabWidget>(r, "tabWidget")->setCurrentIndex(messageTab);
    // The runner runs only the tick's machine logic; the window's own tick also
    // brings its widgets (the homing label, the banner) up to date.
    w->tick100ms();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    w->grab().save(QString("%1/run-page-%2.png").arg(dir, name));
}

} // namespace

class BannerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QDir(Paths::tableDir()).removeRecursively(); }

    // Power-up to production: not homed, homing, waiting for start, waiting for the
    // first tray, working; the label on the run page shows what the function says.
    void fromPowerUpToWork() {
        auto r = powered();
        QVERIFY2(shows(*r, BannerKind::NotHomed, "未回原点：请按复位"), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Yellow);
        shot(*r, "not-homed");

        r->plant().panel().clickButton(Panel::ResetButton, 100000);
        QVERIFY2(waitsFor(*r, BannerKind::Homing, "回原点中", 2.0), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Yellow);
        QVERIFY2(waitsFor(*r, BannerKind::WaitingForStart, "请按启动", 40.0), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Yellow);

        QVERIFY(started(*r));
        QVERIFY2(waitsFor(*r, BannerKind::Running, "成品盘第 1 穴", 60.0), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Green);
        r->window->showBanner();
        const QLabel* label = child<QLabel>(*r, "label_banner");
        QCOMPARE(label->text(), banner(*r).text);
        QVERIFY(label->styleSheet().contains("rgb(0, 170, 60)"));
        QVERIFY(label->font().bold());
        shot(*r, "running");
        // Still working a few products on: the cell moves on, the colour stays.
        QVERIFY2(waitsFor(*r, BannerKind::Running, "成品盘第 3 穴", 60.0), qPrintable(seen(*r)));
    }

    // The banner sits in the message tabs' bar: it stays in view whichever tab is chosen,
    // and the message views keep their place.
    void bannerVisibleOnEveryMessageTab() {
        auto r = powered();
        MainWindow1* w = r->window.get();
        w->resize(1920, 1080);
        w->show();
        QTabWidget* tabs = child<QTabWidget>(*r, "tabWidget");
        const QRect tabsBefore = tabs->geometry();
        const QLabel* label = child<QLabel>(*r, "label_banner");
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            QVERIFY2(label->isVisible(), qPrintable(QString::number(i)));
            QVERIFY(label->height() >= 36);
        }
        QCOMPARE(tabs->geometry(), tabsBefore);
        QCOMPARE(child<QTextBrowser>(*r, "textBrowser")->parentWidget()->parentWidget()->parentWidget(),
                 tabs);
        const QRect bar = tabs->tabBar()->geometry();
        QVERIFY2(label->geometry().left() >= bar.right(), "the banner covers a tab");
        w->hide();
    }

    // The upstream machine holds its tray back: after start the cycle waits for it, and
    // once that lasts longer than normal the banner says how long.
    void silentUpstreamIsAWaitForATray() {
        auto r =
            powered({}, [](ProductionRunner& m) { sim::findBelts(m.plant()).finishedUp->setSilent(true); });
        QVERIFY(homed(*r));
        QVERIFY(started(*r));
        QVERIFY2(waitsFor(*r, BannerKind::Waiting, "等待上游机台来料盘", 5.0), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Yellow);
        QVERIFY(!banner(*r).text.contains("已等待"));
        shot(*r, "waiting-for-tray");
        QVERIFY2(waitsFor(*r, BannerKind::Waiting, "（已等待 3", 40.0), qPrintable(seen(*r)));
        QVERIFY(banner(*r).text.startsWith("自动运行中：等待上游机台来料盘"));
        // The tray comes: the wait ends.
        sim::findBelts(r->plant()).finishedUp->setSilent(false);
        QVERIFY2(waitsFor(*r, BannerKind::Running, "成品盘第", 60.0), qPrintable(seen(*r)));
    }

    // The feeder's magazine is empty: the label job waits for a plate, then the feed
    // times out and the banner turns to the alarm.
    void emptyFeederIsAWaitThenAnAlarm() {
        auto r = powered({{"feederPlates", 1}});
        QVERIFY(homed(*r));
        QVERIFY(started(*r));
        QVERIFY2(waitsFor(*r, BannerKind::Waiting, "等待供料器送标签盘", 120.0), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Yellow);
        QVERIFY2(waitsFor(*r, BannerKind::Alarm, "报警：供料器送料超时报警", 60.0), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Red);
    }

    // The MES does not answer: the QR step waits for it, then its alarm shows.
    void silentMesIsAWaitThenTheMesAlarm() {
        auto r = powered();
        QString error;
        QVERIFY2(r->useMes(&error), qPrintable(error));
        r->mes()->setMode(sim::MesEmulator::Mode::Silent);
        QVERIFY(homed(*r));
        QVERIFY(started(*r));
        QVERIFY2(waitsFor(*r, BannerKind::Waiting, "等待MES回复", 60.0), qPrintable(seen(*r)));
        QCOMPARE(caught.colour, BannerColour::Yellow);
        QVERIFY2(waitsFor(*r, BannerKind::Alarm, "MES入站", 30.0), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Red);
    }

    // The QR camera never answers: a wait for the vision result, with its age.
    void silentCameraIsAWaitForVision() {
        auto r = powered({{"vision", QJsonObject{{"3", "silent"}}}});
        QVERIFY(homed(*r));
        QVERIFY(started(*r));
        QVERIFY2(waitsFor(*r, BannerKind::Waiting, "等待视觉结果", 60.0), qPrintable(seen(*r)));
        QVERIFY2(waitsFor(*r, BannerKind::Waiting, "等待视觉结果（已等待", 5.0), qPrintable(seen(*r)));
    }

    // A stuck cylinder: first a long wait for it, then the cylinder alarm, and with a
    // second alarm the newest is named with the count of the others.
    void stuckCylinderIsAWaitThenAlarms() {
        auto r = powered({{"cylinderStuck", QJsonArray{5}}});
        QVERIFY(homed(*r));
        QVERIFY(started(*r));
        QVERIFY2(waitsFor(*r, BannerKind::Waiting, "等待气缸到位（已等待", 60.0), qPrintable(seen(*r)));
        QVERIFY2(waitsFor(*r, BannerKind::Alarm, "报警：组装定位升降气缸报警", 30.0), qPrintable(seen(*r)));
        QVERIFY(!banner(*r).text.contains("另有"));
        alarmFlags[17] = 1; // a label photo alarm on top
        r->clock.runFor(0.3);
        QVERIFY2(shows(*r, BannerKind::Alarm, "报警：标签拍照报警（另有 1 条报警）"), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Red);
        shot(*r, "alarm-log-tab", 3);
        // Cleared: the older one is back alone.
        alarmFlags[17] = 0;
        r->clock.runFor(0.3);
        QVERIFY2(shows(*r, BannerKind::Alarm, "报警：组装定位升降气缸报警"), qPrintable(seen(*r)));
        QVERIFY(!banner(*r).text.contains("另有"));
    }

    // E-stop and doors come before anything else; each alone.
    void estopAndDoors() {
        auto r = powered();
        QVERIFY(homed(*r));
        QVERIFY(started(*r));
        r->plant().panel().setEstopPressed(true);
        QVERIFY2(waitsFor(*r, BannerKind::EStop, "急停按下", 0.5), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Red);
        shot(*r, "estop");
        r->plant().panel().setEstopPressed(false);
        r->clock.runFor(0.5);
        QVERIFY2(!shows(*r, BannerKind::EStop), qPrintable(seen(*r)));

        r->plant().panel().setDoorOpen(2, true);
        QVERIFY2(waitsFor(*r, BannerKind::DoorOpen, "安全门打开：左门", 0.5), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Red);
        r->plant().panel().setDoorOpen(0, true);
        QVERIFY2(waitsFor(*r, BannerKind::DoorOpen, "安全门打开：前门、左门", 0.5), qPrintable(seen(*r)));
        r->plant().panel().setDoorOpen(0, false);
        r->plant().panel().setDoorOpen(2, false);
        r->clock.runFor(0.5);
        QVERIFY2(!shows(*r, BannerKind::DoorOpen), qPrintable(seen(*r)));
    }

    // The operator's controls: pause, end of production, manual mode.
    void pauseEndAndManual() {
        auto r = powered();
        QVERIFY(homed(*r));
        QVERIFY(started(*r));
        QVERIFY2(waitsFor(*r, BannerKind::Running, "成品盘第", 60.0), qPrintable(seen(*r)));
        click(*r, "pushButton_31"); // pause
        QVERIFY2(shows(*r, BannerKind::Paused, "已暂停"), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Grey);
        click(*r, "pushButton_3"); // start again
        QVERIFY2(waitsFor(*r, BannerKind::Running, "", 2.0) || waitsFor(*r, BannerKind::Waiting, "", 2.0),
                 qPrintable(seen(*r)));
        click(*r, "pushButton_15"); // end production
        QVERIFY2(shows(*r, BannerKind::Ending, "结束生产中"), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Green);
        // The machine finishes the product, resets and homes, and waits for the operator.
        QVERIFY2(waitsFor(*r, BannerKind::WaitingForStart, "请按启动", 120.0), qPrintable(seen(*r)));
        click(*r, "pushButton_5"); // manual
        QVERIFY2(shows(*r, BannerKind::Manual, "手动模式"), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Grey);
    }

    // Stand-alone, the belt line ends production by itself once the cycle has finished
    // its tray: for the moment the machine ends, the banner says so though nobody
    // pressed "结束生产"; then the machine homes and waits for start.
    void finishedTrayEndsProductionStandAlone() {
        auto r = powered();
        gd[18] = 0.0; // no neighbours: the operator brings the tray
        {
            auto lock = r->plant().lock();
            sim::Tray t;
            t.id = 1;
            t.front = sim::BeltTransport::kAssemblyStop;
            t.barrels.assign(20, true);
            sim::findBelts(r->plant()).finished->placeTray(t);
        }
        QVERIFY(homed(*r));
        click(*r, "pushButton_5"); // manual
        QDoubleSpinBox* cell = child<QDoubleSpinBox>(*r, "doubleSpinBox_101");
        cell->setValue(19); // two cells left on the tray
        emit cell->editingFinished();
        QCOMPARE(gr[1], 19.0);
        click(*r, "pushButton_5"); // automatic
        const int made = int(gr[21]);
        QVERIFY(started(*r));
        // The belt line hands the end to the cycle, which ends within its next pass:
        // the tick is run at that moment.
        bool ending = false;
        int endFlag = -1;
        const int probe = r->clock.addPeriodic("ending", 1000, [&] {
            if (stepA != 2000 || ending) return;
            r->window->machineCycle().tick100ms();
            ending = shows(*r, BannerKind::Ending, "结束生产中");
            endFlag = endProduction;
        });
        QVERIFY2(r->clock.runUntil([&] { return ending; }, 120.0), qPrintable(seen(*r)));
        r->clock.setEnabled(probe, false);
        QCOMPARE(endFlag, 0);
        QCOMPARE(int(gr[21]), made + 2);
        QVERIFY2(waitsFor(*r, BannerKind::WaitingForStart, "请按启动", 120.0), qPrintable(seen(*r)));
        QVERIFY2(r->alarmsRaised().isEmpty(), qPrintable(QStringList(r->alarmsRaised().keys()).join(" ")));
        gd[18] = 2.0;
    }

    // No card: the banner says so first, and the alarm views name the card before the
    // alarms that the missing card causes.
    void noCardComesFirst() {
        auto r = powered({}, [](ProductionRunner& m) { m.plant().setCardMissing(true); });
        QVERIFY2(shows(*r, BannerKind::NoCard, "无控制卡"), qPrintable(seen(*r)));
        QCOMPARE(banner(*r).colour, BannerColour::Red);
        const QStringList current =
            child<QTextBrowser>(*r, "textBrowser")->toPlainText().split('\n', Qt::SkipEmptyParts);
        QVERIFY2(current.size() > 1, qPrintable(current.join('|')));
        QVERIFY2(current.first().startsWith("控制卡初始化失败"), qPrintable(current.join('|')));
        const QString history = child<QTextBrowser>(*r, "textBrowser_2")->toPlainText();
        // This start's lines are the last of the history.
        const int card = history.lastIndexOf("控制卡初始化失败");
        QVERIFY2(card >= 0, qPrintable(history));
        for (const char* caused : {"板卡扩展模块断开报警", "供料器故障报警"})
            QVERIFY2(card < history.lastIndexOf(caused), caused);
        r->plant().setCardMissing(false);
    }

    // The MES question of the start holds the first tick until the operator answers. The
    // window is shown before that tick: the banner tells from then on, question open or not.
    void bannerTellsWhileTheStartUpQuestionIsOpen() {
        freshCycleWords();
        ProductionRunner r(1);
        // The MES question in its real box; the other prompts of a start on a fresh data
        // root are the runner's business.
        QStringList others;
        Prompt::setHandler([&others](const Prompt::Shown& shown) {
            if (shown.title != "MES提示") {
                others << shown.title;
                return false;
            }
            const Prompt::Handler runner = Prompt::setHandler(Prompt::Handler());
            const bool yes =
                Prompt::question(shown.parent, shown.title, shown.text, shown.yesText, shown.noText);
            Prompt::setHandler(runner);
            return yes;
        });
        struct Seen {
            QString text, style;
        };
        Seen built, open, openTicked;
        auto label = [&] { return windowChild<QLabel>(r.window.get(), "label_banner"); };
        auto now = [&] { return Seen{label()->text(), label()->styleSheet()}; };
        // Runs in the question box's own event loop and answers as the operator's click does.
        int looks = 0;
        bool asked = false;
        std::function<void()> atQuestion;
        std::function<void(const char*)> answer;
        answer = [&](const char* button) {
            QMessageBox* box = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* b = qobject_cast<QMessageBox*>(top);
                    b && b->isVisible() && b->windowTitle() == "MES提示")
                    box = b;
            if (!box) {
                if (++looks < 2000) QTimer::singleShot(5, [&, button] { answer(button); });
                return;
            }
            asked = true;
            r.window->resize(1920, 1080);
            r.window->show();
            atQuestion();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == button) b->click();
        };

        // At power-up, asked by the first tick.
        atQuestion = [&] {
            open = now();
            const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
            if (!dir.isEmpty()) {
                QDir().mkpath(dir);
                r.window->grab().save(dir + "/run-page-question.png");
            }
        };
        QTimer::singleShot(0, [&] { answer("否"); });
        // The window as built, before the first scan and tick: this pass comes first.
        const int look = r.clock.addPeriodic("look", 1000000, [&] {
            if (r.window && built.text.isEmpty()) built = now();
        });
        QString error;
        QVERIFY2(r.powerUp(&error), qPrintable(error));
        QVERIFY2(asked, qPrintable(others.join(" | ")));
        r.clock.setEnabled(look, false);
        QCOMPARE(built.text, QString("启动中：正在读取机器状态……"));
        QVERIFY2(built.style.contains("rgb(255, 210, 0)"), qPrintable(built.style));
        QCOMPARE(open.text, QString("等待操作员回答：MES已经屏蔽，是否开启？"));
        QVERIFY2(open.style.contains("rgb(255, 210, 0)"), qPrintable(open.style));
        QCOMPARE(gd[46], 0.0);

        // Asked by the window's own tick, whose timer goes on while the box is open.
        r.clock.runFor(0.3);
        startRequest = 1;
        asked = false;
        looks = 0;
        atQuestion = [&] {
            open = now();
            r.window->tick100ms();
            openTicked = now();
        };
        // "否": a "是" would save the parameters of this data root with the MES on.
        QTimer::singleShot(0, [&] { answer("否"); });
        r.window->tick100ms();
        QVERIFY(asked);
        QCOMPARE(open.text, QString("等待操作员回答：MES已经屏蔽，是否开启？"));
        QCOMPARE(openTicked.text, open.text);
        QCOMPARE(openTicked.style, open.style);
        QCOMPARE(gd[46], 0.0);
        QCOMPARE(int(startRequest), 0);
        // Answered: the machine's own state, here not homed.
        QCOMPARE(label()->text(), QString("未回原点：请按复位"));
        QVERIFY(label()->styleSheet().contains("rgb(255, 210, 0)"));
        r.window->hide();
    }
};

QTEST_MAIN(BannerTest)
#include "tst_banner.moc"
