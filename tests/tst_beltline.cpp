// The belt-line sequence on the virtual machine: trays come from the upstream
// neighbour, are buffered, clamped at the assembly position and handed to the
// cycle, and leave to the downstream neighbour; empty trays pass below. The fast
// scan, the window's ticks, the cycle thread's pass (homing, end of production)
// and the belt-line pass run in machine time; the operator uses the panel buttons.
#include "MachineState.h"
#include "TestSupport.h"

#include "app/MachineData.h"
#include "app/MainCycle.h"
#include "machine/FastScan.h"
#include "machine/IoAccess.h"
#include "sequences/BeltLine.h"
#include "sequences/CycleData.h"
#include "sequences/Homing.h"
#include "sequences/Taska.h"
#include "sequences/Taskb.h"
#include "sim/BeltTransport.h"
#include "sim/BeltView.h"

#include <QtTest>
#include <set>

namespace {

using Panel = sim::OperatorPanel;
using sim::Neighbour;

struct Line : SimRig {
    FastScan scan;
    MainCycle window;
    Taska cycle;
    Taskb belts;
    sim::Belts b;

    QStringList edges;       // hand-shake edges in order: "+O51", "-I52", ...
    std::set<double> stepsB; // every stepB value seen
    std::set<double> stepsA;
    bool trayStateSet = false;
    bool lineOutSignalled = false;
    bool prev[2][12] = {};

    explicit Line(double mode) {
        resetMachineData();
        kzct::resetLibraryState();
        testLineIn = testLineOut = testEmptyIn = testEmptyOut = 0;
        manualLabelReq = manualBarrelReq = 0;
        clearBeltHandshakeFlags();
        startCard();
        cardOk = 1.0;
        applyDemoRecipe();
        gd[18] = mode;
        b = sim::findBelts(plant());
        clock.addPeriodic("fast", 5000, [this] { scan.pass(); });
        clock.addPeriodic("tick10", 10000, [this] { window.tick10ms(); });
        clock.addPeriodic("tick100", 100000, [this] { window.tick100ms(); });
        // The cycle's homing and end of production only: the tests play its side of the
        // tray hand-over themselves (finishTray).
        clock.addPeriodic("cycle", 5000, [] {
            homingResetBlock();
            homingStep();
            endProductionStep();
        });
        clock.addPeriodic("belts", 5000, [this] { belts.pass(); });
        clock.addPeriodic("watch", 1000, [this] { watch(); });
        runFor(0.05);
    }

    // Inputs before outputs: within one millisecond the plant moves before the program.
    void watch() {
        for (int io = 1; io >= 0; --io)
            for (int i = 0; i < 12; ++i) {
                const bool v = io ? plant().input(48 + i) : plant().output(48 + i);
                if (v != prev[io][i])
                    edges << QString("%1%2%3").arg(v ? '+' : '-').arg(io ? 'I' : 'O').arg(48 + i);
                prev[io][i] = v;
                if (v && !io && i >= 3 && i <= 5) lineOutSignalled = true;
            }
        stepsB.insert(double(stepB));
        stepsA.insert(double(stepA));
        if (trayState != 0) trayStateSet = true;
    }

    void press(int button) {
        plant().setButtonPressed(button, true);
        runFor(0.05);
        plant().setButtonPressed(button, false);
        runFor(0.15);
    }
    bool homeAndStart() {
        press(Panel::ResetButton);
        if (!runUntil([] { return waitOperator == 1; }, 30.0)) return false;
        press(Panel::StartButton);
        return runB == 1;
    }
    void clearAndStart() {
        press(Panel::AlarmClearButton);
        press(Panel::StartButton);
    }
    // The cycle's side of the hand-over: it finishes the tray only while the belt line idles.
    bool finishTray() {
        if (!runUntil([] { return trayState == 1 && stepB == 100; }, 60.0)) return false;
        trayState = 2;
        return true;
    }
    const sim::Tray* atAssembly() {
        auto g = plant().lock();
        return b.finished->trayAtAssembly();
    }
    int atAssemblyId() {
        const sim::Tray* t = atAssembly();
        return t ? t->id : 0;
    }
    size_t received(Neighbour* n) {
        auto g = plant().lock();
        return n->received().size();
    }
    bool anyOn(int first) {
        return plant().output(first) || plant().output(first + 1) || plant().output(first + 2);
    }
    bool beltMoving(int axis) { return plant().axisSnapshot(axis).moving; }
};

// Whether want occurs in log in this order (other edges may come between).
bool inOrder(const QStringList& log, int from, const QStringList& want) {
    int k = 0;
    for (int i = from; i < log.size() && k < want.size(); ++i)
        if (log[i] == want[k]) ++k;
    return k == want.size();
}

} // namespace

