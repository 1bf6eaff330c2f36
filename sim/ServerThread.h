#pragma once
// A loopback peer's server object living on a thread of its own, so that it answers
// while the thread that started it blocks (a test, the lockstep clock, a MES wait).
#include <QHostAddress>
#include <QMetaObject>
#include <QThread>

namespace sim {

// Server: a QTcpServer with closeAll() that drops its connections.
template <class Server> class ServerThread {
public:
    ServerThread() = default;
    ServerThread(const ServerThread&) = delete;
    ServerThread& operator=(const ServerThread&) = delete;
    ~ServerThread() { stop(); }

    // Takes ownership of server and listens on its thread; false (and stopped) when it cannot.
    bool start(Server* server, const char* name, quint16 port, const QHostAddress& address) {
        stop();
        m_thread = new QThread;
        m_thread->setObjectName(name);
        m_server = server;
        m_server->moveToThread(m_thread);
        m_thread->start();
        bool ok = false;
        QMetaObject::invokeMethod(
            m_server, [&] { ok = m_server->listen(address, port); }, Qt::BlockingQueuedConnection);
        m_port = ok ? m_server->serverPort() : 0;
        if (!ok) stop();
        return ok;
    }

    void stop() {
        if (!m_thread) return;
        Server* server = m_server;
        QMetaObject::invokeMethod(
            server,
            [server] {
                server->closeAll();
                delete server;
            },
            Qt::BlockingQueuedConnection);
        m_server = nullptr;
        m_thread->quit();
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
        m_port = 0;
    }

    quint16 port() const { return m_port; }
    bool running() const { return m_server != nullptr; }

private:
    QThread* m_thread = nullptr;
    Server* m_server = nullptr;
    quint16 m_port = 0;
};

} // namespace sim
