#pragma once
// The laser height sensor of the virtual machine: a TCP server on loopback that
// answers "%01#RMD**\r" with the height under its head, on a thread of its own.
// It can misbehave on purpose, as a sick sensor or a bad network would.
#include "sim/ServerThread.h"

#include <QByteArray>
#include <QHostAddress>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace sim {

class HeightSensorServer;

class HeightSensor {
public:
    enum class Mode {
        Normal,
        Garbled,      // the 8 value characters are not a number
        Split,        // each reply in two packets, the second 30 ms later
        Doubled,      // two replies in one packet; the second reads 1 mm more
        Silent,       // requests are read, nothing is answered
        Garbage,      // a line without the reply marker
        NoLineEnd,    // a megabyte without a line end for every request
        CloseMidReply // half a reply, then the connection is closed
    };

    HeightSensor();
    ~HeightSensor();
    HeightSensor(const HeightSensor&) = delete;
    HeightSensor& operator=(const HeightSensor&) = delete;

    // Port 0 picks a free port. False when the port cannot be bound.
    bool start(quint16 port = 0, const QHostAddress& address = QHostAddress::LocalHost);
    // Closes the server and every connection.
    void stop();
    bool isListening() const;
    quint16 port() const;

    // Height under the head in mm; NaN when nothing is under it. Called on the
    // sensor's thread. Default: a flat surface at 0.
    void setSource(std::function<double()> mm);
    void setMode(Mode mode);
    Mode mode() const;

    int requestCount() const { return m_requests.load(); }
    int connectionCount() const { return m_connections.load(); }

    // The reply to one request: "%01$RMD", sign and 7 digits in 0.1 µm, "**\r".
    // Nothing under the head reads as the top of the range.
    static QByteArray reply(double mm);

private:
    friend class HeightSensorServer;
    double height();

    mutable std::mutex m_mutex;
    std::function<double()> m_source;
    Mode m_mode = Mode::Normal;
    std::atomic<int> m_requests{0};
    std::atomic<int> m_connections{0};
    ServerThread<HeightSensorServer> m_serverThread;
};

} // namespace sim
