// The belt line's hand-shake flags seen from the operator: the switch back to
// automatic forgets a hand-shake half done by a manual test, the e-stop also the
// belts the sequence had running (it stopped every axis).
#include "MachineState.h"
#include "TestSupport.h"

#include "app/DataSetup.h"
#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "sequences/CycleData.h"

#include <QPushButton>
#include <QtTest>
#include <memory>

class TestBeltLineWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(config);
        QCOMPARE(DataSetup::ensure(), QString());
        Prompt::setHandler([](const Prompt::Shown&) { return false; }); // no modal dialog in a test
        resetMachineData();
    }

    void autoSwitchClearsTheLatchesAndEstopAllFlags() {
        SimRig rig;
        MainWindow1::Options o;
        o.startWorkers = false;
        o.startTicks = false;
        o.startHousekeeping = false;
        auto window = std::make_unique<MainWindow1>(nullptr, o);
        MainWindow1* w = window.get();
        rig.clock.addPeriodic("fast", 5000, [w] { w->taskFast().pass(); });
        rig.runFor(0.1);
        auto* toggle = window->findChild<QPushButton*>("pushButton_5");
        QVERIFY(toggle);

        volatile u8* const latches[] = {&lineInRecive, &lineOutBeg, &lineOutBusy, &emptyInRecive,
                                        &emptyOutBeg};
        volatile u8* const belts[] = {&lineBeltOn, &emptyBeltOn};
        auto setAll = [&] {
            for (auto* f : latches) *f = 1;
            for (auto* f : belts) *f = 1;
        };

        setAll();
        toggle->click(); // to manual: nothing is forgotten
        QCOMPARE(manualMode, 1.0);
        for (auto* f : latches) QCOMPARE(int(*f), 1);
        toggle->click(); // back to automatic
        QCOMPARE(manualMode, 0.0);
        for (auto* f : latches) QCOMPARE(int(*f), 0);
        for (auto* f : belts) QCOMPARE(int(*f), 1);

        setAll();
        rig.plant().setEstopPressed(true);
        rig.runFor(0.05);
        for (auto* f : latches) QCOMPARE(int(*f), 0);
        for (auto* f : belts) QCOMPARE(int(*f), 0);
        rig.plant().setEstopPressed(false);
    }
};

QTEST_MAIN(TestBeltLineWindow)
#include "tst_beltline_window.moc"
