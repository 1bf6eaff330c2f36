#include "VisionRequests.h"

#include "app/MachineData.h"
#include "platform/Clock.h"
#include "platform/vision/gcallfun.h"
#include "platform/vision/taskdata.h"
#include "platform/vision/taskrun.h"
#include "vision/VisionFlags.h"

#include <atomic>
#include <mutex>
#include <thread>

volatile double VisionResult[kVisionSlots][20] = {};
QString visionText[kVisionSlots][10];
PhotoPoint photoPos[kVisionSlots];
volatile double angleRef = 0.0;

namespace {

// A watcher and the cycle or a calibration may read the same task at once.
std::mutex textMutex;
std::atomic<int> runningWatchers{0};
std::atomic<unsigned> watcherGeneration{0};

constexpr int kLibraryTasks = 15;
constexpr int kUpperLightTimer = 10;
constexpr int kLowerLightTimer = 11;

bool lowerCameraTask(int task) {
    return task == 1 || task == 5 || task == 10 || task == 11 || task == 12;
}

// Light selection of an upper-camera task: 0 ring, 1 coaxial, else both.
double lightSelection(int task) {
    switch (task) {
    case 0:
        return gd[13];
    case 2:
    case 4:
        return gd[14];
    case 3:
    case 13:
    case 14:
        return gd[15];
    default:
        return gd[20];
    }
}

void light(WORD bit, bool on) {
    singleout(cardNo, 1, 1, bit, on ? 1 : 0, 0);
}

// Result values [2]..[12] and the record values they come from.
constexpr int kValueSource[11] = {21, 20, 22, 23, 24, 25, 26, 27, 10, 11, 12};

// Fills the result table for photos taken by hand; in automatic mode the cycle polls.
// One look every 100 ms on the clock's timer: no thread per photo, and a virtual
// clock runs it in step with the machine.
void watch(int task, unsigned generation, int reads) {
    ++runningWatchers;
    const bool again = [&] {
        if (watcherGeneration != generation) return false;
        // Taken already by a reader that may have moved on (the cycle of a single
        // action restores older values): reading again would overwrite them.
        if (VisionResult[task][0] > 0) return false;
        visionRead(task);
        return VisionResult[task][0] <= 0 && manualMode == 1.0 && reads + 1 < 10;
    }();
    if (again) clk::callAfterUs(100000, [=] { watch(task, generation, reads + 1); });
    --runningWatchers;
}

} // namespace

void visionTrigger(int task) {
    if (task < 0 || task >= kVisionSlots) return;
    double x = 0.0, y = 0.0, q = 0.0;
    dmc_get_position_unit(cardNo, axisX, &x);
    dmc_get_position_unit(cardNo, axisY, &y);
    dmc_get_position_unit(cardNo, axisQ, &q);
    photoPos[task].x = x;
    photoPos[task].y = y;
    if (manualMode == 1.0) {
        const unsigned generation = watcherGeneration;
        clk::callAfterUs(100000, [=] { watch(task, generation, 0); });
    }
    if (task >= kLibraryTasks) return;

    taskdata* data = taskdata::GetInstance();
    if (lowerCameraTask(task)) {
        angleRef = q;
        data->setStatus(task, TaskPending);
        usTstart(kLowerLightTimer, gf[216] * 1000000.0);
        lowerLightOn = 1;
        VisionResult[task][0] = 0;
        VisionResult[task][1] = 0;
        light(2, true);
    } else {
        data->setStatus(task, TaskPending);
        usTstart(kUpperLightTimer, gf[216] * 1000000.0);
        upperLightOn = 1;
        VisionResult[task][0] = 0;
        VisionResult[task][1] = 0;
        const double selection = lightSelection(task);
        light(0, selection != 0.0);
        light(1, selection != 1.0);
    }
    visionExec(task);
}

int visionExec(int task) {
    taskdata* data = taskdata::GetInstance();
    data->setBusy(0, 0);
    data->setBusy(1, 0);
    if (data->manual() == 1) {
        data->setCurrentTask(task);
        emit gcallfun::GetInstance()->signalSetCurrentTast(task);
    }
    return taskrun::taskexec(task, 0);
}

void visionRead(int task) {
    if (task < 0 || task >= kVisionSlots) return;
    if (dryRun) {
        VisionResult[task][0] = 1;
        VisionResult[task][1] = 1;
        return;
    }
    int status = TaskPending;
    double values[TaskRecord::kValueCount] = {};
    QStringList texts;
    if (!taskdata::GetInstance()->readResult(task, &status, values, &texts)) return;
    if (status != TaskOK && status != TaskNG) return;
    // Done and verdict first: a reader on another thread calls visionRead itself.
    VisionResult[task][0] = 1;
    VisionResult[task][1] = status;
    for (int i = 0; i < 11; ++i) VisionResult[task][2 + i] = status == TaskOK ? values[kValueSource[i]] : 0.0;
    std::lock_guard<std::mutex> lock(textMutex);
    for (int i = 0; i < texts.size() && i < 10; ++i) visionText[task][i] = texts[i];
}

QString visionTextOf(int task, int i) {
    if (task < 0 || task >= kVisionSlots || i < 0 || i >= 10) return QString();
    std::lock_guard<std::mutex> lock(textMutex);
    return visionText[task][i];
}

void retireVisionWatchers() {
    ++watcherGeneration;
    while (runningWatchers > 0) std::this_thread::yield();
}

double normAngle(double a0, double a1, double a2, double a3) {
    double v = a1 - a2 + a3 + a0;
    while (v > 360) v -= 360;
    while (v < -360) v += 360;
    if (v > 180) v -= 360;
    if (v < -180) v += 360;
    return v + angleRef;
}
