#include "VisionRequests.h"

volatile double VisionResult[kVisionSlots][20] = {};
QString visionText[kVisionSlots][10];
PhotoPoint photoPos[kVisionSlots];
volatile double angleRef = 0.0;

double normAngle(double a0, double a1, double a2, double a3) {
    double v = a1 - a2 + a3 + a0;
    while (v > 360) v -= 360;
    while (v < -360) v += 360;
    if (v > 180) v -= 360;
    if (v < -180) v += 360;
    return v + angleRef;
}
