#include "MachineStateStore.h"

#include "platform/KZLOG.h"
#include "platform/Paths.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
const char* const kWriterConnection = "MachineStateWriter";
// A lock held by another process answers within this time instead of SQLite's 5 s.
const char* const kShortBusy = "QSQLITE_BUSY_TIMEOUT=100";

bool ensureTable(QSqlDatabase& db, QString* error) {
    QSqlQuery query(db);
    if (!query.exec("SELECT count(*) FROM sqlite_master WHERE type='table' AND name='Table_S1'") ||
        !query.next()) {
        *error = query.lastError().text();
        return false;
    }
    if (query.value(0).toInt() == 0 &&
        !query.exec("create table Table_S1 (id INTEGER PRIMARY KEY AUTOINCREMENT, utype varchar(30), pn "
                    "int,acttime BIGINT,starttime BIGINT,stoptime BIGINT,duration BIGINT)")) {
        *error = query.lastError().text();
        return false;
    }
    return true;
}
} // namespace

MachineStateStore& MachineStateStore::instance() {
    static MachineStateStore store;
    return store;
}

QString MachineStateStore::filePath() {
    return Paths::programDir() + QString("/%1.db").arg("MachineStatus1");
}

MachineStateStore::MachineStateStore() {
    m_open = openReaders();
    startWriter();
}

MachineStateStore::~MachineStateStore() {
    // At the end of the process: no log, no waiting for a locked database.
    if (!m_writer.joinable()) return;
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = true;
        m_wake.wakeAll();
    }
    m_writer.join();
}

void MachineStateStore::reopen() {
    stop(2000);
    {
        QSqlDatabase db = QSqlDatabase::database(QSqlDatabase::defaultConnection, false);
        if (db.isValid()) db.close();
    }
    {
        QMutexLocker lock(&m_mutex);
        m_reported = false;
    }
    m_open = openReaders();
    startWriter();
}

bool MachineStateStore::openReaders() {
    m_path = filePath();
    QSqlDatabase db = QSqlDatabase::contains(QSqlDatabase::defaultConnection)
                          ? QSqlDatabase::database(QSqlDatabase::defaultConnection, false)
                          : QSqlDatabase::addDatabase("QSQLITE");
    db.setDatabaseName(m_path);
    db.setUserName("user");
    db.setPassword("kz123456");
    db.setConnectOptions(kShortBusy);
    if (!db.open()) {
        reportOnce("open " + m_path, db.lastError().text());
        return false;
    }
    return true;
}

void MachineStateStore::addPeriod(const QString& kind, int64_t startMs, int64_t endMs) {
    Job job;
    job.kind = kind;
    job.startMs = startMs;
    job.endMs = endMs;
    enqueue(job);
}

void MachineStateStore::purge(int64_t beforeMs) {
    Job job;
    job.purge = true;
    job.startMs = beforeMs;
    enqueue(job);
}

void MachineStateStore::enqueue(const Job& job) {
    {
        QMutexLocker lock(&m_mutex);
        if (m_queue.size() >= kMaxQueued) {
            m_queue.pop_front();
            KZLOG::CLog::Error("machine-state database: too many periods waiting; the oldest is lost");
        }
        m_queue.push_back(job);
        m_wake.wakeAll();
    }
    if (!m_writer.joinable()) startWriter();
}

int MachineStateStore::pending() const {
    QMutexLocker lock(&m_mutex);
    return int(m_queue.size());
}

bool MachineStateStore::waitWritten(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    QMutexLocker lock(&m_mutex);
    while (!m_queue.empty() || m_busy) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0) return false;
        m_written.wait(&m_mutex, unsigned(left));
    }
    return true;
}

void MachineStateStore::startWriter() {
    if (m_writer.joinable()) return;
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = false;
    }
    m_writer = std::thread([this] { writerLoop(); });
}

void MachineStateStore::stop(int timeoutMs) {
    if (!m_writer.joinable()) return;
    if (timeoutMs > 0) waitWritten(timeoutMs);
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = true;
        m_wake.wakeAll();
    }
    m_writer.join();
    const int left = pending();
    if (left > 0)
        KZLOG::CLog::Error(
            QString("machine-state database: %1 periods could not be written before the end").arg(left));
}

void MachineStateStore::writerLoop() {
    QString path;
    {
        QMutexLocker lock(&m_mutex);
        path = m_path;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", kWriterConnection);
        db.setDatabaseName(path);
        db.setConnectOptions(kShortBusy);
        bool tableReady = false;
        bool failed = false; // the last attempt failed: wait before the next one
        for (;;) {
            Job job;
            {
                QMutexLocker lock(&m_mutex);
                m_busy = false;
                m_written.wakeAll();
                if (failed && !m_stopping) m_wake.wait(&m_mutex, kRetryMs);
                while (m_queue.empty() && !m_stopping) m_wake.wait(&m_mutex);
                if (m_stopping) break;
                job = m_queue.front();
                m_busy = true;
            }
            QString error;
            bool ok = db.isOpen() || db.open();
            if (!ok) error = db.lastError().text();
            if (ok && !tableReady) ok = tableReady = ensureTable(db, &error);
            if (ok) {
                QSqlQuery query(db);
                if (job.purge) {
                    query.prepare("delete from Table_S1 where acttime<?");
                    query.addBindValue(qint64(job.startMs));
                } else {
                    query.prepare("insert into Table_S1(utype,pn,acttime,starttime,stoptime,duration) "
                                  "values(?,?,?,?,?,?)");
                    query.addBindValue(job.kind);
                    query.addBindValue(1);
                    query.addBindValue(qint64(job.endMs));
                    query.addBindValue(qint64(job.startMs));
                    query.addBindValue(qint64(job.endMs));
                    query.addBindValue(qint64(job.endMs - job.startMs));
                }
                ok = query.exec();
                if (!ok) error = query.lastError().text();
            }
            failed = !ok;
            if (!ok) {
                reportOnce(job.purge ? "purge" : "insert", error + "; kept and tried again");
                continue;
            }
            bool wasReported = false;
            {
                QMutexLocker lock(&m_mutex);
                m_queue.pop_front();
                wasReported = m_reported;
                m_reported = false;
            }
            if (wasReported) KZLOG::CLog::Info("machine-state database: writing again");
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(kWriterConnection);
    QMutexLocker lock(&m_mutex);
    m_busy = false;
    m_written.wakeAll();
}

void MachineStateStore::reportOnce(const QString& what, const QString& error) {
    {
        QMutexLocker lock(&m_mutex);
        if (m_reported) return;
        m_reported = true;
    }
    KZLOG::CLog::Error(QString("machine-state database: %1 failed: %2").arg(what, error));
}
