#pragma once
// The height sensor link: runs an event loop that polls the sensor every 150 ms.
#include <QMutex>
#include <QThread>

class Tasktcp : public QThread {
    Q_OBJECT
public:
    explicit Tasktcp(QObject* parent = nullptr);
    ~Tasktcp() override;

    // One poll of the sensor; the 150 ms timer calls it, tests may call it directly.
    void pass();

    QMutex mutex; // guards one poll

protected:
    // Runs until quit(); tcpStop is set by the shutdown before that.
    void run() override;
};