class TestBeltLine : public QObject {
    Q_OBJECT
private slots:
    void lineModeBringsClampsHandsOverAndSendsOut() {
        Line m(2.0);
        QVERIFY(m.homeAndStart());
        QVERIFY(m.runUntil([] { return trayState == 1; }, 60.0));

        // The first tray came from upstream into the buffer, on to the assembly
        // position, and stands clamped there.
        QCOMPARE(m.atAssemblyId(), 1);
        QVERIFY(m.plant().cylinder(sim::CylAssyLift).atA()); // lift up
        QVERIFY(m.plant().input(25));
        QVERIFY(inOrder(m.edges, 0, {"+O48", "+I50", "+O49", "+I49", "-O49", "+O50", "-I50", "-O50"}));
        QVERIFY(m.stepsB.count(153) && m.stepsB.count(254));

        // The next tray is asked for and waits in the buffer behind the stopper.
        QVERIFY(m.runUntil([] { return lineInStep == 0.0 && inImg[24]; }, 30.0));
        QVERIFY(m.plant().input(24));
        m.runFor(0.5);
        QVERIFY(!m.beltMoving(5)); // and the belt stands under it
        QCOMPARE(m.atAssemblyId(), 1);
        QVERIFY(!m.lineOutSignalled);

        // The cycle is done with it: lowered, handed downstream with the full sequence.
        const int from = m.edges.size();
        QVERIFY(m.finishTray());
        QVERIFY(m.runUntil([&] { return m.received(m.b.finishedDown) == 1; }, 30.0));
        QVERIFY(m.runUntil([] { return stepB == 100 || stepB == 150; }, 10.0));
        QVERIFY(inOrder(m.edges, from, {"+O51", "+O53", "+I52", "+O52", "+I53", "-O53", "-I53", "-O52"}));
        QVERIFY(inOrder(m.edges, from, {"+O51", "-I53", "-O51"}));
        QCOMPARE(m.b.finishedDown->received().front(), 1);
        QVERIFY(!m.anyOn(51));

        // And the buffered tray follows to the assembly position.
        QVERIFY(m.runUntil([] { return trayState == 1; }, 30.0));
        QCOMPARE(m.atAssemblyId(), 2);
        QCOMPARE(int(alarmActive), 0);
    }

    void passThroughSendsTraysOnWithoutTheCycle() {
        Line m(3.0);
        QVERIFY(m.homeAndStart());
        QVERIFY(m.runUntil([&] { return m.received(m.b.finishedDown) >= 3; }, 120.0));
        QVERIFY(!m.trayStateSet);
        QCOMPARE(m.b.finishedDown->received()[0], 1);
        QCOMPARE(m.b.finishedDown->received()[2], 3);
        QVERIFY(!m.stepsB.count(150)); // never positioned for the cycle
        QCOMPARE(int(alarmActive), 0);
    }

    void standAloneFinishedTrayEndsProduction() {
        Line m(0.0);
        {
            auto g = m.plant().lock();
            sim::Tray t;
            t.id = 77;
            t.front = sim::BeltTransport::kAssemblyStop;
            m.b.finished->placeTray(t); // the operator puts a tray in
        }
        QVERIFY(m.homeAndStart());
        QVERIFY(m.finishTray());
        QVERIFY(m.runUntil([&] { return m.stepsA.count(2000) > 0; }, 10.0));
        QCOMPARE(int(runB), 0);
        m.runFor(5.0);
        QCOMPARE(m.atAssemblyId(), 77); // not sent anywhere
        QVERIFY(!m.lineOutSignalled);
        QCOMPARE(m.received(m.b.finishedDown), size_t(0));
        QVERIFY(!m.stepsB.count(200));
        QVERIFY(!m.stepsB.count(211));
        QVERIFY(!m.edges.contains("+O48")); // no tray asked for either
    }

