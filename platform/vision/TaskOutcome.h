#pragma once
// What one run of a vision task will answer, decided when the task is started.
#include "platform/vision/TaskRecord.h"

#include <QImage>
#include <cstdint>
#include <functional>

struct TaskOutcome {
    bool finishes = true; // false: the task never ends (no light, lost trigger, hung tool)
    int64_t delayUs = 60000;
    // status, values, texts, overlay, regions and marks of the finished run
    TaskRecord result;
    // Draws the camera image when the run ends (on the library's timer thread) so that
    // starting a task costs nothing; empty: result.image is used as it is.
    std::function<QImage()> render;
};
