// The axis page on the virtual machine: eight axis panels, their displays and
// colours from the scan, step move, manual speed, homing, jog and servo power.
#include "PageRig.h"

#include "pages/axisct.h"
#include "pages/zhou.h"

#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

namespace {
const QString kRed = "QLabel{background-color: rgb(255, 0, 0);}";
const QString kGreen = "QLabel{background-color: rgb(0, 255, 0);}";
const QString kClear = "QLabel{background:transparent;}";
} // namespace

class TestAxisPage : public QObject {
    Q_OBJECT

    std::unique_ptr<PageRig> rig;
    zhou* page = nullptr;

    axisct* panel(int axis) { return page->axisWidget(axis); }
    template <class T> T* in(int axis, const char* name) { return child<T>(panel(axis), name); }
    QString style(int axis, const char* label) { return in<QLabel>(axis, label)->styleSheet(); }
    void refreshed() { rig->runFor(0.21); }
    bool standsAt(int axis, double pos) {
        return isidle(0, WORD(axis)) == 1 && std::fabs(command(WORD(axis)) - pos) < 1e-6;
    }

private slots:
    void init() {
        rig = std::make_unique<PageRig>();
        page = new zhou;
        page->show();
        refreshed();
    }
    void cleanup() {
        page->close(); // delete-on-close
        page = nullptr;
        rig.reset();
    }

    void twoRowsOfFourAxesWithTheirTitles() {
        QCOMPARE(page->size(), QSize(1100, 1200));
        const char* const titles[8] = {"取料X轴", "取料Y轴",    "取料Z轴",    "取料Q轴",
                                       "NG Z轴",  "成品皮带轴", "空盘皮带轴", "空"};
        for (int a = 0; a < 8; ++a) {
            QVERIFY(panel(a));
            QCOMPARE(panel(a)->axis(), short(a));
            QCOMPARE(in<QGroupBox>(a, "groupBox")->title(), QString::fromUtf8(titles[a]));
            // Rows: 0..3 above 4..7, in order from left to right.
            QCOMPARE(panel(a)->y() < panel(4)->y(), a < 4);
            if (a % 4) QVERIFY(panel(a)->x() > panel(a - 1)->x());
        }
        QVERIFY(!panel(7)->isEnabled());
        for (int a = 0; a < 7; ++a) {
            QVERIFY(panel(a)->isEnabled());
            QVERIFY(in<QGroupBox>(a, "groupBox")->isEnabled());
            QVERIFY(in<QPushButton>(a, "pushButton_4")->isEnabled());
        }

        const char* const more[4] = {"镜片1Y轴", "镜片2Y轴", "料仓Z轴", "吸笔Q轴"};
        axisct loose;
        QCOMPARE(child<QGroupBox>(&loose, "groupBox")->title(), QString::fromUtf8("轴"));
        loose.setAxis(12);
        QCOMPARE(child<QGroupBox>(&loose, "groupBox")->title(), QString::fromUtf8("轴"));
        for (int a = 8; a < 12; ++a) {
            loose.setAxis(short(a));
            QCOMPARE(child<QGroupBox>(&loose, "groupBox")->title(), QString::fromUtf8(more[a - 8]));
            QCOMPARE(child<QDoubleSpinBox>(&loose, "doubleSpinBox_2")->value(), double(gd[50 + a]));
        }
    }

    void usableInManualModeOnly() {
        manualMode = 0.0;
        refreshed();
        for (int a = 0; a < 7; ++a) QVERIFY(!in<QGroupBox>(a, "groupBox")->isEnabled());
        manualMode = 1.0;
        refreshed();
        for (int a = 0; a < 7; ++a) QVERIFY(in<QGroupBox>(a, "groupBox")->isEnabled());
    }

