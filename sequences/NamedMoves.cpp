#include "NamedMoves.h"

#include "app/MachineData.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"
#include "vision/VisionRequests.h"

#include <cmath>

volatile int trayPathMode = 0;
double lastAssembleXY[2] = {0.0, 0.0};

namespace {

constexpr double kQTolerance = 0.05;

double rows(int tray) {
    return gf[500 + 10 * tray];
}
double cols(int tray) {
    return gf[501 + 10 * tray];
}

// The last target each working axis was sent to, so that a start can finish a move
// that a stop cut short (each step waits for its move to arrive).
struct Order {
    bool set = false;
    double target = 0.0, speed = 0.0;
};
Order orders[5];

void go(WORD axis, double target, double speed) {
    spmove(cardNo, axis, target, speed, 1);
    if (axis < 5) orders[axis] = {true, target, speed};
}
bool at(WORD axis, double target) {
    return get_poscmp(cardNo, axis, target) == 1;
}

int xyMove(int mode, double x, double y) {
    if (mode == 0) {
        go(axisX, x, gf[200]);
        go(axisY, y, gf[201]);
        return 0;
    }
    return at(axisX, x) && at(axisY, y);
}

int zMove(int mode, double target) {
    if (mode == 0) {
        go(axisZ, target, gf[202]);
        return 0;
    }
    return at(axisZ, target);
}

int trayXY(int mode, double startX, double startY, double cell, int tray) {
    double x = 0.0, y = 0.0;
    cellFromStart(startX, startY, cell, tray, &x, &y);
    return xyMove(mode, x, y);
}

// The NG Z parks at 0: whatever a page stored as its safe height is overwritten.
double ngZPark() {
    gf[401] = 0.0;
    return gf[401];
}

bool zSafeReached() {
    return at(axisZ, gf[400]) || at(axisZ, 0.0);
}

} // namespace

void resumeInterruptedMoves() {
    for (WORD axis = 0; axis < 5; ++axis) {
        const Order& o = orders[axis];
        if (o.set && axisHomed[axis] && isidle(cardNo, axis) == 1 && !at(axis, o.target))
            spmove(cardNo, axis, o.target, o.speed, 1);
    }
}

void forgetMoveOrders() {
    for (Order& o : orders) o = Order();
}

int trayDone(int k) {
    if (k < 0 || k > 2) return 0;
    return gr[k] > rows(k) * cols(k) ? 1 : 0;
}

int labelPlateDone() {
    return lastPhotoCell >= gf[500] * gf[501] ? 1 : 0;
}

void cellFromStart(double startX, double startY, double cell, int tray, double* x, double* y) {
    getlpxy(startX, startY, int(cell), int(rows(tray)), int(cols(tray)), gf[502 + 10 * tray],
            -gf[503 + 10 * tray], x, y, trayPathMode);
}

int moveZSafeLift(int mode) {
    const double ngZ = ngZPark();
    if (mode == 0) {
        go(axisZ, gf[400], gf[202]);
        go(axisNgZ, ngZ, gf[204]);
        singleout(cardNo, 2, 1, 2, 0, 0);
        resetqigandone(0);
        return 0;
    }
    return zSafeReached() && at(axisNgZ, ngZ) && cylinderCmd(cylNozzleLift, 1, 0);
}

int moveZSafe(int mode) {
    const double ngZ = ngZPark();
    if (mode == 0) {
        go(axisZ, gf[400], gf[202]);
        go(axisNgZ, ngZ, gf[204]);
        return 0;
    }
    return zSafeReached() && at(axisNgZ, ngZ);
}

int moveNgZSafe(int mode) {
    const double ngZ = ngZPark();
    if (mode == 0) {
        go(axisNgZ, ngZ, gf[204]);
        return 0;
    }
    return at(axisNgZ, ngZ);
}

bool zParkedOk() {
    const bool ngZParked = at(axisNgZ, ngZPark());
    const bool zParked =
        at(axisZ, gf[622]) || at(axisZ, gf[642]) || at(axisZ, gf[652]) || moveZSafeLift(1) == 1;
    return ngZParked && zParked && cylinderCmd(cylNozzleLift, 1, 0);
}

