#include "ClockTimer.h"

#include "platform/Clock.h"

#include <QThread>
#include <mutex>

// Outlives the timer inside pending clock callbacks; owner is cleared on destruction.
struct ClockTimer::Link {
    std::mutex mutex;
    ClockTimer* owner = nullptr;
};

ClockTimer::ClockTimer(QObject* parent) : QObject(parent), m_link(std::make_shared<Link>()) {
    m_link->owner = this;
}

ClockTimer::~ClockTimer() {
    std::lock_guard<std::mutex> lock(m_link->mutex);
    m_link->owner = nullptr;
}

void ClockTimer::singleShot(int ms, QObject* context, std::function<void()> fn) {
    auto* timer = new ClockTimer(context);
    timer->setSingleShot(true);
    connect(timer, &ClockTimer::timeout, timer, [timer, fn = std::move(fn)] {
        fn();
        timer->deleteLater();
    });
    timer->start(ms);
}

void ClockTimer::start(int ms) {
    m_intervalMs = ms;
    start();
}

void ClockTimer::start() {
    m_active = true;
    arm();
}

void ClockTimer::stop() {
    m_active = false;
    ++m_generation;
}

void ClockTimer::arm() {
    const uint64_t generation = ++m_generation;
    std::shared_ptr<Link> link = m_link;
    clk::callAfterUs(int64_t(m_intervalMs) * 1000, [link, generation] {
        std::unique_lock<std::mutex> lock(link->mutex);
        ClockTimer* owner = link->owner;
        if (!owner) return;
        if (owner->thread() == QThread::currentThread()) {
            // Same thread: the owner cannot go away under us.
            lock.unlock();
            owner->fire(generation);
            return;
        }
        // Posted under the lock, so the owner still exists; Qt drops the call if it is
        // deleted before the call runs.
        QMetaObject::invokeMethod(
            owner, [owner, generation] { owner->fire(generation); }, Qt::QueuedConnection);
    });
}

void ClockTimer::fire(uint64_t generation) {
    if (!m_active || generation != m_generation) return;
    if (m_singleShot)
        m_active = false;
    else
        arm();
    emit timeout();
}
