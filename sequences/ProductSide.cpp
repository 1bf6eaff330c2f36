// Product side of the cycle before assembly: a new cell, its height, the presence
// photo, the QR code with the MES in-station request, and the barrel photo.
#include "app/MachineData.h"
#include "platform/Clock.h"
#include "platform/vision/taskdata.h"
#include "production/MesData.h"
#include "production/MesMessages.h"
#include "sequences/CycleData.h"
#include "sequences/CycleSteps.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"
#include "vision/HeightValues.h"
#include "vision/VisionRequests.h"

#include <QRegularExpression>

namespace {

constexpr int kPhotoTimer = 2;

void startProduct() {
    cycleStartClock = double(clk::nowUs());
}

bool trayUsedUp() {
    if (!trayDone(1)) return false;
    nextJob = 0;
    stepA = 100;
    return true;
}

void newCell(bool first) {
    startProduct();
    if (assembledCell != gr[1]) assembledCell = 0.0;
    if (trayUsedUp()) return;
    // A reset came after this cell's label was placed: the product goes on with its
    // check photo instead of a second label.
    if (assembledCell != 0.0) {
        nextJob = 5;
        stepA = 100;
        return;
    }
    // A finished product chains straight into the next cell and would never meet the
    // end-of-production test: that test is at 110, by way of 100.
    if (!first && endProduction == 1 && nextJob == 0) {
        stepA = 100;
        return;
    }
    if (gd[23] == 0.0) {
        stepA = first ? 660 : 671;
    } else {
        nextJob = 11;
        stepA = first ? 550 : 570;
    }
}

void step663() {
    // An older reading (the sensor fell silent on the way here) is another place's
    // height and would judge a good product empty. A dry run works without material:
    // nothing under the spot is no fault there.
    if (heightLastGoodUs() < heightWantedFromUs && !dryRun) {
        stopWith(kHeightAlarm);
        return;
    }
    heightResult = heightCalibrated;
    stepA = 664;
}

void step664() {
    if (heightResult < gd[252] || heightResult > gd[251]) { // no usable barrel here
        nextJob = 0;
        counterInc(1);
        stepA = 670;
    } else {
        nextJob = 11;
        moveZSafeLift(0);
        stepA = 550;
    }
}

void setImageCode(const QString& code) {
    taskdata::GetInstance()->setValue("saveimgcode", code);
}

void qrPhotoOff(bool first) {
    nextJob = 8;
    productCode = "";
    ngCode = "";
    if (first) {
        stepA = 100;
    } else {
        moveBarrelPhotoZ(0);
        stepA = 120;
    }
}

void qrStart(bool first) {
    if (gd[34] == 2.0)
        qrPhotoOff(first);
    else if (!trayUsedUp())
        stepA = first ? 530 : 541;
}

void step534(kzhttp& in) {
    if (VisionResult[3][1] == 1) {
        ngCode = "";
        nextJob = 8;
        qrNgCount = 0;
        stepA = 140;
        productCode = visionTextOf(3, 1);
        productCode.remove(QRegularExpression("[^a-zA-Z0-9]"));
        setImageCode(productCode);
        mesState = 1;
        if (gd[46] != 0.0) {
            mesIn(in);
            // The record shows the refusal; the product goes on.
            if (gd[350] != 0.0 && mesInResult != 1) VisionResult[3][1] = 2.0;
        }
        gr[30] = gr[30] + 1.0;
        return;
    }
    productCode = "";
    ngCode = "";
    setImageCode("");
    if (gd[36] == 2.0) {
        nextJob = 6;
        countNg(qrNgCount, gf[221], 26);
        stepA = 400;
        gr[31] = gr[31] + 1.0;
    } else {
        stopWith(25);
        qrNgCount = 0;
        stepA = 531;
    }
}

void barrelStart(bool first) {
    if (gd[35] == 2.0) {
        nextJob = 1;
        stepA = 100;
    } else if (!trayUsedUp()) {
        cylinderCmd(cylAssyLift, 0, 1);
        stepA = first ? 130 : 141;
    }
}

void step134() {
    visionRead(2);
    if (VisionResult[2][0] != 1) return;
    if (VisionResult[2][1] == 1) {
        ngCode = "";
        nextJob = 1;
        barrelNgCount = 0;
        stepA = manualBarrelReq ? 200 : 100;
        gr[25] = gr[25] + 1.0;
    } else if (gd[36] == 2.0) {
        nextJob = 6;
        countNg(barrelNgCount, gf[221], 20);
        stepA = 100;
        if (manualBarrelReq) {
            manualBarrelReq = 0;
            stepA = 0;
        }
        ngCode = "ZC-PMTF-JTDWNG";
        gr[26] = gr[26] + 1.0;
    } else {
        stopWith(18);
        barrelNgCount = 0;
        stepA = 131; // the photo is repeated after the restart
    }
}

bool assyLiftDone() {
    return cylinderCmd(cylAssyLift, 1, 0) == 1;
}

void barrelXY() {
    moveBarrelPhotoXY(0, trayCell(1));
    stepA = 131;
}

void qrXY() {
    moveQrPhotoXY(0, trayCell(1));
}

} // namespace

