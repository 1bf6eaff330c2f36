// The main window's cycle on the virtual machine: start request and the MES
// question, alarm views, machine-state periods in the database, the operator
// controls of the left column and the run page.
#include "MachineState.h"
#include "TestSupport.h"
#include "WindowChild.h"

#include "app/AssemblyCurve.h"
#include "app/DataSetup.h"
#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "machine/IoAccess.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "production/MachineStateStore.h"
#include "recipes/DemoRecipe.h"
#include "sequences/CycleData.h"
#include "sim/VirtualCameras.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

namespace {

using Panel = sim::OperatorPanel;

// The window with its ticks and the fast scan driven by the virtual clock.
struct WindowRig : SimRig {
    std::unique_ptr<MainWindow1> window;
    explicit WindowRig(double mes = 0.0) {
        MainWindow1::Options o;
        o.startWorkers = false;
        o.startTicks = false;
        o.startHousekeeping = false;
        window = std::make_unique<MainWindow1>(nullptr, o);
        gd[46] = mes;
        MainWindow1* w = window.get();
        clock.addPeriodic("fast", 5000, [w] { w->taskFast().pass(); });
        clock.addPeriodic("tick100", 100000, [w] { w->tick100ms(); });
        clock.addPeriodic("tick25", 25000, [w] { w->tick25ms(); });
        clock.addPeriodic("tick10", 10000, [w] { w->tick10ms(); });
    }
    template <class T> T* widget(const char* name) { return windowChild<T>(window.get(), name); }
    QString currentAlarms() { return widget<QTextBrowser>("textBrowser")->toPlainText(); }
    void click(const char* button) { widget<QPushButton>(button)->click(); }
    void homeAll() {
        for (int axis = 0; axis < 12; ++axis) axisHomed[axis] = 1;
    }
};

// Row of the current alarm view holding text (-1: none) and its colour (level 2 red,
// level 3 blue); the view lists its rows in code order.
int rowOf(QTextBrowser* view, const QString& text, QColor* color = nullptr) {
    int row = 0;
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next(), ++row) {
        if (b.text() != text) continue;
        if (color && b.begin() != b.end()) *color = b.begin().fragment().charFormat().foreground().color();
        return row;
    }
    return -1;
}

int rowsOf(const QString& kind, qint64* duration = nullptr) {
    QSqlQuery q(QSqlDatabase::database());
    q.prepare("select duration from Table_S1 where utype=?");
    q.addBindValue(kind);
    if (!q.exec()) return -1;
    int rows = 0;
    while (q.next()) {
        ++rows;
        if (duration) *duration = q.value(0).toLongLong();
    }
    return rows;
}

} // namespace

