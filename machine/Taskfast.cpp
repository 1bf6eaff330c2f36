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

void Taskfast::pass() {
    scan.pass();
}

void Taskfast::run() {
    // The sleep is outside the lock: a lock taken again at once would starve stop().
    for (;;) {
        {
            QMutexLocker lock(&mutex);
            if (fastStop) break;
            pass();
        }
        clk::sleepUs(5000);
    }
}
