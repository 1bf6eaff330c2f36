// The I/O page on the virtual machine: the two name tables, the output check
// boxes switching the real outputs (with the 500 ms feeder pulses), and the
// refresh from the raw images.
#include "PageRig.h"

#include "machine/IoAccess.h"
#include "pages/ioct.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QTextCodec>
#include <memory>

class TestIoPage : public QObject {
    Q_OBJECT

    std::unique_ptr<PageRig> rig;
    ioct* page = nullptr;

    QTableWidget* table(bool outputs) {
        return child<QTableWidget>(page, outputs ? "tableWidget_2" : "tableWidget");
    }
    QCheckBox* box(bool outputs, int row) {
        return qobject_cast<QCheckBox*>(table(outputs)->cellWidget(row, 0));
    }
    QString name(bool outputs, int row) { return table(outputs)->item(row, 1)->text(); }
    // Clicks on the check box itself, where an operator's finger lands.
    void click(int output) {
        QCheckBox* b = box(true, output);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, b->height() / 2));
    }

private slots:
    void init() {
        rig = std::make_unique<PageRig>();
        page = new ioct;
        page->resize(1700, 940);
        page->show();
        rig->runFor(0.21);
    }
    void cleanup() {
        page->close(); // delete-on-close
        page = nullptr;
        rig.reset();
    }

    void tablesGeometryAndHeaders() {
        for (bool outputs : {false, true}) {
            QTableWidget* t = table(outputs);
            QCOMPARE(t->columnCount(), 2);
            QCOMPARE(t->rowCount(), 64);
            QCOMPARE(t->columnWidth(0), 120);
            QCOMPARE(t->columnWidth(1), 300);
            QCOMPARE(t->rowHeight(0), 40);
            QCOMPARE(t->rowHeight(63), 40);
            QVERIFY(t->alternatingRowColors());
            QCOMPARE(t->editTriggers(), QAbstractItemView::NoEditTriggers);
            QCOMPARE(t->selectionBehavior(), QAbstractItemView::SelectRows);
            QVERIFY(t->horizontalHeader()->isHidden());
            QVERIFY(t->verticalHeader()->isHidden());
            QCOMPARE(t->horizontalHeaderItem(0)->text(), QString::fromUtf8("状态"));
            QCOMPARE(t->horizontalHeaderItem(1)->text(), QString::fromUtf8("名称"));
            for (int i = 0; i < 64; ++i) {
                QCheckBox* b = box(outputs, i);
                QVERIFY(b);
                QCOMPARE(b->text(), QString("%1%2").arg(outputs ? "Y" : "X").arg(i));
                QCOMPARE(b->styleSheet(), QString("QCheckBox::indicator { width: 60px; height: 60px;}"));
                QCOMPARE(b->iconSize(), QSize(60, 60));
                QVERIFY(!(t->item(i, 1)->flags() & Qt::ItemIsEditable));
                if (outputs) QCOMPARE(b->property("id").toInt(), 100 + i);
            }
        }
    }

    void namesAsTheMachineIsWired() {
        const QVector<QPair<int, const char*>> inputs = {{0, "急停"},
                                                         {4, "复位"},
                                                         {9, "NG换盘"},
                                                         {16, "供料器报警"},
                                                         {28, "供料器缺料光电"},
                                                         {33, "吸笔上位"},
                                                         {44, "NG盘伸出位"},
                                                         {48, "成品线进IN_Ready"},
                                                         {52, "成品线出IN_Recive"},
                                                         {59, "空盘线出IN_Compeled"}};
        const QVector<QPair<int, const char*>> outputs = {
            {0, "报警灯红"},        {3, "报警声音"},       {10, "安全门锁"}, {16, "上相机同轴光源"},
            {21, "供料器真空阀"},   {33, "吸笔反吹"},      {44, "NG盘伸出"}, {48, "成品线进OT_Ready"},
            {53, "成品线出OT_Beg"}, {59, "空盘线出OT_Beg"}};
        for (const auto& p : inputs) QCOMPARE(name(false, p.first), QString::fromUtf8(p.second));
        for (const auto& p : outputs) QCOMPARE(name(true, p.first), QString::fromUtf8(p.second));

        QVector<int> spareIn, spareOut;
        for (int i = 0; i < 64; ++i) {
            if (name(false, i) == QString::fromUtf8("空")) spareIn << i;
            if (name(true, i) == QString::fromUtf8("空")) spareOut << i;
        }
        QCOMPARE(spareIn, (QVector<int>{10, 11, 12, 13, 14, 15, 29, 30, 31, 45, 46, 47, 60, 61, 62, 63}));
        QCOMPARE(spareOut, (QVector<int>{11, 12, 13, 14, 15, 22, 23, 24, 25, 26, 27,
                                         28, 29, 30, 31, 45, 46, 47, 60, 61, 62, 63}));
    }

    void namesDoNotDependOnTheLocale() {
        QTextCodec* was = QTextCodec::codecForLocale();
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
        auto* other = new ioct;
        const QString in5 = child<QTableWidget>(other, "tableWidget")->item(5, 1)->text();
        const QString out34 = child<QTableWidget>(other, "tableWidget_2")->item(34, 1)->text();
        delete other;
        QTextCodec::setCodecForLocale(was);
        QCOMPARE(in5, QString::fromUtf8("前安全门"));
        QCOMPARE(out34, QString::fromUtf8("吸笔升降"));
    }

    void y19PulsesFor500ms() {
        click(19);
        const double t0 = rig->nowS();
        QVERIFY(rig->output(19));
        rig->runFor(0.21);
        QVERIFY(box(true, 19)->isChecked());
        QVERIFY(rig->runUntil([&] { return !rig->output(19); }, 1.0));
        QVERIFY2(std::fabs(rig->nowS() - t0 - 0.5) < 0.002, qPrintable(QString::number(rig->nowS() - t0)));
        rig->runFor(0.21);
        QVERIFY(!box(true, 19)->isChecked());
    }

    void y20PulsesAndY32Stays() {
        click(20);
        click(32);
        QVERIFY(rig->output(20) && rig->output(32));
        rig->runFor(0.6);
        QVERIFY(!rig->output(20));
        rig->runFor(2.0);
        QVERIFY(rig->output(32));
        QCOMPARE(box(true, 32)->checkState(), Qt::Checked);
        click(32);
        QVERIFY(!rig->output(32));
        rig->runFor(0.21);
        QCOMPARE(box(true, 32)->checkState(), Qt::Unchecked);
    }

    void spareRowsSwitchTheirOutput_data() {
        QTest::addColumn<int>("out");
        QTest::newRow("card 11") << 11;
        QTest::newRow("CAN1 27") << 27;
        QTest::newRow("CAN2 46") << 46;
        QTest::newRow("CAN3 62") << 62;
    }
    void spareRowsSwitchTheirOutput() {
        QFETCH(int, out);
        QCOMPARE(name(true, out), QString::fromUtf8("空"));
        bool before[64];
        for (int i = 0; i < 64; ++i) before[i] = rig->output(i);
        click(out);
        QVERIFY(rig->output(out));
        for (int i = 0; i < 64; ++i)
            if (i != out) QVERIFY2(rig->output(i) == before[i], qPrintable(QString::number(i)));
        rig->runFor(0.01); // the toggle reads the image of the next scan
        click(out);
        QVERIFY(!rig->output(out));
    }

    void clickTogglesTheRealOutputWhenTheBoxIsStale() {
        // Right after a refresh, the page shows nothing on output 16 ...
        QVERIFY(rig->runUntil([&] { return box(true, 16)->checkState() == Qt::Unchecked; }, 0.3));
        // ... then the light goes on elsewhere; the box is stale until the next refresh.
        outputBit(16, true);
        rig->runFor(0.01);
        QCOMPARE(int(outImg[16]), 1);
        QCOMPARE(box(true, 16)->checkState(), Qt::Unchecked);
        click(16); // looks like "on" to the operator, acts on the real output: off
        QVERIFY(!rig->output(16));
        rig->runFor(0.21);
        QCOMPARE(box(true, 16)->checkState(), Qt::Unchecked);
    }

    void nozzleLiftValveMovesTheCylinderAndItsSensors() {
        QCOMPARE(box(false, 33)->checkState(), Qt::Checked);
        QCOMPARE(box(false, 34)->checkState(), Qt::Unchecked);
        click(34);
        QVERIFY(rig->output(34));
        QVERIFY(rig->runUntil(
            [&] {
                return box(false, 34)->checkState() == Qt::Checked &&
                       box(false, 33)->checkState() == Qt::Unchecked;
            },
            0.6));
        QCOMPARE(box(true, 34)->checkState(), Qt::Checked);
        click(34);
        QVERIFY(rig->runUntil(
            [&] {
                return box(false, 33)->checkState() == Qt::Checked &&
                       box(false, 34)->checkState() == Qt::Unchecked;
            },
            0.6));
    }

    void inputsShowTheRawImageAlsoWhenFrozen() {
        inputFreeze = 1;
        rig->plant().setDoorOpen(2, true);
        rig->runFor(0.21);
        QCOMPARE(int(inCopy[7]), 1);
        QCOMPARE(box(false, 7)->checkState(), Qt::Unchecked);
        rig->plant().setDoorOpen(2, false);
        rig->runFor(0.21);
        QCOMPARE(box(false, 7)->checkState(), Qt::Checked);
        inputFreeze = 0;
    }

    void clickingAnInputChangesOnlyItsLook() {
        QCOMPARE(box(false, 5)->checkState(), Qt::Checked);
        QCheckBox* b = box(false, 5);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, b->height() / 2));
        QCOMPARE(b->checkState(), Qt::Unchecked);
        QVERIFY(rig->plant().input(5));
        rig->runFor(0.21);
        QCOMPARE(b->checkState(), Qt::Checked);
    }
};

QTEST_MAIN(TestIoPage)
#include "tst_iopage.moc"
