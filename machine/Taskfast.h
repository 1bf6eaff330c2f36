#pragma once
// The machine's scan cycle: about every 5 ms one pass reads the card and CAN I/O
// into the images, evaluates safety and readiness and drives lamps and buzzer.
#include "machine/FastScan.h"

#include <QMutex>
#include <QThread>

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

private:
    FastScan scan;

protected:
    void run() override;
};
