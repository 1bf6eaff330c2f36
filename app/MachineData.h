#pragma once
// Process-wide machine data owned by the program. No lock guards it: every
// flag has few writers, bytes and doubles are written whole, and the fast scan
// re-derives its outputs every 5 ms. The parameter arrays gd/gf/gr/eerv and the
// speed factors live in the machine libraries (kzct.h, kzmc.h).
#include "platform/LTDMC.h"
#include "platform/kzct.h"
#include "platform/kzmc.h"

#include <QString>
#include <cstdint>

typedef unsigned char u8;

extern WORD cardNo;
extern WORD axisX, axisY, axisZ, axisQ, axisNgZ, axisLineBelt, axisEmptyBelt, axis7, axis8, axis9, axis10,
    axis11;

extern volatile double cardOk;
extern volatile double manualMode;
extern volatile double workMode;
extern volatile u8 dryRun;
extern volatile u8 startRequest;
extern volatile u8 runA;
extern volatile u8 runB;
extern volatile u8 endProduction;
extern volatile u8 homeRequest;
extern volatile u8 waitOperator;
extern volatile u8 interlockOff;
extern volatile u8 inputFreeze;
extern volatile u8 alarmClearReq;
extern volatile u8 refreshSaveReq;
extern volatile u8 startupDone;
extern volatile u8 blink;
extern volatile u8 estopOk;
extern volatile u8 doorOk;
extern volatile u8 homedA, homedB, homedUi;
extern volatile u8 readyA, readyB;
extern volatile u8 alarmActive;
extern volatile u8 promptActive;
extern volatile u8 alarmFlags[256];
extern volatile u8 promptFlags[64];
extern volatile u8 inImg[64], outImg[64], inCopy[64];
extern volatile u8 axisAlmOk[16], axisElpOk[16], axisElnOk[16], axisOrg[16], axisHomed[16];
extern volatile double cmdPos[12], encPos[12];
extern volatile double stepA, stepC, stepB;
extern volatile u8 fastStop, taskaStop, taskbStop, tcpStop;
extern QString currentRecipe;
extern volatile int userLevel;

// Tray cell helpers over gr[] with a shadow copy per tray index.
double trayCell(int k);
void counterSet1(int k);
void counterInc(int k);
