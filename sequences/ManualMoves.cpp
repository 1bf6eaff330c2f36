#include "ManualMoves.h"

#include "app/MachineData.h"
#include "machine/Permissions.h"
#include "sequences/Homing.h"
#include "sequences/NamedMoves.h"

#include <initializer_list>

namespace {

struct PointData {
    int x, y;  // gf indices of X and Y
    int z;     // gf index of the height
    bool ngZ;  // the height is for NG Z
    int zMain; // NG put: gf index of the Z height beside NG Z, else -1
    int tray;  // tray whose cells the point starts, -1 none
};

PointData pointData(TeachPoint point) {
    switch (point) {
    case TeachPoint::LabelPick:
        return {600, 601, 602, false, -1, 0};
    case TeachPoint::LabelPhoto:
        return {605, 606, 607, false, -1, 0};
    case TeachPoint::LowCamCentre:
        return {610, 611, 612, false, -1, -1};
    case TeachPoint::Assemble:
        return {615, 616, 617, false, -1, 1};
    case TeachPoint::BarrelPhoto:
        return {620, 621, 622, false, -1, 1};
    case TeachPoint::UpCamCentre:
        return {625, 626, 627, false, -1, -1};
    case TeachPoint::NgPut:
        return {630, 631, 632, true, 633, 2};
    case TeachPoint::NgPick:
        return {635, 636, 637, true, -1, 1};
    case TeachPoint::QrPhoto:
        return {640, 641, 642, false, -1, 1};
    case TeachPoint::NgPhoto:
        return {645, 646, 647, false, -1, 2};
    case TeachPoint::Height:
        return {650, 651, 652, false, -1, 1};
    case TeachPoint::LowCamPhoto:
        return {410, 411, 412, false, -1, -1};
    case TeachPoint::LabelBin:
        break;
    }
    return {413, 414, 415, false, -1, -1};
}

bool allowed(std::initializer_list<WORD> axes) {
    for (WORD axis : axes)
        if (!mayMoveManual(axis)) return false;
    return true;
}

void go(WORD axis, double target, double speed) {
    spmove(cardNo, axis, target, speed, 1);
}

bool xyGo(double x, double y, double speedX, double speedY) {
    if (!allowed({axisX, axisY})) return false;
    go(axisX, x, speedX);
    go(axisY, y, speedY);
    return true;
}

bool singleGo(WORD axis, double target, double speed) {
    if (!allowed({axis})) return false;
    go(axis, target, speed);
    return true;
}

bool jogStart(int axis, int dir, double speed) {
    if (!mayJog(axis)) return false;
    axis_jog(cardNo, WORD(axis), speed, dir ? 1 : 0);
    return true;
}

} // namespace

bool manualXSafe() {
    return singleGo(axisX, 0.0, gf[200]);
}

bool manualYSafe() {
    return singleGo(axisY, 0.0, gf[201]);
}

bool manualZSafe() {
    return singleGo(axisZ, gf[400], gf[202]);
}

bool manualNgZSafe() {
    if (!allowed({axisNgZ})) return false;
    gf[401] = 0.0;
    go(axisNgZ, gf[401], gf[204]);
    return true;
}

bool teachXYGo(TeachPoint point, double cell) {
    const PointData p = pointData(point);
    double x = gf[p.x], y = gf[p.y];
    if (p.tray >= 0) cellFromStart(gf[p.x], gf[p.y], cell, p.tray, &x, &y);
    return xyGo(x, y, gf[200], gf[201]);
}

bool teachZGo(TeachPoint point) {
    const PointData p = pointData(point);
    if (!p.ngZ) return singleGo(axisZ, gf[p.z], gf[202]);
    if (p.zMain >= 0) {
        if (!allowed({axisNgZ, axisZ})) return false;
        go(axisNgZ, gf[p.z], gf[204]);
        go(axisZ, gf[p.zMain], gf[202]);
        return true;
    }
    return singleGo(axisNgZ, gf[p.z], gf[204]);
}

bool nozzlePhotoZGo() {
    return singleGo(axisZ, gf[402], gf[352]);
}

bool gridGo(int camera, int n) {
    if (n < 1 || n > 9) return false;
    const double cx = camera == 0 ? gf[625] : gf[610];
    const double cy = camera == 0 ? gf[626] : gf[611];
    double x = cx, y = cy;
    getlpxy(cx + 1, cy - 1, n, 3, 3, 1.0, -1.0, &x, &y, 0);
    return xyGo(x, y, gf[350], gf[351]);
}

bool labelPickGo(double cell) {
    if (!allowed({axisX, axisY})) return false;
    moveLabelPickXYQ(0, cell);
    return true;
}

bool assembleGo(double cell) {
    if (!allowed({axisX, axisY})) return false;
    moveAssembleXY(0, cell);
    return true;
}

bool assembleAngleGo() {
    if (!allowed({axisQ})) return false;
    moveAssembleQ(0);
    return true;
}

bool homeOneAxis(int axis) {
    if (axis < 0 || axis > 6 || !mayHomeManual(axis)) return false;
    return homeAxis(axis);
}

bool jogDialogStart(int axis, int dir, double jogFactor) {
    return jogStart(axis, dir, gd[41] * jogFactor);
}

bool axisJogStart(int axis, int dir) {
    if (axis < 0 || axis > 11) return false;
    return jogStart(axis, dir, gd[50 + axis]);
}

void jogStop(int axis) {
    if (axis < 0 || axis > 11) return;
    dmc_stop(cardNo, WORD(axis), 0);
}

bool stepMove(int axis, double distance) {
    if (axis < 0 || axis > 11 || !mayMoveManual(axis)) return false;
    spmove(cardNo, WORD(axis), distance, gd[50 + axis], 0);
    return true;
}
