// Product side of the cycle after the label is ready: assembly, check photo with the
// MES out-station request and the product's record, and the NG product's way into
// the NG tray.
#include "app/MachineData.h"
#include "app/RunDataKeeper.h"
#include "production/MesData.h"
#include "production/MesMessages.h"
#include "production/ProductRecords.h"
#include "sequences/CycleData.h"
#include "sequences/CycleSteps.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"
#include "sequences/Taska.h"
#include "vision/VisionRequests.h"

namespace {

constexpr int kPhotoTimer = 2;

bool barrelPhotoOff() {
    return gd[35] == 2.0;
}

bool mesOn() {
    return gd[46] != 0.0;
}

bool mesRefusedOut() {
    return mesOn() && gd[350] != 0.0 && mesOutResult != 1;
}

void productGood() {
    counterInc(1);
    gr[21] = gr[21] + 1.0;
    cycleTime = productSeconds();
}

void report() {
    ProductRecords::push(ProductRecords::fromCycle());
    if (Taska* cycle = Taska::current()) emit cycle->S_zzdata();
}

bool assembleXYArrived() {
    return barrelPhotoOff() ? moveAssembleCellXY(1, trayCell(1)) == 1 : moveAssembleXY(1, trayCell(1)) == 1;
}

bool assembleQReady() {
    return (gd[37] != 2.0 && !barrelPhotoOff()) || moveAssembleQ(1) == 1;
}

void checkStart(bool first, kzhttp& out) {
    if (barrelPhotoOff() || gd[43] == 2.0) {
        mesState = 1;
        if (mesOn()) mesOut(out);
        if (mesRefusedOut()) {
            nextJob = 6; // taken out as NG
        } else {
            productGood();
            nextJob = 0;
        }
        stepA = 100;
        return;
    }
    stepA = first ? 360 : 356;
}

void step364(kzhttp& out) {
    if (VisionResult[4][1] == 1) {
        ngCode = "";
        mesState = 1;
        if (mesOn()) mesOut(out);
        if (mesRefusedOut()) {
            VisionResult[4][1] = 2.0; // the next pass takes the NG branch
            return;
        }
        nextJob = 0;
        checkNgCount = 0;
        productGood();
        report();
        gr[28] = gr[28] + 1.0;
        stepA = 670;
        return;
    }
    ngCode = "ZC-PMTF-PMJCNG";
    if (gd[36] == 2.0) {
        nextJob = 6;
        countNg(checkNgCount, gf[221], 24);
        stepA = 400;
        cycleTime = productSeconds();
        report();
        mesState = 2;
        if (mesOn()) mesOut(out);
        gr[29] = gr[29] + 1.0;
    } else {
        stopWith(23);
        checkNgCount = 0;
        stepA = 361;
    }
}

void checkXY() {
    moveBarrelPhotoXY(0, trayCell(1));
    stepA = 361;
}

void ngTrayFull() {
    promptFlags[1] = 1;
    cylinderCmd(cylNgExtend, 0, 1); // out to the operator; the step waits for a new tray
}

bool ngGripDone() {
    return cylinderCmd(cylNgGrip, 1, 0) == 1;
}

bool ngExtendDone() {
    return cylinderCmd(cylNgExtend, 1, 0) == 1;
}

} // namespace

void assemblySteps(kzhttp& out) {
    if (cycleStep(300)) {
        if (moveLowCamZ(1) == 0) moveZSafe(0);
        stepA = 301;
    }
    if (cycleStep(301) && (moveZSafe(1) || moveLowCamZ(1))) {
        if (barrelPhotoOff()) {
            moveAssembleCellXY(0, trayCell(1));
            moveAssembleQ(0);
        } else {
            moveAssembleXY(0, trayCell(1));
            if (gd[37] == 2.0) moveAssembleQ(0);
        }
        stepA = 302;
    }
    if (cycleStep(302) && assembleXYArrived() && assembleQReady()) {
        nozzleTo(1);
        moveAssembleZ(0);
        stepA = 303;
    }
    if (cycleStep(303) && moveAssembleZ(1) && nozzleDone()) {
        if (!manualBarrelReq) assembledCell = gr[1];
        // Let go once the run data knows: a crash right after must not label it twice.
        if (manualBarrelReq || RunDataKeeper::labelMarkSaved(int(gr[1]))) {
            vacuum(false);
            blow(true);
            usTstart(kPhotoTimer, gf[212] * 1000000.0);
            stepA = 304;
        }
    }
    if (cycleStep(304) && usTout(kPhotoTimer)) {
        vacuum(false);
        blow(true); // stays on while Z rises
        stepA = 305;
    }
    if (cycleStep(305)) {
        moveBarrelPhotoZ(0);
        stepA = 306;
    }
    if (cycleStep(306) && moveBarrelPhotoZ(1)) {
        vacuum(false);
        blow(false);
        if (manualBarrelReq) {
            manualBarrelReq = 0;
            stepA = 0;
        } else {
            nextJob = 5;
            stepA = 355;
        }
    }

    if (cycleStep(350) && moveZSafeLift(1)) checkStart(true, out);
    if (cycleStep(355) && zParkedOk()) checkStart(false, out);
    if (cycleStep(356) && zParkedOk()) checkXY();
    if (cycleStep(360) && moveZSafeLift(1)) checkXY();
    if (cycleStep(361) && moveBarrelPhotoXY(1, trayCell(1))) {
        moveBarrelPhotoZ(0);
        stepA = 362;
    }
    if (cycleStep(362) && moveBarrelPhotoZ(1)) {
        photoDelay();
        visionTrigger(4);
        usTstart(kPhotoTimer, 1000000);
        stepA = 363;
    }
    if (cycleStep(363)) {
        visionRead(4);
        if (VisionResult[4][0] == 1) stepA = 364;
    }
    if (cycleStep(364)) step364(out);
}

