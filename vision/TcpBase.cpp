#include "TcpBase.h"

#include "platform/Clock.h"
#include "platform/KZLOG.h"
#include "platform/kzct.h"
#include "vision/HeightValues.h"

#include <QTcpServer>
#include <QTcpSocket>

TcpBase::TcpBase(QObject* parent) : QObject(parent) {}

TcpBase::~TcpBase() {
    for (QTcpSocket* s : {m_client, m_serverSocket}) {
        if (!s) continue;
        s->abort();
        delete s;
    }
    if (m_server) {
        m_server->close();
        delete m_server;
    }
}

int TcpBase::connectTo(const QString& host, quint16 port) {
    if (m_client) return 1;
    m_client = new QTcpSocket(this);
    connect(m_client, &QTcpSocket::readyRead, this, &TcpBase::readData);
    connect(m_client, &QTcpSocket::connected, this, &TcpBase::linkUp);
    connect(m_client, &QTcpSocket::disconnected, this, &TcpBase::linkDown);
    m_pending.clear();
    m_client->connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    return 0;
}

void TcpBase::send(const QByteArray& data) {
    if (!m_client || data.isEmpty() || !m_client->isValid()) return;
    m_client->write(data);
}

bool TcpBase::isConnected() const {
    return m_client && m_client->state() == QAbstractSocket::ConnectedState;
}

void TcpBase::dropSocket() {
    if (!m_client) return;
    m_client->disconnect(this);
    m_client->abort();
    m_client->deleteLater();
    m_client = nullptr;
    m_pending.clear();
}

void TcpBase::readData() {
    if (!m_client) return;
    const QByteArray bytes = m_client->readAll();
    m_bytesRead += bytes.size();
    // Height measuring switched off: replies are read and thrown away.
    if (gd[23] != 0) {
        m_pending.clear();
        return;
    }
    m_pending += bytes;
    handleReplies();
}

void TcpBase::handleReplies() {
    const int end = m_pending.lastIndexOf('\r');
    if (end < 0) {
        // A peer that never ends its line must not grow the buffer without end.
        if (m_pending.size() > kMaxPending) {
            reportBad(QStringLiteral("测高传感器应答过长（%1 字节无结束符），已丢弃").arg(m_pending.size()));
            m_pending.clear();
        }
        return;
    }
    // Complete replies up to the last line end; a partial one waits for its rest.
    const QByteArray complete = m_pending.left(end + 1);
    m_pending.remove(0, end + 1);
    double raw = 0.0;
    if (!parseReply(complete, &raw)) {
        reportBad(QStringLiteral("测高传感器应答无法解析: %1")
                      .arg(QString::fromLatin1(complete.left(40).toPercentEncoding("%$#+-*"))));
        return;
    }
    heightRaw = raw;
    heightCalibrated = gd[250] + raw;
    heightMarkGood(clk::nowUs());
    m_badReported = false;
}

// Once per run of bad replies: a sensor that keeps sending garbage must not flood the log.
void TcpBase::reportBad(const QString& what) {
    if (m_badReported) return;
    m_badReported = true;
    KZLOG::CLog::Warn(what);
}