void barrelPhotoSteps() {
    if (cycleStep(120) && zParkedOk() && cardIdle()) barrelStart(true);
    if (cycleStep(130) && zParkedOk() && assyLiftDone()) barrelXY();
    if (cycleStep(131) && moveBarrelPhotoXY(1, trayCell(1))) {
        moveBarrelPhotoZ(0);
        stepA = 132;
    }
    if (cycleStep(132) && moveBarrelPhotoZ(1) && assyLiftDone()) {
        photoDelay();
        visionTrigger(2);
        usTstart(kPhotoTimer, 1000000);
        stepA = 133;
    }
    if (cycleStep(133)) {
        visionRead(2);
        if (VisionResult[2][0] == 1 || usTout(kPhotoTimer)) stepA = 134;
    }
    if (cycleStep(134)) step134();
    if (cycleStep(140) && zParkedOk()) barrelStart(false);
    if (cycleStep(141) && zParkedOk() && assyLiftDone()) barrelXY();
}

void qrPresenceSteps(kzhttp& in) {
    if (cycleStep(520) && moveZSafeLift(1)) qrStart(true);
    if (cycleStep(530) && moveZSafeLift(1)) {
        qrXY();
        stepA = 531;
    }
    if (cycleStep(531) && moveQrPhotoXY(1, trayCell(1))) {
        moveQrPhotoZ(0);
        stepA = 532;
    }
    if (cycleStep(532) && moveQrPhotoZ(1)) {
        photoDelay();
        visionTrigger(3);
        usTstart(kPhotoTimer, 2000000);
        stepA = 533;
    }
    if (cycleStep(533)) {
        visionRead(3);
        if (VisionResult[3][0] == 1) stepA = 534;
    }
    if (cycleStep(534)) step534(in);
    if (cycleStep(540) && zParkedOk()) qrStart(false);
    if (cycleStep(541) && zParkedOk()) {
        qrXY();
        stepA = 531;
    }

    if (cycleStep(550) && moveZSafeLift(1) && cardIdle()) {
        startProduct();
        if (!trayUsedUp()) stepA = 560;
    }
    if (cycleStep(560) && moveZSafeLift(1)) {
        qrXY();
        stepA = 561;
    }
    if (cycleStep(561) && moveQrPhotoXY(1, trayCell(1))) {
        moveQrPhotoZ(0);
        stepA = 562;
    }
    if (cycleStep(562) && moveQrPhotoZ(1)) {
        photoDelay();
        visionTrigger(13);
        usTstart(kPhotoTimer, 1000000);
        stepA = 563;
    }
    if (cycleStep(563)) {
        visionRead(13);
        if (VisionResult[13][0] == 1 || usTout(kPhotoTimer)) stepA = 564;
    }
    if (cycleStep(564)) {
        visionRead(13);
        if (VisionResult[13][0] == 1 && VisionResult[13][1] == 1) {
            nextJob = 9;
            stepA = 540;
        } else if (VisionResult[13][0] == 1) { // the cell is empty
            // The next cell starts with its own height, not with the presence photo: its
            // barrel would go unmeasured and its record would carry this cell's height.
            nextJob = gd[23] == 0.0 ? 0 : 11;
            counterInc(1);
            stepA = 670;
        }
    }
    if (cycleStep(570) && zParkedOk() && cardIdle()) {
        startProduct();
        if (!trayUsedUp()) stepA = 571;
    }
    if (cycleStep(571) && zParkedOk()) {
        qrXY();
        stepA = 561;
    }
}

void newCellSteps() {
    if (cycleStep(650) && moveZSafeLift(1)) newCell(true);
    if (cycleStep(660) && moveZSafeLift(1)) {
        moveHeightXY(0, trayCell(1));
        stepA = 661;
    }
    if (cycleStep(661) && moveHeightXY(1, trayCell(1))) {
        moveHeightZ(0);
        stepA = 662;
    }
    if (cycleStep(662) && moveHeightZ(1)) {
        heightWantedFromUs = clk::nowUs();
        usTstart(kPhotoTimer, 300000);
        stepA = 663;
    }
    if (cycleStep(663) && usTout(kPhotoTimer)) step663();
    if (cycleStep(664)) step664();
    if (cycleStep(670) && zParkedOk()) newCell(false);
    if (cycleStep(671) && zParkedOk()) {
        moveHeightXY(0, trayCell(1));
        stepA = 661;
    }
}
