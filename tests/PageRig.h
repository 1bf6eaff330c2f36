#pragma once
// A switched-on machine for the manual pages: demo recipe, card up, the five
// working axes homed, the fast scan, the cylinder follow-up and the main
// window's 25 ms position tick running, manual mode on.
#include "MachineState.h"
#include "TestSupport.h"

#include "app/MachineData.h"
#include "app/MainCycle.h"
#include "machine/FastScan.h"
#include "platform/kzct.h"
#include "sequences/Cylinders.h"

#include <QWidget>
#include <QtTest>
#include <algorithm>
#include <cmath>

struct PageRig : SimRig {
    FastScan scan;
    MainCycle cycle;
    double peak[12] = {};

    PageRig() {
        resetMachineData();
        kzct::resetLibraryState();
        startCard();
        cardOk = 1.0;
        applyDemoRecipe();
        clock.addPeriodic("fast", 5000, [this] { scan.pass(); });
        clock.addPeriodic("cylinders", 10000, [] { cylindersFollow(); });
        clock.addPeriodic("positions", 25000, [this] { cycle.tick25ms(); });
        clock.addPeriodic("watch", 1000, [this] {
            for (int a = 0; a < 12; ++a) peak[a] = std::max(peak[a], std::fabs(velocity(a)));
        });
        for (int a : {2, 4, 0, 1, 3}) {
            homeAxis(a, 0, gd[130 + a], gd[90 + a]);
            axisHomed[a] = 1;
        }
        manualMode = 1.0;
        runFor(0.3);
        for (double& p : peak) p = 0.0;
    }
    ~PageRig() { manualMode = 0.0; }

    double velocity(int axis) { return plant().axisSnapshot(axis).velocity; }
    bool moving(int axis) { return plant().axisSnapshot(axis).moving; }
    // Highest speed of the axis since the rig was built.
    double peakSpeed(int axis) { return peak[axis]; }
    void clearPeaks() {
        for (double& p : peak) p = 0.0;
    }
    bool output(int image) { return plant().output(image); }
    uint64_t stops() { return card().calls(sim::VirtualCard::CallStop); }
};

template <class T> T* child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(name);
    if (!w) qWarning("no widget %s", name);
    return w;
}