class TestMainCycle : public QObject {
    Q_OBJECT
    QList<Prompt::Shown> questions;
    bool answer = false;

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(config);
        QCOMPARE(DataSetup::ensure(), QString());
        Prompt::setHandler([this](const Prompt::Shown& s) {
            if (s.kind == Prompt::Kind::Question) questions << s;
            return answer;
        });
        QVERIFY(MachineStateStore::instance().isOpen());
    }
    void init() {
        resetMachineData();
        questions.clear();
        answer = false;
        QVERIFY(MachineStateStore::instance().waitWritten(5000));
        QSqlQuery(QSqlDatabase::database()).exec("delete from Table_S1");
    }

    void mesQuestionOnceAtStart() {
        answer = true;
        WindowRig rig(0.0);
        QSignalSpy saved(rig.window.get(), &MainWindow1::m_sigsavedata);
        rig.runFor(1.0);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0].title, QString("MES提示"));
        QCOMPARE(questions[0].text, QString("MES已经屏蔽，是否开启？"));
        QCOMPARE(questions[0].yesText, QString("是"));
        QCOMPARE(questions[0].noText, QString("否"));
        QCOMPARE(gd[46], 2.0);
        QCOMPARE(saved.count(), 1);
        QCOMPARE(int(startRequest), 0);

        questions.clear();
        answer = false;
        WindowRig masked(0.0);
        masked.runFor(1.0);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(gd[46], 0.0);

        questions.clear();
        WindowRig on(2.0);
        on.runFor(1.0);
        QCOMPARE(questions.size(), 0);
    }

    void startRunsOnlyWhenReadyInAutomatic() {
        WindowRig rig(2.0);
        rig.runFor(0.3);
        rig.homeAll();
        rig.click("pushButton_5"); // to manual
        QCOMPARE(manualMode, 1.0);
        QCOMPARE(rig.widget<QPushButton>("pushButton_5")->text(), QString("手动"));
        QVERIFY(rig.widget<QPushButton>("pushButton_5")->isChecked());
        rig.click("pushButton_3");
        rig.runFor(0.3);
        QCOMPARE(int(runA), 0);
        rig.click("pushButton_5"); // back to automatic
        QCOMPARE(rig.widget<QPushButton>("pushButton_5")->text(), QString("自动"));
        waitOperator = 1;
        rig.click("pushButton_3");
        QCOMPARE(int(waitOperator), 0);
        QVERIFY(rig.runUntil([] { return runA == 1 && runB == 1; }, 0.2));
        rig.click("pushButton_31"); // pause
        QCOMPARE(int(runA) + int(runB), 0);
        rig.click("pushButton_15"); // end production while paused does nothing
        QCOMPARE(int(endProduction), 0);
    }

    void alarmClearBringsBackWhatStillHolds() {
        WindowRig rig(2.0);
        startupDone = 1;
        rig.plant().setDoorOpen(2, true);
        rig.runFor(0.3);
        QVERIFY(rig.currentAlarms().contains("安全门打开"));
        alarmFlags[12] = 1;
        rig.runFor(0.2);
        QVERIFY(rig.currentAlarms().contains("吸笔真空报警"));
        rig.click("pushButton_33");
        QCOMPARE(rig.currentAlarms(), QString());
        QCOMPARE(int(alarmFlags[12]), 0);
        rig.runFor(0.1);
        QVERIFY(rig.currentAlarms().contains("安全门打开"));
        QVERIFY(!rig.currentAlarms().contains("吸笔真空报警"));

        // The hardware alarm-clear button reaches the same operation.
        alarmFlags[14] = 1;
        rig.runFor(0.2);
        QVERIFY(rig.currentAlarms().contains("组装位无盘报警"));
        rig.plant().panel().clickButton(Panel::AlarmClearButton, 50000);
        rig.runFor(0.3);
        QCOMPARE(int(alarmFlags[14]), 0);
        QVERIFY(!rig.currentAlarms().contains("组装位无盘报警"));

        // A lost CAN node shows as the extension-module alarm.
        rig.plant().setCanNodeLost(2, true);
        rig.runFor(0.2);
        QVERIFY(rig.currentAlarms().contains("板卡扩展模块断开报警"));
        QCOMPARE(int(alarmFlags[40]), 1);
    }

    // Each cycle alarm flag raises its own text alone, in red; the end-of-production
    // line is a status line, in blue like "stopped".
    void cycleFlagsShowTheirOwnText() {
        const QList<QPair<int, QString>> flags = {{0, "组装位无料盘"},
                                                  {1, "镜筒NG位无料盘"},
                                                  {2, "标签NG位无料盒"},
                                                  {6, "上相机9点标定拍照失败"},
                                                  {7, "下相机9点标定拍照失败"},
                                                  {12, "吸笔真空报警"},
                                                  {13, "测高传感器数据超时报警"},
                                                  {14, "组装位无盘报警"},
                                                  {33, "供料器送料超时报警"},
                                                  {35, "标签有料且拍照失败，请人工清料。"}};
        WindowRig rig(2.0);
        startupDone = 1;
        QTextBrowser* view = rig.widget<QTextBrowser>("textBrowser");
        rig.runFor(0.3);
        for (const auto& [flag, text] : flags) {
            alarmFlags[flag] = 1;
            rig.runFor(0.2);
            QColor color;
            QVERIFY2(rowOf(view, text, &color) >= 0,
                     qPrintable(QString("%1: %2").arg(flag).arg(rig.currentAlarms())));
            QCOMPARE(color, QColor(200, 0, 0));
            for (const auto& other : flags)
                if (other.first != flag) QVERIFY2(rowOf(view, other.second) < 0, qPrintable(other.second));
            alarmFlags[flag] = 0;
            rig.runFor(0.2);
            QCOMPARE(rowOf(view, text), -1);
        }
        endProduction = 1;
        rig.runFor(0.2);
        QColor color;
        QVERIFY2(rowOf(view, "结束生产中。", &color) >= 0, qPrintable(rig.currentAlarms()));
        QCOMPARE(color, QColor(0, 70, 200));
        endProduction = 0;
        rig.runFor(0.2);
        QCOMPARE(rowOf(view, "结束生产中。"), -1);
    }

    // Door (code 0), e-stop (50) and CAN (96) rows, each cause alone, then together
    // in code order around the level-3 "stopped" line (52).
    void safetyRowsOfTheAlarmTable_data() {
        QTest::addColumn<int>("cause");
        QTest::addColumn<QString>("text");
        QTest::newRow("door") << 0 << "安全门打开";
        QTest::newRow("e-stop") << 1 << "急停按下";
        QTest::newRow("CAN node") << 2 << "板卡扩展模块断开报警";
    }
    void safetyRowsOfTheAlarmTable() {
        QFETCH(int, cause);
        QFETCH(QString, text);
        const QStringList texts = {"安全门打开", "急停按下", "板卡扩展模块断开报警"};
        WindowRig rig(2.0);
        startupDone = 1;
        QTextBrowser* view = rig.widget<QTextBrowser>("textBrowser");
        rig.runFor(0.3);
        for (const QString& t : texts) QCOMPARE(rowOf(view, t), -1);
        const auto apply = [&](int c, bool on) {
            if (c == 0) rig.plant().setDoorOpen(3, on);
            if (c == 1) rig.plant().setEstopPressed(on);
            if (c == 2) rig.plant().setCanNodeLost(3, on);
        };
        apply(cause, true);
        rig.runFor(0.3);
        QColor color;
        QVERIFY2(rowOf(view, text, &color) >= 0, qPrintable(rig.currentAlarms()));
        QCOMPARE(color, QColor(200, 0, 0));
        for (const QString& t : texts)
            if (t != text) QCOMPARE(rowOf(view, t), -1);
        QCOMPARE(rowOf(view, "已停止。", &color) >= 0, true);
        QCOMPARE(color, QColor(0, 70, 200));
        apply(cause, false);
        rig.runFor(0.3);
        rig.click("pushButton_33"); // alarm clear: the row does not come back
        rig.runFor(0.3);
        QCOMPARE(rowOf(view, text), -1);

        for (int c = 0; c < 3; ++c) apply(c, true);
        rig.runFor(0.3);
        const int door = rowOf(view, texts[0]), estop = rowOf(view, texts[1]), can = rowOf(view, texts[2]);
        const int stopped = rowOf(view, "已停止。");
        QVERIFY2(door >= 0 && door < estop && estop < stopped && stopped < can,
                 qPrintable(rig.currentAlarms()));
    }

    // The safety-door lock output, switched on from the jog dialog, goes off by itself
    // after about 10 s, and counts afresh each time it is switched on.
    void doorLockSwitchesItselfOff() {
        WindowRig rig(2.0);
        rig.runFor(0.3);
        for (int round = 0; round < 2; ++round) {
            if (round == 1) { // switched off by hand half-way: the next time counts from 0
                outputBit(10, true);
                rig.runFor(5.0);
                outputBit(10, false);
                rig.runFor(1.0);
            }
            outputBit(10, true);
            const double on = rig.nowS();
            rig.runFor(9.9);
            QVERIFY(rig.plant().output(10));
            QVERIFY(rig.runUntil([&] { return !rig.plant().output(10); }, 0.4));
            const double lasted = rig.nowS() - on;
            QVERIFY2(lasted > 10.0 && lasted < 10.25, qPrintable(QString::number(lasted)));
            rig.runFor(3.0);
            QVERIFY(!rig.plant().output(10));
        }
    }

    void machineStatePeriodsReachTheDatabase() {
        WindowRig rig(2.0);
        rig.runFor(0.3);
        stepA = 1000;
        QVERIFY(rig.runUntil([&] { return rig.window->machineCycle().recorder().isOpen(3); }, 0.2));
        rig.runFor(5.45);
        stepA = 1010; // still homing
        rig.runFor(0.03);
        stepA = 0;
        QVERIFY(rig.runUntil([&] { return !rig.window->machineCycle().recorder().isOpen(3); }, 0.2));
        QVERIFY(MachineStateStore::instance().waitWritten(5000));
        qint64 duration = 0;
        QCOMPARE(rowsOf("home", &duration), 1);
        QCOMPARE(duration, qint64(5500));

        stepA = 1010.5; // outside the homing range: opens nothing
        rig.runFor(0.2);
        QVERIFY(!rig.window->machineCycle().recorder().isOpen(3));
        QCOMPARE(rowsOf("home"), 1);
    }

    void purgeKeepsHundredDays() {
        WindowRig rig(2.0);
        const qint64 day = 86400000LL;
        const qint64 now = clk::wallMs();
        MachineStateStore::instance().addPeriod("run", now - 101 * day - 1000, now - 101 * day);
        MachineStateStore::instance().addPeriod("stop", now - 99 * day - 1000, now - 99 * day);
        rig.window->machineCycle().tick10min();
        QVERIFY(MachineStateStore::instance().waitWritten(5000));
        QCOMPARE(rowsOf("run"), 0);
        QCOMPARE(rowsOf("stop"), 1);
    }

    void runPageControls() {
        WindowRig rig(2.0);
        rig.runFor(0.2);
        for (int k = 0; k <= 15; ++k) gr[k] = 5.0;
        for (int k = 21; k <= 33; ++k) gr[k] = 4.0;
        rig.click("pushButton_5"); // manual: the run page can be edited
        rig.runFor(0.2);
        rig.click("pushButton_110"); // all tray cells
        for (int k = 0; k <= 15; ++k) QCOMPARE(gr[k], 1.0);
        QCOMPARE(gr[21], 4.0);
        rig.click("pushButton_11"); // every yield counter
        for (int k : {23, 24, 25, 26, 28, 29, 30, 31, 32, 33}) QCOMPARE(gr[k], 0.0);
        QCOMPARE(gr[21], 4.0);
        // Pages have their own "pushButton": take the one beside the output count.
        rig.widget<QDoubleSpinBox>("doubleSpinBox_109")
            ->parentWidget()
            ->findChild<QPushButton*>("pushButton")
            ->click();
        QCOMPARE(gr[21], 0.0);
        gr[30] = 3;
        gr[31] = 1;
        rig.window->refreshMain();
        QCOMPARE(rig.widget<QDoubleSpinBox>("doubleSpinBox_124")->value(), 75.0);

        auto* cell = rig.widget<QDoubleSpinBox>("doubleSpinBox_101");
        cell->setValue(7);
        emit cell->editingFinished();
        QCOMPARE(gr[1], 7.0);
        rig.click("pushButton_5"); // automatic: edits are ignored and the boxes locked
        rig.runFor(0.2);
        QVERIFY(!rig.widget<QWidget>("groupBox_2")->isEnabled());
        gr[1] = 3.0;
        cell->setValue(9);
        emit cell->editingFinished();
        QCOMPARE(gr[1], 3.0);

        rig.widget<QComboBox>("comboBox")->setCurrentIndex(0);
        rig.runFor(0.2);
        QCOMPARE(autospeedk, 0.1);
        rig.widget<QComboBox>("comboBox")->setCurrentIndex(1);
        rig.runFor(0.2);
        QCOMPARE(autospeedk, 0.5);
        rig.widget<QComboBox>("comboBox_3")->setCurrentIndex(1);
        QCOMPARE(int(dryRun), 1);
    }

    // The operator types a yield counter while the 100 ms refresh runs: the typed
    // text stays, and Enter stores it, in automatic and in manual mode.
    void typedYieldCountersSurviveTheRefresh_data() {
        QTest::addColumn<bool>("manual");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("index");
        for (bool manual : {false, true}) {
            const char* mode = manual ? "manual" : "automatic";
            QTest::addRow("%s 108", mode) << manual << "doubleSpinBox_108" << 23;
            QTest::addRow("%s 116", mode) << manual << "doubleSpinBox_116" << 24;
            QTest::addRow("%s 118", mode) << manual << "doubleSpinBox_118" << 25;
            QTest::addRow("%s 119", mode) << manual << "doubleSpinBox_119" << 26;
        }
    }
    void typedYieldCountersSurviveTheRefresh() {
        QFETCH(bool, manual);
        QFETCH(QString, box);
        QFETCH(int, index);
        WindowRig rig(2.0);
        rig.runFor(0.2);
        if (manual) rig.click("pushButton_5");
        QCOMPARE(manualMode, manual ? 1.0 : 0.0);
        gr[index] = 3;
        rig.runFor(0.2);
        auto* spin = rig.widget<QDoubleSpinBox>(qPrintable(box));
        if (manual) rig.window->refreshMain(); // manual mode shows the data on demand only
        QCOMPARE(spin->value(), 3.0);
        spin->selectAll();
        QTest::keyClicks(spin, "57");
        rig.runFor(0.35); // three refreshes
        QVERIFY2(spin->cleanText().startsWith("57"), qPrintable(spin->cleanText()));
        QCOMPARE(gr[index], 3.0); // not committed yet
        QTest::keyClick(spin, Qt::Key_Return);
        QCOMPARE(gr[index], 57.0);
        rig.runFor(0.2);
        QCOMPARE(spin->value(), 57.0);
        // Counting goes on once the edit is committed.
        gr[index] = 58;
        rig.runFor(0.2);
        if (manual) rig.window->refreshMain();
        QCOMPARE(spin->value(), 58.0);
    }

    // Tray cells in manual mode: an arrow step reaches gr without leaving the box; a
    // typed value on Enter; in automatic mode neither.
    void trayCellArrowsReachTheRunData() {
        WindowRig rig(2.0);
        rig.runFor(0.2);
        gr[1] = 4;
        rig.click("pushButton_5"); // manual
        rig.runFor(0.2);           // the tray boxes are enabled
        rig.window->refreshMain();
        auto* cell = rig.widget<QDoubleSpinBox>("doubleSpinBox_101");
        QTest::keyClick(cell, Qt::Key_Up);
        QCOMPARE(cell->value(), 5.0);
        QCOMPARE(gr[1], 5.0);
        cell->stepBy(2); // as the arrow button does
        QCOMPARE(gr[1], 7.0);
        cell->selectAll();
        QTest::keyClicks(cell, "12");
        QCOMPARE(gr[1], 7.0);
        QTest::keyClick(cell, Qt::Key_Return);
        QCOMPARE(gr[1], 12.0);
        rig.click("pushButton_5"); // automatic
        rig.runFor(0.2);
        cell->stepBy(1);
        QCOMPARE(gr[1], 12.0);
        rig.runFor(0.2);
        QCOMPARE(cell->value(), 12.0);
    }

    // The cameras are polled before the alarm table starts: a clean start writes no
    // camera alarm into the history; a camera that is really lost still shows.
    void cleanStartHasNoCameraAlarm() {
        // A fresh start: no alarm known yet, an empty history.
        kzct::resetLibraryState();
        QFile::remove(kzct::alarmHistoryFile());
        VirtualCameras cameras;
        VisionBackend::install(&cameras);
        WindowRig rig(2.0);
        MainWindow1* w = rig.window.get();
        rig.clock.addPeriodic("tick3s", 3000000, [w] { w->tick3s(); });
        rig.runFor(7.0);
        QVERIFY(startupDone);
        const QString history = rig.widget<QTextBrowser>("textBrowser_2")->toPlainText();
        QVERIFY2(!history.contains("相机1连接失败。") && !history.contains("相机2连接失败。"),
                 qPrintable(history));
        QVERIFY(rig.currentAlarms().contains("相机1已连接。"));
        QVERIFY(rig.currentAlarms().contains("相机2已连接。"));
        cameras.setConnected(2, false);
        rig.runFor(3.0);
        QVERIFY(rig.currentAlarms().contains("相机2连接失败。"));
        VisionBackend::install(nullptr);
    }

    void assemblyCurveShowsTheLastSamples() {
        WindowRig rig(2.0);
        auto* plot = rig.window->findChild<QCustomPlot*>();
        QVERIFY(plot);
        QCOMPARE(plot->graphCount(), 3);
        QCOMPARE(plot->graph(0)->pen().color(), QColor(Qt::red));
        QCOMPARE(plot->graph(1)->pen().color(), QColor(Qt::green));
        QCOMPARE(plot->graph(2)->pen().color(), QColor(Qt::blue));
        QCOMPARE(plot->xAxis->range(), QCPRange(0, 100));
        QCOMPARE(plot->yAxis->range(), QCPRange(-200, 200));
        QCOMPARE(plot->yAxis->label(), QString("距离(um)"));
        QCOMPARE(plot->yAxis2->range(), QCPRange(-1, 1));
        QCOMPARE(plot->yAxis2->label(), QString("角度(°)"));
        QCOMPARE(plot->graph(2)->valueAxis(), plot->yAxis2);
        QCOMPARE(plot->xAxis->grid()->pen().color(), QColor(180, 180, 180));
        QCOMPARE(plot->xAxis->grid()->subGridPen().color(), QColor(50, 50, 50));

        plotPush(0.012, -0.034, 0.25);
        plotPush(0.05, -0.02, 0.3);
        rig.runFor(0.2);
        auto last = [plot](int g) { return (plot->graph(g)->data()->constEnd() - 1)->value; };
        QCOMPARE(plot->graph(0)->data()->size(), 100);
        QCOMPARE(last(0), 50.0);
        QCOMPARE(last(1), -20.0);
        QCOMPARE(last(2), 0.3);
        QCOMPARE((plot->graph(0)->data()->constEnd() - 2)->value, 12.0);
    }

    // The operator's first minute: reset on the machine, homing in the safe order,
    // the label turns green and the start lamp blinks until start is pressed.
    void resetButtonHomesTheMachine() {
        applyDemoRecipe();
        WindowRig rig(2.0);
        MainWindow1* w = rig.window.get();
        rig.clock.addPeriodic("cycle", 5000, [w] { w->taskA().pass(); });
        rig.runFor(0.5);
        rig.plant().panel().clickButton(Panel::ResetButton, 100000);
        QVERIFY(rig.runUntil([] { return waitOperator == 1; }, 30.0));
        for (int axis = 0; axis <= 4; ++axis) QCOMPARE(int(axisHomed[axis]), 1);
        rig.runFor(0.2);
        QCOMPARE(rig.widget<QLabel>("label_255")->text(), QString("回原点完成"));
        int lampChanges = 0;
        bool lamp = rig.plant().output(5);
        for (int i = 0; i < 40; ++i) {
            rig.runFor(0.05);
            if (rig.plant().output(5) != lamp) ++lampChanges;
            lamp = rig.plant().output(5);
        }
        QVERIFY2(lampChanges >= 3, qPrintable(QString::number(lampChanges)));
        QCOMPARE(int(runA), 0);
        rig.plant().panel().clickButton(Panel::StartButton, 100000);
        QVERIFY(rig.runUntil([] { return runA == 1; }, 0.5));
        QVERIFY(rig.currentAlarms().contains("自动运行中。"));
    }

    void homingLabelFollowsTheAxes() {
        WindowRig rig(2.0);
        rig.runFor(0.2);
        auto* label = rig.widget<QLabel>("label_255");
        QCOMPARE(label->text(), QString("回原点未完成"));
        QCOMPARE(label->styleSheet(), QString("QLabel{background-color: rgb(255, 0, 0);}"));
        rig.homeAll();
        rig.runFor(0.2);
        QCOMPARE(label->text(), QString("回原点完成"));
        QCOMPARE(label->styleSheet(), QString("QLabel{background-color: rgb(0, 255, 0);}"));
    }
};

QTEST_MAIN(TestMainCycle)
#include "tst_maincycle.moc"
