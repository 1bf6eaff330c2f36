#include "StateStatistics.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QVariant>

namespace StateStatistics {

namespace {
struct Kind {
    const char* utype;
    const char* legend;
    const char* colour;
};
const Kind kKindTable[kKinds] = {
    {"standby", QT_TRANSLATE_NOOP("MachineStatus", "待料"), "#FFFACD"},
    {"run", QT_TRANSLATE_NOOP("MachineStatus", "运行"), "#7CFC00"},
    {"stop", QT_TRANSLATE_NOOP("MachineStatus", "停止"), "#DCDCDC"},
    {"home", QT_TRANSLATE_NOOP("MachineStatus", "复位"), "#ffd400"},
    {"error", QT_TRANSLATE_NOOP("MachineStatus", "异常"), "#ef4136"},
};

// A query without a row (or a NULL sum) counts as 0.
double sumOf(const QSqlDatabase& db, const QString& sql, bool* ok) {
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        *ok = false;
        return 0.0;
    }
    return q.next() ? q.value(0).toDouble() : 0.0;
}
} // namespace

const char* utype(int kind) {
    return kKindTable[kind].utype;
}

QString legend(int kind) {
    return QCoreApplication::translate("MachineStatus", kKindTable[kind].legend);
}

QString colour(int kind) {
    return QString::fromLatin1(kKindTable[kind].colour);
}

Sums query(const QSqlDatabase& db, int64_t fromMs, int64_t toMs) {
    Sums sums;
    sums.ok = db.isOpen();
    if (!sums.ok) return sums;
    for (int k = 0; k < kKinds; ++k) {
        const QString u = QString::fromLatin1(utype(k));
        const QString from = QString::number(qint64(fromMs));
        const QString to = QString::number(qint64(toMs));
        sums.count[k] =
            sumOf(db,
                  QString("select sum(pn) from Table_S1 where utype='%1' and acttime>=%2 and acttime<%3")
                      .arg(u, from, to),
                  &sums.ok);
        sums.duration[k] = sumOf(
            db,
            QString("select sum(duration) from Table_S1 where utype='%1' and acttime>=%2 and acttime<%3")
                .arg(u, from, to),
            &sums.ok);
    }
    return sums;
}

std::array<double, kKinds> shares(const std::array<double, kKinds>& values) {
    double total = 0.0;
    for (double v : values) total += v;
    std::array<double, kKinds> out{};
    if (total <= 0.0) return out;
    for (int k = 0; k < kKinds; ++k) out[k] = values[k] * 100.0 / total;
    return out;
}

QString sliceLabel(int kind, double share) {
    return legend(kind) + ":" + QString::number(share, 'f', 0) + "%";
}

int64_t quickStart(int button, const QDateTime& now) {
    static const int64_t kBackMs[4] = {0, 172800000LL, 518400000LL, 2505600000LL};
    if (button < 0 || button > 3) return 0;
    const QString midnight = now.date().toString("yyyy-MM-dd ") + "00:00:00.000";
    const QDateTime start = QDateTime::fromString(midnight, "yyyy-MM-dd hh:mm:ss.zzz");
    if (!start.isValid()) return 0;
    return start.toMSecsSinceEpoch() - kBackMs[button];
}

bool ensureTable(QSqlDatabase& db) {
    QSqlQuery q(db);
    if (!q.exec("SELECT count(*) FROM sqlite_master WHERE type='table' AND name='Table_S1'") || !q.next())
        return false;
    if (q.value(0).toInt() != 0) return true;
    return q.exec("create table Table_S1 (id INTEGER PRIMARY KEY AUTOINCREMENT, utype varchar(30), pn "
                  "int,acttime BIGINT,starttime BIGINT,stoptime BIGINT,duration BIGINT)");
}

} // namespace StateStatistics