    // Mode 1 sends a finished tray out without any hand-shake: the belt runs 5 s.
    void standAloneModeOneSendsTheTrayWithoutSignals() {
        Line m(1.0);
        {
            auto g = m.plant().lock();
            sim::Tray t;
            t.id = 78;
            t.front = sim::BeltTransport::kAssemblyStop;
            m.b.finished->placeTray(t);
        }
        QVERIFY(m.homeAndStart());
        QVERIFY(m.finishTray());
        QVERIFY(m.runUntil([] { return stepB == 213; }, 10.0));
        const int64_t beltStart = m.clock.nowUs();
        QVERIFY(m.runUntil([] { return trayState == 0; }, 10.0));
        // In whole microseconds: the timer may run out exactly on a pass.
        const int64_t ran = m.clock.nowUs() - beltStart;
        QVERIFY2(ran >= 5000000 && ran < 5100000, qPrintable(QString::number(ran)));
        QVERIFY(m.runUntil([] { return stepB == 100; }, 5.0));
        QCOMPARE(m.atAssemblyId(), 0);
        QVERIFY(m.plant().input(23)); // waits at the end of the belt for someone to take it
        QVERIFY(!m.lineOutSignalled);
        QVERIFY(!m.edges.contains("+O48"));
        QCOMPARE(int(alarmActive), 0);
    }

    void dryRunNeedsNoTray() {
        Line m(2.0);
        workMode = 1.0;
        dryRun = 1;
        QVERIFY(m.homeAndStart());
        QVERIFY(m.runUntil([] { return trayState == 1; }, 30.0));
        QCOMPARE(m.atAssemblyId(), 0);
        QVERIFY(!m.plant().input(25));
        QCOMPARE(int(alarmFlags[14]), 0);
        m.runFor(10.0);
        QVERIFY(!m.edges.contains("+O48"));
        QCOMPARE(lineInStep, 0.0);
        QCOMPARE(stepB, 100.0);
    }

    void downstreamStopsBeforeCompletedRaisesLineOutTimeout() {
        Line m(2.0);
        QVERIFY(m.homeAndStart());
        m.b.finishedDown->setStopAt(Neighbour::Moving); // accepts, then stops answering
        QVERIFY(m.finishTray());
        QVERIFY(m.runUntil([] { return stepB == 213; }, 20.0));
        const double beltStart = m.nowS();
        QVERIFY(m.runUntil([] { return alarmFlags[28] == 1; }, 30.0));
        const double waited = m.nowS() - beltStart;
        QVERIFY2(waited >= 10.0 - 1e-9 && waited < 10.1, qPrintable(QString::number(waited)));
        m.runFor(0.3);
        QVERIFY(!m.anyOn(51));
        QVERIFY(!m.beltMoving(5));
        QCOMPARE(stepB, 211.0);
        QCOMPARE(int(runB), 0);
        QCOMPARE(m.received(m.b.finishedDown), size_t(0));

        // The neighbour is put right; clear and start: the hand-shake starts over.
        m.b.finishedDown->setStopAt(-1);
        const int from = m.edges.size();
        m.clearAndStart();
        QVERIFY(m.runUntil([&] { return m.received(m.b.finishedDown) == 1; }, 30.0));
        QVERIFY(m.runUntil([] { return trayState == 0 && stepB >= 100; }, 10.0));
        QVERIFY(inOrder(m.edges, from, {"+O51", "+O53", "+I52", "+O52", "+I53", "-O53"}));
        QCOMPARE(int(alarmFlags[28]), 0);
    }

