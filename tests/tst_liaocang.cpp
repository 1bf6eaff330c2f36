// The progress notice over a running manual test: the text of the test that runs,
// closing by itself when the machine thread clears the flag, "结束测试" and the
// window's own close ending what it watched. The cycle, the belt line and the
// fast scan run on the virtual machine in machine time.
#include "CycleRig.h"

#include "pages/liaocang.h"
#include "sequences/BeltLine.h"
#include "sequences/Homing.h"
#include "sequences/Taskb.h"
#include "vision/Calibrations.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace cycletest;

namespace {

void clearTestFlags() {
    for (const liaocang::TestFlag& entry : liaocang::flagTable()) *entry.flag = 0;
}

// Lets the dialog's deferred deletion happen, as the event loop would.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The page's part of a button press: flag and start step set, notice shown.
QPointer<liaocang> openNotice(QWidget* page) {
    auto* notice = new liaocang(page);
    notice->show();
    return notice;
}

// The belt line on the virtual machine with its neighbours, homed, in manual mode.
struct BeltRig : SimRig {
    FastScan scan;
    MainCycle window;
    Taskb belts;

    BeltRig() {
        resetMachineData();
        kzct::resetLibraryState();
        clearTestFlags();
        clearBeltHandshakeFlags();
        startCard();
        cardOk = 1.0;
        applyDemoRecipe();
        gd[18] = 2.0;
        window.ask = [](const QString&, const QString&) { return false; };
        clock.addPeriodic("fast", 5000, [this] { scan.pass(); });
        clock.addPeriodic("tick10", 10000, [this] { window.tick10ms(); });
        clock.addPeriodic("tick100", 100000, [this] { window.tick100ms(); });
        clock.addPeriodic("cycle", 5000, [] {
            homingResetBlock();
            homingStep();
            endProductionStep();
        });
        clock.addPeriodic("belts", 5000, [this] { belts.pass(); });
        runFor(0.05);
    }
    bool homeInManualMode() {
        plant().setButtonPressed(sim::OperatorPanel::ResetButton, true);
        runFor(0.05);
        plant().setButtonPressed(sim::OperatorPanel::ResetButton, false);
        if (!runUntil([] { return waitOperator == 1; }, 30.0)) return false;
        manualMode = 1.0;
        runFor(0.1);
        return true;
    }
    double beltSpeed() { return std::fabs(plant().axisSnapshot(axisLineBelt).velocity); }
};

} // namespace

class TestLiaocang : public QObject {
    Q_OBJECT

private slots:
    void init() { clearTestFlags(); }
    void cleanup() {
        clearTestFlags();
        manualMode = 0.0;
        settle();
    }

    void assemblySingleActionClosesWhenTheCycleIsDone() {
        CycleRig rig;
        rig.press(Panel::ResetButton);
        QVERIFY(rig.runUntil([] { return waitOperator == 1; }, 40.0));
        manualMode = 1.0;
        rig.runFor(0.2);
        QWidget page;
        manualBarrelReq = 1;
        stepA = 120;
        QPointer<liaocang> notice = openNotice(&page);
        QCOMPARE(notice->windowTitle(), QString("测试"));
        QCOMPARE(notice->windowModality(), Qt::WindowModal);
        rig.runFor(0.25);
        QCOMPARE(notice->text(), QString("组装单动测试中。。"));
        QVERIFY(stepA > 120); // the cycle took the request

        double highest = 0;
        QVERIFY2(rig.runUntil(
                     [&] {
                         highest = qMax(highest, double(stepA));
                         return !notice->isVisible();
                     },
                     60.0),
                 qPrintable(CycleRig::state()));
        QCOMPARE(int(manualBarrelReq), 0);
        QCOMPARE(stepA, 0.0);
        QVERIFY2(highest >= 306, qPrintable(QString::number(highest))); // it ran to the label's release
        settle();
        QVERIFY(notice.isNull());
        rig.runFor(1.0);
        QCOMPARE(stepA, 0.0); // nothing left to run
    }

    void theLastRunningTestOfTheTableIsShown() {
        SimRig rig;
        QWidget page;
        calibBusy = 1;
        testEmptyOut = 1;
        QPointer<liaocang> notice = openNotice(&page);
        rig.runFor(0.25);
        QCOMPARE(notice->text(), QString("空盘线出盘测试中。。"));
        testEmptyOut = 0;
        rig.runFor(0.2);
        QCOMPARE(notice->text(), QString("九点标定中。。"));
        linkVerify2Busy = 1;
        nozzleZeroBusy = 1;
        rig.runFor(0.2);
        QCOMPARE(notice->text(), QString("关联精度验证中。。"));
        linkVerify2Busy = 0;
        calibBusy = 0;
        rig.runFor(0.2);
        QCOMPARE(notice->text(), QString("吸笔零点角度校准中。。"));
        nozzleZeroBusy = 0;
        manualDiscardReq = 1;
        rig.runFor(0.2);
        QCOMPARE(notice->text(), QString("标签抛料单动。。"));
        QVERIFY(notice->isVisible());
    }

