#include "Lockstep.h"

#include <limits>

Lockstep::Lockstep(int64_t startWallMs) : m_startWallMs(startWallMs), m_harness(std::this_thread::get_id()) {}

Lockstep::~Lockstep() {
    if (m_installed) Clock::install(nullptr);
    releaseSleepers();
    std::unique_lock<std::mutex> lock(m_timeMutex);
    m_timeChanged.wait(lock, [&] { return m_sleepers == 0; });
}

void Lockstep::releaseSleepers() {
    std::lock_guard<std::mutex> lock(m_timeMutex);
    m_closing = true;
    m_timeChanged.notify_all();
}

void Lockstep::install() {
    m_harness = std::this_thread::get_id();
    Clock::install(this);
    m_installed = true;
}

int Lockstep::addPeriodic(const std::string& name, int64_t periodUs, std::function<void()> pass,
                          int64_t firstDelayUs) {
    m_passes.push_back(Periodic{name, periodUs, std::move(pass), nowUs() + firstDelayUs});
    return int(m_passes.size()) - 1;
}

void Lockstep::setEnabled(int id, bool enabled) {
    m_passes.at(size_t(id)).enabled = enabled;
}

void Lockstep::setPlant(std::function<void(int64_t)> step, int64_t stepUs) {
    m_plant = std::move(step);
    m_plantStepUs = stepUs;
    m_plantNextUs = nowUs() + stepUs;
}

int64_t Lockstep::nowUs() {
    return m_now.load(std::memory_order_acquire);
}

int64_t Lockstep::wallMs() {
    return m_startWallMs + nowUs() / 1000;
}

void Lockstep::publish(int64_t t) {
    {
        std::lock_guard<std::mutex> lock(m_timeMutex);
        m_now = t;
    }
    m_timeChanged.notify_all();
}

void Lockstep::sleepUs(int64_t us) {
    if (us < 0) us = 0;
    if (std::this_thread::get_id() == m_harness) {
        advance(nowUs() + us, nullptr);
        return;
    }
    // A foreign thread sleeps until the harness has moved time far enough.
    std::unique_lock<std::mutex> lock(m_timeMutex);
    const int64_t target = m_now + us;
    ++m_sleepers;
    m_timeChanged.wait(lock, [&] { return m_closing || m_now.load() >= target; });
    --m_sleepers;
    if (m_closing) m_timeChanged.notify_all();
}

void Lockstep::callAt(int64_t atUs, std::function<void()> fn) {
    std::lock_guard<std::mutex> lock(m_timeMutex);
    m_events.emplace(atUs, std::move(fn));
}

bool Lockstep::runUntil(const std::function<bool()>& cond, double maxSeconds) {
    return advance(nowUs() + int64_t(maxSeconds * 1e6), &cond);
}

void Lockstep::runFor(double seconds) {
    advance(nowUs() + int64_t(seconds * 1e6), nullptr);
}

int64_t Lockstep::passCount(int id) const {
    return m_passes.at(size_t(id)).count;
}

bool Lockstep::advance(int64_t targetUs, const std::function<bool()>* cond) {
    constexpr int64_t never = std::numeric_limits<int64_t>::max();
    for (;;) {
        if (cond && (*cond)()) return true;
        int64_t next = m_plant ? m_plantNextUs : never;
        int64_t eventAt = never;
        {
            std::lock_guard<std::mutex> lock(m_timeMutex);
            if (!m_events.empty()) eventAt = m_events.begin()->first;
        }
        // Timed events come first at equal times, then the plant, then the passes.
        if (eventAt <= next && eventAt <= targetUs) {
            std::function<void()> fn;
            {
                std::lock_guard<std::mutex> lock(m_timeMutex);
                auto first = m_events.begin();
                fn = std::move(first->second);
                m_events.erase(first);
            }
            if (eventAt > nowUs()) publish(eventAt);
            fn();
            continue;
        }
        int due = -1;
        for (size_t i = 0; i < m_passes.size(); ++i) {
            const Periodic& p = m_passes[i];
            if (p.enabled && !p.running && p.nextDueUs < next) {
                next = p.nextDueUs;
                due = int(i);
            }
        }
        const int64_t now = nowUs();
        if (next > targetUs) {
            if (targetUs > now) publish(targetUs);
            return cond ? (*cond)() : false;
        }
        if (next > now) publish(next);
        if (due < 0) {
            m_plantNextUs += m_plantStepUs;
            m_plant(nowUs());
            continue;
        }
        Periodic& p = m_passes[size_t(due)];
        p.running = true;
        p.pass();
        // The vector may have grown inside the pass.
        Periodic& q = m_passes[size_t(due)];
        q.running = false;
        ++q.count;
        q.nextDueUs = nowUs() + q.periodUs;
    }
}
