#pragma once
// How the machine spent a period: the recorded state intervals of Table_S1
// summed per state kind, and the shares the status page's two pies show.
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <cstdint>

namespace StateStatistics {

constexpr int kKinds = 5;
// Slice order of both pies: "standby", "run", "stop", "home", "error".
const char* utype(int kind);
QString legend(int kind);
QString colour(int kind);

struct Sums {
    std::array<double, kKinds> count{};
    std::array<double, kKinds> duration{};
    bool ok = false; // every query ran
};

// Intervals that ended in [fromMs, toMs) (by their end time), per kind.
Sums query(const QSqlDatabase& db, int64_t fromMs, int64_t toMs);

// Shares in percent; a period without any interval keeps every share at 0.
std::array<double, kKinds> shares(const std::array<double, kKinds>& values);
// "运行:100%": the legend, the share with 0 decimals and "%".
QString sliceLabel(int kind, double share);

// Quick buttons: 0 "今天", 1 "近3天", 2 "近7天", 3 "近30天"; the start of the
// period in ms since the epoch, counted back whole days from today's local midnight.
int64_t quickStart(int button, const QDateTime& now);

// Creates Table_S1 when the database lacks it.
bool ensureTable(QSqlDatabase& db);

} // namespace StateStatistics
