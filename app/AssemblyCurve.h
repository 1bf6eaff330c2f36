#pragma once
// Last results of the assembly as three series (offset X and Y in µm, angle in
// degrees), oldest first. Written by the cycle thread and the record slot, drawn by
// the main window; the one shared structure under a lock.
#include <QMutex>

constexpr int kPlotSamples = 100;

extern QMutex plotMutex;
extern double plotOffsetX[kPlotSamples];
extern double plotOffsetY[kPlotSamples];
extern double plotAngle[kPlotSamples];

void plotClear();
// offsetX and offsetY in mm; stored ×1000.
void plotPush(double offsetX, double offsetY, double angle);
