#pragma once
// Shared between the parts of the machine function library; not for the program.
#include <functional>

namespace kzct {
void resetCylinders();
void resetTimers();
void resetAlarmList();
// Called by a cylinder follow-up or check after it read valves and sensors and before
// it decides; lets a test put a command exactly there.
void setCylinderReadHook(std::function<void(int k)> hook);
} // namespace kzct
