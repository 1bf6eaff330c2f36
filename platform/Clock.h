#pragma once
// The one time base of the program: every wait, timer and thread pass asks it.
// In the program it is the system clock; tests install a virtual clock that the
// lockstep harness advances together with the virtual machine.
#include <cstdint>
#include <functional>

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic microseconds since an arbitrary origin.
    virtual int64_t nowUs() = 0;
    // Wall-clock milliseconds since the epoch, for records and statistics.
    virtual int64_t wallMs() = 0;
    virtual void sleepUs(int64_t us) = 0;
    // Runs fn once the clock reaches atUs, on the clock's own timer thread
    // (virtual clock: on the harness thread, in time order).
    virtual void callAt(int64_t atUs, std::function<void()> fn) = 0;

    static Clock& instance();
    // Not owned. nullptr restores the system clock.
    static void install(Clock* clock);
};

class SystemClock : public Clock {
public:
    int64_t nowUs() override;
    int64_t wallMs() override;
    void sleepUs(int64_t us) override;
    void callAt(int64_t atUs, std::function<void()> fn) override;
    // At program end: drops the callbacks still pending, waits for one that runs and
    // joins the timer thread; later callAt calls are ignored.
    static void stopTimers();
};

namespace clk {
inline int64_t nowUs() {
    return Clock::instance().nowUs();
}
inline int64_t wallMs() {
    return Clock::instance().wallMs();
}
inline void sleepUs(int64_t us) {
    Clock::instance().sleepUs(us);
}
inline void sleepMs(int64_t ms) {
    Clock::instance().sleepUs(ms * 1000);
}
inline void callAfterUs(int64_t us, std::function<void()> fn) {
    Clock& c = Clock::instance();
    c.callAt(c.nowUs() + us, std::move(fn));
}
} // namespace clk
