// The CSV reader of the production records.
#include "FuzzSupport.h"
#include "platform/qtcsv/Reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    // One reading per input, the separator and delimiter chosen by the length, so
    // that a run costs one parse and every setting still meets every text.
    QList<QStringList> rows;
    switch (size % 3) {
    case 0:
        rows = QtCSV::Reader::parse(text);
        break;
    case 1:
        rows = QtCSV::Reader::parse(text, ";", "'");
        break;
    default:
        rows = QtCSV::Reader::parse(text, "ab", "");
        break;
    }
    int chars = 0;
    for (const QStringList& row : rows)
        for (const QString& v : row) chars += v.size();
    fuzz::require(chars <= text.size(), "values hold no more than the text");
    return 0;
}
