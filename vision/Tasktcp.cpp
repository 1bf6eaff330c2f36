#include "Tasktcp.h"

#include "app/ClockTimer.h"

Tasktcp::Tasktcp(QObject* parent) : QThread(parent) {
    moveToThread(this);
}

Tasktcp::~Tasktcp() {
    quit();
    wait();
}

// The request to the sensor and its reply parser come with the height sensor link.
void Tasktcp::pass() {}

void Tasktcp::run() {
    auto* timer = new ClockTimer;
    connect(timer, &ClockTimer::timeout, timer, [this] {
        QMutexLocker lock(&mutex);
        pass();
    });
    timer->start(150);
    exec();
    delete timer;
}
