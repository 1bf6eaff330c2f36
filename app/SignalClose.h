#pragma once
// SIGTERM and SIGINT (a service manager, a system shutdown, Ctrl+C) end the program
// as a close does, on the GUI thread: the signal handler only writes a byte that the
// event loop picks up.
#include <QObject>
#include <functional>

class QSocketNotifier;

class SignalClose : public QObject {
    Q_OBJECT
public:
    // onSignal runs on the thread that built this object, once per signal received.
    explicit SignalClose(std::function<void()> onSignal, QObject* parent = nullptr);
    ~SignalClose() override;

private:
    void readSignal();

    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};
