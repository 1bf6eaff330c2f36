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
// One timer thread serves every callAt of the system clock. It is joined at program end:
// a callback run after main() has taken the machine down would use what is gone.
struct TimerThread {
    std::mutex mutex;
    std::condition_variable wake;
    std::multimap<int64_t, std::function<void()>> due;
    std::thread thread;
    bool stopped = false;

    void add(int64_t atUs, std::function<void()> fn) {
        std::lock_guard<std::mutex> lock(mutex);
        if (stopped) return;
        due.emplace(atUs, std::move(fn));
        if (!thread.joinable()) thread = std::thread([this] { run(); });
        wake.notify_one();
    }
    void run() {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            if (stopped) return;
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
            fn = nullptr; // what it holds goes before the next look at stopped
            lock.lock();
        }
    }
    void stop() {
        std::multimap<int64_t, std::function<void()>> dropped;
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopped = true;
            dropped.swap(due);
            wake.notify_all();
        }
        // A callback that stops the clock itself cannot wait for its own end.
        if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) thread.join();
    }
};
TimerThread* timerThread() {
    static TimerThread* t = new TimerThread; // never destroyed: callAt may come during static destruction
    return t;
}
} // namespace

void SystemClock::stopTimers() {
    timerThread()->stop();
}

void SystemClock::callAt(int64_t atUs, std::function<void()> fn) {
    timerThread()->add(atUs, std::move(fn));
}
