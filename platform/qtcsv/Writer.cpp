#include "Writer.h"

#include "AtomicFile.h"

#include <QFile>

namespace QtCSV {

namespace {
QString quoted(const QString& value, const QString& separator, const QString& delimiter) {
    if (delimiter.isEmpty()) return value;
    const bool needs = (!separator.isEmpty() && value.contains(separator)) || value.contains(delimiter) ||
                       value.contains('\n') || value.contains('\r');
    if (!needs) return value;
    QString inner = value;
    inner.replace(delimiter, delimiter + delimiter);
    return delimiter + inner + delimiter;
}
} // namespace

QString Writer::formatRow(const QStringList& values, const QString& separator, const QString& textDelimiter) {
    // A single empty value is written as "" so that it differs from an empty row.
    if (values.size() == 1 && values.first().isEmpty()) return textDelimiter + textDelimiter;
    QStringList out;
    out.reserve(values.size());
    for (const QString& v : values) out << quoted(v, separator, textDelimiter);
    return out.join(separator);
}

bool Writer::write(const QString& filePath, const AbstractData& data, const QString& separator,
                   const QString& textDelimiter, WriteMode mode, const QStringList& header,
                   const QStringList& footer, QTextCodec* codec) {
    if (filePath.isEmpty()) return false;
    if (!codec) codec = QTextCodec::codecForName("UTF-8");

    QByteArray existing;
    if (mode == Append) {
        QFile old(filePath);
        if (old.exists()) {
            if (!old.open(QIODevice::ReadOnly)) return false;
            existing = old.readAll();
            if (!existing.isEmpty() && !existing.endsWith('\n')) existing += '\n';
        }
    }

    QString text;
    if (!header.isEmpty() && existing.isEmpty()) text += formatRow(header, separator, textDelimiter) + "\n";
    for (int i = 0; i < data.rowCount(); ++i)
        text += formatRow(data.rowValues(i), separator, textDelimiter) + "\n";
    if (!footer.isEmpty()) text += formatRow(footer, separator, textDelimiter) + "\n";

    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader); // no byte order mark
    return AtomicFile::write(filePath, existing + codec->fromUnicode(text.constData(), text.size(), &state));
}

} // namespace QtCSV
