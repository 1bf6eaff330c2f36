#pragma once
// CSV library: reads a file written with standard CSV quoting (values enclosed
// in text delimiters may hold separators, doubled delimiters and line breaks).
// Lines may end with "\n" or "\r\n"; a byte order mark is skipped.
#include "AbstractData.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCodec>

namespace QtCSV {

class Reader {
public:
    // The rows of the file; an empty line gives an empty row. An unreadable file
    // gives an empty list and *ok false.
    static QList<QStringList> readToList(const QString& filePath, const QString& separator = QString(","),
                                         const QString& textDelimiter = QString("\""),
                                         QTextCodec* codec = QTextCodec::codecForName("UTF-8"),
                                         bool* ok = nullptr);
    // Appends the rows to data; false when the file cannot be read.
    static bool readToData(const QString& filePath, AbstractData& data,
                           const QString& separator = QString(","),
                           const QString& textDelimiter = QString("\""),
                           QTextCodec* codec = QTextCodec::codecForName("UTF-8"));
    // The same rules over text already in memory.
    static QList<QStringList> parse(const QString& text, const QString& separator = QString(","),
                                    const QString& textDelimiter = QString("\""));
};

} // namespace QtCSV
