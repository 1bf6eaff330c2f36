#include "FastScan.h"

#include "app/MachineData.h"
#include "machine/IoAccess.h"
#include "machine/ResetMachine.h"
#include "sequences/CycleData.h"
#include "vision/VisionFlags.h"

#include <cstring>

namespace {
constexpr int kBuzzerPasses = 300;

// One sweep of the flag bytes, not a volatile read each: a flag another thread sets
// meanwhile counts from the next pass, as it would anyway.
bool anyOf(const volatile u8* flags, int count) {
    return std::memchr(const_cast<const u8*>(flags), 1, size_t(count)) != nullptr;
}
} // namespace

void FastScan::pass() {
    readAxes();
    readImages();
    checkSafety();
    handleButtons();
    driveLamps();
    switchPhotoLightsOff();
}

void FastScan::readAxes() {
    for (WORD axis = 0; axis < 12; ++axis) {
        const DWORD status = dmc_axis_io_status(cardNo, axis);
        axisAlmOk[axis] = axis < 8 ? !(status & 0x01) : 1;
        axisElpOk[axis] = !(status & 0x02);
        axisElnOk[axis] = !(status & 0x04);
        axisOrg[axis] = (status & 0x10) ? 1 : 0;
    }
}

void FastScan::readImages() {
    for (WORD bit = 0; bit < 16; ++bit) {
        inImg[bit] = dmc_read_inbit(cardNo, bit) == 0;
        outImg[bit] = dmc_read_outbit(cardNo, bit) == 0;
    }
    for (WORD node = 1; node <= 3; ++node) {
        for (WORD bit = 0; bit < 16; ++bit) {
            const int i = 16 * node + bit;
            inImg[i] = dmc_read_can_inbit(cardNo, node, bit) == 0;
            outImg[i] = dmc_read_can_outbit(cardNo, node, bit) == 0;
        }
    }
    if (!inputFreeze)
        for (int i = 0; i < 64; ++i) inCopy[i] = inImg[i];
}

void FastScan::checkSafety() {
    doorOk = (gd[4] == 2.0) || (inImg[5] && inImg[6] && inImg[7] && inImg[8]);

    if (dmc_read_inbit(cardNo, 0) != 0) {
        estopOk = 0;
        runA = 0;
        runB = 0;
        dmc_emg_stop(cardNo);
        homeRequest = 0;
        clearBeltHandshakeFlags();
    } else {
        estopOk = 1;
    }

    bool axesOk = true;
    for (WORD axis = 0; axis <= 6; ++axis) {
        const bool ok = axisAlmOk[axis] && axisElpOk[axis];
        axesOk = axesOk && ok;
        if (!(ok && doorOk && estopOk)) dmc_stop(cardNo, axis, 0);
    }
    for (int axis = 0; axis < 12; ++axis)
        if (!axisAlmOk[axis]) axisHomed[axis] = 0;

    const u8 homed = axisHomed[0] && axisHomed[1] && axisHomed[2] && axisHomed[3] && axisHomed[4];
    homedA = homedB = homedUi = homed;
    readyA = readyB = estopOk && homed && axesOk && doorOk;
}

void FastScan::handleButtons() {
    if (manualMode == 0.0 && estopOk && inImg[1]) {
        if (readyA) {
            startRequest = 1;
            waitOperator = 0;
        }
        if (readyB) {
            startRequest = 1;
            promptActive = 0;
        }
    }
    if (!readyA) runA = 0;
    if (!readyB) runB = 0;

    if (inImg[3] && !m_alarmClearLatch) {
        alarmClearReq = 1;
        m_alarmClearLatch = true;
    } else if (!inImg[3]) {
        m_alarmClearLatch = false;
    }

    if (inImg[2] || manualMode == 1.0) {
        runA = runB = 0;
        waitOperator = 0;
        promptActive = 0;
    }

    outputBit(8, stepA >= 1000 && stepA < 1005);

    if (inImg[4] && estopOk && !m_resetLatch && cardOk == 1.0) {
        m_resetLatch = true;
        resetMachine();
    } else if (!inImg[4]) {
        m_resetLatch = false;
    }

    alarmActive = 0;
    if (anyOf(alarmFlags, 156)) alarmActive = 1;
    for (int k = 0; k < 16; ++k)
        if (eerv[k]) alarmActive = 1;
    if (alarmActive) runA = runB = 0;
    if (anyOf(promptFlags, 64)) promptActive = 1;
}

void FastScan::driveLamps() {
    const bool running = runA || runB;
    // Raw card levels as the lamp table gives them.
    dmc_write_outbit(cardNo, 0, running && !alarmActive ? 1 : 0);
    dmc_write_outbit(cardNo, 1, 1);
    dmc_write_outbit(cardNo, 2, alarmActive ? 1 : 0);

    if (waitOperator) {
        outputBit(5, blink == 0);
        outputBit(6, false);
        outputBit(7, false);
    } else if (running && !alarmActive) {
        outputBit(5, true);
        outputBit(6, false);
        outputBit(7, false);
    } else {
        outputBit(5, false);
        outputBit(6, true);
        outputBit(7, true);
    }

    if (gd[1] != 2.0 && alarmActive) {
        const bool sounding = m_buzzerPasses < kBuzzerPasses;
        if (sounding) ++m_buzzerPasses;
        dmc_write_outbit(cardNo, 3, sounding ? 0 : 1);
    } else {
        m_buzzerPasses = 0;
        dmc_write_outbit(cardNo, 3, 1);
    }
}

void FastScan::switchPhotoLightsOff() {
    if (upperLightOn && usTout(10)) {
        singleout(cardNo, 1, 1, 0, 0, 0);
        singleout(cardNo, 1, 1, 1, 0, 0);
        upperLightOn = 0;
    }
    if (lowerLightOn && usTout(11)) {
        singleout(cardNo, 1, 1, 2, 0, 0);
        lowerLightOn = 0;
    }
}
