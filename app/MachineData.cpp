#include "MachineData.h"

WORD cardNo = 0;
WORD axisX = 0, axisY = 1, axisZ = 2, axisQ = 3, axisNgZ = 4, axisLineBelt = 5, axisEmptyBelt = 6, axis7 = 7,
     axis8 = 8, axis9 = 9, axis10 = 10, axis11 = 11;

volatile double cardOk = 0.0;
volatile double manualMode = 0.0;
volatile double workMode = 0.0;
volatile u8 dryRun = 0;
volatile u8 startRequest = 0;
volatile u8 runA = 0;
volatile u8 runB = 0;
volatile u8 endProduction = 0;
volatile u8 homeRequest = 0;
volatile u8 waitOperator = 0;
volatile u8 interlockOff = 0;
volatile u8 inputFreeze = 0;
volatile u8 alarmClearReq = 0;
volatile u8 refreshSaveReq = 0;
volatile u8 startupDone = 0;
volatile u8 blink = 0;
volatile u8 estopOk = 0;
volatile u8 doorOk = 0;
volatile u8 homedA = 0, homedB = 0, homedUi = 0;
volatile u8 readyA = 0, readyB = 0;
volatile u8 alarmActive = 0;
volatile u8 promptActive = 0;
volatile u8 alarmFlags[256] = {};
volatile u8 promptFlags[64] = {};
volatile u8 inImg[64] = {}, outImg[64] = {}, inCopy[64] = {};
volatile u8 axisAlmOk[16] = {}, axisElpOk[16] = {}, axisElnOk[16] = {}, axisOrg[16] = {}, axisHomed[16] = {};
volatile double cmdPos[12] = {}, encPos[12] = {};
volatile double stepA = 0.0, stepC = 0.0, stepB = 0.0;
volatile u8 fastStop = 0, taskaStop = 0, taskbStop = 0, tcpStop = 0;
QString currentRecipe;
volatile int userLevel = 0;

namespace {
double trayShadow[kGrSize] = {};
}

double trayCell(int k) {
    trayShadow[k] = gr[k];
    return trayShadow[k];
}

void counterSet1(int k) {
    trayShadow[k] = 1.0;
    gr[k] = 1.0;
}

void counterInc(int k) {
    trayShadow[k] = gr[k] + 1.0;
    gr[k] = trayShadow[k];
}