    void downstreamStopsBeforeCompletedRaisesEmptyOutTimeout() {
        Line m(2.0);
        m.b.finishedUp->setSupply(0); // only the empty line works here
        m.b.emptyDown->setStopAt(Neighbour::Moving);
        QVERIFY(m.homeAndStart());
        QVERIFY(m.runUntil([] { return emptyStep == 212; }, 60.0));
        const double beltStart = m.nowS();
        QVERIFY(m.runUntil([] { return alarmFlags[30] == 1; }, 30.0));
        const double waited = m.nowS() - beltStart;
        QVERIFY2(waited >= 10.0 - 1e-9 && waited < 10.1, qPrintable(QString::number(waited)));
        m.runFor(0.3);
        QVERIFY(!m.anyOn(57));
        QVERIFY(!m.beltMoving(6));
        QCOMPARE(emptyStep, 200.0);
        QCOMPARE(int(runB), 0);

        m.b.emptyDown->setStopAt(-1);
        const int from = m.edges.size();
        m.clearAndStart();
        QVERIFY(m.runUntil([&] { return m.received(m.b.emptyDown) == 1; }, 30.0));
        QVERIFY(m.runUntil([] { return emptyStep == 100 || emptyStep >= 250; }, 10.0));
        QVERIFY(inOrder(m.edges, from, {"+O57", "+O59", "+I58", "+O58", "+I59", "-O59"}));
        QCOMPARE(m.b.emptyDown->received().front(), 1001);
        QCOMPARE(int(alarmFlags[30]), 0);
    }

    void silentNeighboursAreWaitedFor() {
        Line m(2.0);
        m.b.finishedUp->setSilent(true);
        QVERIFY(m.homeAndStart());
        m.runFor(60.0);
        QCOMPARE(lineInStep, 261.0);
        QVERIFY(m.plant().output(48));
        QCOMPARE(int(runB), 1);
        QCOMPARE(int(alarmActive), 0);
        m.b.finishedUp->setSilent(false);
        QVERIFY(m.runUntil([] { return trayState == 1; }, 30.0));

        // A downstream machine that never answers: the tray waits, clamped, without alarm.
        m.b.finishedDown->setSilent(true);
        QVERIFY(m.finishTray());
        m.runFor(60.0);
        QCOMPARE(stepB, 211.0);
        QVERIFY(m.plant().output(51));
        QVERIFY(!m.plant().output(52));
        QCOMPARE(int(alarmActive), 0);
        QCOMPARE(m.atAssemblyId(), 1);
        QVERIFY(m.plant().cylinder(sim::CylAssyLift).atA());
    }

    void trayMissingAtAssemblyAlarmsAndWaits() {
        Line m(2.0);
        QVERIFY(m.homeAndStart());
        QVERIFY(m.runUntil([] { return stepB == 152; }, 60.0));
        sim::Tray taken;
        {
            auto g = m.plant().lock();
            taken = *m.b.finished->trayAtAssembly();
            m.b.finished->removeTray(taken.id); // someone takes the tray away
        }
        QVERIFY(m.runUntil([] { return alarmFlags[14] == 1; }, 10.0));
        m.runFor(2.0);
        QCOMPARE(stepB, 155.0);
        QCOMPARE(int(runB), 0);
        QCOMPARE(trayState, 0);

        // Clearing without the tray raises it again.
        m.clearAndStart();
        QVERIFY(m.runUntil([] { return alarmFlags[14] == 1; }, 2.0));
        QCOMPARE(trayState, 0);

        {
            auto g = m.plant().lock();
            taken.front = sim::BeltTransport::kAssemblyStop;
            m.b.finished->placeTray(taken);
        }
        m.clearAndStart();
        QVERIFY(m.runUntil([] { return trayState == 1; }, 5.0));
        QCOMPARE(m.atAssemblyId(), taken.id);
    }