    void positionAndEncoderWithThreeDecimals() {
        spmove(0, 1, 12.3456, 50.0, 1);
        QVERIFY(rig->runUntil([&] { return standsAt(1, 12.3456); }, 3.0));
        refreshed();
        QCOMPARE(in<QLineEdit>(1, "lineEdit")->text(), QString("12.346"));
        QCOMPARE(in<QLineEdit>(1, "lineEdit_2")->text(), QString::number(encoder(1), 'f', 3));
        QVERIFY(in<QLineEdit>(1, "lineEdit_2")->text().startsWith("12.3"));
    }

    void statusColoursFollowTheScan() {
        refreshed();
        QCOMPARE(style(0, "label_1"), kClear);
        QCOMPARE(style(0, "label_2"), kClear);
        QCOMPARE(style(0, "label_3"), kGreen); // homed X stands on its origin switch
        QCOMPARE(style(0, "label_4"), kGreen);
        QCOMPARE(style(0, "label_9"), kGreen);

        rig->plant().forceLimit(0, -1, true);
        refreshed();
        QCOMPARE(style(0, "label_1"), kRed);
        QCOMPARE(style(0, "label_2"), kClear);
        rig->plant().forceLimit(0, -1, false);
        rig->plant().forceLimit(0, 1, true);
        refreshed();
        QCOMPARE(style(0, "label_1"), kClear);
        QCOMPARE(style(0, "label_2"), kRed);
        rig->plant().forceLimit(0, 1, false);

        spmove(0, 0, 30.0, 100.0, 1);
        QVERIFY(rig->runUntil([&] { return standsAt(0, 30.0); }, 3.0));
        refreshed();
        QCOMPARE(style(0, "label_3"), kClear);
        QCOMPARE(style(0, "label_4"), kGreen);

        rig->plant().setServoAlarm(0, true);
        refreshed();
        QCOMPARE(style(0, "label_4"), kClear);
        QCOMPARE(style(0, "label_9"), kClear); // an alarm clears the homed flag
        QCOMPARE(style(1, "label_4"), kGreen);
        QCOMPARE(style(1, "label_9"), kGreen);
    }

    void stepMoveByTheTypedDistance() {
        spmove(0, 0, 20.0, 100.0, 1);
        QVERIFY(rig->runUntil([&] { return standsAt(0, 20.0); }, 3.0));
        rig->clearPeaks();
        in<QDoubleSpinBox>(0, "doubleSpinBox")->setValue(5.5);
        in<QPushButton>(0, "pushButton")->click();
        QVERIFY(rig->runUntil([&] { return standsAt(0, 25.5); }, 5.0));
        QVERIFY2(std::fabs(rig->peakSpeed(0) - gd[50]) < 1e-6,
                 qPrintable(QString::number(rig->peakSpeed(0))));
        in<QDoubleSpinBox>(0, "doubleSpinBox")->setValue(-10.0);
        in<QPushButton>(0, "pushButton")->click();
        QVERIFY(rig->runUntil([&] { return standsAt(0, 15.5); }, 5.0));

        // Not homed: the step move is refused.
        axisHomed[1] = 0;
        in<QDoubleSpinBox>(1, "doubleSpinBox")->setValue(5.0);
        in<QPushButton>(1, "pushButton")->click();
        rig->runFor(1.0);
        QVERIFY(standsAt(1, 0.0));
    }

