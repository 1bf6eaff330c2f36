// Label side of the cycle: photos of the plate's cells, the pick, the lower-camera
// photos on the nozzle, and throwing labels into the label NG box.
#include "app/MachineData.h"
#include "sequences/CycleData.h"
#include "sequences/CycleSteps.h"
#include "sequences/NamedMoves.h"
#include "vision/VisionRequests.h"

namespace {

constexpr int kPhotoTimer = 2;
constexpr int kVacuumTimer = 3;

bool labelPhotoOff() {
    return gd[11] == 2.0;
}

bool vacuumPresent() {
    return inImg[32] || gd[16] == 2.0 || dryRun;
}

void setVerdict(int slot, double verdict) {
    if (slot >= 0 && slot < kLabelPhotoRecords) labelPhotoBuf[slot][1] = verdict;
}

// A cell number outside the plate would write past its records: it counts as cell 1.
void storeLabelPhoto(double verdict) {
    if (gr[0] < 1 || gr[0] > plateCells()) gr[0] = 1.0;
    volatile double* record = labelPhotoBuf[int(gr[0]) - 1];
    record[0] = 1.0;
    record[1] = verdict;
    for (int i = 2; i <= 5; ++i) record[i] = VisionResult[0][i];
    record[6] = photoPos[0].x;
    record[7] = photoPos[0].y;
}

// Step 50 re-confirms a ready plate without end (50, 0, 10, 50 ...); counted as a feed it
// would let the label job in only in the one pass of about 22 where the handshake is at 0.
bool feedUnderWay() {
    return feederStep >= 11 && !(feederStep == 50 && plateReady);
}

void plateDecision(bool from155) {
    if (trayDone(0)) {
        counterSet1(0);
        return;
    }
    if (labelPhotoOff()) {
        stepA = 170;
        return;
    }
    if (labelPlateDone()) {
        if (firstOkLabel() > 0) {
            stepA = 170;
        } else if (!inImg[18] || dryRun) {
            if (dryRun) clearLabelPhotos();
            stepA = 100; // a new plate is needed
        } else if (gd[22] == 0.0 || firstNgLabel() < 1) {
            alarmFlags[35] = 1;
        } else {
            nextJob = 10;
            stepA = 600;
        }
        return;
    }
    if (from155) {
        moveLabelPhotoZ(0);
        stepA = 156;
    } else {
        stepA = 160;
    }
}

void photoCell() {
    moveLabelPhotoXY(0, trayCell(0));
    lastPhotoCell = trayCell(0);
    stepA = 161;
}

void step164() {
    visionRead(0);
    if (VisionResult[0][0] != 1) return;
    if (VisionResult[0][1] == 1) {
        nextJob = 1;
        labelNgCount = 0;
        storeLabelPhoto(1.0);
        counterInc(0);
        gr[32] = gr[32] + 1.0;
        if (!trayDone(0)) {
            stepA = 155;
        } else if (firstOkLabel() < 1) {
            if (plateReady) alarmFlags[35] = 1;
            stepA = 150;
        } else {
            counterSet1(0);
            stepA = 170;
        }
    } else if (gd[12] == 2.0) {
        nextJob = 1;
        storeLabelPhoto(2.0);
        counterInc(0);
        countNg(labelNgCount, gf[218], 19);
        gr[33] = gr[33] + 1.0;
        stepA = 155;
    } else {
        labelNgCount = 0;
        stopWith(17);
        stepA = 161; // the photo is repeated after the restart
    }
}

void step171() {
    if (labelPhotoOff()) {
        pickSlot = -1;
        moveLabelCellXY(0, trayCell(0));
        stepA = 172;
        return;
    }
    pickSlot = firstOkLabel() - 1;
    if (pickSlot < 0) {
        stepA = 155; // nothing left to pick: decide on the plate again
        return;
    }
    for (int i = 0; i <= 5; ++i) VisionResult[0][i] = labelPhotoBuf[pickSlot][i];
    photoPos[0].x = labelPhotoBuf[pickSlot][6];
    photoPos[0].y = labelPhotoBuf[pickSlot][7];
    moveLabelPickXYQ(0, trayCell(0));
    stepA = 172;
}

bool pickXYArrived() {
    return labelPhotoOff() ? moveLabelCellXY(1, trayCell(0)) == 1 : moveLabelPickXYQ(1, trayCell(0)) == 1;
}

void step174() {
    if (usTout(kPhotoTimer) && vacuumPresent()) {
        moveZSafe(0);
        vacRetry = 0;
        vacFailRun = 0;
        setVerdict(pickSlot, 0.0); // used
        stepA = 175;
    } else if (!usTout(kVacuumTimer) || vacuumPresent()) {
        return;
    } else if (gd[6] != 2.0) {
        stopWith(12);
        stepA = 172; // the pick is repeated after the restart
    } else {
        vacuum(false);
        blow(false);
        vacRetry = vacRetry + 1;
        moveLabelPhotoZ(0);
        if (vacRetry < 2) {
            stepA = 172;
            return;
        }
        setVerdict(pickSlot, 2.0);
        vacRetry = 0;
        vacFailRun = vacFailRun + 1;
        stepA = 155;
        if (vacFailRun > gf[215] && vacFailRun >= 2) {
            stopWith(15);
            vacFailRun = 0;
        }
    }
}

void step175() {
    if (manualLabelReq) {
        manualLabelReq = 0;
        stepA = 0;
    } else if (vacuumPresent()) {
        stepA = 176;
    } else { // lost while lifting: not searched for
        moveNgZSafe(0);
        vacuum(false);
        blow(false);
        setVerdict(pickSlot, 2.0);
        vacRetry = 0;
        stepA = 155;
    }
}

void step214() {
    visionRead(1);
    if (VisionResult[1][0] != 1) return;
    if (VisionResult[1][1] == 1 && photoPass == 0) {
        lowCamNgCount = 0;
        stepA = 220;
    } else if (VisionResult[1][1] == 1) {
        gr[23] = gr[23] + 1.0;
        if (!manualBarrelReq) {
            nextJob = 4;
            lowCamNgCount = 0;
        }
        stepA = 300;
    } else if (gd[12] == 2.0) {
        nextJob = 3;
        countNg(lowCamNgCount, gf[222], 22);
        gr[24] = gr[24] + 1.0;
        if (manualBarrelReq) {
            manualBarrelReq = 0;
            stepA = 0;
        } else {
            stepA = 250;
        }
    } else {
        stopWith(21);
        lowCamNgCount = 0;
        stepA = 211;
        if (manualBarrelReq) {
            manualBarrelReq = 0;
            stepA = 0;
        }
    }
}

void plateSteps() {
    if (cycleStep(150)) {
        moveZSafe(0);
        const bool waitForPlate = !plateReady && !manualLabelReq && !dryRun;
        if (waitForPlate || feedUnderWay())
            stepA = 100;
        else
            plateDecision(false);
    }
    if (cycleStep(155) && cardIdle()) {
        moveNgZSafe(0);
        nozzleTo(0);
        if (!feedUnderWay()) plateDecision(true);
    }
    if (cycleStep(156) && (moveZSafeLift(1) || moveLabelPhotoZ(1)) && nozzleDone()) photoCell();
    if (cycleStep(160) && moveZSafe(1)) photoCell();
    if (cycleStep(161) && moveLabelPhotoXY(1, trayCell(0))) {
        moveLabelPhotoZ(0);
        moveNgZSafe(0);
        stepA = 162;
    }
    if (cycleStep(162) && moveLabelPhotoZ(1) && moveNgZSafe(1)) {
        photoDelay();
        visionTrigger(0);
        usTstart(kPhotoTimer, 1000000);
        stepA = 163;
    }
    if (cycleStep(163)) {
        visionRead(0);
        if (VisionResult[0][0] == 1 || usTout(kPhotoTimer)) stepA = 164;
    }
    if (cycleStep(164)) step164();
}

void pickSteps() {
    if (cycleStep(170) && cardIdle()) {
        moveZSafe(0);
        stepA = 171;
    }
    if (cycleStep(171) && moveZSafe(1)) step171();
    if (cycleStep(172) && cardIdle() && pickXYArrived()) {
        vacuum(false);
        blow(false);
        nozzleTo(1);
        moveLabelPickZ(0);
        stepA = 173;
    }
    if (cycleStep(173) && moveLabelPickZ(1) && nozzleDone()) {
        vacuum(true);
        blow(false);
        usTstart(kPhotoTimer, gf[210] * 1000000.0);
        usTstart(kVacuumTimer, gf[211] * 1000000.0);
        stepA = 174;
    }
    if (cycleStep(174)) step174();
    if (cycleStep(175) && moveZSafe(1)) step175();
    if (cycleStep(176) && moveZSafe(1)) {
        if (manualLabelReq) {
            manualLabelReq = 0;
            stepA = 0;
        } else {
            nextJob = 2;
            stepA = 200;
        }
    }
}

void lowerCameraSteps() {
    if (cycleStep(200)) {
        moveZSafe(0);
        if (gd[35] == 2.0) {
            // Without a barrel photo there is nothing to correct against: assemble by cell position.
            moveAssembleQ(0);
            nextJob = 4;
            stepA = 300;
        } else {
            photoPass = 0;
            stepA = 210;
        }
    }
    if (cycleStep(210) && moveZSafe(1)) {
        moveLowCamXY(0);
        stepA = 211;
    }
    if (cycleStep(211) && moveLowCamXY(1)) {
        moveLowCamZ(0);
        nozzleTo(1);
        stepA = 212;
    }
    if (cycleStep(212) && moveLowCamZ(1) && nozzleDone()) {
        photoDelay();
        visionTrigger(1);
        usTstart(kPhotoTimer, 1000000);
        stepA = 213;
    }
    if (cycleStep(213)) {
        visionRead(1);
        if (VisionResult[1][0] == 1 || usTout(kPhotoTimer)) stepA = 214;
    }
    if (cycleStep(214)) step214();
    if (cycleStep(220)) {
        moveAssembleQ(0);
        stepA = 221;
    }
    if (cycleStep(221) && moveAssembleQ(1)) {
        photoPass = 1;
        stepA = 211;
    }
}

void labelBinSteps() {
    // A discard whose steps were reset from outside must not keep later notices open.
    if (manualDiscardReq && (stepA < 250 || stepA > 256)) manualDiscardReq = 0;
    if (cycleStep(250)) {
        moveZSafe(0);
        stepA = 251;
    }
    if (cycleStep(251) && moveZSafe(1)) {
        moveLabelBinXY(0);
        stepA = 252;
    }
    if (cycleStep(252) && moveLabelBinXY(1)) {
        nozzleTo(1);
        moveLabelBinZ(0);
        stepA = 253;
    }
    if (cycleStep(253) && moveLabelBinZ(1) && nozzleDone()) {
        vacuum(false);
        blow(true);
        usTstart(kPhotoTimer, gf[212] * 1000000.0);
        stepA = 254;
    }
    if (cycleStep(254) && usTout(kPhotoTimer)) {
        vacuum(false);
        blow(false);
        stepA = 255;
    }
    if (cycleStep(255)) {
        moveZSafe(0);
        stepA = 256;
    }
    if (cycleStep(256) && moveZSafe(1)) {
        if (manualDiscardReq) {
            manualDiscardReq = 0;
            stepA = 0;
        } else {
            nextJob = 1;
            stepA = 150;
        }
    }
}

int ngLabelCell = 0;

} // namespace

