#pragma once
// The machine at work for the cycle tests: card up, demo recipe, the fast scan, the
// window's 10 ms and 100 ms ticks, the cycle thread's pass, virtual cameras, and
// stand-ins for what other parts of the line do: a label feeder that presents a
// plate when asked, a belt line that keeps a tray clamped at the assembly position,
// and a height sensor that answers every 150 ms.
#include "MachineState.h"
#include "TestSupport.h"

#include "app/MachineData.h"
#include "app/MainCycle.h"
#include "machine/FastScan.h"
#include "platform/Paths.h"
#include "platform/vision/TaskParams.h"
#include "platform/vision/VisionBackend.h"
#include "platform/vision/taskdata.h"
#include "production/MesMessages.h"
#include "production/ProductRecords.h"
#include "sequences/CycleData.h"
#include "sequences/CycleSteps.h"
#include "sequences/Taska.h"
#include "sim/VirtualCameras.h"
#include "vision/HeightValues.h"
#include "vision/VisionRequests.h"

#include <QTemporaryDir>
#include <functional>
#include <vector>

namespace cycletest {

using Panel = sim::OperatorPanel;
constexpr int kFeederFeed = 20; // node 1 output 4 as an image number
constexpr int kVacuumSwitch = 32;

struct CycleRig : SimRig {
    FastScan scan;
    MainCycle window;
    Taska cycle;
    VirtualCameras cameras{7};
    QTemporaryDir dataRoot;

    // Feeder stand-in: input 17 (initialised) on; input 18 on while a plate is loaded.
    bool feederOn = true;
    bool plateLoaded = true;
    int64_t feedSeenUs = -1;
    int feedPulses = 0;
    bool feedWas = false;
    // Belt stand-in: a fresh tray comes 2 s after the cycle hands one over.
    bool beltOn = true;
    int64_t trayAskedUs = -1;
    int traysDone = 0;
    // Height sensor stand-in: the calibrated height for a finished-tray cell.
    bool heightOn = true;
    std::function<double(int cell)> heightOf = [](int) { return 0.0; };
    // Every record the cycle reported, in order.
    std::vector<ProductRecord> records;
    int reports = 0;
    double maxStep = 0;
    int cycleId = -1;

    CycleRig() : SimRig(3) {
        qputenv("TAVRIN_DATA", dataRoot.path().toLocal8Bit());
        Paths::ensureFolders();
        resetMachineData();
        resetCycleData();
        kzct::resetLibraryState();
        TaskParams::GetInstance()->reset();
        taskdata::GetInstance()->setManual(0);
        taskdata::GetInstance()->setBusy(0, 0);
        taskdata::GetInstance()->setBusy(1, 0);
        cameras.setPoseSource(&VirtualCameras::cardPose);
        VisionBackend::install(&cameras);
        ProductRecords::takeAll();
        startCard();
        cardOk = 1.0;
        applyDemoRecipe();
        gd[46] = 0.0;
        window.ask = [](const QString&, const QString&) { return false; };
        QObject::connect(&cycle, &Taska::S_zzdata, [this] {
            ++reports;
            for (const ProductRecord& r : ProductRecords::takeAll()) {
                records.push_back(r);
                ProductRecords::writeRow(r, QDateTime::fromMSecsSinceEpoch(clk::wallMs()));
            }
        });
        plant().nozzle().setGripRule(nullptr); // the stand-in plate: a label wherever the nozzle picks
        plant().forceInput(19, 1);             // NG tray present
        plant().forceInput(20, 1);             // label NG box present
        plant().forceInput(21, 0);             // and not full
        clock.addPeriodic("fast", 5000, [this] { scan.pass(); });
        clock.addPeriodic("10ms", 10000, [this] { window.tick10ms(); });
        clock.addPeriodic("100ms", 100000, [this] { window.tick100ms(); });
        cycleId = clock.addPeriodic("cycle", 5000, [this] { cycle.pass(); });
        clock.addPeriodic("feeder", 5000, [this] { feeder(); });
        clock.addPeriodic("belt", 5000, [this] { belt(); });
        clock.addPeriodic("height", 150000, [this] { height(); });
        clock.addPeriodic("steps", 1000, [this] {
            if (stepA < 1000 && stepA > maxStep) maxStep = stepA;
        });
        runFor(0.05);
    }
    ~CycleRig() { VisionBackend::install(nullptr); }

