#pragma once
// A QTimer-like timer that runs on the program clock, so that virtual time in the
// tests moves it like every other wait. timeout() is emitted in the timer's own
// thread: directly when the clock's callback already runs there (the lockstep
// harness), else queued to it.
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

class ClockTimer : public QObject {
    Q_OBJECT
public:
    explicit ClockTimer(QObject* parent = nullptr);
    ~ClockTimer() override;

    void setInterval(int ms) { m_intervalMs = ms; }
    int interval() const { return m_intervalMs; }
    void setSingleShot(bool singleShot) { m_singleShot = singleShot; }
    bool isSingleShot() const { return m_singleShot; }
    bool isActive() const { return m_active; }

    // Runs fn once after ms in context's thread, unless context is gone by then.
    static void singleShot(int ms, QObject* context, std::function<void()> fn);

public slots:
    // (Re)starts with the given interval; a running timer starts over.
    void start(int ms);
    void start();
    void stop();

signals:
    void timeout();

private:
    struct Link;
    void arm();
    void fire(uint64_t generation);

    std::shared_ptr<Link> m_link;
    int m_intervalMs = 0;
    bool m_singleShot = false;
    bool m_active = false;
    uint64_t m_generation = 0;
};
