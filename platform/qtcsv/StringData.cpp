#include "StringData.h"

namespace QtCSV {

void StringData::addEmptyRow() {
    m_rows.append(QStringList());
}
void StringData::addRow(const QStringList& values) {
    m_rows.append(values);
}
void StringData::addRow(const QString& value) {
    m_rows.append(QStringList(value));
}
void StringData::clear() {
    m_rows.clear();
}
bool StringData::isEmpty() const {
    return m_rows.isEmpty();
}
int StringData::rowCount() const {
    return m_rows.size();
}

QStringList StringData::rowValues(int row) const {
    if (row < 0 || row >= m_rows.size()) return QStringList();
    return m_rows.at(row);
}

void StringData::insertRow(int row, const QStringList& values) {
    m_rows.insert(qBound(0, row, m_rows.size()), values);
}

void StringData::removeRow(int row) {
    if (row >= 0 && row < m_rows.size()) m_rows.removeAt(row);
}

void StringData::replaceRow(int row, const QStringList& values) {
    if (row >= 0 && row < m_rows.size()) m_rows[row] = values;
}

StringData& StringData::operator<<(const QStringList& values) {
    addRow(values);
    return *this;
}

StringData& StringData::operator<<(const QString& value) {
    addRow(value);
    return *this;
}

bool StringData::operator==(const StringData& other) const {
    return m_rows == other.m_rows;
}

} // namespace QtCSV
