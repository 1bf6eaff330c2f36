// The linked calibration ties the upper camera, the lower camera and the nozzle
// together with the calibration plate; its verification repeats one corrected pass.
#include "app/MachineData.h"
#include "platform/kzct.h"
#include "platform/kzmc.h"
#include "sequences/NamedMoves.h"
#include "vision/CalibrationRuns.h"
#include "vision/Calibrations.h"
#include "vision/VisionRequests.h"

namespace {
constexpr int kLowerSettleMs = 500;
constexpr int kFirstUpperSettleMs = 200;
constexpr int kPassUpperSettleMs = 300;
constexpr int kPasses = 3;
} // namespace

LinkedRun::LinkedRun(bool verify, volatile unsigned char* busy) : m_verify(verify), m_busy(busy) {}

// Runs the photo of one step; true once it was OK and the run went on to next.
bool LinkedRun::photo(int step, int next, int task, double x, double y, double z, bool lowered, int settleMs,
                      CalibResult* out) {
    if (m_step != step) return false;
    if (!m_started) {
        m_photo.begin(task, x, y, z, lowered, settleMs);
        m_started = true;
    }
    const int r = m_photo.run();
    if (r == 0) return false;
    m_started = false;
    if (r == 2) {
        end(false);
        return false;
    }
    *out = m_photo.result();
    m_step = next;
    return true;
}

bool LinkedRun::plate(int step, int next, PlateStep::Kind kind, double x, double y, bool qZero) {
    if (m_step != step) return false;
    if (!m_started) {
        m_plate.begin(kind, x, y, gd[342], qZero, 0.0);
        m_started = true;
    }
    if (m_plate.run() == 0) return false;
    m_started = false;
    m_step = next;
    return true;
}

void LinkedRun::end(bool ok) {
    calibStopAxes();
    moveZSafeLift(0);
    m_result = ok ? 1 : 2;
    m_step = 1000;
    if (ok && !m_verify) {
        linkCalibDone = 1;
        refreshSaveReq = 1;
    }
}

// The results of the photo of the plate that was just put back.
void LinkedRun::afterPlacedPhoto() {
    if (m_verify) return;
    if (m_pass == 0) {
        gd[310] = m_px;
        gd[311] = m_py;
        m_px += m_r9.x;
        m_py += m_r9.y;
        gd[315] = m_px;
        gd[316] = m_py;
        gd[317] = -m_r9.angle;
        gd[325] = m_r12.px;
        gd[326] = m_r12.py;
        gd[327] = m_r12.x;
        gd[328] = m_r12.y;
        return;
    }
    gd[315] += m_r9.x;
    gd[316] += m_r9.y;
}

bool LinkedRun::pass() {
    if (*m_busy == 0 || manualMode != 1.0 || !estopOk) {
        if (m_step != 1000) {
            calibStopAxes();
            m_result = 2;
        }
        return true;
    }
    if (m_step == 1000) return true;
    if (!calibMayMove()) return false;
    const double plateX = gd[345], plateY = gd[346], plateZ = gd[347];
    const double lowX = gf[410], lowY = gf[411];
    if (m_step == 0) {
        calibStopAxes();
        m_step = 5;
        return false;
    }
    if (m_step == 5 && calibAxesStand()) m_step = m_verify ? 110 : 10;
    // The first set: where the plate lies, taken at its taught pick position.
    photo(10, 20, 12, lowX, lowY, gf[402], true, kLowerSettleMs, &m_r12);
    photo(20, 30, 7, plateX, plateY, plateZ, false, kFirstUpperSettleMs, &m_r7);
    if (m_step == 30) {
        m_pickX = gd[340];
        m_pickY = gd[341];
    }
    plate(30, 40, PlateStep::Pick, gd[340], gd[341], false);
    photo(40, 50, 8, plateX, plateY, plateZ, false, kFirstUpperSettleMs, &m_r8);
    photo(50, 60, 11, lowX, lowY, gf[412], true, kLowerSettleMs, &m_r11);
    if (m_step == 60) {
        // P is the pick place relative to the plate's mark: the nozzle's offset from the
        // upper camera. Measured with the place the plate was actually taken at.
        m_px = m_pickX - gd[345] + m_r11.x - m_r12.x + m_r7.x;
        m_py = m_pickY - gd[346] + m_r11.y - m_r12.y + m_r7.y;
        m_step = 70;
    }
    plate(70, 100, PlateStep::Place, m_px + m_r8.px - m_r11.x - m_r8.x + m_r12.x,
          m_py + m_r8.py - m_r11.y - m_r8.y + m_r12.y, false);

    // The passes.
    photo(100, 110, 12, lowX, lowY, gf[402], true, kLowerSettleMs, &m_r12);
    photo(110, 120, 7, plateX, plateY, plateZ, false, kPassUpperSettleMs, &m_r7);
    if (m_step == 120 && !m_started) {
        const bool first = m_pass == 0 && !m_verify;
        m_pickX = (first ? m_px : gd[310]) + m_r7.px - m_r7.x;
        m_pickY = (first ? m_py : gd[311]) + m_r7.py - m_r7.y;
    }
    plate(120, 130, PlateStep::Pick, m_pickX, m_pickY, m_pass > 0 || m_verify);
    photo(130, 140, 8, plateX, plateY, plateZ, false, kPassUpperSettleMs, &m_r8);
    photo(140, 150, 11, lowX, lowY, gf[412], true, kLowerSettleMs, &m_r11);
    if (m_step == 150) {
        if (!m_started) {
            m_turn.begin(normAngle(0.0, m_r8.angle, m_r11.angle, 0.0));
            m_started = true;
        }
        if (m_turn.run() == 1) {
            m_started = false;
            m_step = 160;
        }
    }
    photo(160, 170, 11, lowX, lowY, gf[412], true, kLowerSettleMs, &m_r11);
    if (m_step == 170 && !m_started) {
        const bool first = m_pass == 0 && !m_verify;
        if (first) {
            m_px = m_pickX - gd[345] + m_r11.x - m_r12.x + m_r7.x;
            m_py = m_pickY - gd[346] + m_r11.y - m_r12.y + m_r7.y;
            m_placeX = m_px + m_r8.px - m_r11.x - m_r8.x + m_r12.x;
            m_placeY = m_py + m_r8.py - m_r11.y - m_r8.y + m_r12.y;
        } else {
            m_placeX = m_r11.px + m_r8.px - gd[325] + gd[315] - m_r11.x - m_r8.x + gd[327];
            m_placeY = m_r11.py + m_r8.py - gd[326] + gd[316] - m_r11.y - m_r8.y + gd[328];
        }
    }
    plate(170, 180, PlateStep::Place, m_placeX, m_placeY, false);
    if (photo(180, 190, 9, plateX, plateY, plateZ, false, kPassUpperSettleMs, &m_r9)) afterPlacedPhoto();
    if (m_step == 190) {
        ++m_pass;
        if (m_verify || m_pass >= kPasses)
            end(true);
        else
            m_step = 100;
    }
    return m_step == 1000;
}
