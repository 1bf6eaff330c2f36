#pragma once
// A tray travelling on one of the two belts or held by a neighbour machine.
#include <vector>

namespace sim {

struct Tray {
    static constexpr double kLength = 120.0; // mm along the belt

    int id = 0;
    bool empty = false;        // an empty tray of the lower belt
    double front = 0;          // mm from the belt's entry, in the direction of travel
    std::vector<bool> barrels; // product trays: one entry per cell, true = a barrel sits there

    double rear() const { return front - kLength; }
    bool covers(double x) const { return rear() <= x && x <= front; }
};

} // namespace sim