void labelSteps() {
    plateSteps();
    pickSteps();
    lowerCameraSteps();
    labelBinSteps();
}

void ngLabelSteps() {
    if (cycleStep(600) && cardIdle()) {
        moveZSafe(0);
        stepA = 601;
    }
    if (cycleStep(601) && moveZSafe(1)) {
        ngLabelCell = firstNgLabel();
        if (ngLabelCell < 1) {
            nextJob = 1;
            stepA = 150;
        } else {
            pickSlot = ngLabelCell - 1;
            moveLabelCellXY(0, ngLabelCell);
            stepA = 602;
        }
    }
    if (cycleStep(602) && moveLabelCellXY(1, ngLabelCell)) {
        vacuum(false);
        blow(false);
        nozzleTo(1);
        moveLabelPickZ(0);
        stepA = 603;
    }
    if (cycleStep(603) && moveLabelPickZ(1) && nozzleDone()) {
        vacuum(true);
        blow(false);
        usTstart(kPhotoTimer, 1000000);
        usTstart(kVacuumTimer, gf[211] * 1000000.0);
        stepA = 604;
    }
    if (cycleStep(604) && usTout(kPhotoTimer)) {
        moveZSafe(0);
        vacRetry = 0;
        setVerdict(pickSlot, 0.0);
        stepA = 605;
    }
    if (cycleStep(605) && moveZSafe(1)) {
        nextJob = 3;
        stepA = 250;
    }
}
