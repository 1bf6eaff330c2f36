#include "Clock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace {
SystemClock systemClock;
std::atomic<Clock*> current{&systemClock};
} // namespace

Clock& Clock::instance() {
    return *current.load(std::memory_order_acquire);
}

void Clock::install(Clock* clock) {
    current.store(clock ? clock : &systemClock, std::memory_order_release);
}

int64_t SystemClock::nowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t SystemClock::wallMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void SystemClock::sleepUs(int64_t us) {
    if (us > 0) std::this_thread::sleep_for(std::chrono::microseconds(us));
}

namespace {
// One detached timer thread serves every callAt of the system clock.
struct TimerThread {
    std::mutex mutex;
    std::condition_variable wake;
    std::multimap<int64_t, std::function<void()>> due;
    bool started = false;

    void add(int64_t atUs, std::function<void()> fn) {
        std::lock_guard<std::mutex> lock(mutex);
        due.emplace(atUs, std::move(fn));
        if (!started) {
            started = true;
            std::thread([this] { run(); }).detach();
        }
        wake.notify_one();
    }
    void run() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            if (due.empty()) {
                wake.wait(lock);
                continue;
            }
            const int64_t now = systemClock.nowUs();
            auto first = due.begin();
            if (first->first > now) {
                wake.wait_for(lock, std::chrono::microseconds(first->first - now));
                continue;
            }
            auto fn = std::move(first->second);
            due.erase(first);
            lock.unlock();
            fn();
            lock.lock();
        }
    }
};
TimerThread* timerThread() {
    static TimerThread* t = new TimerThread; // lives until exit; the thread is detached
    return t;
}
} // namespace

void SystemClock::callAt(int64_t atUs, std::function<void()> fn) {
    timerThread()->add(atUs, std::move(fn));
}
