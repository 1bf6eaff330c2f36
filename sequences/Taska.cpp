#include "Taska.h"

#include "app/MachineData.h"
#include "platform/Clock.h"

Taska::Taska(QObject* parent) : QThread(parent) {
    moveToThread(this);
}

Taska::~Taska() {
    quit();
    wait();
}

void Taska::stop() {
    QMutexLocker lock(&mutex);
    taskaStop = 1;
}

// Homing, the tray-level steps and the jobs come with the automatic cycle.
void Taska::pass() {}

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
