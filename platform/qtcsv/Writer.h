#pragma once
// CSV library: writes a table to a file. A value that holds the separator, the
// text delimiter or a line break is enclosed in text delimiters, and a delimiter
// inside it is doubled. The file is replaced as a whole (also when appending),
// so a crash leaves the old or the new file.
#include "AbstractData.h"

#include <QString>
#include <QStringList>
#include <QTextCodec>

namespace QtCSV {

class Writer {
public:
    enum WriteMode { Rewrite = 0, Append = 1, REWRITE = Rewrite, APPEND = Append };

    // header is written before the rows (when appending, only into an empty or new
    // file), footer after them. Rows end with "\n". False when the file cannot be written.
    static bool write(const QString& filePath, const AbstractData& data,
                      const QString& separator = QString(","), const QString& textDelimiter = QString("\""),
                      WriteMode mode = Rewrite, const QStringList& header = QStringList(),
                      const QStringList& footer = QStringList(),
                      QTextCodec* codec = QTextCodec::codecForName("UTF-8"));

    // One row as it is written, without the line end.
    static QString formatRow(const QStringList& values, const QString& separator,
                             const QString& textDelimiter);
};

} // namespace QtCSV
