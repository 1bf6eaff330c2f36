#pragma once
// CSV library: a table of rows handed to the writer or filled by the reader.
#include <QStringList>

namespace QtCSV {

class AbstractData {
public:
    virtual ~AbstractData() = default;
    virtual void addEmptyRow() = 0;
    virtual void addRow(const QStringList& values) = 0;
    virtual void clear() = 0;
    virtual bool isEmpty() const = 0;
    virtual int rowCount() const = 0;
    // The values of row (0-based); empty for a row outside the table.
    virtual QStringList rowValues(int row) const = 0;
};

} // namespace QtCSV
