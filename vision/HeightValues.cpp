#include "HeightValues.h"

#include "platform/Clock.h"

#include <atomic>

volatile double heightRaw = 0.0;
volatile double heightCalibrated = 0.0;

namespace {
std::atomic<int64_t> lastGoodUs{-1};
}

int64_t heightLastGoodUs() {
    return lastGoodUs.load();
}

void heightMarkGood(int64_t nowUs) {
    lastGoodUs.store(nowUs);
}

bool heightFresh(int64_t maxAgeUs) {
    const int64_t last = lastGoodUs.load();
    return last >= 0 && clk::nowUs() - last <= maxAgeUs;
}