    void aBeltTestOutranksTheNinePointCalibration() {
        BeltRig rig;
        QVERIFY(rig.homeInManualMode());
        QWidget page;
        calibBusy = 1;
        QVERIFY(startTestLineIn());
        QPointer<liaocang> notice = openNotice(&page);
        rig.runFor(0.25);
        QCOMPARE(notice->text(), QString("成品线进盘测试中。。"));
        QVERIFY(notice->isVisible());
    }

    void endTestStopsABeltTestAtOnce() {
        BeltRig rig;
        QVERIFY(rig.homeInManualMode());
        QWidget page;
        QVERIFY(startTestLineIn());
        manualDiscardReq = 1;
        emptyStep = 250;
        stepB = 5;
        QPointer<liaocang> notice = openNotice(&page);
        QVERIFY(rig.runUntil([&] { return lineInStep > 250 && rig.beltSpeed() > 0; }, 5.0));
        QVERIFY(rig.plant().output(49));                       // receiving from the upstream machine
        QCOMPARE(notice->text(), QString("标签抛料单动。。")); // after the belt test in the table

        QTest::mouseClick(notice->findChild<QPushButton*>("pushButton"), Qt::LeftButton);
        QCOMPARE(int(testLineIn), 0);
        QCOMPARE(lineInStep, 0.0);
        QCOMPARE(emptyStep, 0.0);
        QCOMPARE(stepB, 0.0);
        QCOMPARE(int(manualDiscardReq), 1); // not one of the notice's to end
        QVERIFY(!notice->isVisible());
        settle();
        QVERIFY(notice.isNull());
        rig.runFor(2.0);
        QCOMPARE(lineInStep, 0.0); // the infeed does not start again
        // Nothing is left running for no sequence: the belt stands, the hand-shake is down.
        QCOMPARE(rig.beltSpeed(), 0.0);
        for (int out = 48; out <= 50; ++out)
            QVERIFY2(!rig.plant().output(out), qPrintable(QString::number(out)));
    }

    void closingTheWindowEndsTheTestsButKeepsTheEmptyLine() {
        SimRig rig;
        QWidget page;
        manualLabelReq = 1;
        testEmptyIn = 1;
        linkCalibBusy = 1;
        manualDiscardReq = 1;
        stepA = 150;
        stepB = 200;
        stepC = 3;
        lineInStep = 250;
        emptyStep = 252;
        QPointer<liaocang> notice = openNotice(&page);
        rig.runFor(0.25);
        QVERIFY(notice->close()); // the title bar's close
        settle();
        QVERIFY(notice.isNull());
        QCOMPARE(int(manualLabelReq), 0);
        QCOMPARE(int(testEmptyIn), 0);
        QCOMPARE(int(linkCalibBusy), 0);
        QCOMPARE(int(manualDiscardReq), 1);
        QCOMPARE(stepA, 0.0);
        QCOMPARE(stepB, 0.0);
        QCOMPARE(stepC, 0.0);
        QCOMPARE(lineInStep, 0.0);
        QCOMPARE(emptyStep, 252.0);

        // Escape closes it the same way.
        manualBarrelReq = 1;
        stepA = 120;
        notice = openNotice(&page);
        rig.runFor(0.25);
        QTest::keyClick(notice, Qt::Key_Escape);
        settle();
        QVERIFY(notice.isNull());
        QCOMPARE(int(manualBarrelReq), 0);
        QCOMPARE(stepA, 0.0);
    }

    void endTestClearsEveryFlagButTheLabelDiscard() {
        SimRig rig;
        QWidget page;
        for (const liaocang::TestFlag& entry : liaocang::flagTable()) {
            clearTestFlags();
            *entry.flag = 1;
            QPointer<liaocang> notice = openNotice(&page);
            rig.runFor(0.25);
            QTest::mouseClick(notice->findChild<QPushButton*>("pushButton"), Qt::LeftButton);
            const bool discard = entry.flag == &manualDiscardReq;
            QVERIFY2(int(*entry.flag) == (discard ? 1 : 0), entry.text);
            QVERIFY(!notice->isVisible());
            settle();
        }
    }

    void eachFlagAloneKeepsTheNoticeOpen() {
        SimRig rig;
        QWidget page;
        for (const liaocang::TestFlag& entry : liaocang::flagTable()) {
            clearTestFlags();
            *entry.flag = 1;
            emptyStep = 251;
            QPointer<liaocang> notice = openNotice(&page);
            rig.runFor(0.25);
            QVERIFY2(notice->isVisible(), entry.text);
            QCOMPARE(notice->text(), QString::fromUtf8(entry.text));
            *entry.flag = 0;
            rig.runFor(0.2);
            QVERIFY2(!notice->isVisible(), entry.text);
            QCOMPARE(emptyStep, 0.0); // the check that finds nothing resets every line step
            settle();
            QVERIFY(notice.isNull());
        }
    }
};

QTEST_MAIN(TestLiaocang)
#include "tst_liaocang.moc"
