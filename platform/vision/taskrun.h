#pragma once
// Runs the vision tasks. taskexec returns at once; the task ends later on the
// clock's timer thread, fills its record in the shared task data (status last) and
// emits gcallfun::signalRepaintcvview. A taskexec of a task that is still running
// starts it again; the earlier run ends without a trace.
#include "platform/vision/TaskParam.h"
#include "platform/vision/TaskRecord.h"

#include <QString>
#include <cstdint>

class taskrun {
public:
    // mode 0: grab and evaluate; any other mode also evaluates but saves no image.
    // Returns 0 when started, -1 for a task the library does not have.
    static int taskexec(int task, int mode);

    // Seed of the random verdicts of tasks answered from their settings alone.
    static void setSeed(uint32_t seed);

    // Fills texts 0 and 1, the overlay and the marks of a finished record from its
    // status and values; shared by every answer so that the views look the same.
    static void annotate(int task, const TaskParam& param, const QString& text1, TaskRecord* record);
};
