#pragma once
// Database of machine-state periods (standby, run, stop, home, error) that the
// statistics page charts. SQLite; readers use Qt's default connection.
//
// Recording never waits for the database: periods and purges go to a queue that a
// writer thread of its own works through. A database locked by another process
// keeps them queued; they are written, in order, once it is free again.
#include <QString>

#include <QMutex>
#include <QWaitCondition>
#include <cstdint>
#include <deque>
#include <thread>

class MachineStateStore {
public:
    static constexpr int64_t kKeepMs = 8640000000LL; // 100 days
    // A locked database is tried again after this long.
    static constexpr int kRetryMs = 250;
    // Beyond this many waiting periods the oldest are given up (and logged).
    static constexpr size_t kMaxQueued = 100000;

    // Opens (and creates when missing) the database file below the data root.
    static MachineStateStore& instance();
    static QString filePath();

    // The readers' connection is open.
    bool isOpen() const { return m_open; }
    // One closed period; times in milliseconds since the epoch. Never blocks.
    void addPeriod(const QString& kind, int64_t startMs, int64_t endMs);
    // Deletes rows written before beforeMs. Never blocks.
    void purge(int64_t beforeMs);
    // Periods and purges not written yet.
    int pending() const;
    // Waits up to timeoutMs (real time) until everything queued is written.
    bool waitWritten(int timeoutMs);
    // Stops the writer thread after it had up to timeoutMs to write what is queued;
    // what is left is logged. Recording starts it again.
    void stop(int timeoutMs);
    // Reopens the database (tests switch the data root between cases).
    void reopen();

    ~MachineStateStore();

private:
    struct Job {
        bool purge = false;
        QString kind;
        int64_t startMs = 0;
        int64_t endMs = 0;
    };

    MachineStateStore();
    bool openReaders();
    void enqueue(const Job& job);
    void startWriter();
    void writerLoop();
    void reportOnce(const QString& what, const QString& error);

    bool m_open = false;
    mutable QMutex m_mutex;
    QWaitCondition m_wake;
    QWaitCondition m_written;
    std::deque<Job> m_queue;
    bool m_busy = false; // the writer holds a job it took from the queue
    bool m_stopping = false;
    bool m_reported = false;
    QString m_path;
    std::thread m_writer;
};
