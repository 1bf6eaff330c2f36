#pragma once
// The run data saved while the machine produces, so that a crash or a power cut loses
// at most the product in progress. The run data also counts the rows each production
// record file held when it was saved; after a crash the files are brought back to
// those counts, so counters and rows agree, and the loss is logged.
#include <QByteArray>
#include <QString>
#include <QVector>

namespace RunDataKeeper {

// Start-up, after the run data was loaded (inifiletovar).
void recover();
// GUI thread: writes the queued record rows, then the run data. Skipped (false) while
// the cycle is inside a pass, so the save never holds it up; the next tick saves.
bool save();
// Every 100 ms: save() when the run data changed since the last save; a change of the
// yield counters alone is saved with the next save, or after 5 s.
void tick();
// Cycle thread, before the nozzle lets a label go onto cell: true once a save of the
// run data names that cell as labelled, so that a stop right after the release never
// makes the cell again (true at once when no keeper runs).
bool labelMarkSaved(int cell);
// Closing: the last rows, and the run data marked as closed; the caller then saves it.
void closing();

// Offsets just past each record line of a CSV text (a line break inside a quoted
// value does not end a record).
QVector<int> recordEnds(const QByteArray& text);

} // namespace RunDataKeeper
