#include "CycleData.h"

volatile double labelPhotoBuf[kLabelPhotoRecords][8] = {};
volatile double lastPhotoCell = 0.0;
volatile double lineInStep = 0.0;
volatile double emptyStep = 0.0;
volatile int cycleJobs[kCycleJobs] = {};
volatile int& nextJob = cycleJobs[0];
volatile int& trayState = cycleJobs[1];
volatile unsigned char beltHandshake[kBeltHandshakeFlags] = {};
volatile double counterNg[256] = {};
volatile double cycleTime = 0.0;
volatile int mesState = 0;
volatile double feederStep = 0.0;
