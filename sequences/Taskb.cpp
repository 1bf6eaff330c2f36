#include "Taskb.h"

#include "app/MachineData.h"
#include "platform/Clock.h"

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

// The four belt-line step machines come with the belt-line sequence.
void Taskb::pass() {}

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