    void pauseDuringHandshakeRestartsFromTheFirstSignal() {
        Line m(2.0);
        QVERIFY(m.homeAndStart());
        // The next tray waits in the buffer, so that only the outfeed is paused.
        QVERIFY(m.runUntil([] { return trayState == 1 && inImg[24] == 1 && lineInStep == 0; }, 60.0));
        m.b.finishedDown->setSlowFactor(20); // time to pause in the middle
        QVERIFY(m.finishTray());
        QVERIFY(m.runUntil([] { return lineOutBeg == 1; }, 30.0));
        QVERIFY(m.plant().output(53));
        m.press(Panel::StopButton);
        QCOMPARE(int(runB), 0);
        QVERIFY(!m.anyOn(51));
        QCOMPARE(stepB, 211.0);

        const int from = m.edges.size();
        m.b.finishedDown->setSlowFactor(1);
        m.press(Panel::StartButton);
        QVERIFY(m.runUntil([&] { return m.received(m.b.finishedDown) == 1; }, 30.0));
        QVERIFY(m.runUntil([] { return stepB >= 215 || stepB == 100; }, 10.0));
        const int firstOut = [&] {
            for (int i = from; i < m.edges.size(); ++i)
                if (m.edges[i].startsWith("+O")) return i;
            return -1;
        }();
        QVERIFY(firstOut >= 0);
        QCOMPARE(m.edges[firstOut], QString("+O51"));
        QVERIFY(inOrder(m.edges, from, {"+O51", "+O53", "+I52", "+O52", "+I53"}));

        // The infeed likewise: paused while waiting for upstream, it restarts at Ready.
        m.b.finishedUp->setSlowFactor(40);
        QVERIFY(m.runUntil([] { return lineInStep == 261; }, 30.0));
        m.press(Panel::StopButton);
        QCOMPARE(lineInStep, 250.0);
        QVERIFY(!m.anyOn(48));
        m.b.finishedUp->setSlowFactor(1);
        const int from2 = m.edges.size();
        m.press(Panel::StartButton);
        QVERIFY(m.runUntil([] { return inImg[24] == 1 && lineInStep == 0; }, 30.0));
        QVERIFY(inOrder(m.edges, from2, {"+O48", "+O49", "+O50"}));
    }

    // A stop while the next tray runs in from upstream, wholly on the belt and short of
    // the buffer sensor: the start carries that tray into the buffer; upstream is not
    // asked for another one, which would follow it and later be pushed past the
    // assembly stopper.
    void stopWhileTheTrayRunsInBringsThatTrayOnly() {
        Line m(2.0);
        QVERIFY(m.homeAndStart());
        QVERIFY(m.runUntil([] { return trayState == 1; }, 60.0));
        const auto inTransit = [&m] {
            auto g = m.plant().lock();
            const std::vector<sim::Tray>& t = m.b.finished->trays();
            return lineInStep == 262 && t.size() == 2 && t.back().rear() > 0 &&
                   t.back().front < sim::BeltTransport::kBufferStop - 30;
        };
        QVERIFY(m.runUntil(inTransit, 30.0));
        m.press(Panel::StopButton);
        QCOMPARE(int(runB), 0);
        m.runFor(0.5);
        QVERIFY(!m.beltMoving(5));
        m.runFor(5.0);
        QVERIFY(!m.plant().input(24));

        m.press(Panel::StartButton);
        QVERIFY(m.runUntil([] { return lineInStep == 0.0 && inImg[24]; }, 30.0));
        m.runFor(10.0);
        std::vector<int> ids;
        {
            auto g = m.plant().lock();
            for (const sim::Tray& t : m.b.finished->trays()) ids.push_back(t.id);
        }
        QCOMPARE(ids, (std::vector<int>{1, 2}));
        QCOMPARE(m.atAssemblyId(), 1);
        QVERIFY(!m.anyOn(48));

        // That tray goes on to the assembly position when the first has left.
        QVERIFY(m.finishTray());
        QVERIFY(m.runUntil([] { return trayState == 1; }, 60.0));
        QCOMPARE(m.atAssemblyId(), 2);
        QCOMPARE(int(alarmFlags[14]), 0);
    }

    // The empty-tray line likewise, stopped while a tray runs in and again once it has
    // reached the sensor: each time only that tray is passed on.
    void stopWhileAnEmptyTrayRunsInPassesThatTrayOnly() {
        Line m(2.0);
        m.b.finishedUp->setSupply(0); // only the empty line works here
        QVERIFY(m.homeAndStart());
        const auto trays = [&m] {
            auto g = m.plant().lock();
            std::vector<int> ids;
            for (const sim::Tray& t : m.b.empty->trays()) ids.push_back(t.id);
            return ids;
        };
        QVERIFY(m.runUntil(
            [&m] {
                auto g = m.plant().lock();
                const std::vector<sim::Tray>& t = m.b.empty->trays();
                return emptyStep == 262 && t.size() == 1 && t.back().rear() > 0 && t.back().front < 600;
            },
            30.0));
        m.press(Panel::StopButton);
        m.runFor(0.5);
        QVERIFY(!m.beltMoving(6));
        m.runFor(5.0);
        QVERIFY(!m.plant().input(27));
        m.press(Panel::StartButton);
        QVERIFY(m.runUntil([] { return emptyStep >= 200 && emptyStep < 250; }, 30.0)); // sending
        QCOMPARE(trays(), (std::vector<int>{1001}));
        QVERIFY(m.runUntil([&] { return m.received(m.b.emptyDown) == 1; }, 30.0));

        m.b.emptyUp->setSlowFactor(20); // time to stop while it drops its signals
        QVERIFY(m.runUntil([] { return emptyStep == 263; }, 60.0));
        QVERIFY(m.plant().input(27));
        m.press(Panel::StopButton);
        QVERIFY(!m.anyOn(54));
        m.b.emptyUp->setSlowFactor(1);
        m.press(Panel::StartButton);
        QVERIFY(m.runUntil([] { return emptyStep >= 200 && emptyStep < 250; }, 30.0)); // sending
        QCOMPARE(trays(), (std::vector<int>{1002}));
        QVERIFY(m.runUntil([&] { return m.received(m.b.emptyDown) == 2; }, 60.0));
        QCOMPARE(m.b.emptyDown->received(), (std::vector<int>{1001, 1002}));
    }

