#pragma once
// Flags shared between the photo requests, the calibrations and the fast scan.
typedef unsigned char u8;

extern volatile u8 calibBusy;    // a 9-point calibration runs; clearing it cancels the run
extern volatile u8 upperLightOn; // upper camera lights switched on by a photo
extern volatile u8 lowerLightOn; // lower camera light switched on by a photo
