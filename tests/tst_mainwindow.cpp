// The main window frame on the virtual machine: what construction leaves on the
// screen and in the machine, the save button, the page chain and the shutdown.
#include "TestSupport.h"
#include "WindowChild.h"

#include "app/DataSetup.h"
#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "pages/Form2.h"
#include "pages/Jogct.h"
#include "platform/DiskSpace.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "platform/vision/CVMainWindow.h"
#include "platform/vision/QHalconWindow.h"
#include "platform/vision/gcallfun.h"
#include "platform/vision/taskdata.h"

#include <QComboBox>
#include <QDesktopWidget>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace {

// Indices no page edits: a save cannot overwrite them from widgets.
constexpr int kFreeGd = 399;
constexpr int kFreeGr = 60;

MainWindow1::Options drivenByTest() {
    MainWindow1::Options o;
    o.startWorkers = false;
    o.startTicks = false;
    o.startHousekeeping = false;
    return o;
}

void writeProjectName(const QByteArray& content) {
    QFile f(Paths::configDir() + "/ProjectName.set");
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// The parameter pages reuse the form designer's names: a page's widget is not the window's.
template <class T> T* child(QObject* parent, const char* name) {
    T* w = windowChild<T>(parent, name);
    if (!w) qWarning("no widget %s", name);
    return w;
}

QPoint centredOnDesktop(const QWidget* w) {
    const QRect desktop = QApplication::desktop()->geometry();
    return QPoint((desktop.width() - w->width()) / 2, (desktop.height() - w->height()) / 2);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    QList<Prompt::Shown> shown;
    bool answer = false;

    std::unique_ptr<MainWindow1> makeWindow(MainWindow1::Options options = drivenByTest()) {
        auto w = std::make_unique<MainWindow1>(nullptr, options);
        return w;
    }
    QStringList questions() const {
        QStringList out;
        for (const Prompt::Shown& s : shown)
            if (s.kind == Prompt::Kind::Question) out << s.title;
        return out;
    }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(config);
        QCOMPARE(DataSetup::ensure(), QString());
        Prompt::setHandler([this](const Prompt::Shown& s) {
            shown << s;
            return answer;
        });
    }
    void init() {
        shown.clear();
        answer = false;
        taskaStop = taskbStop = fastStop = tcpStop = 0;
        userLevel = 0;
        cardOk = 0.0;
        startRequest = 0;
        writeProjectName("demo\n");
    }

    // ---- the frame ----

    void pageTabsInOrder() {
        SimRig rig;
        auto w = makeWindow();
        auto* tabs = child<QTabWidget>(w.get(), "tabWidget_2");
        QVERIFY(tabs);
        const QStringList titles{"运行界面", "轴手动",   "IO手动",  "位置设置", "皮带线设置",
                                 "标定设置", "功能设置", "MES设置", "机台状态"};
        QCOMPARE(tabs->count(), 15);
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(tabs->tabText(i), i < titles.size() ? titles[i] : QString());
            QCOMPARE(tabs->isTabEnabled(i), i < 9);
        }
        QCOMPARE(tabs->currentIndex(), 0);
        // The axis page sits in a scroll area that keeps its size.
        auto* scroll = qobject_cast<QScrollArea*>(tabs->widget(1));
        QVERIFY(scroll);
        QVERIFY(!scroll->widgetResizable());
        QCOMPARE(scroll->widget()->metaObject()->className(), "zhou");
        QCOMPARE(scroll->widget()->size(), QSize(1100, 1200));
        QCOMPARE(tabs->widget(3)->metaObject()->className(), "Form2");
        QCOMPARE(tabs->widget(7)->metaObject()->className(), "FormMes");
        QCOMPARE(tabs->widget(8)->metaObject()->className(), "MachineStatus");

        const QStringList buttons{"视觉设置", "气缸+轴点动", "  配方  ", "  系统  ", "  登录  ", "  退出  "};
        for (int i = 9; i < 15; ++i) {
            auto* b = qobject_cast<QToolButton*>(tabs->tabBar()->tabButton(i, QTabBar::RightSide));
            QVERIFY2(b, qPrintable(QString::number(i)));
            QCOMPARE(b->text(), buttons[i - 9]);
            QCOMPARE(b->styleSheet(), QString("background-color: rgb(170, 255, 255);"));
        }

        auto* messages = child<QTabWidget>(w.get(), "tabWidget");
        QCOMPARE(messages->count(), 4);
        QCOMPARE(messages->tabText(0), QString("状态显示"));
        QCOMPARE(messages->tabText(1), QString("历史报警"));
        QCOMPARE(messages->tabText(2), QString("组装曲线"));
        QCOMPARE(messages->tabText(3), QString("log"));
        QCOMPARE(messages->currentIndex(), 0);
        QVERIFY(messages->widget(0)->isAncestorOf(child<QTextBrowser>(w.get(), "textBrowser")));
        QVERIFY(messages->widget(1)->isAncestorOf(child<QTextBrowser>(w.get(), "textBrowser_2")));
        QVERIFY(messages->widget(2)->findChild<QCustomPlot*>());
        QVERIFY(messages->widget(3)->isAncestorOf(child<QTextBrowser>(w.get(), "textBrowser_3")));
        QCOMPARE(w->size(), QSize(1920, 1080));
    }

    void tabButtonsOpenWindowsAndClickHiddenButtons() {
        SimRig rig;
        auto w = makeWindow();
        w->show();
        QTabBar* bar = child<QTabWidget>(w.get(), "tabWidget_2")->tabBar();
        auto button = [&](int i) {
            return qobject_cast<QToolButton*>(bar->tabButton(i, QTabBar::RightSide));
        };

        QVERIFY(!w->visionWindow()->isVisible());
        button(9)->click();
        QVERIFY(w->visionWindow()->isVisible());
        QVERIFY(w->visionWindow()->isWindow());
        QCOMPARE(w->visionWindow()->pos(), centredOnDesktop(w->visionWindow()));

        QVERIFY(!w->jogWindow()->isVisible());
        button(10)->click();
        QVERIFY(w->jogWindow()->isVisible());
        QCOMPARE(w->jogWindow()->windowTitle(), QString("JOG"));
        QCOMPARE(w->jogWindow()->pos(), centredOnDesktop(w->jogWindow()));
        // Minimised, the vision window's jog request restores it.
        w->jogWindow()->showMinimized();
        emit w->visionWindow()->m_jogshow();
        QVERIFY(!w->jogWindow()->isMinimized());
        QVERIFY(w->jogWindow()->isVisible());

        const char* hidden[] = {"pushButton_28", "pushButton_30", "pushButton_9", "pushButton_23"};
        for (int i = 0; i < 4; ++i) {
            auto* target = child<QPushButton>(w.get(), hidden[i]);
            QVERIFY(target->isHidden());
            QSignalSpy clicked(target, &QPushButton::clicked);
            button(11 + i)->click();
            QCOMPARE(clicked.count(), 1);
        }
    }

    void runPageShowsOnlyWhatThisMachineUses() {
        SimRig rig;
        auto w = makeWindow();
        w->show();
        for (int i = 1; i <= 13; ++i) {
            auto* box = child<QGroupBox>(w.get(), qPrintable(QString("groupBox_%1").arg(i)));
            QVERIFY(box);
            QCOMPARE(box->isVisible(), i <= 3);
        }
        for (const char* name : {"pushButton_6", "pushButton_8", "pushButton_13", "pushButton_18"})
            QVERIFY2(!child<QPushButton>(w.get(), name)->isVisible(), name);
        QVERIFY(child<QPushButton>(w.get(), "pushButton_11")->isVisible());
        for (const char* name :
             {"pushButton_4", "pushButton_5", "pushButton_3", "pushButton_31", "pushButton_33"}) {
            auto* b = child<QPushButton>(w.get(), name);
            QVERIFY2(b->isVisible() && b->height() >= 60, name);
            QVERIFY(child<QGroupBox>(w.get(), "groupBox")->isAncestorOf(b));
        }
        QCOMPARE(child<QComboBox>(w.get(), "comboBox")->count(), 3);
        QCOMPARE(child<QComboBox>(w.get(), "comboBox_3")->count(), 2);
    }

    void imageViewsShowTheirTasks() {
        SimRig rig;
        auto w = makeWindow();
        const int tasks[6] = {0, 1, 2, 4, 3, 13};
        for (int i = 0; i < 6; ++i) {
            KZCV::ImageControl::QHalconWindow* view = w->imageView(i);
            QVERIFY(view);
            auto* layout = child<QFormLayout>(w.get(), qPrintable(QString("formLayout_%1").arg(14 + i)));
            QVERIFY(layout && layout->indexOf(view) >= 0);
            QCOMPARE(view->taskIndex(), tasks[i]);
            QCOMPARE(view->zoom(), 0.5);
            QCOMPARE(view->size(), QSize(400, 300));
            QCOMPARE(view->GetHalconBuffer()->extents(), QRect(0, 0, 400, 300));
            QCOMPARE(view->GetHalconBuffer()->lineWidth(), 2.0);
        }
        // A finished task repaints its own view only.
        TaskRecord record;
        record.image = QImage(64, 48, QImage::Format_RGB32);
        record.image.fill(Qt::green);
        record.status = TaskOK;
        taskdata::GetInstance()->setRecord(4, record);
        emit gcallfun::GetInstance()->signalRepaintcvview(4, QStringList{"OK"});
        QCOMPARE(w->imageView(3)->shown().image.size(), QSize(64, 48));
        QVERIFY(w->imageView(0)->shown().image.size() != QSize(64, 48));
        // The vision window follows the running task.
        emit gcallfun::GetInstance()->signalSetCurrentTast(5);
        QCOMPARE(w->visionWindow()->selectedTask(), 5);
    }

    // ---- construction ----

    void visionTaskDataPrepared() {
        SimRig rig;
        auto w = makeWindow();
        taskdata* td = taskdata::GetInstance();
        QCOMPARE(td->camNum(), 2);
        QCOMPARE(td->taskNum(), 15);
        QCOMPARE(td->camNames(), QStringList({"上相机", "下相机"}));
    }

    void machineDataAfterConstruction() {
        SimRig rig;
        manualMode = 1.0;
        workMode = 1.0;
        axisQ = 9;
        auto w = makeWindow();
        QCOMPARE(manualMode, 0.0);
        QCOMPARE(workMode, 0.0);
        const WORD axes[12] = {axisX,         axisY, axisZ, axisQ, axisNgZ, axisLineBelt,
                               axisEmptyBelt, axis7, axis8, axis9, axis10,  axis11};
        for (int a = 0; a < 12; ++a) QCOMPARE(int(axes[a]), a);
        QCOMPARE(int(cardNo), 0);
        QCOMPARE(cardOk, 1.0);
        QCOMPARE(int(startupDone), 0);
        // Left for the first 100 ms tick.
        QCOMPARE(int(startRequest), 1);
    }

    void trayCellsRaisedToOne() {
        SimRig rig;
        gr[0] = 0.0;
        gr[1] = -3.0;
        gr[3] = 3.0;
        gr[7] = 0.5;
        gr[8] = 0.0;
        iniRUNvartofile();
        gd[31] = 0.0;
        gd[32] = 0.2;
        inivartofile();
        gr[0] = gr[1] = gr[7] = 7.0; // the file counts, not what is in memory
        auto w = makeWindow();
        QCOMPARE(gr[0], 1.0);
        QCOMPARE(gr[1], 1.0);
        QCOMPARE(gr[3], 3.0);
        QCOMPARE(gr[7], 1.0);
        QCOMPARE(gr[8], 0.0);
        QCOMPARE(gd[31], 1.0);
        QCOMPARE(gd[32], 1.0);
    }

    void lightingLampFollowsFunctionSwitch_data() {
        QTest::addColumn<double>("switchValue");
        QTest::addColumn<bool>("lampOn");
        QTest::newRow("unchecked") << 0.0 << true;
        QTest::newRow("checked") << 2.0 << false;
    }
    void lightingLampFollowsFunctionSwitch() {
        QFETCH(double, switchValue);
        QFETCH(bool, lampOn);
        SimRig rig;
        gd[0] = switchValue;
        inivartofile();
        gd[0] = 5.0;
        dmc_board_init();
        dmc_write_outbit(0, 4, lampOn ? 1 : 0); // the opposite of what start-up must leave
        QCOMPARE(rig.plant().output(4), !lampOn);
        auto w = makeWindow();
        QCOMPARE(rig.plant().output(4), lampOn);
    }

    void cardFailureIsShownAndConstructionGoesOn() {
        SimRig rig;
        rig.plant().setBoardInitResult(0);
        auto w = makeWindow();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QString("初始化控制卡失败！"));
        QCOMPARE(shown[0].parent, w.get());
        QCOMPARE(cardOk, 0.0);
        QCOMPARE(child<QTabWidget>(w.get(), "tabWidget_2")->count(), 15);
        QVERIFY(w->windowTitle().contains("demo"));
    }

    void historyAndLogViews() {
        SimRig rig;
        const QString alarm = QString("历史报警%1").arg(QDateTime::currentMSecsSinceEpoch());
        adderrshow(nullptr, nullptr, alarm, true, 63, 2);
        adderrshow(nullptr, nullptr, alarm, false, 63, 2);
        auto w = makeWindow();
        QVERIFY(child<QTextBrowser>(w.get(), "textBrowser_2")->toPlainText().contains(alarm));
        const QString line = QString("日志行%1").arg(QDateTime::currentMSecsSinceEpoch());
        KZLOG::CLog::Info(line);
        QTRY_VERIFY_WITH_TIMEOUT(child<QTextBrowser>(w.get(), "textBrowser_3")->toPlainText().contains(line),
                                 2000);
    }

    // ---- window title ----

    void titleFromRecipeAndUser_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("user");
        QTest::newRow("nobody") << 0 << "";
        QTest::newRow("technician") << 1 << "技术员";
        QTest::newRow("engineer") << 2 << "工程师";
        QTest::newRow("system") << 3 << "系统";
        QTest::newRow("unknown") << 7 << "";
    }
    void titleFromRecipeAndUser() {
        QFETCH(int, level);
        QFETCH(QString, user);
        SimRig rig;
        writeProjectName("配方A\nsecond line\n");
        userLevel = level;
        auto w = makeWindow();
        QCOMPARE(w->windowTitle(), "Tavrin    当前配方：配方A    当前用户：" + user);
        QCOMPARE(currentRecipe, QString("配方A"));
        QCOMPARE(taskdata::GetInstance()->projectName(), QString("配方A"));
        QCOMPARE(taskdata::GetInstance()->userLevel(), level);
        QCOMPARE(taskdata::GetInstance()->userName(), user);
    }

    void titleFollowsLoginAndRecipe() {
        SimRig rig;
        auto w = makeWindow();
        QCOMPARE(w->windowTitle(), QString("Tavrin    当前配方：demo    当前用户："));
        userLevel = 2;
        writeProjectName("second\n");
        w->loadProjectName();
        QCOMPARE(w->windowTitle(), QString("Tavrin    当前配方：second    当前用户：工程师"));
        QCOMPARE(currentRecipe, QString("second"));
    }

    void missingRecipeFileWarnsAndKeepsTitle() {
        SimRig rig;
        QVERIFY(QFile::remove(Paths::configDir() + "/ProjectName.set"));
        auto w = makeWindow();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, Prompt::Kind::Warning);
        QCOMPARE(shown[0].title, QString("打开配方"));
        QCOMPARE(shown[0].text, QString("打开配方设置文件失败！"));
        QCOMPARE(shown[0].parent, w.get());
        QCOMPARE(w->windowTitle(), QString("Tavrin"));

        writeProjectName("demo\n");
        w->loadProjectName();
        const QString title = w->windowTitle();
        QVERIFY(title.contains("demo"));
        QVERIFY(QFile::remove(Paths::configDir() + "/ProjectName.set"));
        userLevel = 3;
        w->loadProjectName();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(w->windowTitle(), title);
    }

    // ---- saving ----

    void saveButtonTakesOneClickPerSecond() {
        SimRig rig;
        auto w = makeWindow();
        w->show();
        auto* save = child<QPushButton>(w.get(), "pushButton_63");
        QCOMPARE(save->text(), QString("保存参数"));
        gd[kFreeGd] = 0.0;
        inivartofile();
        gd[kFreeGd] = 5.0;
        QTest::mouseClick(save, Qt::LeftButton);
        QVERIFY(!save->isEnabled());
        gd[kFreeGd] = 6.0;
        QTest::mouseClick(save, Qt::LeftButton); // within the second: no save
        inifiletovar();
        QCOMPARE(gd[kFreeGd], 5.0);

        rig.runFor(0.999);
        QVERIFY(!save->isEnabled());
        rig.runFor(0.002);
        QVERIFY(save->isEnabled());
        gd[kFreeGd] = 6.0;
        QTest::mouseClick(save, Qt::LeftButton);
        gd[kFreeGd] = 0.0;
        inifiletovar();
        QCOMPARE(gd[kFreeGd], 6.0);
    }

    void pageSaveButtonSavesEverything() {
        SimRig rig;
        auto w = makeWindow();
        w->show();
        auto* form2 = w->findChild<Form2*>();
        QVERIFY(form2);
        QSignalSpy saves(w.get(), &MainWindow1::m_sigsavedata);
        gd[kFreeGd] = 0.0;
        inivartofile();
        gd[kFreeGd] = 11.0;
        QTest::mouseClick(child<QPushButton>(form2, "pushButton_63"), Qt::LeftButton);
        QCOMPARE(saves.count(), 1);
        QVERIFY(!child<QPushButton>(w.get(), "pushButton_63")->isEnabled());
        gd[kFreeGd] = 0.0;
        inifiletovar();
        QCOMPARE(gd[kFreeGd], 11.0);
        QVERIFY(w->visionWindow()->message().contains("已保存"));
        // The vision window's own save does the same.
        rig.runFor(1.1);
        emit w->visionWindow()->m_sigsavedata();
        QCOMPARE(saves.count(), 2);
    }

    void refreshWritesRunPage() {
        SimRig rig;
        auto w = makeWindow();
        gr[0] = 4.0;
        gr[21] = 12.0;
        gr[23] = 3.0;
        gr[24] = 1.0;
        gr[32] = 0.0;
        gr[33] = 0.0;
        gd[7] = 2.0;
        emit w->m_sigrefdata();
        QCOMPARE(child<QDoubleSpinBox>(w.get(), "doubleSpinBox_100")->value(), 4.0);
        QCOMPARE(child<QDoubleSpinBox>(w.get(), "doubleSpinBox_109")->value(), 12.0);
        QCOMPARE(child<QDoubleSpinBox>(w.get(), "doubleSpinBox_108")->value(), 3.0);
        QCOMPARE(child<QDoubleSpinBox>(w.get(), "doubleSpinBox_116")->value(), 1.0);
        QCOMPARE(child<QDoubleSpinBox>(w.get(), "doubleSpinBox_117")->value(), 75.0);
        QCOMPARE(child<QDoubleSpinBox>(w.get(), "doubleSpinBox_121")->value(), 0.0);
        QCOMPARE(child<QComboBox>(w.get(), "comboBox")->currentIndex(), 2);
    }

    // ---- timers and threads ----

    void startupDoneAfterFiveSecondsAndBlink() {
        SimRig rig;
        auto w = makeWindow();
        const u8 b0 = blink;
        rig.runFor(0.499);
        QCOMPARE(blink, b0);
        rig.runFor(0.002);
        QVERIFY(blink != b0);
        rig.runFor(0.5);
        QCOMPARE(blink, b0);
        rig.runFor(4.99 - 1.001);
        QCOMPARE(int(startupDone), 0);
        rig.runFor(0.02);
        QCOMPARE(int(startupDone), 1);
    }

    void workersStartAfter300ms() {
        SimRig rig;
        MainWindow1::Options options = drivenByTest();
        options.startWorkers = true;
        auto w = makeWindow(options);
        // Should a check fail, the threads must still end before the window goes.
        auto stopAll = qScopeGuard([&] {
            taskaStop = taskbStop = fastStop = tcpStop = 1;
            w->taskTcp().quit();
            rig.runFor(0.05);
            for (QThread* t : {static_cast<QThread*>(&w->taskA()), static_cast<QThread*>(&w->taskB()),
                               static_cast<QThread*>(&w->taskFast()), static_cast<QThread*>(&w->taskTcp())})
                t->wait(5000);
        });
        rig.runFor(0.299);
        QVERIFY(!w->taskA().isRunning() && !w->taskB().isRunning());
        QVERIFY(!w->taskFast().isRunning() && !w->taskTcp().isRunning());
        rig.runFor(0.002);
        QVERIFY(w->taskA().isRunning() && w->taskB().isRunning());
        QVERIFY(w->taskFast().isRunning() && w->taskTcp().isRunning());
        QCOMPARE(w->taskA().priority(), QThread::TimeCriticalPriority);
        QCOMPARE(w->taskB().priority(), QThread::TimeCriticalPriority);
        QCOMPARE(w->taskFast().priority(), QThread::InheritPriority);
        QCOMPARE(w->taskTcp().priority(), QThread::InheritPriority);

        // The loops sleep on the virtual clock: they see their flags once it moves on.
        w->taskFast().stop();
        w->taskA().stop();
        w->taskB().stop();
        rig.runFor(0.02);
        QVERIFY(w->taskFast().wait(5000));
        QVERIFY(w->taskA().wait(5000));
        QVERIFY(w->taskB().wait(5000));
        QVERIFY(w->taskTcp().isRunning()); // runs its event loop until quit
        w->show();
        w->close();
        QVERIFY(w->taskTcp().isFinished());
        QCOMPARE(int(tcpStop), 1);
    }

    // ---- shutdown ----

    void closeSavesRunDataAndAsks_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void closeSavesRunDataAndAsks() {
        QFETCH(bool, yes);
        SimRig rig;
        auto w = makeWindow();
        w->show();
        gd[kFreeGd] = 1.0;
        inivartofile();
        gr[kFreeGr] = 1.0;
        iniRUNvartofile();
        QDir(taskdata::GetInstance()->visionDir()).removeRecursively();
        gd[kFreeGd] = 7.0;
        gr[kFreeGr] = 42.0;
        answer = yes;
        QVERIFY(w->close());

        QCOMPARE(questions(), QStringList{"保存参数"});
        QCOMPARE(shown[0].text, QString("软件即将关闭，请确认是否保存参数。"));
        QCOMPARE(shown[0].parent, static_cast<QWidget*>(nullptr));
        QCOMPARE(shown[0].yesText, QString()); // the standard Yes and No
        gd[kFreeGd] = 0.0;
        gr[kFreeGr] = 0.0;
        inifiletovar();
        QCOMPARE(gr[kFreeGr], 42.0);
        QCOMPARE(gd[kFreeGd], yes ? 7.0 : 1.0);
        QCOMPARE(QDir(taskdata::GetInstance()->visionDir()).exists(), yes);

        QCOMPARE(int(taskaStop) + int(taskbStop) + int(fastStop) + int(tcpStop), 4);
        QVERIFY(!rig.plant().canRunning());
        QCOMPARE(rig.card().calls(sim::VirtualCard::CallBoardClose), uint64_t(1));
        QCOMPARE(w->shutdowns(), 1);
        // The log view is no longer fed.
        const QString line = QString("after close %1").arg(QDateTime::currentMSecsSinceEpoch());
        KZLOG::CLog::Info(line);
        QCoreApplication::processEvents();
        QVERIFY(!child<QTextBrowser>(w.get(), "textBrowser_3")->toPlainText().contains(line));
    }

    void secondCloseOnlyCloses() {
        SimRig rig;
        auto w = makeWindow();
        w->show();
        QVERIFY(w->close());
        w->show();
        QVERIFY(w->close());
        QVERIFY(!w->isVisible());
        QCOMPARE(questions().size(), 1);
        QCOMPARE(w->shutdowns(), 1);
        QCOMPARE(rig.card().calls(sim::VirtualCard::CallBoardClose), uint64_t(2));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
