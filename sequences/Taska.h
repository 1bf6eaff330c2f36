#pragma once
// The automatic assembly cycle with homing and end of production: one pass of its
// step machines every 5 ms.
#include <QMutex>
#include <QThread>
#include <memory>

class kzhttp;

class Taska : public QThread {
    Q_OBJECT
public:
    explicit Taska(QObject* parent = nullptr);
    ~Taska() override;

    // Sets taskaStop; the current pass ends its waits at once and run() ends after it.
    void stop();
    // One pass of the cycle. run() calls it under the mutex; tests may call it directly
    // (the MES clients are then made on the caller's thread at the first pass).
    void pass();

    // The cycle whose pass is running, for the step blocks that report a product.
    static Taska* current();

    QMutex mutex; // guards one pass

signals:
    // A product is finished and its record is queued; connected queued to the GUI.
    void S_zzdata();

protected:
    void run() override;

private:
    void makeMesClients();
    bool m_wasRunning = false;

    std::unique_ptr<kzhttp> mesInHttp;  // in-station requests
    std::unique_ptr<kzhttp> mesOutHttp; // out-station requests
};
