#include "AlarmBoard.h"

#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <atomic>
#include <map>

namespace {

struct Board {
    QMutex mutex;
    std::map<int, AlarmRow> active;
    QList<AlarmChange> changes;
    uint64_t next = 1;
};

Board& board() {
    static Board b;
    return b;
}

// A stalled reader must not make the list grow without end.
constexpr int kMaxChanges = 1000;

} // namespace

namespace AlarmBoard {

void note(int code, int level, bool active, const QString& text) {
    Board& b = board();
    QMutexLocker lock(&b.mutex);
    auto it = b.active.find(code);
    if (active && it == b.active.end()) {
        const AlarmRow row{code, level, text, b.next++};
        b.active.emplace(code, row);
        b.changes.append(AlarmChange{row, true});
    } else if (active) {
        // The MES rows carry the latest error code; the row stays the same alarm.
        it->second.text = text;
        it->second.level = level;
    } else if (it != b.active.end()) {
        b.changes.append(AlarmChange{it->second, false});
        b.active.erase(it);
    }
    while (b.changes.size() > kMaxChanges) b.changes.removeFirst();
}

QList<AlarmRow> activeAlarms() {
    Board& b = board();
    QMutexLocker lock(&b.mutex);
    QList<AlarmRow> rows;
    for (const auto& item : b.active)
        if (item.second.level == 2) rows.append(item.second);
    std::sort(rows.begin(), rows.end(),
              [](const AlarmRow& a, const AlarmRow& c) { return a.order > c.order; });
    return rows;
}

QList<AlarmChange> takeChanges() {
    Board& b = board();
    QMutexLocker lock(&b.mutex);
    QList<AlarmChange> out;
    out.swap(b.changes);
    return out;
}

std::atomic<quint64> resetCount{0};

void reset() {
    Board& b = board();
    QMutexLocker lock(&b.mutex);
    b.active.clear();
    b.changes.clear();
    ++resetCount;
}

quint64 resets() {
    return resetCount.load();
}

} // namespace AlarmBoard
