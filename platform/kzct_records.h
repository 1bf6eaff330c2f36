#pragma once
// Part of the machine function library's run-data file: what the run data vouches for
// besides the arrays. Section [records] of RunData.ini, written once it was set: the
// rows each production record file held when the run data was saved, and whether the
// program was still producing then or had closed.
#include <QMap>
#include <QString>

#include <vector>

namespace kzct {
struct RunDataRecords {
    QMap<QString, int> rows; // file name -> rows below its header
    bool open = false;
    // The product tray cell whose label was placed while its product was not finished
    // yet (0: none): after a stop that cell must not get a second label.
    int assembledCell = 0;
    // The product tray at the assembly position was finished and not handed on yet.
    bool trayFinished = false;
    bool known = false; // the file had the section
};
void setRunDataRecords(const RunDataRecords& records);
// As the last load found them, or as last set.
RunDataRecords runDataRecords();
// The run data from the given values instead of the arrays (missing entries are 0).
bool saveRunDataValues(const QString& name, const std::vector<double>& values);
} // namespace kzct
