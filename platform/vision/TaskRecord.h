#pragma once
// The result of one vision task as the library keeps it in the shared task data.
#include "platform/vision/TaskOverlay.h"

#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QStringList>
#include <QVector>
#include <cstdint>

enum TaskStatus { TaskPending = 0, TaskOK = 1, TaskNG = 2 };

// Value positions a task fills (the others stay 0):
//  10 found mark column (px)   11 found mark row (px)   12 found angle in the image (deg)
//  20 Y offset (mm)            21 X offset (mm)         22 angle (deg)
//  23 match score (0..1)       24 found width (mm)      25 found height (mm)
//  26 objects found            27 processing time (ms)
// Offsets are the task camera's calibrated image-to-axis mapping of the found
// point minus that of the image centre.
struct TaskRecord {
    static constexpr int kValueCount = 50;

    double values[kValueCount] = {};
    QStringList texts; // text 0 "OK"/"NG", text 1 the read code or a short summary
    int status = TaskPending;
    QImage image;
    QVector<TaskOverlay> overlay;
    QVector<QPolygonF> regions; // search and found regions, image coordinates
    QVector<QPointF> marks;     // found points, drawn as crosses
    bool running = false;       // between taskexec and the end of the processing
    int64_t startUs = 0;        // clock time of the last taskexec
    int64_t endUs = 0;          // clock time the last run ended
    int runs = 0;               // finished runs since start
    uint64_t runId = 0;         // the last started run; only that run may end it
};
