#pragma once
// Brings the machine PC's platform up before the main window is built and
// takes it down after. This build links the virtual machine behind the layers.
class QWidget;

namespace Platform {
void start();
void stop();
// A window of the platform to show beside the main window, or nullptr.
QWidget* companionWindow();
} // namespace Platform
