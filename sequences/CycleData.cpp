#include "CycleData.h"

volatile double labelPhotoBuf[kLabelPhotoRecords][8] = {};
volatile double lastPhotoCell = 0.0;
volatile double lineInStep = 0.0;
volatile double emptyStep = 0.0;
volatile int cycleJobs[kCycleJobs] = {};
volatile int& nextJob = cycleJobs[0];
volatile int& trayState = cycleJobs[1];
volatile unsigned char beltHandshake[kBeltHandshakeFlags] = {};
volatile unsigned char& lineInRecive = beltHandshake[0];
volatile unsigned char& lineOutBeg = beltHandshake[1];
volatile unsigned char& lineOutBusy = beltHandshake[2];
volatile unsigned char& emptyInRecive = beltHandshake[3];
volatile unsigned char& emptyOutBeg = beltHandshake[4];
volatile unsigned char& lineBeltOn = beltHandshake[5];
volatile unsigned char& emptyBeltOn = beltHandshake[6];

void clearBeltHandshakeLatches() {
    lineInRecive = lineOutBeg = lineOutBusy = emptyInRecive = emptyOutBeg = 0;
}

void clearBeltHandshakeFlags() {
    clearBeltHandshakeLatches();
    lineBeltOn = emptyBeltOn = 0;
}
volatile double counterNg[256] = {};
volatile double cycleTime = 0.0;
volatile int mesState = 0;
volatile double feederStep = 0.0;
volatile unsigned char manualLabelReq = 0;
volatile unsigned char manualBarrelReq = 0;
volatile unsigned char manualDiscardReq = 0;
volatile double heightResult = 0.0;
volatile double cycleStartClock = 0.0;
volatile unsigned char plateReady = 0;
volatile int feedRetry = 0;
volatile int pickSlot = 0;
volatile int photoPass = 0;
volatile double& vacRetry = counterNg[0];
volatile double& lowCamNgCount = counterNg[1];
volatile double& labelNgCount = counterNg[2];
volatile double& barrelNgCount = counterNg[3];
volatile double& checkNgCount = counterNg[4];
volatile double& qrNgCount = counterNg[5];
volatile double& vacFailRun = counterNg[6];

volatile double assembledCell = 0.0;