int moveLabelPhotoXY(int mode, double cell) {
    return trayXY(mode, gf[605], gf[606], cell, 0);
}
int moveLabelPhotoZ(int mode) {
    return zMove(mode, gf[607]);
}
int moveLabelCellXY(int mode, double cell) {
    return trayXY(mode, gf[600], gf[601], cell, 0);
}
int moveLabelPickZ(int mode) {
    return zMove(mode, gf[602]);
}
int moveLowCamXY(int mode) {
    return xyMove(mode, gf[410], gf[411]);
}
int moveLowCamZ(int mode) {
    return zMove(mode, gf[412]);
}
int moveAssembleCellXY(int mode, double cell) {
    return trayXY(mode, gf[615], gf[616], cell, 1);
}
int moveAssembleZ(int mode) {
    return zMove(mode, gf[617]);
}
int moveBarrelPhotoXY(int mode, double cell) {
    return trayXY(mode, gf[620], gf[621], cell, 1);
}
int moveBarrelPhotoZ(int mode) {
    return zMove(mode, gf[622]);
}
int moveQrPhotoXY(int mode, double cell) {
    return trayXY(mode, gf[640], gf[641], cell, 1);
}
int moveQrPhotoZ(int mode) {
    return zMove(mode, gf[642]);
}
int moveHeightXY(int mode, double cell) {
    return trayXY(mode, gf[650], gf[651], cell, 1);
}
int moveHeightZ(int mode) {
    return zMove(mode, gf[652]);
}
int moveNgPickXY(int mode, double cell) {
    return trayXY(mode, gf[635], gf[636], cell, 1);
}
int moveNgPutXY(int mode, double cell) {
    return trayXY(mode, gf[630], gf[631], cell, 2);
}
int moveNgPhotoXY(int mode, double cell) {
    return trayXY(mode, gf[645], gf[646], cell, 2);
}
int moveNgPhotoZ(int mode) {
    return zMove(mode, gf[647]);
}
int moveLabelBinXY(int mode) {
    return xyMove(mode, gf[413], gf[414]);
}
int moveLabelBinZ(int mode) {
    return zMove(mode, gf[415]);
}

// The NG pick descent runs at the Z speed.
int moveNgPickZ(int mode) {
    if (mode == 0) {
        go(axisNgZ, gf[637], gf[202]);
        return 0;
    }
    return at(axisNgZ, gf[637]);
}

int moveNgPutZ(int mode) {
    if (mode == 0) {
        go(axisNgZ, gf[632], gf[204]);
        go(axisZ, gf[633], gf[202]);
        return 0;
    }
    return at(axisNgZ, gf[632]) && at(axisZ, gf[633]);
}

void labelPickTarget(double cell, double* x, double* y, double* q) {
    const bool photoOff = gd[11] == 2.0;
    double a = gd[321] + gd[312];
    if (!photoOff && gd[44] != 2.0) a += VisionResult[0][4];
    // Steps of 180: the label is symmetric, the nozzle takes the short way.
    while (a > 180) a -= 180;
    while (a < -180) a += 180;
    *q = a;
    if (!photoOff) {
        *x = gd[310] + photoPos[0].x - VisionResult[0][2];
        *y = gd[311] + photoPos[0].y - VisionResult[0][3];
    } else {
        cellFromStart(gf[600], gf[601], cell, 0, x, y);
    }
}

int moveLabelPickXYQ(int mode, double cell) {
    double x = 0.0, y = 0.0, q = 0.0;
    labelPickTarget(cell, &x, &y, &q);
    if (mode == 0) {
        xyMove(0, x, y);
        go(axisQ, q, gf[203]);
        return 0;
    }
    return xyMove(1, x, y) && get_poscmp2(cardNo, axisQ, q, kQTolerance) == 1;
}

double assembleAngle() {
    if (gd[35] != 2.0 && gd[45] != 2.0)
        return normAngle(gd[317], VisionResult[2][4], VisionResult[1][4], gf[233]);
    return gd[317] + gf[233] + gd[321];
}

int moveAssembleQ(int mode) {
    const double q = assembleAngle();
    if (mode == 0) {
        go(axisQ, q, gf[203]);
        return 0;
    }
    return get_poscmp2(cardNo, axisQ, q, kQTolerance) == 1;
}

void assembleTarget(double cell, double* x, double* y) {
    if (gd[35] == 2.0) {
        cellFromStart(gf[615], gf[616], cell, 1, x, y);
        return;
    }
    double a = 360.0 - VisionResult[2][4] + 90.0;
    while (a > 360) a -= 360;
    while (a < -360) a += 360;
    a = a * M_PI / 180.0;
    const double b = a + M_PI / 2.0;
    const double ex = -gf[238], ey = -gf[237];
    const double dX = std::cos(b) * ey + std::cos(a) * ex;
    const double dY = std::sin(b) * ey + std::sin(a) * ex;
    *x = photoPos[2].x + photoPos[1].x - gd[325] + gd[315] - VisionResult[1][2] - VisionResult[2][2] +
         gd[327] + dX;
    *y = photoPos[2].y + photoPos[1].y - gd[326] + gd[316] - VisionResult[1][3] - VisionResult[2][3] +
         gd[328] + dY;
}

int moveAssembleXY(int mode, double cell) {
    double x = 0.0, y = 0.0;
    assembleTarget(cell, &x, &y);
    if (mode == 0) {
        lastAssembleXY[0] = x;
        lastAssembleXY[1] = y;
    }
    return xyMove(mode, x, y);
}
