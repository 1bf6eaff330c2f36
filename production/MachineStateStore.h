#pragma once
// Database of machine-state periods (standby, run, stop, home, error) that the
// statistics page charts. SQLite on Qt's default connection; every failure is
// logged once and otherwise ignored so that the machine goes on.
#include <QString>
#include <cstdint>

class MachineStateStore {
public:
    static constexpr int64_t kKeepMs = 8640000000LL; // 100 days

    // Opens (and creates when missing) the database file below the data root.
    static MachineStateStore& instance();
    static QString filePath();

    bool isOpen() const { return m_open; }
    // One closed period; times in milliseconds since the epoch.
    void addPeriod(const QString& kind, int64_t startMs, int64_t endMs);
    // Deletes rows written before beforeMs.
    void purge(int64_t beforeMs);
    // Reopens the database (tests switch the data root between cases).
    void reopen();

private:
    MachineStateStore();
    bool open();
    void reportOnce(const QString& what, const QString& error);

    bool m_open = false;
    bool m_reported = false;
};
