#include "TestSupport.h"

#include "platform/LTDMC.h"
#include "platform/kzmc.h"
#include "sim/IoNames.h"
#include "sim/VirtualMachine.h"
#include "sim/VmPanel.h"
#include "sim/VmPanelLamp.h"
#include "sim/VmPanelStartOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include <memory>

// The virtual machine's panel, driven the way a person at the virtual machine
// uses it, checked through the card library the program reads.
class TestVmPanel : public QObject {
    Q_OBJECT

    std::unique_ptr<SimRig> rig;
    std::unique_ptr<VmPanel> panel;

    template <class T> T* child(const QString& name) {
        T* w = panel->findChild<T*>(name);
        if (!w) qFatal("no widget %s", qPrintable(name));
        return w;
    }
    // Brings the tab holding w to the front, as the person would before clicking.
    void showTabOf(QWidget* w) {
        auto* tabs = child<QTabWidget>("tabs");
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(w)) tabs->setCurrentIndex(i);
        QVERIFY(w->isVisible());
    }
    void click(QAbstractButton* b) {
        showTabOf(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // The indicator in the row of the I/O table whose name column reads name.
    VmPanelLamp* lampByName(const char* table, const QString& name) {
        auto* t = child<QTableWidget>(table);
        for (int r = 0; r < t->rowCount(); ++r)
            if (t->item(r, 3) && t->item(r, 3)->text() == name)
                return t->cellWidget(r, 0)->findChild<VmPanelLamp*>();
        return nullptr;
    }
    QString axisCell(int axis, int column) {
        return child<QTableWidget>("axesTable")->item(axis, column)->text();
    }

private slots:
    void init() {
        QFile::remove(VmPanelStartOptions::filePath());
        rig = std::make_unique<SimRig>();
        rig->startCard();
        panel = std::make_unique<VmPanel>(rig->plant());
        panel->resize(900, 1000);
        panel->show();
    }
    void cleanup() {
        panel.reset();
        rig.reset();
    }

    // ---- operator hardware ----

    void estopLatchesUntilReleased() {
        QCOMPARE(dmc_read_inbit(0, 0), short(0));
        auto* estop = child<QPushButton>("estopButton");
        click(estop);
        QVERIFY(dmc_read_inbit(0, 0) != 0);
        rig->runFor(1.0);
        QVERIFY2(dmc_read_inbit(0, 0) != 0, "the emergency stop must stay pressed after the click");
        QVERIFY(estop->text().contains("已按下"));
        click(estop);
        QCOMPARE(dmc_read_inbit(0, 0), short(0));
        QVERIFY(estop->text().contains("急停"));
    }

    void buttonsActiveOnlyWhileHeld_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("input");
        QTest::newRow("start") << "startButton" << 1;
        QTest::newRow("stop") << "stopButton" << 2;
        QTest::newRow("alarm clear") << "alarmClearButton" << 3;
        QTest::newRow("reset") << "resetButton" << 4;
        QTest::newRow("NG tray") << "ngTrayButton" << 9;
    }
    void buttonsActiveOnlyWhileHeld() {
        QFETCH(QString, button);
        QFETCH(int, input);
        auto* b = child<QPushButton>(button);
        const WORD bit = WORD(input);
        QCOMPARE(dmc_read_inbit(0, bit), short(1));
        QTest::mousePress(b, Qt::LeftButton);
        QCOMPARE(dmc_read_inbit(0, bit), short(0));
        rig->runFor(0.5);
        QCOMPARE(dmc_read_inbit(0, bit), short(0));
        QTest::mouseRelease(b, Qt::LeftButton);
        QCOMPARE(dmc_read_inbit(0, bit), short(1));
        rig->runFor(0.1);
        QCOMPARE(dmc_read_inbit(0, bit), short(1));
    }

    void doorsOpenAndClose_data() {
        QTest::addColumn<int>("door");
        for (int d = 0; d < 4; ++d) QTest::newRow(IoNames::input(5 + d).toUtf8().constData()) << d;
    }
    void doorsOpenAndClose() {
        QFETCH(int, door);
        auto* b = child<QPushButton>(QString("doorButton%1").arg(door));
        const WORD bit = WORD(5 + door);
        QCOMPARE(dmc_read_inbit(0, bit), short(0));
        click(b);
        QCOMPARE(dmc_read_inbit(0, bit), short(1));
        QVERIFY(b->text().contains("打开"));
        for (int other = 0; other < 4; ++other)
            if (other != door) QCOMPARE(dmc_read_inbit(0, WORD(5 + other)), short(0));
        click(b);
        QCOMPARE(dmc_read_inbit(0, bit), short(0));
        QVERIFY(b->text().contains("关闭"));
    }

    // ---- what the panel shows ----

    void outputsShownByName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("node");
        QTest::addColumn<int>("bit");
        QTest::newRow("lighting, card") << "照明灯" << 0 << 4;
        QTest::newRow("door lock, card") << "安全门锁" << 0 << 10;
        QTest::newRow("ring light, node 1") << "上相机环形光源" << 1 << 1;
        QTest::newRow("nozzle vacuum, node 2") << "吸笔真空" << 2 << 0;
        QTest::newRow("hand-shake, node 3") << "空盘线出OT_Beg" << 3 << 11;
    }
    void outputsShownByName() {
        QFETCH(QString, name);
        QFETCH(int, node);
        QFETCH(int, bit);
        const auto write = [&](WORD level) {
            if (node == 0)
                dmc_write_outbit(0, WORD(bit), level);
            else
                dmc_write_can_outbit(0, WORD(node), WORD(bit), level);
        };
        VmPanelLamp* lamp = lampByName("outputsTable", name);
        QVERIFY(lamp);
        panel->refresh();
        QVERIFY(!lamp->isOn());
        write(0); // level 0 = on
        panel->refresh();
        QVERIFY(lamp->isOn());
        QCOMPARE(panel->outputLamp(16 * node + bit), lamp);
        write(1);
        panel->refresh();
        QVERIFY(!lamp->isOn());
    }

    void ioTablesNameEveryPoint() {
        auto* in = child<QTableWidget>("inputsTable");
        auto* out = child<QTableWidget>("outputsTable");
        QCOMPARE(in->rowCount(), 64);
        QCOMPARE(out->rowCount(), 64);
        QVERIFY(in->item(0, 3)->text().startsWith("急停"));
        QCOMPARE(in->item(28, 3)->text(), QString("供料器缺料光电"));
        QCOMPARE(in->item(29, 3)->text(), QString("空"));
        QCOMPARE(in->item(44, 3)->text(), QString("NG盘伸出位"));
        QCOMPARE(in->item(48, 3)->text(), QString("成品线进IN_Ready"));
        QCOMPARE(in->item(59, 3)->text(), QString("空盘线出IN_Compeled"));
        QCOMPARE(out->item(10, 3)->text(), QString("安全门锁"));
        QCOMPARE(out->item(11, 3)->text(), QString("空"));
        QCOMPARE(out->item(21, 3)->text(), QString("供料器真空阀"));
        QCOMPARE(out->item(22, 3)->text(), QString("空"));
        QCOMPARE(out->item(44, 3)->text(), QString("NG盘伸出"));
        QCOMPARE(out->item(49, 3)->text(), QString("成品线进OT_Recive"));
        QCOMPARE(out->item(63, 3)->text(), QString("空"));
        QCOMPARE(in->item(37, 2)->text(), QString("CAN2 5"));
        QCOMPARE(out->item(3, 1)->text(), QString("Y3"));
    }

    void inputLampsFollowThePlant() {
        panel->refresh();
        QVERIFY(panel->inputLamp(5)->isOn()); // door closed: switch active
        QVERIFY(!panel->inputLamp(1)->isOn());
        rig->plant().setDoorOpen(0, true);
        rig->plant().setButtonPressed(1, true);
        panel->refresh();
        QVERIFY(!panel->inputLamp(5)->isOn());
        QVERIFY(panel->inputLamp(1)->isOn());
        // And the door button shows what happened behind the panel's back.
        QVERIFY(child<QPushButton>("doorButton0")->isChecked());
    }

    void axesShowMotionAndPositions() {
        panel->refresh();
        QVERIFY(axisCell(0, 4).contains("静止"));
        dmc_set_profile_unit(0, 0, 0, 100, 0.1, 0.1, 0);
        dmc_pmove_unit(0, 0, 50.0, 0);
        const double start = rig->plant().axisSnapshot(0).command;
        rig->runFor(0.2);
        panel->refresh();
        QVERIFY(axisCell(0, 4).contains("运动"));
        QVERIFY(rig->runUntil([] { return dmc_check_done(0, 0) == 1; }, 5.0));
        panel->refresh();
        QVERIFY(axisCell(0, 4).contains("静止"));
        QCOMPARE(axisCell(0, 2), QString::number(start + 50.0, 'f', 3));
        double enc = 0;
        dmc_get_encoder_unit(0, 0, &enc);
        QCOMPARE(axisCell(0, 3), QString::number(enc, 'f', 3));
    }

    // "Homed" follows the card: a servo alarm loses it, as the program shows, and it
    // stays lost when the alarm goes until the axis is homed again.
    void axesShowHomingResult() {
        auto* homed = child<QTableWidget>("axesTable")->cellWidget(2, 10)->findChild<VmPanelLamp*>();
        panel->refresh();
        QVERIFY(!homed->isOn());
        QVERIFY(rig->homeAxis(2));
        panel->refresh();
        QVERIFY(homed->isOn());
        rig->plant().setServoAlarm(2, true);
        rig->runFor(0.01);
        panel->refresh();
        QVERIFY(!homed->isOn());
        QCOMPARE(ishomedone(0, 2), short(0));
        rig->plant().setServoAlarm(2, false);
        rig->runFor(0.01);
        panel->refresh();
        QVERIFY(!homed->isOn());
        QVERIFY(rig->homeAxis(2));
        panel->refresh();
        QVERIFY(homed->isOn());
    }

    // Why each axis last stopped, in words, on the axes tab.
    void axesShowTheirStopReason() {
        auto* detail = child<QTableWidget>("axisDetailTable");
        showTabOf(detail);
        axis_home(0, 1, 1, 5, 20, 0, 0.0);
        dmc_set_profile_unit(0, 0, 0, 100, 0.1, 0.1, 0);
        dmc_pmove_unit(0, 0, 300.0, 0);
        rig->runFor(0.3);
        dmc_stop(0, 1, 0); // a homing stopped on its time-out
        rig->plant().setServoAlarm(0, true);
        rig->runFor(0.3);
        panel->refresh();
        QVERIFY(detail->isVisible());
        QCOMPARE(detail->item(0, 5)->text(), QString("伺服报警 (alarm)"));
        QCOMPARE(detail->item(1, 5)->text(), QString("减速停止 (stop)"));
        QCOMPARE(detail->item(2, 5)->text(), QString("—"));
    }

    // Plant time since the program started, not since the computer did.
    void timeCountsFromTheStart() {
        sim::VirtualMachine vm(1);
        vm.step(50000000); // the steady clock of a machine up for 50 s
        VmPanel p(vm.plant());
        vm.step(52500000);
        p.refresh();
        QCOMPARE(p.findChild<QLabel*>("plantTimeLabel")->text(), QString("时间 2.5 s"));
    }

    // The e-stop circuit is closed while released: the row says which, not a lamp.
    void estopInputSaysReleasedOrPressed() {
        auto* in = child<QTableWidget>("inputsTable");
        panel->refresh();
        QVERIFY(in->item(0, 3)->text().contains("released"));
        QVERIFY(!panel->inputLamp(0)->isVisible());
        rig->plant().setEstopPressed(true);
        panel->refresh();
        QVERIFY(in->item(0, 3)->text().contains("pressed"));
        QVERIFY(!in->item(0, 3)->text().contains("released"));
    }

    // On a 1920 x 1080 desktop filled by the main window the panel keeps clear of the
    // window's button column and its message area; with room to spare it goes beside.
    void placementKeepsTheOperatorsViewsClear() {
        const QRect desktop(0, 0, 1920, 1080);
        const QRect window(0, 0, 1920, 1080);
        const QRect column(0, 0, 155, 1080);
        const QRect messages(643, 713, 1250, 280);
        const QSize preferred(900, 1000);
        const QSize least = panel->minimumSizeHint();
        const QRect r = VmPanel::placement(desktop, window, column, messages, preferred, least);
        QVERIFY2(!r.intersects(column) && !r.intersects(messages),
                 qPrintable(QString("%1,%2 %3x%4 least %5x%6")
                                .arg(r.x())
                                .arg(r.y())
                                .arg(r.width())
                                .arg(r.height())
                                .arg(least.width())
                                .arg(least.height())));
        QVERIFY(desktop.contains(r));
        QVERIFY(r.width() >= least.width() && r.height() >= least.height());

        const QRect wide(0, 0, 3840, 1080);
        const QRect beside = VmPanel::placement(wide, window, column, messages, preferred, least);
        QCOMPARE(beside, QRect(QPoint(1920, 0), preferred));
    }

    // ---- faults ----

    void servoAlarmFromPanel_data() {
        QTest::addColumn<int>("axis");
        QTest::newRow("X") << 0;
        QTest::newRow("line belt") << 5;
        QTest::newRow("axis 11") << 11;
    }
    void servoAlarmFromPanel() {
        QFETCH(int, axis);
        auto* box = child<QCheckBox>(QString("servoAlarm%1").arg(axis));
        QCOMPARE(dmc_axis_io_status(0, WORD(axis)) & 1u, 0u);
        click(box);
        QCOMPARE(dmc_axis_io_status(0, WORD(axis)) & 1u, 1u);
        for (int other = 0; other < 12; ++other)
            if (other != axis) QCOMPARE(dmc_axis_io_status(0, WORD(other)) & 1u, 0u);
        panel->refresh();
        QVERIFY(child<VmPanelLamp>(QString("axisAlarmLamp%1").arg(axis))->isOn());
        click(box);
        QCOMPARE(dmc_axis_io_status(0, WORD(axis)) & 1u, 0u);
    }

    void limitsFromPanel() {
        click(child<QCheckBox>("limitPos3"));
        QCOMPARE(dmc_axis_io_status(0, 3) & 6u, 2u);
        click(child<QCheckBox>("limitNeg3"));
        QCOMPARE(dmc_axis_io_status(0, 3) & 6u, 6u);
        click(child<QCheckBox>("limitPos3"));
        QCOMPARE(dmc_axis_io_status(0, 3) & 6u, 4u);
        QCOMPARE(dmc_axis_io_status(0, 4) & 6u, 0u);
    }

    void homingFaultsFromPanel() {
        auto* combo = child<QComboBox>("homingFault1");
        combo->setCurrentIndex(1); // fails
        QVERIFY(!rig->homeAxis(1));
        combo->setCurrentIndex(2); // hangs: stands at the origin, no result
        QVERIFY(!rig->homeAxis(1));
        combo->setCurrentIndex(0);
        QVERIFY(rig->homeAxis(1));
    }

    void cylinderStuckFromPanel() {
        // NG tray: valve B (Y44, node 2 bit 12) drives to the extended sensor X44.
        const auto extend = [] {
            dmc_write_can_outbit(0, 2, 11, 1);
            dmc_write_can_outbit(0, 2, 12, 0);
        };
        const auto retract = [] {
            dmc_write_can_outbit(0, 2, 12, 1);
            dmc_write_can_outbit(0, 2, 11, 0);
        };
        click(child<QCheckBox>("cylStuck2"));
        extend();
        rig->runFor(1.0);
        QCOMPARE(dmc_read_can_inbit(0, 2, 12), short(1));
        QCOMPARE(dmc_read_can_inbit(0, 2, 11), short(0));
        click(child<QCheckBox>("cylStuck2"));
        rig->runFor(1.0);
        QCOMPARE(dmc_read_can_inbit(0, 2, 12), short(0));
        panel->refresh();
        auto* position = qobject_cast<QProgressBar*>(child<QTableWidget>("cylindersTable")->cellWidget(2, 3));
        QVERIFY(position);
        QCOMPARE(position->value(), 100);
        retract();
        rig->runFor(1.0);
        QCOMPARE(dmc_read_can_inbit(0, 2, 11), short(0));
    }

    void cylinderSensorBrokenFromPanel() {
        // Buffer stopper rests up: X37 (node 2 bit 5) reports.
        QCOMPARE(dmc_read_can_inbit(0, 2, 5), short(0));
        click(child<QCheckBox>("cylSensorA3"));
        rig->runFor(0.05);
        QCOMPARE(dmc_read_can_inbit(0, 2, 5), short(1));
        click(child<QCheckBox>("cylSensorA3"));
        rig->runFor(0.05);
        QCOMPARE(dmc_read_can_inbit(0, 2, 5), short(0));
    }

    void canNodeLostFromPanel() {
        WORD nodes = 0, state = 0;
        dmc_get_can_state(0, &nodes, &state);
        QCOMPARE(state, WORD(3));
        dmc_write_can_outbit(0, 1, 1, 0);
        click(child<QCheckBox>("canLost1"));
        dmc_get_can_state(0, &nodes, &state);
        QVERIFY(state != 3);
        panel->refresh();
        QVERIFY(!child<VmPanelLamp>("nodeLamp1")->isOn());
        QVERIFY(child<VmPanelLamp>("nodeLamp2")->isOn());
        QVERIFY(!lampByName("outputsTable", "上相机环形光源")->isOn()); // a lost node drops its outputs
        click(child<QCheckBox>("canLost1"));
        dmc_get_can_state(0, &nodes, &state);
        QCOMPARE(state, WORD(3));
    }

    void inputForcedFromPanel() {
        auto* force = child<QComboBox>("inputForce25"); // assembly position sensor, node 1 bit 9
        QCOMPARE(dmc_read_can_inbit(0, 1, 9), short(1));
        force->setCurrentIndex(2);
        QCOMPARE(dmc_read_can_inbit(0, 1, 9), short(0));
        panel->refresh();
        QVERIFY(panel->inputLamp(25)->isOn());
        force->setCurrentIndex(1);
        rig->plant().setInput(25, true); // what drives it no longer counts
        QCOMPARE(dmc_read_can_inbit(0, 1, 9), short(1));
        force->setCurrentIndex(0);
        QCOMPARE(dmc_read_can_inbit(0, 1, 9), short(0));
    }

    void noLabelFromPanel() {
        rig->plant().nozzle().setGripRule(nullptr); // a label under the nozzle wherever it stands
        dmc_write_can_outbit(0, 2, 0, 0);           // vacuum on
        rig->runFor(0.2);
        QCOMPARE(dmc_read_can_inbit(0, 2, 0), short(0));
        dmc_write_can_outbit(0, 2, 0, 1);
        rig->runFor(0.1);
        click(child<QCheckBox>("noLabelCheck"));
        dmc_write_can_outbit(0, 2, 0, 0);
        rig->runFor(0.5);
        QCOMPARE(dmc_read_can_inbit(0, 2, 0), short(1));
    }

    void cardMissingOnlyAtTheNextStart() {
        click(child<QCheckBox>("cardMissingNextStart"));
        QVERIFY2(dmc_board_init() >= 1, "the running machine keeps its card");
        // The next power-up: no card; the one after it: the card is back.
        {
            sim::VirtualMachine next;
            VmPanelStartOptions::applyAtStart(next.plant());
            next.installCard();
            QCOMPARE(dmc_board_init(), short(0));
        }
        {
            sim::VirtualMachine again;
            VmPanelStartOptions::applyAtStart(again.plant());
            again.installCard();
            QCOMPARE(dmc_board_init(), short(1));
        }
        rig->vm.installCard();
    }

    void clearAllFaults() {
        click(child<QCheckBox>("servoAlarm2"));
        click(child<QCheckBox>("limitNeg0"));
        click(child<QCheckBox>("canLost3"));
        child<QComboBox>("inputForce33")->setCurrentIndex(1);
        rig->plant().setServoAlarm(6, true); // set behind the panel's back
        panel->refresh();
        QVERIFY(child<QCheckBox>("servoAlarm6")->isChecked());
        click(child<QPushButton>("clearFaultsButton"));
        for (WORD a = 0; a < 12; ++a) QCOMPARE(dmc_axis_io_status(0, a) & 7u, 0u);
        WORD nodes = 0, state = 0;
        dmc_get_can_state(0, &nodes, &state);
        QCOMPARE(state, WORD(3));
        QCOMPARE(dmc_read_can_inbit(0, 2, 1), short(0)); // nozzle up sensor reports again
        QVERIFY(!child<QCheckBox>("servoAlarm2")->isChecked());
        QVERIFY(!child<QCheckBox>("servoAlarm6")->isChecked());
        QCOMPARE(child<QComboBox>("inputForce33")->currentIndex(), 0);
    }

    // ---- window ----

    void registeredAsCompanion() {
        VmPanel::registerAsCompanion();
        sim::VirtualMachine::setInstance(&rig->vm);
        std::unique_ptr<QWidget> w(sim::VirtualMachine::createCompanion());
        sim::VirtualMachine::setInstance(nullptr);
        QVERIFY(qobject_cast<VmPanel*>(w.get()));
        QCOMPARE(w->windowTitle(), QString("Tavrin 虚拟机 (virtual machine)"));
    }

    // Beside a main window on a 1920 x 1080 screen, with nothing cut off.
    void fitsBesideTheMainWindow() {
        const QSize least = panel->minimumSizeHint();
        QVERIFY2(least.width() <= 900 && least.height() <= 1000,
                 qPrintable(QString("%1 x %2").arg(least.width()).arg(least.height())));
        // A busy machine: long texts, lit lamps, a pressed emergency stop.
        dmc_set_profile_unit(0, 0, 0, 100, 0.1, 0.1, 0);
        dmc_pmove_unit(0, 0, 200.0, 0);
        axis_home(0, 2, 1, 5, 20, 0, 0.0);
        rig->plant().setServoAlarm(5, true);
        for (WORD bit : {0, 3, 4, 5}) dmc_write_outbit(0, bit, 0);
        dmc_write_can_outbit(0, 1, 0, 0);
        dmc_write_can_outbit(0, 2, 2, 0);
        rig->plant().setDoorOpen(1, true);
        rig->plant().setEstopPressed(true);
        rig->runFor(0.3);
        auto* tabs = child<QTabWidget>("tabs");
        const QString shots = qEnvironmentVariable("TAVRIN_SHOT_DIR");
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            panel->refresh();
            QCoreApplication::processEvents();
            if (!shots.isEmpty()) panel->grab().save(QString("%1/vmpanel-%2.png").arg(shots).arg(i));
            for (QLabel* l : panel->findChildren<QLabel*>()) {
                if (!l->isVisible() || l->wordWrap()) continue;
                QVERIFY2(
                    l->width() >= l->sizeHint().width(),
                    qPrintable(
                        QString("%1: %2 < %3").arg(l->text()).arg(l->width()).arg(l->sizeHint().width())));
            }
            for (QAbstractButton* b : panel->findChildren<QAbstractButton*>()) {
                if (!b->isVisible()) continue;
                if (qobject_cast<QPushButton*>(b)) {
                    // Push-buttons may give up their padding, never their text.
                    for (const QString& line : b->text().split('\n'))
                        QVERIFY2(b->fontMetrics().horizontalAdvance(line) + 8 <= b->width(),
                                 qPrintable(line));
                } else {
                    QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->text()));
                }
            }
            for (QTableWidget* t : panel->findChildren<QTableWidget*>()) {
                if (!t->isVisible()) continue;
                QHeaderView* h = t->horizontalHeader();
                for (int c = 0; c < t->columnCount(); ++c) {
                    const QString text = t->horizontalHeaderItem(c)->text();
                    int need = 0;
                    for (const QString& line : text.split('\n'))
                        need = qMax(need, h->fontMetrics().horizontalAdvance(line));
                    QVERIFY2(h->sectionSize(c) >= need + 4, qPrintable(t->objectName() + ": " + text));
                }
                QVERIFY2(h->length() <= t->viewport()->width() + 1, qPrintable(t->objectName()));
                for (int r = 0; r < t->rowCount(); ++r)
                    for (int c = 0; c < t->columnCount(); ++c)
                        if (QTableWidgetItem* item = t->item(r, c))
                            QVERIFY2(t->fontMetrics().horizontalAdvance(item->text()) + 8 <=
                                         t->columnWidth(c),
                                     qPrintable(t->objectName() + ": " + item->text()));
            }
        }
    }
};

QTEST_MAIN(TestVmPanel)
#include "tst_vmpanel.moc"