    void manualSpeedWrittenWhenEditingIsFinished() {
        auto* box = in<QDoubleSpinBox>(3, "doubleSpinBox_2");
        QCOMPARE(box->value(), 30.0);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "45");
        QCOMPARE(gd[53], 30.0);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(gd[53], 45.0);
        QCOMPARE(gd[52], 5.0);
    }

    void jogWhileHeldAndStopOnRelease_data() {
        QTest::addColumn<int>("axis");
        QTest::addColumn<QString>("jogButton");
        QTest::addColumn<int>("sign");
        QTest::newRow("X JOG+") << 0 << "pushButton_4" << 1;
        QTest::newRow("Y JOG+") << 1 << "pushButton_4" << 1;
        QTest::newRow("Q JOG-") << 3 << "pushButton_3" << -1;
        QTest::newRow("line belt JOG+") << 5 << "pushButton_4" << 1;
        QTest::newRow("empty belt JOG-") << 6 << "pushButton_3" << -1;
    }
    void jogWhileHeldAndStopOnRelease() {
        QFETCH(int, axis);
        QFETCH(QString, jogButton);
        QFETCH(int, sign);
        auto* b = in<QPushButton>(axis, jogButton.toLatin1());
        QTest::mousePress(b, Qt::LeftButton);
        rig->runFor(0.5);
        QVERIFY(std::fabs(rig->velocity(axis) - sign * gd[50 + axis]) < 1e-6);
        QTest::mouseRelease(b, Qt::LeftButton);
        QVERIFY(rig->runUntil([&] { return !rig->moving(axis); }, 0.5));
    }

    void releaseStopsAlsoAfterARefusedJog() {
        axis_jog(0, 1, 4.0, 1);
        rig->runFor(0.3);
        axisHomed[4] = 0; // NG Z not safe: Y refuses
        auto* b = in<QPushButton>(1, "pushButton_3");
        QTest::mousePress(b, Qt::LeftButton);
        rig->runFor(0.3);
        QVERIFY(std::fabs(rig->velocity(1) - 4.0) < 1e-6);
        const uint64_t before = rig->stops();
        QTest::mouseRelease(b, Qt::LeftButton);
        QCOMPARE(rig->stops(), before + 1);
        QVERIFY(rig->runUntil([&] { return !rig->moving(1); }, 0.5));
    }

    void homeButtonHomesTheAxis() {
        spmove(0, 0, 40.0, 100.0, 1);
        QVERIFY(rig->runUntil([&] { return standsAt(0, 40.0); }, 3.0));
        // Refused while the servo alarm is on.
        rig->plant().setServoAlarm(0, true);
        refreshed();
        in<QPushButton>(0, "pushButton_2")->click();
        rig->runFor(0.5);
        QVERIFY(!rig->plant().axisSnapshot(0).homing);
        rig->plant().setServoAlarm(0, false);
        refreshed();
        in<QPushButton>(0, "pushButton_2")->click();
        rig->runFor(0.05);
        QVERIFY(rig->plant().axisSnapshot(0).homing);
        QVERIFY(rig->runUntil([&] { return isidle(0, 0) == 1; }, 30.0));
        QCOMPARE(int(ishomedone(0, 0)), 1);
        QVERIFY(std::fabs(command(0)) < 1e-6);
    }

    void servoPowerClearsTheHomedFlag_data() {
        QTest::addColumn<QString>("powerButton");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("上电") << "pushButton_5" << true;
        QTest::newRow("下电") << "pushButton_6" << false;
    }
    void servoPowerClearsTheHomedFlag() {
        QFETCH(QString, powerButton);
        QFETCH(bool, enabled);
        for (int a : {2, 3}) { // the two enable polarities
            QCOMPARE(style(a, "label_9"), kGreen);
            in<QPushButton>(a, powerButton.toLatin1())->click();
            QCOMPARE(int(axisHomed[a]), 0);
            rig->runFor(0.05);
            QCOMPARE(rig->plant().axisSnapshot(a).enabled, enabled);
            refreshed();
            QCOMPARE(style(a, "label_9"), kClear);
        }
    }

    void servoPowerOutsideManualModeDoesNothing() {
        manualMode = 0.0;
        for (const char* slot : {"on_pushButton_5_clicked", "on_pushButton_6_clicked"}) {
            const uint64_t before = rig->card().calls(sim::VirtualCard::CallWriteSevon);
            QVERIFY(QMetaObject::invokeMethod(panel(2), slot));
            QCOMPARE(rig->card().calls(sim::VirtualCard::CallWriteSevon), before);
            QCOMPARE(int(axisHomed[2]), 1);
            QVERIFY(rig->plant().axisSnapshot(2).enabled);
        }
    }
};

QTEST_MAIN(TestAxisPage)
#include "tst_axispage.moc"
