// Microsecond timers, the blocking delay and tray cell arithmetic.
#include "kzct.h"

#include "Clock.h"
#include "kzct_internal.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {
// Deadline per timer; the smallest value means "never started" and counts as run out.
constexpr int64_t kNeverStarted = std::numeric_limits<int64_t>::min();
std::atomic<int64_t> deadlines[kTimerCount];

struct InitTimers {
    InitTimers() {
        for (auto& d : deadlines) d.store(kNeverStarted);
    }
} initTimers;

constexpr int64_t kDelaySliceUs = 1000;
} // namespace

void usTstart(int n, double us) {
    if (n < 0 || n >= kTimerCount) return;
    if (!(us > 0)) us = 0; // also catches NaN
    // Whole microseconds, rounded up: a timer never runs out before its time.
    const double limit = double(std::numeric_limits<int64_t>::max() / 2);
    const int64_t span = int64_t(std::ceil(std::min(us, limit)));
    deadlines[n].store(clk::nowUs() + span, std::memory_order_release);
}

int usTout(int n) {
    if (n < 0 || n >= kTimerCount) return 1;
    return clk::nowUs() >= deadlines[n].load(std::memory_order_acquire) ? 1 : 0;
}

void delay(double us, volatile unsigned char* stopFlag) {
    if (!(us > 0)) return;
    const int64_t end = clk::nowUs() + int64_t(std::ceil(us));
    for (;;) {
        if (stopFlag && *stopFlag) return;
        const int64_t left = end - clk::nowUs();
        if (left <= 0) return;
        clk::sleepUs(std::min(left, kDelaySliceUs));
    }
}

void getlpxy(double x0, double y0, int cell, int rows, int cols, double rowPitch, double colPitch, double* x,
             double* y, int pathMode) {
    double px = x0, py = y0;
    if (rows >= 1 && cols >= 1) {
        const long long count = (long long)rows * cols;
        const long long c = std::clamp<long long>(cell, 1, count) - 1;
        const long long row = c / cols;
        long long col = c % cols;
        if (pathMode != 0 && row % 2 == 1) col = cols - 1 - col;
        px = x0 + double(col) * colPitch;
        py = y0 + double(row) * rowPitch;
    }
    if (x) *x = px;
    if (y) *y = py;
}

namespace kzct {
void resetTimers() {
    for (auto& d : deadlines) d.store(kNeverStarted);
}
} // namespace kzct
