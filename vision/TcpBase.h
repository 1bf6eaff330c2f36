#pragma once
// The connection to the height sensor: one client socket, the reply parser and
// the two height values it feeds.
#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

class TcpBase : public QObject {
    Q_OBJECT
public:
    explicit TcpBase(QObject* parent = nullptr);
    ~TcpBase() override;

    // 1 when a socket already exists (nothing done), else 0 after starting the connection.
    int connectTo(const QString& host, quint16 port);
    // Dropped silently without a connected socket.
    void send(const QByteArray& data);
    bool isConnected() const;
    bool hasSocket() const { return m_client != nullptr; }
    // Bytes received so far and bytes waiting for the rest of a reply.
    qint64 bytesRead() const { return m_bytesRead; }
    int pendingSize() const { return m_pending.size(); }
    // Forgets the socket so that connectTo starts a new one.
    void dropSocket();

    // The raw height (mm) of the first reply in text; false when it has no marker
    // or the 8 characters after it are not a signed whole number.
    static bool parseReply(const QByteArray& text, double* rawMm);

    // Longest stretch without a line end kept while waiting for the rest of a reply.
    static constexpr int kMaxPending = 4096;

signals:
    void linkUp();
    void linkDown();

private slots:
    void readData();

private:
    void handleReplies();
    void reportBad(const QString& what);

    QTcpSocket* m_client = nullptr;
    QTcpServer* m_server = nullptr;       // never created by this program
    QTcpSocket* m_serverSocket = nullptr; // never created by this program
    QByteArray m_pending;
    bool m_badReported = false;
    qint64 m_bytesRead = 0;
};
