#pragma once
// The belt-line sequence: trays in from the upstream machine, clamped at the
// assembly position, out to the downstream machine; one pass every 5 ms.
#include <QMutex>
#include <QThread>

class Taskb : public QThread {
    Q_OBJECT
public:
    explicit Taskb(QObject* parent = nullptr);
    ~Taskb() override;

    // Sets taskbStop under the thread's mutex; run() ends after the current pass.
    void stop();
    // One pass of the belt-line machines. run() calls it under the mutex; tests may call it directly.
    void pass();

    QMutex mutex; // guards one pass

protected:
    void run() override;
};
