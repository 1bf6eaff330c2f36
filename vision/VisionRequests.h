#pragma once
// Photo requests to the vision library and the table of their results.
#include <QString>

struct PhotoPoint {
    double x = 0.0;
    double y = 0.0;
};

constexpr int kVisionSlots = 20;
// Per task: [0] done, [1] verdict (1 OK, 2 NG), [2]..[12] result values.
extern volatile double VisionResult[kVisionSlots][20];
// Written by the reader threads under a lock: read it through visionTextOf.
extern QString visionText[kVisionSlots][10];
// X and Y axis positions at the moment each task was triggered.
extern PhotoPoint photoPos[kVisionSlots];
// Q position at the last lower-camera trigger.
extern volatile double angleRef;

// Starts a photo task; returns at once.
void visionTrigger(int task);
// Copies the task's current state into VisionResult and visionText.
void visionRead(int task);
int visionExec(int task);
// A copy of visionText[task][i], safe while a watcher writes the table.
QString visionTextOf(int task, int i);
// Ends every photo watcher before the machine goes away: a waiting watcher does
// nothing when its time comes; one looking right now is waited for.
void retireVisionWatchers();
double normAngle(double a0, double a1, double a2, double a3);
