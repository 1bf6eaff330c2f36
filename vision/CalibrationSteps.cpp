#include "CalibrationSteps.h"

#include "app/MachineData.h"
#include "platform/Clock.h"
#include "platform/kzct.h"
#include "platform/kzmc.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"
#include "vision/VisionRequests.h"

namespace {
constexpr double kQTolerance = 0.05;

bool at(WORD axis, double target) {
    return get_poscmp(cardNo, axis, target) == 1;
}
void moveXY(double x, double y) {
    spmove(cardNo, axisX, x, gf[350], 1);
    spmove(cardNo, axisY, y, gf[351], 1);
}
void nozzleLift(bool lowered) {
    singleout(cardNo, 2, 1, 2, lowered ? 1 : 0, 0);
    resetqigandone(cylNozzleLift);
}
bool nozzleDone() {
    return cylinderCmd(cylNozzleLift, 1, 0) == 1;
}
double qSpeed() {
    return gf[353] > 0 ? gf[353] : gf[203];
}
} // namespace

bool calibMayMove() {
    return homedA && estopOk && readyA && !runA && !runB;
}

void calibStopAxes() {
    for (WORD axis : {axisX, axisY, axisZ, axisQ, axisNgZ}) dmc_stop(cardNo, axis, 0);
}

bool calibAxesStand() {
    for (WORD axis : {axisX, axisY, axisZ, axisQ, axisNgZ})
        if (!isidle(cardNo, axis)) return false;
    return true;
}

void PhotoStep::begin(int task, double x, double y, double z, bool lowered, int settleMs) {
    m_step = 0;
    m_task = task;
    m_x = x;
    m_y = y;
    m_z = z;
    m_lowered = lowered;
    m_settleMs = settleMs;
}

int PhotoStep::run() {
    if (m_step == 0) {
        moveZSafeLift(0);
        m_step = 1;
        return 0;
    }
    if (m_step == 1 && moveZSafeLift(1)) {
        moveXY(m_x, m_y);
        m_step = 2;
    }
    if (m_step == 2 && at(axisX, m_x) && at(axisY, m_y)) {
        spmove(cardNo, axisZ, m_z, gf[352], 1);
        if (m_lowered) nozzleLift(true);
        m_step = 3;
        return 0;
    }
    if (m_step == 3 && at(axisZ, m_z) && (!m_lowered || nozzleDone())) {
        clk::sleepMs(m_settleMs);
        visionTrigger(m_task);
        clk::sleepMs(200);
        m_step = 4;
    }
    if (m_step == 4) {
        visionRead(m_task);
        if (VisionResult[m_task][0] != 1) return 0;
        m_result.x = VisionResult[m_task][2];
        m_result.y = VisionResult[m_task][3];
        m_result.angle = VisionResult[m_task][4];
        m_result.px = photoPos[m_task].x;
        m_result.py = photoPos[m_task].y;
        m_step = 0;
        return VisionResult[m_task][1] == 1 ? 1 : 2;
    }
    return 0;
}

void PlateStep::begin(Kind kind, double x, double y, double z, bool qTurn, double q) {
    m_step = 0;
    m_kind = kind;
    m_x = x;
    m_y = y;
    m_z = z;
    m_qTurn = qTurn;
    m_q = q;
}

int PlateStep::run() {
    if (m_step == 0) {
        moveZSafeLift(0);
        m_step = 1;
        return 0;
    }
    if (m_step == 1 && moveZSafeLift(1)) {
        moveXY(m_x, m_y);
        if (m_qTurn) spmove(cardNo, axisQ, m_q, qSpeed(), 1);
        m_step = 2;
    }
    if (m_step == 2 && at(axisX, m_x) && at(axisY, m_y) &&
        (!m_qTurn || get_poscmp2(cardNo, axisQ, m_q, kQTolerance) == 1)) {
        if (m_kind == Pick) {
            node2Out(0, false);
            node2Out(1, false);
        }
        nozzleLift(true);
        spmove(cardNo, axisZ, m_z, gf[352], 1);
        m_step = 3;
        return 0;
    }
    if (m_step == 3 && at(axisZ, m_z) && nozzleDone()) {
        if (m_kind == Pick) {
            node2Out(0, true);
            node2Out(1, false);
            clk::sleepMs(1000);
        } else {
            node2Out(0, false);
            node2Out(1, true);
            clk::sleepMs(300);
            node2Out(1, false);
        }
        moveZSafeLift(0);
        m_step = 4;
        return 0;
    }
    if (m_step == 4 && moveZSafeLift(1)) {
        m_step = 0;
        return 1;
    }
    return 0;
}

void TurnStep::begin(double target) {
    m_step = 0;
    m_target = target;
}

int TurnStep::run() {
    if (m_step == 0) {
        spmove(cardNo, axisQ, m_target, qSpeed(), 1);
        m_step = 1;
        return 0;
    }
    if (m_step == 1 && get_poscmp2(cardNo, axisQ, m_target, kQTolerance) == 1) {
        m_step = 0;
        return 1;
    }
    return 0;
}
