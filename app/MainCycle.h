#pragma once
// The machine logic of the main window's periodic ticks, kept apart from the
// widgets so that the lockstep harness can run it at its periods. The window
// calls these and then updates its widgets.
#include "app/AlarmTable.h"
#include "app/EventLog.h"
#include "app/MachineStateBanner.h"
#include "app/StateRecorder.h"
#include "sequences/WaitReasons.h"

#include <QString>
#include <QStringList>
#include <functional>

class QTextBrowser;

class MainCycle {
public:
    MainCycle();

    // The alarm views (may be null when no window shows them).
    QTextBrowser* historyView = nullptr;
    QTextBrowser* currentView = nullptr;
    // Modal yes/no question; answers false when unset.
    std::function<bool(const QString& title, const QString& text)> ask;
    // The main window's m_sigrefdata and m_sigsavedata.
    std::function<void()> refreshData;
    std::function<void()> saveData;
    // Camera link state, polled every 3 s.
    std::function<bool(int cam)> cameraConnected;

    void tick100ms();
    void tick25ms();
    void tick10ms();
    void tick10min();
    void tick3s();

    // "报警清除": stop causes, current view, alarm and prompt flags.
    void clearAlarms();
    // The camera links as the 3 s tick polls them; also once before the alarm table
    // starts, so that a clean start shows no camera alarm.
    void pollCameras();
    // A file could not be saved: shown on the alarm views until the alarms are cleared.
    void noteSaveFailure(const QString& file, const QString& error);
    QString saveFailure() const { return m_saveFailure; }

    const CameraState& cameras() const { return m_cameras; }
    StateRecorder& recorder() { return m_recorder; }
    // The run page's banner as the last 100 ms tick found it.
    const BannerState& banner() const { return m_banner; }
    const WaitTracker& waits() const { return m_waits; }
    const EventLog& events() const { return m_events; }

private:
    void doorLock();
    void ngExtendButton();
    void startRequestToRun();
    void speedFactors();
    void showSaveFailure(bool active);
    void followState();

    StateRecorder m_recorder;
    CameraState m_cameras;
    int m_doorLockTicks = 0;
    QString m_saveFailure;
    QStringList m_failedFiles;
    WaitTracker m_waits;
    EventLog m_events;
    BannerState m_banner;
};
