#pragma once
// The machine's scan cycle: about every 5 ms one pass reads the card and CAN I/O
// into the images, evaluates safety and readiness and drives lamps and buzzer.
#include "machine/FastScan.h"

#include <QMutex>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <vector>

class Taskfast : public QThread {
    Q_OBJECT
public:
    explicit Taskfast(QObject* parent = nullptr);
    ~Taskfast() override;

    // Sets fastStop under the thread's mutex; run() ends after the current pass.
    void stop();
    // One scan pass. run() calls it under the mutex; tests may call it directly.
    void pass();

    QMutex mutex; // guards one pass

    // Start time and own work time of each pass, for measuring the scan in the running program.
    struct PassTiming {
        int64_t startUs;
        int64_t workUs;
    };
    // Keeps the timings of up to maxPasses passes from now on; call before start().
    void recordTimings(size_t maxPasses);
    // The recorded passes; read after the thread has stopped.
    std::vector<PassTiming> timings() const;

private:
    FastScan scan;
    std::vector<PassTiming> m_timings;
    std::atomic<size_t> m_recorded{0};

protected:
    void run() override;
};