    static void resetCycleData() {
        feederStep = 0;
        manualLabelReq = manualBarrelReq = 0;
        heightResult = cycleStartClock = cycleTime = assembledCell = 0.0;
        plateReady = 0;
        feedRetry = pickSlot = photoPass = 0;
        mesState = 0;
        productCode.clear();
        ngCode.clear();
        for (auto& r : VisionResult)
            for (auto& v : r) v = 0.0;
    }

    void feeder() {
        if (!feederOn) return;
        plant().forceInput(17, 1);
        const bool feed = plant().output(kFeederFeed);
        if (feed && !feedWas) {
            ++feedPulses;
            feedSeenUs = jammed ? -1 : clock.nowUs(); // a jammed feed never brings a plate
        }
        feedWas = feed;
        if (feed) plateLoaded = false;
        if (!feed && feedSeenUs >= 0 && clock.nowUs() - feedSeenUs > 1000000) {
            plateLoaded = true;
            feedSeenUs = -1;
        }
        // Every cell photographed and none left to take: the plate is empty.
        if (plateLoaded && lastPhotoCell >= plateCells() && firstOkLabel() == 0 && firstNgLabel() == 0)
            plateLoaded = false;
        plant().forceInput(18, plateLoaded ? 1 : 0);
    }
    bool jammed = false;

    void belt() {
        if (!beltOn) return;
        stepB = 100;
        if (trayState == 2 && trayAskedUs < 0) {
            trayAskedUs = clock.nowUs();
            ++traysDone;
            plant().forceInput(25, 0);
        }
        if (trayAskedUs >= 0 && clock.nowUs() - trayAskedUs > 2000000) {
            trayAskedUs = -1;
            trayState = 1;
        }
        if (trayAskedUs < 0) {
            if (trayState != 2) trayState = 1;
            plant().forceInput(25, 1);
        }
    }

    void height() {
        if (!heightOn) return;
        heightCalibrated = heightOf(int(gr[1]));
        heightMarkGood(clock.nowUs());
    }

    void press(int button) {
        plant().setButtonPressed(button, true);
        runFor(0.15);
        plant().setButtonPressed(button, false);
        runFor(0.15);
    }

    // Power-up to running: reset homes the machine, then start.
    bool homeAndStart() {
        press(Panel::ResetButton);
        if (!runUntil([] { return waitOperator == 1; }, 40.0)) return false;
        return start();
    }
    bool start() {
        press(Panel::StartButton);
        return runUntil([] { return runA == 1; }, 1.0);
    }
    void clearAlarm() { press(Panel::AlarmClearButton); }

    void force(int task, VirtualCameras::Force f) { cameras.setForce(task, f); }

    double products() const { return gr[21]; }

    static QString state() {
        QString flags;
        for (int i = 0; i < 256; ++i)
            if (alarmFlags[i]) flags += QString(" A%1").arg(i);
        for (int i = 0; i < 64; ++i)
            if (promptFlags[i]) flags += QString(" P%1").arg(i);
        return QString("step %1 job %2 feeder %3 run %4 good %5 cell %6 ng %7 label %8%9")
            .arg(stepA)
            .arg(nextJob)
            .arg(feederStep)
            .arg(runA)
            .arg(gr[21])
            .arg(gr[1])
            .arg(gr[22])
            .arg(gr[0])
            .arg(flags);
    }
};

} // namespace cycletest
