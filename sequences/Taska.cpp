#include "Taska.h"

#include "app/MachineData.h"
#include "platform/Clock.h"
#include "sequences/Homing.h"

Taska::Taska(QObject* parent) : QThread(parent) {
    moveToThread(this);
}

Taska::~Taska() {
    quit();
    wait();
}

// Not under the mutex: a pass blocked in a wait holds it, and ends on the flag.
void Taska::stop() {
    taskaStop = 1;
}

// The reset block comes first so that a reset always wins over the step the
// cycle was in; the e-stop gates live inside the homing functions.
void Taska::pass() {
    homingResetBlock();
    homingStep();
    // The tray-level steps and the jobs of the product cycle go here.
    endProductionStep();
}

void Taska::run() {
    for (;;) {
        {
            QMutexLocker lock(&mutex);
            if (taskaStop) break;
            pass();
        }
        clk::sleepUs(5000);
    }
}
