#pragma once
// Step and job variables of the cycle and the belt line that other parts of
// the program (reset, progress notice, pages) read or clear.

// One record per label plate cell: done, verdict, four vision values, photo X and Y.
constexpr int kLabelPhotoRecords = 20;
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

// Consecutive-NG counters of the cycle live in the first entries.
extern volatile double counterNg[256];
// Last product's cycle time in seconds, and the MES state word of the product.
extern volatile double cycleTime;
extern volatile int mesState;

// Feeder handshake step; runs in the same pass as stepA.
extern volatile double feederStep;
