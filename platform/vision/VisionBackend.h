#pragma once
// What the cameras see and what the tasks answer. The machine PC's cameras stand
// behind this seam; the virtual machine installs its own. Without a backend the
// tasks answer from their settings alone (TaskParams).
#include "platform/vision/TaskOutcome.h"
#include "platform/vision/TaskParam.h"

class VisionBackend {
public:
    virtual ~VisionBackend() = default;
    // Called by taskrun::taskexec on the caller's thread: grab and decide the answer.
    virtual TaskOutcome run(int task, const TaskParam& param) = 0;
    // cam 1 upper, 2 lower.
    virtual bool cameraConnected(int cam) = 0;

    // Not owned; nullptr removes it.
    static void install(VisionBackend* backend);
    static VisionBackend* current();
};
