#include "Lockstep.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
}

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
    m_dueKnown = false;
    return int(m_passes.size()) - 1;
}

void Lockstep::setEnabled(int id, bool enabled) {
    m_passes.at(size_t(id)).enabled = enabled;
    m_dueKnown = false;
}

void Lockstep::setPlant(std::function<void(int64_t)> step, int64_t stepUs) {
    m_plant = std::move(step);
    m_plantStepUs = stepUs;
    m_plantNextUs = nowUs() + stepUs;
    m_plantGridUs = m_plantNextUs;
    m_plantPassedUs = nowUs();
    m_plantResting = false;
}

void Lockstep::setPlantRest(std::function<int64_t()> nextStepUs, std::function<void(int64_t)> restUntil) {
    wakePlant();
    m_plantNextStep = std::move(nextStepUs);
    m_plantRestUntil = std::move(restUntil);
}

int64_t Lockstep::gridUp(int64_t t) const {
    if (t == kNever) return kNever;
    const int64_t d = t - m_plantGridUs;
    const int64_t k = d >= 0 ? (d + m_plantStepUs - 1) / m_plantStepUs : -((-d) / m_plantStepUs);
    return m_plantGridUs + k * m_plantStepUs;
}

int64_t Lockstep::gridDown(int64_t t) const {
    const int64_t up = gridUp(t);
    return up == t ? t : up - m_plantStepUs;
}

int64_t Lockstep::plantTurnUs() const {
    if (!m_plantResting) return m_plantNextUs;
    // The step a plant stepped every time would take next: its turn at a time comes
    // after the events and before the passes of that time.
    return gridUp(std::max(m_now.load(std::memory_order_acquire), m_plantPassedUs + 1));
}

void Lockstep::wakePlant() {
    if (!m_plantResting) return;
    const int64_t at = plantTurnUs() - m_plantStepUs;
    m_plantResting = false;
    m_plantRestUntil(at);
    m_plantNextUs = at + m_plantStepUs;
}

int64_t Lockstep::nowUs() {
    return m_now.load(std::memory_order_acquire);
}

int64_t Lockstep::wallMs() {
    return m_startWallMs + nowUs() / 1000;
}

void Lockstep::publish(int64_t t) {
    m_now.store(t);
    // Pairs with the sleeper's count then time: either it sees the new time or we see it.
    if (m_sleepers.load() == 0) return;
    { std::lock_guard<std::mutex> lock(m_timeMutex); }
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
    const int64_t target = m_now.load() + us;
    m_sleepers.fetch_add(1);
    m_timeChanged.wait(lock, [&] { return m_closing || m_now.load() >= target; });
    m_sleepers.fetch_sub(1);
    if (m_closing) m_timeChanged.notify_all();
}

void Lockstep::callAt(int64_t atUs, std::function<void()> fn) {
    std::lock_guard<std::mutex> lock(m_timeMutex);
    m_events.emplace(atUs, std::move(fn));
    m_firstEventUs.store(m_events.begin()->first, std::memory_order_release);
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
    // The caller, or the pass that sleeps here, may have touched the plant.
    wakePlant();
    for (;;) {
        if (cond && (*cond)()) {
            wakePlant();
            return true;
        }
        const int64_t plantAt = m_plant ? plantTurnUs() : kNever;
        const int64_t eventAt = m_firstEventUs.load(std::memory_order_acquire);
        // Timed events come first at equal times, then the plant, then the passes.
        if (eventAt <= plantAt && eventAt <= targetUs) {
            std::function<void()> fn;
            int64_t at;
            {
                std::lock_guard<std::mutex> lock(m_timeMutex);
                auto first = m_events.begin();
                at = first->first;
                fn = std::move(first->second);
                m_events.erase(first);
                m_firstEventUs.store(m_events.empty() ? kNever : m_events.begin()->first,
                                     std::memory_order_release);
            }
            if (at > nowUs()) publish(at);
            wakePlant();
            fn();
            continue;
        }
        if (!m_dueKnown) findDuePass();
        int64_t next = plantAt;
        int due = -1;
        if (m_due >= 0 && m_dueUs < next) {
            next = m_dueUs;
            due = m_due;
        }
        const int64_t now = nowUs();
        if (next > targetUs) {
            if (targetUs > now) publish(targetUs);
            m_plantPassedUs = std::max(m_plantPassedUs, targetUs);
            wakePlant();
            return cond ? (*cond)() : false;
        }
        if (due < 0 && m_plantResting && plantAt < m_plantNextUs) {
            passRestingTurns(plantAt, eventAt, targetUs);
            continue;
        }
        if (next > now) publish(next);
        if (due < 0) {
            stepPlant();
            continue;
        }
        m_plantPassedUs = std::max(m_plantPassedUs, next);
        wakePlant();
        Periodic& p = m_passes[size_t(due)];
        p.running = true;
        m_dueKnown = false;
        p.pass();
        // The vector may have grown inside the pass.
        Periodic& q = m_passes[size_t(due)];
        q.running = false;
        ++q.count;
        q.nextDueUs = nowUs() + q.periodUs;
        m_dueKnown = false;
    }
}

void Lockstep::findDuePass() {
    m_due = -1;
    m_dueUs = kNever;
    for (size_t i = 0; i < m_passes.size(); ++i) {
        const Periodic& p = m_passes[i];
        if (p.enabled && !p.running && p.nextDueUs < m_dueUs) {
            m_dueUs = p.nextDueUs;
            m_due = int(i);
        }
    }
    m_dueKnown = true;
}

// The resting plant's turns from the one at fromUs on would change nothing: passes them
// up to the last one before something else is due (an event, a pass, the plant's own
// next step, the end of the run), as if each had been taken.
void Lockstep::passRestingTurns(int64_t fromUs, int64_t eventAt, int64_t targetUs) {
    int64_t last = std::min(m_plantNextUs - m_plantStepUs, gridDown(targetUs));
    // An event runs once the plant's next turn is not before it.
    if (eventAt != kNever) last = std::min(last, gridUp(eventAt - m_plantStepUs));
    // A pass runs once it is due before the plant's next turn.
    for (const Periodic& p : m_passes)
        if (p.enabled && !p.running) last = std::min(last, gridUp(p.nextDueUs - m_plantStepUs + 1));
    last = std::max(last, fromUs);
    if (last > nowUs()) publish(last);
    m_plantPassedUs = std::max(m_plantPassedUs, last);
}

void Lockstep::stepPlant() {
    const int64_t now = nowUs();
    if (m_plantResting) {
        // Woken by its own timer: nothing touched it since it came to rest.
        m_plantResting = false;
        m_plantRestUntil(now - m_plantStepUs);
    }
    m_plantNextUs += m_plantStepUs;
    m_plant(now);
    m_plantPassedUs = now;
    if (!m_plantNextStep) return;
    const int64_t wanted = m_plantNextStep();
    if (wanted <= m_plantNextUs) return;
    m_plantResting = true;
    m_plantNextUs = gridUp(wanted);
}
