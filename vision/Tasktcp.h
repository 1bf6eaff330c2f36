#pragma once
// The height sensor link: runs an event loop that polls the sensor every 150 ms.
#include <QMutex>
#include <QString>
#include <QThread>
#include <cstdint>

class ClockTimer;
class TcpBase;

class Tasktcp : public QThread {
    Q_OBJECT
public:
    explicit Tasktcp(QObject* parent = nullptr);
    ~Tasktcp() override;

    // Before start(): where the sensor listens.
    void setEndpoint(const QString& host, quint16 port);
    QString host() const { return m_host; }
    quint16 port() const { return m_port; }

    // One poll of the sensor; the 150 ms timer calls it, tests may call it directly.
    // Reconnects a lost link at most once per kReconnectUs.
    void pass();

    // What run() does around its event loop, in the calling thread: tests drive
    // the link from their own thread with these.
    void begin();
    void end();
    TcpBase* link() const { return m_link; }

    static constexpr char kRequest[] = "%01#RMD**\r";
    static constexpr int kPeriodMs = 150;
    static constexpr int64_t kReconnectUs = 1000000;

    QMutex mutex; // guards one poll

protected:
    // Runs until quit(); tcpStop is set by the shutdown before that.
    void run() override;

private:
    void attach();

    QString m_host;
    quint16 m_port;
    ClockTimer* m_timer = nullptr;
    TcpBase* m_link = nullptr;
    int64_t m_lastAttemptUs = 0;
    bool m_up = false;
    bool m_lossReported = false;
};