    // Once downstream has the empty tray, the belt stands while it drops its signals.
    void emptyBeltStandsWhileDownstreamEndsTheTransfer() {
        Line m(2.0);
        m.b.finishedUp->setSupply(0); // only the empty line works here
        m.b.emptyDown->setSlowFactor(10);
        QVERIFY(m.homeAndStart());
        QVERIFY(m.runUntil([] { return emptyStep == 213; }, 120.0));
        QCOMPARE(m.received(m.b.emptyDown), size_t(1));
        m.runFor(0.3);
        QCOMPARE(emptyStep, 213.0);
        QVERIFY(!m.beltMoving(6));
        QVERIFY(m.runUntil([] { return emptyStep != 213; }, 30.0));
        QVERIFY(!m.beltMoving(6));
        QCOMPARE(int(alarmActive), 0);
    }

    void resetDuringHandshakeStartsFromInitialisation() {
        Line m(2.0);
        QVERIFY(m.homeAndStart());
        m.b.finishedDown->setSlowFactor(20);
        QVERIFY(m.finishTray());
        QVERIFY(m.runUntil([] { return lineOutBeg == 1 && emptyStep >= 200; }, 30.0));
        m.stepsB.clear();
        m.press(Panel::ResetButton);
        QCOMPARE(stepB, 0.0);
        QCOMPARE(lineInStep, 0.0);
        QCOMPARE(emptyStep, 0.0);
        QVERIFY(m.runUntil([] { return waitOperator == 1; }, 30.0));
        for (int out = 48; out <= 59; ++out)
            QVERIFY2(!m.plant().output(out), qPrintable(QString::number(out)));
        QCOMPARE(stepB, 0.0);

        m.press(Panel::StartButton);
        QVERIFY(m.runUntil([] { return stepB == 21; }, 1.0));
        QVERIFY(m.beltMoving(5)); // the belt initialisation runs again
        QVERIFY(m.runUntil([] { return stepB >= 100; }, 5.0));
        QVERIFY(m.stepsB.count(20) && m.stepsB.count(21));
    }

    void beltTestsRunOnceInManualMode() {
        Line m(2.0);
        m.press(Panel::ResetButton);
        QVERIFY(m.runUntil([] { return waitOperator == 1; }, 30.0));
        QVERIFY(!startTestLineIn()); // automatic mode: ignored
        QCOMPARE(lineInStep, 0.0);
        manualMode = 1.0;
        m.runFor(0.1);

        QVERIFY(startTestLineIn());
        QVERIFY(m.runUntil([] { return testLineIn == 0; }, 30.0));
        QCOMPARE(lineInStep, 0.0);
        QVERIFY(m.plant().input(24));
        m.runFor(5.0);
        QCOMPARE(m.b.finishedUp->supply(), -1);
        QCOMPARE(lineInStep, 0.0); // once
        QVERIFY(!m.anyOn(48));

        {
            auto g = m.plant().lock();
            sim::Tray t;
            t.id = 50;
            t.front = sim::BeltTransport::kAssemblyStop;
            m.b.finished->placeTray(t);
        }
        QVERIFY(startTestLineOut());
        QVERIFY(m.runUntil([] { return testLineOut == 0; }, 30.0));
        QCOMPARE(stepB, 0.0);
        QCOMPARE(m.b.finishedDown->received().front(), 50);
        QVERIFY(m.plant().input(24)); // the buffered tray stayed behind its stopper
        QVERIFY(!m.anyOn(51));

        QVERIFY(startTestEmptyIn());
        QVERIFY(m.runUntil([] { return testEmptyIn == 0; }, 30.0));
        QCOMPARE(emptyStep, 0.0);
        QVERIFY(m.plant().input(27));
        QVERIFY(startTestEmptyOut());
        QVERIFY(m.runUntil([] { return testEmptyOut == 0; }, 30.0));
        QCOMPARE(emptyStep, 0.0);
        QCOMPARE(m.received(m.b.emptyDown), size_t(1));
        QVERIFY(!m.plant().input(27));
        m.runFor(5.0);
        QCOMPARE(emptyStep, 0.0);
        QCOMPARE(m.received(m.b.emptyDown), size_t(1));
        QCOMPARE(int(runB), 0);
        QCOMPARE(int(alarmActive), 0);
    }

