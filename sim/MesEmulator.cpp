#include "MesEmulator.h"

#include <QDateTime>
#include <QHash>
#include <QSslSocket>
#include <QTcpServer>
#include <QThread>

namespace sim {

namespace {
constexpr int kMaxHead = 64 * 1024;
constexpr int kMaxBody = 4 * 1024 * 1024;

QByteArray response(int status, const QByteArray& reason, const QByteArray& type, const QByteArray& body,
                    qint64 announced = -1) {
    return "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(announced < 0 ? body.size() : announced) +
           "\r\nConnection: close\r\n\r\n" + body;
}
} // namespace

QByteArray MesEmulator::Request::header(const QByteArray& name) const {
    for (const auto& h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0) return h.second;
    return QByteArray();
}

class MesServer : public QTcpServer {
public:
    explicit MesServer(MesEmulator& owner) : m_owner(owner) {}

    void closeAll() {
        close();
        m_input.clear();
        // Our own sockets only: a TLS socket owns a plain one that goes with it.
        const auto sockets = findChildren<QTcpSocket*>(QString(), Qt::FindDirectChildrenOnly);
        for (QTcpSocket* s : sockets) {
            s->disconnect(this);
            s->abort();
            delete s;
        }
    }

protected:
    void incomingConnection(qintptr handle) override {
        QTcpSocket* socket;
        if (!m_owner.m_key.isNull()) {
            auto* tls = new QSslSocket(this);
            if (!tls->setSocketDescriptor(handle)) {
                delete tls;
                return;
            }
            tls->setPrivateKey(m_owner.m_key);
            tls->setLocalCertificate(m_owner.m_certificate);
            tls->setProtocol(QSsl::AnyProtocol);
            tls->startServerEncryption();
            socket = tls;
        } else {
            socket = new QTcpSocket(this);
            if (!socket->setSocketDescriptor(handle)) {
                delete socket;
                return;
            }
        }
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_input.remove(socket);
            socket->deleteLater();
        });
    }

private:
    void serve(QTcpSocket* socket) {
        QByteArray& in = m_input[socket];
        in += socket->readAll();
        const int headEnd = in.indexOf("\r\n\r\n");
        if (headEnd < 0) {
            if (in.size() > kMaxHead) reject(socket, 431, "Request Header Fields Too Large");
            return;
        }
        MesEmulator::Request r;
        const QList<QByteArray> lines = in.left(headEnd).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        r.method = first.value(0);
        r.path = first.value(1);
        for (int i = 1; i < lines.size(); ++i) {
            const int colon = lines[i].indexOf(':');
            if (colon > 0)
                r.headers.append({lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed()});
        }
        bool ok = true;
        const qint64 length =
            r.header("Content-Length").isEmpty() ? 0 : r.header("Content-Length").toLongLong(&ok);
        if (!ok || length < 0 || length > kMaxBody) {
            reject(socket, 413, "Payload Too Large");
            return;
        }
        if (in.size() < headEnd + 4 + length) return;
        r.body = in.mid(headEnd + 4, int(length));
        in.clear();
        m_owner.record(r);
        answer(socket, r);
    }

    void answer(QTcpSocket* socket, const MesEmulator::Request& r) {
        const MesEmulator::Mode mode = m_owner.mode();
        const QByteArray body = MesEmulator::answerBody(mode, r.path);
        switch (mode) {
        case MesEmulator::Mode::Silent:
            return;
        case MesEmulator::Mode::NotJson:
            socket->write(response(200, "OK", "text/html", body));
            break;
        case MesEmulator::Mode::HttpError:
            socket->write(response(500, "Internal Server Error", "text/plain", body));
            break;
        case MesEmulator::Mode::CloseHalfWay:
            socket->write(response(200, "OK", "application/json;charset=UTF-8", body.left(body.size() / 2),
                                   body.size()));
            socket->flush();
            socket->close();
            return;
        default:
            socket->write(response(200, "OK", "application/json;charset=UTF-8", body));
            break;
        }
        socket->disconnectFromHost();
    }

    void reject(QTcpSocket* socket, int status, const QByteArray& reason) {
        m_input.remove(socket);
        socket->write(response(status, reason, "text/plain", reason));
        socket->disconnectFromHost();
    }

    MesEmulator& m_owner;
    QHash<QTcpSocket*, QByteArray> m_input;
};

MesEmulator::MesEmulator() = default;

MesEmulator::~MesEmulator() {
    stop();
}

void MesEmulator::setTls(const QSslKey& key, const QSslCertificate& certificate) {
    m_key = key;
    m_certificate = certificate;
}

bool MesEmulator::start(quint16 port, const QHostAddress& address) {
    return m_serverThread.start(new MesServer(*this), "MesEmulator", port, address);
}

void MesEmulator::stop() {
    m_serverThread.stop();
}

QString MesEmulator::url(const QString& path) const {
    return QString("%1://127.0.0.1:%2%3")
        .arg(m_key.isNull() ? "http" : "https")
        .arg(m_serverThread.port())
        .arg(path);
}

void MesEmulator::setMode(Mode mode) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_mode = mode;
}

MesEmulator::Mode MesEmulator::mode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mode;
}

QList<MesEmulator::Request> MesEmulator::requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

int MesEmulator::requestCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests.size();
}

void MesEmulator::clearRequests() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

void MesEmulator::record(const Request& r) {
    std::lock_guard<std::mutex> lock(m_mutex);
    // A long-running emulator keeps the recent requests only.
    if (m_requests.size() >= 10000) m_requests.removeFirst();
    m_requests.append(r);
}

QByteArray MesEmulator::answerBody(Mode mode, const QByteArray& path) {
    const bool out = path.contains("out");
    const QByteArray stamp = QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss").toUtf8();
    switch (mode) {
    case Mode::Refuse:
        return out ? QByteArray(R"({"bSuccess":false,"message":"出站拒绝：工序不符"})")
                   : QByteArray(R"({"success":false,"message":"入站拒绝：产品未登记","timestamp":")") +
                         stamp + "\"}";
    case Mode::NotJson:
        return "<html><body>MES maintenance</body></html>";
    case Mode::HttpError:
        return "internal error";
    case Mode::Huge:
        return "{\"success\":true,\"message\":\"" + QByteArray(5 * 1024 * 1024, 'x') + "\"}";
    case Mode::BadUtf8:
        return out ? QByteArray("{\"bSuccess\":true,\"message\":\"\xff\xfe\xc3\"}")
                   : QByteArray("{\"success\":true,\"message\":\"\xff\xfe\xc3\",\"timestamp\":\"") + stamp +
                         "\"}";
    case Mode::EmptyObject:
        return "{}";
    case Mode::JsonArray:
        return out ? QByteArray(R"([{"bSuccess":true}])") : QByteArray(R"([{"success":true}])");
    default:
        return out ? QByteArray(R"({"bSuccess":true,"message":"出站成功"})")
                   : QByteArray(R"({"success":true,"message":"入站成功","timestamp":")") + stamp + "\"}";
    }
}

} // namespace sim
