#include "Taskfast.h"

#include "app/MachineData.h"
#include "platform/Clock.h"

Taskfast::Taskfast(QObject* parent) : QThread(parent) {
    moveToThread(this);
}

Taskfast::~Taskfast() {
    quit();
    wait();
}

void Taskfast::stop() {
    QMutexLocker lock(&mutex);
    fastStop = 1;
}

// The scan itself (images, safety, readiness, buttons, lamps) comes with the fast scan.
void Taskfast::pass() {}

void Taskfast::run() {
    for (;;) {
        {
            QMutexLocker lock(&mutex);
            if (fastStop) break;
            pass();
        }
        clk::sleepUs(5000);
    }
}
