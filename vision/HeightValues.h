#pragma once
// The height sensor's values, written by the height link's thread and read by the
// cycle, the parameter page and the records without a lock.
#include <cstdint>

extern volatile double heightRaw;        // mm, last good reading
extern volatile double heightCalibrated; // heightRaw + gd[250]

// Machine time (µs, clk::nowUs) of the last good reply; -1 before the first one.
int64_t heightLastGoodUs();
void heightMarkGood(int64_t nowUs);
// A reading the cycle may use: a good reply came within maxAgeUs.
bool heightFresh(int64_t maxAgeUs = 1000000);
