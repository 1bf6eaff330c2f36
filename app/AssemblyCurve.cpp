#include "AssemblyCurve.h"

#include <algorithm>

QMutex plotMutex;
double plotOffsetX[kPlotSamples] = {};
double plotOffsetY[kPlotSamples] = {};
double plotAngle[kPlotSamples] = {};

void plotClear() {
    QMutexLocker lock(&plotMutex);
    std::fill(plotOffsetX, plotOffsetX + kPlotSamples, 0.0);
    std::fill(plotOffsetY, plotOffsetY + kPlotSamples, 0.0);
    std::fill(plotAngle, plotAngle + kPlotSamples, 0.0);
}

void plotPush(double offsetX, double offsetY, double angle) {
    QMutexLocker lock(&plotMutex);
    std::copy(plotOffsetX + 1, plotOffsetX + kPlotSamples, plotOffsetX);
    std::copy(plotOffsetY + 1, plotOffsetY + kPlotSamples, plotOffsetY);
    std::copy(plotAngle + 1, plotAngle + kPlotSamples, plotAngle);
    plotOffsetX[kPlotSamples - 1] = offsetX * 1000.0;
    plotOffsetY[kPlotSamples - 1] = offsetY * 1000.0;
    plotAngle[kPlotSamples - 1] = angle;
}
