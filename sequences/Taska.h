#pragma once
// The automatic assembly cycle with homing and end of production: one pass of its
// step machines every 5 ms.
#include <QMutex>
#include <QThread>

class Taska : public QThread {
    Q_OBJECT
public:
    explicit Taska(QObject* parent = nullptr);
    ~Taska() override;

    // Sets taskaStop; the current pass ends its waits at once and run() ends after it.
    void stop();
    // One pass of the cycle. run() calls it under the mutex; tests may call it directly.
    void pass();

    QMutex mutex; // guards one pass

signals:
    // A product is finished and its data fields are filled; connected queued to the GUI.
    void S_zzdata();

protected:
    void run() override;
};
