#pragma once
// What the alarm table showed at its last run, kept apart from the views: the
// active rows in the order they came on, and the rows that came on or went off
// since the log last asked. Rows go in through note() as the table hands them on.
#include <QList>
#include <QString>
#include <cstdint>

struct AlarmRow {
    int code = 0;
    int level = 0; // 2 alarm, 3 status line
    QString text;
    uint64_t order = 0; // larger came on later
};

struct AlarmChange {
    AlarmRow row;
    bool raised = false;
};

namespace AlarmBoard {

// Code of the row that names a missing motion card; below every other code, so that
// the current view lists it first.
constexpr int kCardCode = -1;

void note(int code, int level, bool active, const QString& text);
// Active alarm rows (level 2), the newest first.
QList<AlarmRow> activeAlarms();
// Rows that came on or went off since the last call, in that order.
QList<AlarmChange> takeChanges();
// Forgets everything (start-up, tests).
void reset();
// Grows with every reset.
quint64 resets();

} // namespace AlarmBoard
