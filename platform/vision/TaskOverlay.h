#pragma once
#include <QColor>
#include <QPointF>
#include <QString>

// One text the image views draw over a task's image, in image pixels.
struct TaskOverlay {
    QString text;
    QPointF pos; // top-left of the text, image coordinates (column, row)
    QColor color;
};
