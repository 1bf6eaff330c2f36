#include "Reader.h"

#include <QFile>

namespace QtCSV {

QList<QStringList> Reader::parse(const QString& text, const QString& separator,
                                 const QString& textDelimiter) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool inQuotes = false;
    bool quoted = false; // the current field began with a delimiter
    const int n = text.size();
    const int sepLen = separator.size(), delLen = textDelimiter.size();
    auto at = [&](int i, const QString& token) {
        return !token.isEmpty() && text.midRef(i, token.size()) == token;
    };
    auto endField = [&] {
        row << field;
        field.clear();
        quoted = false;
    };
    auto endRow = [&] {
        // A line without any character is an empty row, not a row with one empty value.
        if (row.isEmpty() && field.isEmpty() && !quoted)
            rows << QStringList();
        else {
            endField();
            rows << row;
        }
        row.clear();
        field.clear();
        quoted = false;
    };
    int i = 0;
    if (n > 0 && text.at(0) == QChar(0xFEFF)) i = 1;
    while (i < n) {
        if (inQuotes) {
            if (at(i, textDelimiter)) {
                if (at(i + delLen, textDelimiter)) {
                    field += textDelimiter;
                    i += 2 * delLen;
                } else {
                    inQuotes = false;
                    i += delLen;
                }
            } else {
                field += text.at(i++);
            }
            continue;
        }
        if (field.isEmpty() && !quoted && at(i, textDelimiter)) {
            inQuotes = quoted = true;
            i += delLen;
        } else if (at(i, separator)) {
            endField();
            i += sepLen;
        } else if (text.at(i) == '\r' || text.at(i) == '\n') {
            if (text.at(i) == '\r' && i + 1 < n && text.at(i + 1) == '\n') ++i;
            ++i;
            endRow();
        } else {
            field += text.at(i++);
        }
    }
    if (!row.isEmpty() || !field.isEmpty() || quoted) {
        endField();
        rows << row;
    }
    return rows;
}

QList<QStringList> Reader::readToList(const QString& filePath, const QString& separator,
                                      const QString& textDelimiter, QTextCodec* codec, bool* ok) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (ok) *ok = false;
        return {};
    }
    if (!codec) codec = QTextCodec::codecForName("UTF-8");
    if (ok) *ok = true;
    return parse(codec->toUnicode(file.readAll()), separator, textDelimiter);
}

bool Reader::readToData(const QString& filePath, AbstractData& data, const QString& separator,
                        const QString& textDelimiter, QTextCodec* codec) {
    bool ok = false;
    const QList<QStringList> rows = readToList(filePath, separator, textDelimiter, codec, &ok);
    for (const QStringList& r : rows) data.addRow(r);
    return ok;
}

} // namespace QtCSV
