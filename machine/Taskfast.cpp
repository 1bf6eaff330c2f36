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
            const int64_t start = clk::nowUs();
            pass();
            const size_t n = m_recorded.load(std::memory_order_relaxed);
            if (n < m_timings.size()) {
                m_timings[n] = PassTiming{start, clk::nowUs() - start};
                m_recorded.store(n + 1, std::memory_order_release);
            }
        }
        clk::sleepUs(5000);
    }
}

void Taskfast::recordTimings(size_t maxPasses) {
    m_timings.assign(maxPasses, PassTiming{0, 0});
    m_recorded = 0;
}

std::vector<Taskfast::PassTiming> Taskfast::timings() const {
    const size_t n = m_recorded.load(std::memory_order_acquire);
    return std::vector<PassTiming>(m_timings.begin(), m_timings.begin() + long(n));
}
