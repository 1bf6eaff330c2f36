#pragma once
// A MES of our own for the virtual machine and the tests: a small HTTP/1.1 server
// on loopback, on a thread of its own. It answers in-station and out-station
// requests, keeps what it received and can misbehave on purpose.
#include "sim/ServerThread.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <atomic>
#include <mutex>

namespace sim {

class MesServer;

class MesEmulator {
public:
    enum class Mode {
        Answer,       // success true (in) / bSuccess true (out)
        Refuse,       // a JSON answer that refuses the product
        NotJson,      // an HTML page
        HttpError,    // 500 Internal Server Error
        CloseHalfWay, // headers and part of the body, then the connection closes
        Silent,       // the request is read and never answered
        Huge,         // a 5 MB body
        BadUtf8,      // an accepting answer whose message is not valid UTF-8
        JsonArray,    // a JSON array instead of an object
        EmptyObject   // "{}": neither a decision nor a message
    };

    struct Request {
        QByteArray method;
        QByteArray path;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        QByteArray header(const QByteArray& name) const;
    };

    MesEmulator();
    ~MesEmulator();
    MesEmulator(const MesEmulator&) = delete;
    MesEmulator& operator=(const MesEmulator&) = delete;

    // Before start(): answer over TLS with this key and certificate.
    void setTls(const QSslKey& key, const QSslCertificate& certificate);
    // Port 0 picks a free port. False when the port cannot be bound.
    bool start(quint16 port = 0, const QHostAddress& address = QHostAddress::LocalHost);
    void stop();
    quint16 port() const { return m_serverThread.port(); }
    // "http(s)://127.0.0.1:<port>" followed by path.
    QString url(const QString& path) const;
    QString inUrl() const { return url("/mes/in"); }
    QString outUrl() const { return url("/mes/out"); }

    void setMode(Mode mode);
    Mode mode() const;
    QList<Request> requests() const;
    int requestCount() const;
    void clearRequests();

    // The answer body to a request on path in the mode.
    static QByteArray answerBody(Mode mode, const QByteArray& path);

private:
    friend class MesServer;
    void record(const Request& r);

    mutable std::mutex m_mutex;
    Mode m_mode = Mode::Answer;
    QList<Request> m_requests;
    QSslKey m_key;
    QSslCertificate m_certificate;
    ServerThread<MesServer> m_serverThread;
};

} // namespace sim
