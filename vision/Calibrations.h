#pragma once
// Camera calibrations started from the calibration page: the 9-point calibration
// of each camera, the nozzle zero angle, the linked calibration of both cameras
// and the nozzle, and its verification. Every start returns at once; the run goes
// on by itself, and clearing its busy flag cancels it at its next step.
#include "vision/VisionFlags.h"

#include <functional>

extern volatile u8 nozzleZeroBusy;  // nozzle zero-angle calibration runs
extern volatile u8 linkCalibBusy;   // linked calibration runs
extern volatile u8 linkVerifyBusy;  // linked verification runs (first variant)
extern volatile u8 linkVerify2Busy; // linked verification runs (second variant)
extern volatile u8 nozzleZeroDone;  // the nozzle zero angle was calibrated
extern volatile u8 linkCalibDone;   // the linked calibration ended with success

// cam 0 upper camera (task 6), 1 lower camera (task 10).
void startNinePoint(int cam);
void startNozzleZero();
void startLinkedCalibration();
// variant 0 or 1: the two verification buttons; both run the same pass.
void startLinkedVerification(int variant = 0);

// Any calibration running.
bool calibrationRunning();

// Result word of a finished run: 1 passed, 2 failed (0 while running or never run).
int lastNinePointResult(int cam);
int lastNozzleZeroResult();
int lastLinkedResult();
int lastVerifyResult();

// The runs go on threads of their own that call their pass every 5 ms. A test replaces
// how a run is carried: pass() returns true once the run has ended.
using CalibLauncher = std::function<void(std::function<bool()> pass)>;
void setCalibLauncher(CalibLauncher launcher);

// At exit: cancels every run as "结束测试" does (a run cut short stores nothing and
// reports failure), waits on the clock until each run's thread has ended and joins it.
// Runs carried by a launcher end at their next pass.
void stopCalibrations();
// Calibration threads started and not yet joined.
int calibrationThreads();
