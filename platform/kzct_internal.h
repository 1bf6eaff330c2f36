#pragma once
// Shared between the parts of the machine function library; not for the program.
namespace kzct {
void resetCylinders();
void resetTimers();
void resetAlarmList();
} // namespace kzct
