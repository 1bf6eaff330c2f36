#include "Taskb.h"

#include "app/MachineData.h"
#include "platform/Clock.h"
#include "sequences/BeltLine.h"

Taskb::Taskb(QObject* parent) : QThread(parent) {
    moveToThread(this);
}

Taskb::~Taskb() {
    quit();
    wait();
}

void Taskb::stop() {
    QMutexLocker lock(&mutex);
    taskbStop = 1;
}

void Taskb::pass() {
    beltLinePass();
}

void Taskb::run() {
    for (;;) {
        {
            QMutexLocker lock(&mutex);
            if (taskbStop) break;
            pass();
        }
        clk::sleepUs(5000);
    }
}
