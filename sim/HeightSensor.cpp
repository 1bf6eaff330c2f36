#include "HeightSensor.h"

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <cmath>

namespace sim {

class HeightSensorServer : public QTcpServer {
public:
    explicit HeightSensorServer(HeightSensor& owner) : m_owner(owner) {}

    void closeAll() {
        close();
        m_input.clear();
        // Our own sockets only: a TLS socket owns a plain one that goes with it.
        const auto sockets = findChildren<QTcpSocket*>(QString(), Qt::FindDirectChildrenOnly);
        for (QTcpSocket* s : sockets) {
            s->abort();
            delete s;
        }
    }

protected:
    void incomingConnection(qintptr handle) override {
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(handle)) {
            delete socket;
            return;
        }
        ++m_owner.m_connections;
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_input.remove(socket);
            socket->deleteLater();
        });
    }

private:
    void serve(QTcpSocket* socket) {
        // A copy: an answer may close the connection, and that drops its entry.
        QByteArray in = m_input.take(socket) + socket->readAll();
        int end;
        while ((end = in.indexOf('\r')) >= 0) {
            const QByteArray command = in.left(end);
            in.remove(0, end + 1);
            if (command.endsWith("%01#RMD**")) answer(socket);
            if (socket->state() != QAbstractSocket::ConnectedState) return;
        }
        if (in.size() <= 4096) m_input.insert(socket, in);
    }

    void answer(QTcpSocket* socket) {
        ++m_owner.m_requests;
        const HeightSensor::Mode mode = m_owner.mode();
        const double mm = m_owner.height();
        switch (mode) {
        case HeightSensor::Mode::Normal:
            socket->write(HeightSensor::reply(mm));
            break;
        case HeightSensor::Mode::Garbled:
            socket->write("%01$RMD+00A1B2C**\r");
            break;
        case HeightSensor::Mode::Split: {
            const QByteArray r = HeightSensor::reply(mm);
            socket->write(r.left(10));
            socket->flush();
            QPointer<QTcpSocket> guard(socket);
            QTimer::singleShot(30, socket, [guard, rest = r.mid(10)] {
                if (guard) guard->write(rest);
            });
            break;
        }
        case HeightSensor::Mode::Doubled:
            socket->write(HeightSensor::reply(mm) + HeightSensor::reply(mm + 1.0));
            break;
        case HeightSensor::Mode::Silent:
            break;
        case HeightSensor::Mode::Garbage:
            socket->write("\x7f\x01garbage!#RMD\r");
            break;
        case HeightSensor::Mode::NoLineEnd:
            socket->write(QByteArray(1 << 20, 'x'));
            break;
        case HeightSensor::Mode::CloseMidReply:
            socket->write(HeightSensor::reply(mm).left(10));
            socket->flush();
            socket->disconnectFromHost();
            break;
        }
    }

    HeightSensor& m_owner;
    QHash<QTcpSocket*, QByteArray> m_input;
};

HeightSensor::HeightSensor() : m_source([] { return 0.0; }) {}

HeightSensor::~HeightSensor() {
    stop();
}

bool HeightSensor::start(quint16 port, const QHostAddress& address) {
    return m_serverThread.start(new HeightSensorServer(*this), "HeightSensor", port, address);
}

void HeightSensor::stop() {
    m_serverThread.stop();
}

bool HeightSensor::isListening() const {
    return m_serverThread.running();
}

quint16 HeightSensor::port() const {
    return m_serverThread.port();
}

void HeightSensor::setSource(std::function<double()> mm) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_source = mm ? std::move(mm) : [] { return 0.0; };
}

void HeightSensor::setMode(Mode mode) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_mode = mode;
}

HeightSensor::Mode HeightSensor::mode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mode;
}

double HeightSensor::height() {
    std::function<double()> source;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        source = m_source;
    }
    return source();
}

QByteArray HeightSensor::reply(double mm) {
    long long units = std::isnan(mm) ? 9999999LL : std::llround(mm * 10000.0);
    if (units > 9999999LL) units = 9999999LL;
    if (units < -9999999LL) units = -9999999LL;
    const char sign = units < 0 ? '-' : '+';
    return "%01$RMD" + QByteArray(1, sign) + QByteArray::number(std::llabs(units)).rightJustified(7, '0') +
           "**\r";
}

} // namespace sim
