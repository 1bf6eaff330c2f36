// The CSV reader of the production records.
#include "FuzzSupport.h"
#include "platform/qtcsv/Reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    const QList<QStringList> rows = QtCSV::Reader::parse(text);
    (void)QtCSV::Reader::parse(text, ";", "'");
    (void)QtCSV::Reader::parse(text, "ab", "");
    int chars = 0;
    for (const QStringList& row : rows)
        for (const QString& v : row) chars += v.size();
    fuzz::require(chars <= text.size(), "values hold no more than the text");
    return 0;
}