    void signalResetsAndEstopEndTests() {
        Line m(2.0);
        manualMode = 1.0;
        struct Case {
            void (*reset)();
            int first;
            volatile u8* test;
            bool zeroesEmptyStep;
        } cases[] = {{resetLineInSignals, 48, &testLineIn, false},
                     {resetLineOutSignals, 51, &testLineOut, false},
                     {resetEmptyInSignals, 54, &testEmptyIn, true},
                     {resetEmptyOutSignals, 57, &testEmptyOut, true}};
        for (const Case& c : cases) {
            for (int i = 48; i < 60; ++i) outputBit(i, true);
            inputFreeze = 1; // the page's frozen inputs: the copy is what it shows
            for (int i = 48; i < 60; ++i) inCopy[i] = 1;
            *c.test = 1;
            emptyStep = 5;
            m.runFor(0.05);
            c.reset();
            m.runFor(0.05);
            for (int i = 48; i < 60; ++i) {
                const bool mine = i >= c.first && i < c.first + 3;
                QCOMPARE(m.plant().output(i), !mine);
                QCOMPARE(int(inCopy[i]), mine ? 0 : 1);
            }
            QCOMPARE(int(*c.test), 0);
            QCOMPARE(emptyStep, c.zeroesEmptyStep ? 0.0 : 5.0);
        }
        inputFreeze = 0;

        // The e-stop also ends a manual test.
        testLineIn = 1;
        m.plant().setEstopPressed(true);
        m.runFor(0.05);
        QCOMPARE(int(testLineIn), 0);
        m.plant().setEstopPressed(false);
    }

    // The panel's picture follows the plant: the lamp of a covered sensor is lit.
    void panelShowsTraysAndSensors() {
        Line m(2.0);
        BeltView view(m.plant());
        view.resize(1400, 560);
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        auto shot = [&](const char* name) {
            view.refresh();
            const QImage img = view.grab().toImage();
            if (!dir.isEmpty()) img.save(QString("%1/belts-%2.png").arg(dir, name));
            return img;
        };
        auto lit = [&](const QImage& img, int input) {
            const QPointF c = view.sensorPoint(input);
            return c.x() >= 0 && img.pixelColor(c.toPoint()) == QColor(40, 200, 60);
        };
        QImage img = shot("start");
        QVERIFY(view.sensorPoint(25).x() > 0);
        for (int input : {22, 23, 24, 25, 26, 27})
            QVERIFY2(!lit(img, input), qPrintable(QString::number(input)));

        QVERIFY(m.homeAndStart());
        QVERIFY(m.runUntil([] { return trayState == 1 && inImg[24] && lineInStep == 0; }, 60.0));
        img = shot("clamped");
        QVERIFY(lit(img, 24) && lit(img, 25));
        QVERIFY(!lit(img, 22) && !lit(img, 23));

        QVERIFY(m.finishTray());
        QVERIFY(m.runUntil([] { return inImg[23] == 1; }, 30.0));
        img = shot("leaving");
        QVERIFY(lit(img, 23) && !lit(img, 25));
    }
};

QTEST_MAIN(TestBeltLine)
#include "tst_beltline.moc"
