#include "MachineStateStore.h"

#include "platform/KZLOG.h"
#include "platform/Paths.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

MachineStateStore& MachineStateStore::instance() {
    static MachineStateStore store;
    return store;
}

QString MachineStateStore::filePath() {
    return Paths::programDir() + QString("/%1.db").arg("MachineStatus1");
}

MachineStateStore::MachineStateStore() {
    m_open = open();
}

void MachineStateStore::reopen() {
    {
        QSqlDatabase db = QSqlDatabase::database(QSqlDatabase::defaultConnection, false);
        if (db.isValid()) db.close();
    }
    m_reported = false;
    m_open = open();
}

bool MachineStateStore::open() {
    QSqlDatabase db = QSqlDatabase::contains(QSqlDatabase::defaultConnection)
                          ? QSqlDatabase::database(QSqlDatabase::defaultConnection, false)
                          : QSqlDatabase::addDatabase("QSQLITE");
    db.setDatabaseName(filePath());
    db.setUserName("user");
    db.setPassword("kz123456");
    if (!db.open()) {
        reportOnce("open " + filePath(), db.lastError().text());
        return false;
    }
    QSqlQuery query(db);
    if (!query.exec("SELECT count(*) FROM sqlite_master WHERE type='table' AND name='Table_S1'") ||
        !query.next()) {
        reportOnce("check table", query.lastError().text());
        return false;
    }
    if (query.value(0).toInt() == 0 &&
        !query.exec("create table Table_S1 (id INTEGER PRIMARY KEY AUTOINCREMENT, utype varchar(30), pn "
                    "int,acttime BIGINT,starttime BIGINT,stoptime BIGINT,duration BIGINT)")) {
        reportOnce("create table", query.lastError().text());
        return false;
    }
    return true;
}

void MachineStateStore::addPeriod(const QString& kind, int64_t startMs, int64_t endMs) {
    if (!m_open) return;
    QSqlQuery query(QSqlDatabase::database());
    query.prepare("insert into Table_S1(utype,pn,acttime,starttime,stoptime,duration) values(?,?,?,?,?,?)");
    query.addBindValue(kind);
    query.addBindValue(1);
    query.addBindValue(qint64(endMs));
    query.addBindValue(qint64(startMs));
    query.addBindValue(qint64(endMs));
    query.addBindValue(qint64(endMs - startMs));
    if (!query.exec()) reportOnce("insert", query.lastError().text());
}

void MachineStateStore::purge(int64_t beforeMs) {
    if (!m_open) return;
    QSqlQuery query(QSqlDatabase::database());
    query.prepare("delete from Table_S1 where acttime<?");
    query.addBindValue(qint64(beforeMs));
    if (!query.exec()) reportOnce("purge", query.lastError().text());
}

void MachineStateStore::reportOnce(const QString& what, const QString& error) {
    if (m_reported) return;
    m_reported = true;
    KZLOG::CLog::Error(QString("machine-state database: %1 failed: %2").arg(what, error));
}
