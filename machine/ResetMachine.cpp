#include "ResetMachine.h"

#include "app/MachineData.h"
#include "machine/CardInit.h"
#include "platform/KZLOG.h"
#include "sequences/CycleData.h"
#include "vision/VisionFlags.h"

namespace {

void clearLabelPhotos() {
    for (auto& record : labelPhotoBuf) {
        record[0] = 0.0;
        record[1] = 0.0;
    }
    lastPhotoCell = 0.0;
}

void stopAndEnableAxes() {
    for (WORD axis = 0; axis < 12; ++axis) {
        dmc_emg_stop(cardNo);
        waitidle(cardNo, axis);
        axisEnableLvl(cardNo, axis, 1);
    }
}

bool drivesHealthy() {
    for (WORD axis = 0; axis < 8; ++axis) {
        const short pin = dmc_read_sevon_pin(cardNo, axis);
        const bool enabled = axis <= 2 ? pin == 0 : pin != 0;
        if (!enabled || !axisAlmOk[axis]) return false;
    }
    for (int axis = 8; axis < 12; ++axis)
        if (!axisAlmOk[axis]) return false;
    return true;
}

void clearSequences() {
    runA = 0;
    runB = 0;
    stepA = 0.0;
    stepB = 0.0;
    stepC = 0.0;
    lineInStep = 0.0;
    emptyStep = 0.0;
    // A finished tray stays finished: cleared, the belt line would clamp it again as a
    // new tray and the cycle would label every product on it a second time.
    const int finished = trayState == 2 ? 2 : 0;
    for (auto& job : cycleJobs) job = 0;
    trayState = finished;
    homedA = 0;
    homedB = 0;
    homedUi = 0;
    for (int axis = 0; axis < 15; ++axis) axisHomed[axis] = 0;
    endProduction = 0;
    interlockOff = 0;
    promptActive = 0;
}

} // namespace

void resetMachine() {
    waitOperator = 0;
    clearLabelPhotos();
    calibBusy = 0;
    // The operator sees no message when a reset is refused; the log says why.
    if (estopOk != 1 || doorOk != 1 || cardOk != 1.0) {
        const char* why = cardOk != 1.0 ? "无控制卡" : estopOk != 1 ? "急停按下" : "安全门打开";
        KZLOG::CLog::Warn(QStringLiteral("复位未执行：%1").arg(QString::fromUtf8(why)));
        return;
    }
    stopAndEnableAxes();
    if (!drivesHealthy()) {
        KZLOG::CLog::Warn(QStringLiteral("复位未执行：伺服未使能或报警"));
        return;
    }
    clearSequences();
    homeRequest = 1;
    KZLOG::CLog::Info(QStringLiteral("复位"));
}
