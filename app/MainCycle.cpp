#include "MainCycle.h"

#include "app/MachineData.h"
#include "machine/IoAccess.h"
#include "platform/Clock.h"
#include "production/MachineStateStore.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"

#include <QCoreApplication>

namespace {
// Alarm row of a failed save, after the rows of the alarm table.
constexpr int kSaveFailureCode = 120;
} // namespace

MainCycle::MainCycle()
    : m_recorder([](const QString& kind, int64_t startMs, int64_t endMs) {
          MachineStateStore::instance().addPeriod(kind, startMs, endMs);
      }) {
    AlarmBoard::reset();
}

void MainCycle::tick100ms() {
    m_events.poll();
    m_recorder.tick(clk::wallMs());
    doorLock();
    ngExtendButton();
    startRequestToRun();
    if (alarmClearReq) {
        clearAlarms();
        alarmClearReq = 0;
    }
    if (manualMode == 0.0) feederOut(2, true);
    if (refreshSaveReq) {
        if (refreshData) refreshData();
        if (saveData) saveData();
        refreshSaveReq = 0;
    }
    trayPathMode = gd[10] != 0 ? 1 : 0;
    if (promptActive) {
        usTstart(20, 3000000);
        usTstart(21, 30000000);
        promptActive = 0;
    }
    if (startupDone) {
        showAlarmTable(historyView, currentView, m_cameras);
        showSaveFailure(!m_saveFailure.isEmpty());
    }
    cylindersCheckErrors();
    speedFactors();
    followState();
}

// After the alarm table: the log and the banner see this tick's alarms.
void MainCycle::followState() {
    m_events.pollAlarms();
    const CurrentWait& wait = m_waits.sample(clk::nowUs());
    m_banner =
        bannerState(BannerInputs{wait, AlarmBoard::activeAlarms(), m_events.homingAbort(), QString(), true});
}

// The door lock of the jog dialog releases itself after about 10 s.
void MainCycle::doorLock() {
    if (!outImg[10]) {
        m_doorLockTicks = 0;
        return;
    }
    if (++m_doorLockTicks > 100) {
        outputBit(10, false);
        m_doorLockTicks = 0;
    }
}

void MainCycle::ngExtendButton() {
    if (manualMode == 1.0 && inImg[9] && moveZSafeLift(1) == 1) cylinderCmd(cylNgExtend, 0, 1);
    outputBit(9, false);
}

void MainCycle::startRequestToRun() {
    if (startRequest != 1) return;
    if (gd[46] == 0.0 && ask &&
        ask(QCoreApplication::translate("MainCycle", "MES提示"),
            QCoreApplication::translate("MainCycle", "MES已经屏蔽，是否开启？"))) {
        gd[46] = 2.0;
        if (refreshData) refreshData();
        if (saveData) saveData();
    }
    startRequest = 0;
    runA = 1;
    runB = 1;
}

void MainCycle::speedFactors() {
    jogspeedk = 1.0;
    autospeedk = gd[7] == 0 ? 0.1 : gd[7] == 1 ? 0.5 : 1.0;
}

void MainCycle::clearAlarms() {
    for (WORD axis = 0; axis < 12; ++axis) dmc_clear_stop_reason(cardNo, axis);
    clearerrshow(currentView);
    for (auto& flag : alarmFlags) flag = 0;
    for (auto& flag : promptFlags) flag = 0;
    promptActive = 0;
    m_saveFailure.clear();
    m_failedFiles.clear();
}

void MainCycle::noteSaveFailure(const QString& file, const QString& error) {
    if (!m_failedFiles.contains(file)) m_failedFiles << file;
    // Every further file is a new entry of the history; shown at once, also before the
    // alarm table runs and while a question is open.
    if (!m_saveFailure.isEmpty()) showSaveFailure(false);
    // The history file keeps the Chinese text; the views translate the part before the file names.
    m_saveFailure = QString::fromUtf8(QT_TRANSLATE_NOOP("AlarmTable", "文件保存失败，原文件未改变：")) +
                    QStringLiteral("%1（%2）").arg(m_failedFiles.join(QStringLiteral("、")), error);
    showSaveFailure(true);
}

void MainCycle::showSaveFailure(bool active) {
    adderrshow(historyView, currentView, m_saveFailure, active, kSaveFailureCode, 2);
    AlarmBoard::note(kSaveFailureCode, 2, active, m_saveFailure);
}

void MainCycle::tick25ms() {
    for (WORD axis = 0; axis < 12; ++axis) {
        double pos = 0.0;
        dmc_get_position_unit(cardNo, axis, &pos);
        cmdPos[axis] = pos;
        dmc_get_encoder_unit(cardNo, axis, &pos);
        encPos[axis] = pos;
    }
}

void MainCycle::tick10ms() {
    cylindersFollow();
}

void MainCycle::tick10min() {
    MachineStateStore::instance().purge(clk::wallMs() - MachineStateStore::kKeepMs);
}

void MainCycle::tick3s() {
    if (startupDone) pollCameras();
}

void MainCycle::pollCameras() {
    if (!cameraConnected) return;
    if (gd[11] != 2.0 && gd[35] != 2.0) m_cameras.cam1 = cameraConnected(1);
    if (gd[35] != 2.0) m_cameras.cam2 = cameraConnected(2);
}
