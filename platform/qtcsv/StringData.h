#pragma once
// CSV library: rows of text values kept in memory.
#include "AbstractData.h"

#include <QList>

namespace QtCSV {

class StringData : public AbstractData {
public:
    void addEmptyRow() override;
    void addRow(const QStringList& values) override;
    void addRow(const QString& value);
    void clear() override;
    bool isEmpty() const override;
    int rowCount() const override;
    QStringList rowValues(int row) const override;

    void insertRow(int row, const QStringList& values);
    void removeRow(int row);
    void replaceRow(int row, const QStringList& values);

    StringData& operator<<(const QStringList& values);
    StringData& operator<<(const QString& value);
    bool operator==(const StringData& other) const;
    bool operator!=(const StringData& other) const { return !(*this == other); }

private:
    QList<QStringList> m_rows;
};

} // namespace QtCSV
