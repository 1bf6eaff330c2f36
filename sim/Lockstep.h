#pragma once
// Virtual clock and lockstep harness for tests and benchmarks.
// All periodic passes (fast scan, cycle, belt line, window ticks) and the plant
// run from one thread. A blocking wait inside a pass advances virtual time and
// runs the other due passes (never the blocked one) before returning, so waits
// nest like a stack. Runs are deterministic: of what is due at the same time,
// the timed events run first (in the order they were scheduled), then the plant,
// then the passes in the order they were added.
#include "platform/Clock.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Lockstep : public Clock {
public:
    // 2026-01-05 08:00:00 UTC, a Monday: reproducible record names and rows.
    static constexpr int64_t kDefaultStartWallMs = 1767600000000LL;

    explicit Lockstep(int64_t startWallMs = kDefaultStartWallMs);
    ~Lockstep() override;

    // Makes this the program-wide clock until destroyed; the calling thread
    // becomes the harness thread.
    void install();

    // A pass that runs every periodUs (the next run is periodUs after the
    // previous one returned, like a thread that sleeps after its pass).
    int addPeriodic(const std::string& name, int64_t periodUs, std::function<void()> pass,
                    int64_t firstDelayUs = 0);
    void setEnabled(int id, bool enabled);
    // The plant model, stepped every stepUs with the new time.
    void setPlant(std::function<void(int64_t nowUs)> step, int64_t stepUs = 1000);
    // Lets the plant rest while it would only mark time. nextStepUs is asked after every
    // step: the earliest time the plant needs its next step if nothing else touches it.
    // Whatever else runs (a pass, a timed event, the caller between runs) may touch it,
    // so it wakes for the step after that; restUntil first brings its clock to the time
    // of the last step it passed over. The condition of runUntil must not touch the plant.
    void setPlantRest(std::function<int64_t()> nextStepUs, std::function<void(int64_t)> restUntil);

    int64_t nowUs() override;
    int64_t wallMs() override;
    void sleepUs(int64_t us) override;
    void callAt(int64_t atUs, std::function<void()> fn) override;

    // Runs the machine until cond holds (checked after every event), at most
    // maxSeconds of machine time. Returns whether cond held.
    bool runUntil(const std::function<bool()>& cond, double maxSeconds);
    void runFor(double seconds);

    // From now on foreign threads do not sleep: those asleep wake at once. For the end
    // of a machine whose detached threads must finish before it goes.
    void releaseSleepers();

    // Number of passes run so far of the given pass.
    int64_t passCount(int id) const;

private:
    struct Periodic {
        std::string name;
        int64_t periodUs;
        std::function<void()> pass;
        int64_t nextDueUs;
        bool running = false;
        bool enabled = true;
        int64_t count = 0;
    };
    bool advance(int64_t targetUs, const std::function<bool()>* cond);
    void publish(int64_t t);
    int64_t plantTurnUs() const;
    void wakePlant();
    void stepPlant();
    void passRestingTurns(int64_t fromUs, int64_t eventAt, int64_t targetUs);
    int64_t gridUp(int64_t t) const;
    int64_t gridDown(int64_t t) const;

    // The pass due first (lowest index of equal times) and when: found again only
    // after a pass started, ended, came or changed.
    void findDuePass();
    std::vector<Periodic> m_passes;
    bool m_dueKnown = false;
    int m_due = -1;
    int64_t m_dueUs = 0;
    std::multimap<int64_t, std::function<void()>> m_events; // guarded by m_timeMutex
    // The first event's time, read without the lock on every turn of the harness.
    std::atomic<int64_t> m_firstEventUs{INT64_MAX};
    std::function<void(int64_t)> m_plant;
    std::function<int64_t()> m_plantNextStep;
    std::function<void(int64_t)> m_plantRestUntil;
    int64_t m_plantStepUs = 1000;
    int64_t m_plantNextUs = 0;
    int64_t m_plantGridUs = 0;   // a time on the plant's step grid
    int64_t m_plantPassedUs = 0; // the plant's turn up to here is over
    bool m_plantResting = false;
    int64_t m_startWallMs;
    std::thread::id m_harness;
    bool m_installed = false;

    // Time is read by foreign threads (detached watchers) that wait on it.
    mutable std::mutex m_timeMutex;
    std::condition_variable m_timeChanged;
    std::atomic<int64_t> m_now{0};
    bool m_closing = false;         // guarded by m_timeMutex; releases foreign sleepers
    std::atomic<int> m_sleepers{0}; // foreign threads inside sleepUs
};
