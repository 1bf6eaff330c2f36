#include "Tasktcp.h"

#include "app/ClockTimer.h"
#include "platform/Clock.h"
#include "platform/KZLOG.h"
#include "vision/TcpBase.h"

namespace {
// The sensor's address on the machine network. This build runs on the virtual
// machine, whose sensor listens on loopback.
#ifdef TAVRIN_MACHINE_PC
const char* const kSensorHost = "192.168.1.20";
#else
const char* const kSensorHost = "127.0.0.1";
#endif
constexpr quint16 kSensorPort = 4196;
} // namespace

Tasktcp::Tasktcp(QObject* parent) : QThread(parent), m_host(kSensorHost), m_port(kSensorPort) {
    moveToThread(this);
}

Tasktcp::~Tasktcp() {
    quit();
    wait();
    end();
}

void Tasktcp::setEndpoint(const QString& host, quint16 port) {
    m_host = host;
    m_port = port;
}

void Tasktcp::begin() {
    m_timer = new ClockTimer;
    m_timer->start(kPeriodMs);
    m_link = new TcpBase;
    connect(m_link, &TcpBase::linkUp, m_link, [this] {
        m_up = true;
        m_lossReported = false;
        KZLOG::CLog::Info(QStringLiteral("测高传感器已连接 %1:%2").arg(m_host).arg(m_port));
    });
    connect(m_link, &TcpBase::linkDown, m_link, [this] {
        if (!m_up) return;
        m_up = false;
        m_lossReported = true;
        KZLOG::CLog::Warn(QStringLiteral("测高传感器连接断开 %1:%2").arg(m_host).arg(m_port));
    });
    attach();
    connect(m_timer, &ClockTimer::timeout, m_timer, [this] {
        QMutexLocker lock(&mutex);
        pass();
    });
}

void Tasktcp::end() {
    delete m_timer;
    m_timer = nullptr;
    delete m_link;
    m_link = nullptr;
}

void Tasktcp::attach() {
    m_lastAttemptUs = clk::nowUs();
    m_link->connectTo(m_host, m_port);
}

void Tasktcp::pass() {
    if (!m_link) return;
    if (!m_link->isConnected()) {
        // A sensor that restarts must not leave the machine with a frozen value.
        if (clk::nowUs() - m_lastAttemptUs < kReconnectUs) return;
        if (m_link->hasSocket()) {
            if (!m_lossReported) {
                m_lossReported = true;
                KZLOG::CLog::Warn(QStringLiteral("测高传感器连接失败 %1:%2").arg(m_host).arg(m_port));
            }
            m_link->dropSocket();
        }
        attach();
        return;
    }
    m_link->send(QByteArray(kRequest, int(sizeof(kRequest) - 1)));
}

void Tasktcp::run() {
    begin();
    exec();
    end();
}
