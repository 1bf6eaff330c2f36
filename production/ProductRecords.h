#pragma once
// One record per finished product: filled by the cycle when it reports the product,
// stored by the main window as a row of the day's CSV file and a curve sample.
//
// The cycle queues a copy of the product's values, so the next product may overwrite
// productCode and the vision results before the queued slot has run.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

struct ProductRecord {
    QString code;
    double offsetX = 0.0; // assembly check, mm
    double offsetY = 0.0;
    double angle = 0.0; // degrees
    double height = 0.0;
    bool ok = false; // check photo verdict 1
};

namespace ProductRecords {

// The product's values now: productCode, VisionResult[4], heightResult.
ProductRecord fromCycle();
// Cycle thread: queue a record; GUI thread: take every queued record, oldest first.
void push(const ProductRecord& record);
QList<ProductRecord> takeAll();

QStringList header();
QStringList rowTexts(const ProductRecord& record, const QDateTime& at);
// "<data drive>/data/TableData/Table<yyyyMMdd>.csv" of that moment.
QString tablePath(const QDateTime& at);
// Adds the row to the day's file: a new file, or one holding at most one row, is
// written as header and row; otherwise the row is appended. Silent on failure (false).
bool writeRow(const ProductRecord& record, const QDateTime& at);
// One record's curve sample and CSV row, now; returns the file it went to.
QString store(const ProductRecord& record);
// The record slot's work: store() for every queued record.
void saveQueued();

} // namespace ProductRecords
