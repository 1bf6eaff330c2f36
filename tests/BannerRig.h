#pragma once
// The whole program on the virtual machine for the banner and log tests: the
// runner's machine with the main window's widgets, powered up but not yet reset.
#include "MachineState.h"
#include "WindowChild.h"

#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "platform/KZLOG.h"
#include "platform/kzct.h"
#include "platform/vision/TaskParams.h"
#include "production/MesMessages.h"
#include "production/ProductRecords.h"
#include "runner/ProductionRunner.h"
#include "sequences/CycleData.h"
#include "vision/VisionRequests.h"

#include <QFile>
#include <QJsonObject>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

namespace bannertest {

using Panel = sim::OperatorPanel;

inline void freshCycleWords() {
    resetMachineData();
    feederStep = 0;
    manualLabelReq = manualBarrelReq = 0;
    heightResult = cycleStartClock = cycleTime = 0.0;
    plateReady = 0;
    feedRetry = pickSlot = photoPass = 0;
    mesState = 0;
    productCode.clear();
    ngCode.clear();
    for (auto& row : VisionResult)
        for (auto& v : row) v = 0.0;
    ProductRecords::takeAll();
    dryRun = 0;
    workMode = 0.0;
    kzct::resetLibraryState();
    TaskParams::GetInstance()->reset();
}

// Powered up and past the start-up's 5 s; before: what the test needs changed first.
inline std::unique_ptr<ProductionRunner> powered(const QJsonObject& faults = {},
                                                 const std::function<void(ProductionRunner&)>& before = {}) {
    freshCycleWords();
    auto r = std::make_unique<ProductionRunner>(1);
    QString error;
    if (!r->applyFaults(faults, &error)) qFatal("%s", qPrintable(error));
    if (before) before(*r);
    r->powerUp(&error); // a missing card is the test's business
    r->clock.runFor(5.5);
    return r;
}

inline bool homed(ProductionRunner& r) {
    QString error;
    return r.resetAndHome(&error);
}

// Started, and the start button let go.
inline bool started(ProductionRunner& r) {
    QString error;
    if (!r.start(&error)) return false;
    r.clock.runFor(0.5);
    return true;
}

inline const BannerState& banner(ProductionRunner& r) {
    return r.window->machineCycle().banner();
}

template <typename T> T* child(ProductionRunner& r, const char* name) {
    T* w = windowChild<T>(r.window.get(), name);
    if (!w) qFatal("no %s", name);
    return w;
}

inline void click(ProductionRunner& r, const char* button) {
    child<QPushButton>(r, button)->click();
    r.clock.runFor(0.25);
}

// Runs until cond holds, tested by a pass of its own every 20 ms: a blocking wait inside
// a pass (the homing, a MES request) holds the harness's own condition check off.
inline bool seenWithin(ProductionRunner& r, const std::function<bool()>& cond, double seconds) {
    bool hit = false;
    const int probe = r.clock.addPeriodic("probe", 20000, [&] { hit = hit || cond(); });
    r.clock.runUntil([&] { return hit; }, seconds);
    r.clock.setEnabled(probe, false);
    return hit;
}

// The day's log file as it is now.
inline QStringList logLines() {
    QFile f(KZLOG::CLog::currentFile());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

inline QString state() {
    return QString("stepA %1 stepB %2 lineIn %3 feeder %4 run %5/%6 homed %7 estop %8 door %9")
        .arg(stepA)
        .arg(stepB)
        .arg(lineInStep)
        .arg(feederStep)
        .arg(runA)
        .arg(runB)
        .arg(homedUi)
        .arg(estopOk)
        .arg(doorOk);
}

} // namespace bannertest
