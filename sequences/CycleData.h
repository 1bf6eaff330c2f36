#pragma once
// Step and job variables of the cycle and the belt line that other parts of
// the program (reset, progress notice, pages) read or clear.

// One record per label plate cell: done, verdict, four vision values, photo X and Y.
// Sized for the largest plate the parameter page allows (99 rows x 99 columns).
constexpr int kLabelPhotoRecords = 99 * 99;
extern volatile double labelPhotoBuf[kLabelPhotoRecords][8];
extern volatile double lastPhotoCell;

extern volatile double lineInStep; // finished-line infeed handshake
extern volatile double emptyStep;  // empty-tray line

// The cycle's integer job array; nextJob and trayState are its first two words.
constexpr int kCycleJobs = 15;
extern volatile int cycleJobs[kCycleJobs];
extern volatile int& nextJob;
extern volatile int& trayState;

// Handshake flags the belt line keeps between passes; cleared by the e-stop.
constexpr int kBeltHandshakeFlags = 7;
extern volatile unsigned char beltHandshake[kBeltHandshakeFlags];
// The five hand-shake latches (the neighbour's first answer was seen and this
// machine's next signal is up), which the switch to automatic clears too:
extern volatile unsigned char& lineInRecive;  // finished-line infeed: OT_Recive up, waiting for IN_Busy
extern volatile unsigned char& lineOutBeg;    // finished-line outfeed: OT_Beg up, waiting for IN_Recive
extern volatile unsigned char& lineOutBusy;   // finished-line outfeed: OT_Busy up, tray released
extern volatile unsigned char& emptyInRecive; // empty-line infeed: OT_Recive up, waiting for IN_Busy
extern volatile unsigned char& emptyOutBeg;   // empty-line outfeed: OT_Beg up, waiting for IN_Recive
// and the belts the sequence itself set running, which only the e-stop's stop of
// every axis makes stale:
extern volatile unsigned char& lineBeltOn;
extern volatile unsigned char& emptyBeltOn;
void clearBeltHandshakeLatches(); // the five
void clearBeltHandshakeFlags();   // all seven

// Consecutive-NG counters of the cycle live in the first entries.
extern volatile double counterNg[256];
// Last product's cycle time in seconds, and the MES state word of the product.
extern volatile double cycleTime;
extern volatile int mesState;

// Feeder handshake step, run in the same pass as stepA.
extern volatile double feederStep;
// Test requests of the parameter page in manual mode: label photo and pick, barrel
// photo with assembly. Cleared by the cycle when the test ends, or by the progress notice.
extern volatile unsigned char manualLabelReq;
extern volatile unsigned char manualBarrelReq;
// The label discard single action of the parameter page runs; its runner clears it.
extern volatile unsigned char manualDiscardReq;
// The height latched for the current cell, mm.
extern volatile double heightResult;
// clk::nowUs() at the start of the current product.
extern volatile double cycleStartClock;

// Label side: a plate is ready, feeds timed out in a row, buffer index being picked,
// which lower-camera photo runs (0 or 1).
extern volatile unsigned char plateReady;
extern volatile int feedRetry;
extern volatile int pickSlot;
extern volatile int photoPass;

// Consecutive-NG counters, the first entries of counterNg.
extern volatile double& vacRetry;
extern volatile double& lowCamNgCount;
extern volatile double& labelNgCount;
extern volatile double& barrelNgCount;
extern volatile double& checkNgCount;
extern volatile double& qrNgCount;
extern volatile double& vacFailRun;

// The finished tray's cell whose barrel got its label while its product is not yet
// finished; 0 when none. A reset in between must not label it a second time.
extern volatile double assembledCell;