void ngProductSteps() {
    if (cycleStep(400)) {
        moveZSafeLift(0);
        stepA = 401;
    }
    if (cycleStep(401) && moveZSafeLift(1)) {
        moveNgPickXY(0, trayCell(1));
        cylinderCmd(cylNgGrip, 0, 0);
        stepA = 402;
    }
    if (cycleStep(402) && moveNgPickXY(1, trayCell(1)) && ngGripDone()) {
        moveNgPickZ(0);
        stepA = 403;
    }
    if (cycleStep(403) && moveNgPickZ(1)) {
        cylinderCmd(cylNgGrip, 0, 1);
        stepA = 404;
    }
    if (cycleStep(404) && ngGripDone()) stepA = 405;
    if (cycleStep(405)) {
        moveZSafeLift(0);
        stepA = 406;
    }
    if (cycleStep(406) && moveZSafeLift(1)) {
        nextJob = 7;
        counterInc(1);
        stepA = 100;
    }

    if (cycleStep(450)) {
        moveZSafeLift(0);
        stepA = gd[42] == 0.0 ? 460 : 451;
    }
    if (cycleStep(451) && moveZSafeLift(1)) {
        if (trayDone(2)) {
            ngTrayFull();
        } else {
            moveNgPutXY(0, trayCell(2));
            cylinderCmd(cylNgExtend, 0, 0);
            stepA = 452;
        }
    }
    if (cycleStep(452) && moveNgPutXY(1, trayCell(2)) && ngExtendDone()) {
        moveNgPutZ(0);
        stepA = 453;
    }
    if (cycleStep(453) && moveNgPutZ(1)) {
        cylinderCmd(cylNgGrip, 0, 0);
        stepA = 454;
    }
    if (cycleStep(454) && ngGripDone()) stepA = 455;
    if (cycleStep(455)) {
        moveZSafeLift(0);
        counterInc(2);
        gr[22] = gr[22] + 1.0;
        stepA = 456;
    }
    if (cycleStep(456) && moveZSafeLift(1)) {
        nextJob = 0;
        stepA = 100;
    }
    if (cycleStep(460) && moveZSafeLift(1)) {
        if (trayDone(2)) {
            ngTrayFull();
        } else {
            moveNgPhotoXY(0, trayCell(2));
            cylinderCmd(cylNgExtend, 0, 0);
            stepA = 461;
        }
    }
    if (cycleStep(461) && moveZSafeLift(1)) {
        moveNgPhotoXY(0, trayCell(2));
        stepA = 462;
    }
    if (cycleStep(462) && moveNgPhotoXY(1, trayCell(2)) && ngExtendDone()) {
        moveNgPhotoZ(0);
        stepA = 463;
    }
    if (cycleStep(463) && moveNgPhotoZ(1)) {
        photoDelay();
        visionTrigger(14);
        usTstart(kPhotoTimer, 1000000);
        stepA = 464;
    }
    if (cycleStep(464)) {
        visionRead(14);
        if (VisionResult[14][0] == 1 || usTout(kPhotoTimer)) stepA = 465;
    }
    if (cycleStep(465)) {
        visionRead(14);
        if (VisionResult[14][0] == 1) {
            moveZSafeLift(0);
            if (VisionResult[14][1] == 1) {
                stepA = 451;
            } else {
                alarmFlags[16] = 1; // the cell is occupied
                stepA = 460;
            }
        }
    }
}
