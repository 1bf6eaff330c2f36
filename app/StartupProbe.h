#pragma once
// Start-up hooks for benchmarks, process tests and screenshots, switched on by the
// environment; without these variables nothing happens.
//   TAVRIN_READY_FILE=<path>  once the main window is up: writes "shown_ms=<ms since
//                             process start>" and "rss_kb=<resident memory>" there.
//   TAVRIN_SCREENSHOT=<path>  once the main window is up: saves a picture of it (PNG);
//                             TAVRIN_SCREENSHOT_DELAY_MS=<ms> takes it that much later.
class QWidget;

namespace StartupProbe {
void arm(QWidget* mainWindow);
// Milliseconds since this process started (Linux /proc), -1 when unknown.
double msSinceProcessStart();
// Resident memory of this process in kB (/proc/self/status VmRSS), -1 when unknown.
long residentKb();
} // namespace StartupProbe
