#pragma once
// Camera calibrations of the vision library. Camera 0 is the upper camera, 1 the
// lower camera. The four arrays of a 9-point calibration are, per point i:
//   a[i] image row of the mark (px)      b[i] image column of the mark (px)
//   c[i] axis X at the photo (mm)        d[i] axis Y at the photo (mm)
// Arrays hold CamCalib::kMaxPoints (10) doubles.
//
// A camera has a stored calibration (written by ReadWriteCamCalib and Save9dianPara,
// loaded from the recipe) and an active one that its tasks use (ReadCamCalibToTask).
#include "platform/vision/CamCalib.h"

#include <QString>

class taskcontrol {
public:
    // n > 0: takes n point pairs as the camera's stored calibration; returns n, or -1 when
    // they do not give a calibration (nothing changes). n <= 0: copies the stored pairs
    // into the arrays (from the recipe file if none is in memory); returns their number
    // or -1 when the camera has none.
    static int ReadWriteCamCalib(int cam, double* a, double* b, double* c, double* d, int n);
    // Makes the stored calibration (else the recipe's file) the one the camera's tasks
    // use; 0, or -1 when there is none.
    static int ReadCamCalibToTask(int cam);
    // Writes the 9 pairs to the current recipe's file <name><cam>_9dian.json (atomically)
    // and keeps them as stored; 0, or -1 with nothing written.
    static int Save9dianPara(int cam, double* a, double* b, double* c, double* d, const QString& name);

    // Recipe load: both cameras' stored and active calibrations from the recipe's files
    // (a camera without a file becomes uncalibrated).
    static void loadCalibrations();
    // Forgets every calibration held in memory.
    static void clearCalibrations();
    // The calibration the tasks of cam use; false when the camera is not calibrated.
    static bool activeCalib(int cam, CamCalib* out);
    static QString calibFile(int cam, const QString& name = "cam");
    // The reason of the last failed call, for the vision window.
    static QString lastError();
};
