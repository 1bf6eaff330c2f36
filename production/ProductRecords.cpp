#include "ProductRecords.h"

#include "app/AssemblyCurve.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/qtcsv/Reader.h"
#include "platform/qtcsv/Writer.h"
#include "production/MesMessages.h"
#include "sequences/CycleData.h"
#include "vision/VisionRequests.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <unistd.h>

namespace ProductRecords {

namespace {

QMutex queueMutex;
QList<ProductRecord> queue;

const QString kSeparator = ",";
const QString kDelimiter = "\"";
// A header and one row are far below this; a larger file holds more rows and is only appended to.
constexpr qint64 kSmallFile = 4 * 1024;

QString number(double v) {
    return QString::number(v, 'f', 3);
}

QByteArray line(const QStringList& values) {
    return (QtCSV::Writer::formatRow(values, kSeparator, kDelimiter) + "\n").toUtf8();
}

// Rows already in the file, read only while it is small.
int smallFileRows(const QString& path, bool* ok) {
    *ok = true;
    if (QFileInfo(path).size() > kSmallFile) return 2;
    const QList<QStringList> rows =
        QtCSV::Reader::readToList(path, kSeparator, kDelimiter, QTextCodec::codecForName("UTF-8"), ok);
    return rows.size();
}

bool endsWithNewline(QFile& file) {
    if (file.size() == 0) return true;
    if (!file.seek(file.size() - 1)) return true;
    char last = 0;
    return file.getChar(&last) && last == '\n';
}

bool append(const QString& path, const QByteArray& row) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) return false;
    QByteArray data = row;
    // A row cut short by a crash must not swallow the next one.
    if (!endsWithNewline(file)) data.prepend('\n');
    if (!file.seek(file.size())) return false;
    // On the disk before the run data that counts it is saved: a power cut must not
    // leave a counted row behind.
    const bool written = file.write(data) == data.size() && file.flush() &&
                         (!AtomicFile::syncToDisk() || ::fsync(file.handle()) == 0);
    file.close();
    return written;
}

} // namespace

ProductRecord fromCycle() {
    ProductRecord r;
    r.code = productCode;
    r.offsetX = VisionResult[4][2];
    r.offsetY = VisionResult[4][3];
    r.angle = VisionResult[4][4];
    r.height = heightResult;
    r.ok = VisionResult[4][1] == 1.0;
    return r;
}

void push(const ProductRecord& record) {
    QMutexLocker lock(&queueMutex);
    queue.append(record);
}

QList<ProductRecord> takeAll() {
    QMutexLocker lock(&queueMutex);
    QList<ProductRecord> taken;
    taken.swap(queue);
    return taken;
}

QStringList header() {
    return {"Date                  ",
            "QRCode                 ",
            "OffSetX  ",
            "OffSetY  ",
            "Angle  ",
            "Height  ",
            "Result  "};
}

QStringList rowTexts(const ProductRecord& r, const QDateTime& at) {
    return {at.toString("yyyy.MM.dd hh:mm:ss.zzz"),
            r.code,
            number(r.offsetX),
            number(r.offsetY),
            number(r.angle),
            number(r.height),
            r.ok ? "OK" : "NG"};
}

QString tablePath(const QDateTime& at) {
    return Paths::tableDir() + "/Table" + at.toString("yyyyMMdd") + ".csv";
}

bool writeRow(const ProductRecord& record, const QDateTime& at) {
    if (!QDir(Paths::dataDrive()).exists()) return false;
    const QString folder = Paths::tableDir();
    if (!QDir().mkpath(folder) || !QDir(folder).exists()) return false;
    const QString path = tablePath(at);
    const QByteArray row = line(rowTexts(record, at));
    bool ok = true;
    const int rows = QFileInfo::exists(path) ? smallFileRows(path, &ok) : 0;
    if (!ok) return false;
    if (rows <= 1) return AtomicFile::write(path, line(header()) + row);
    return append(path, row);
}

QString store(const ProductRecord& r) {
    plotPush(r.offsetX, r.offsetY, r.angle);
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(clk::wallMs());
    writeRow(r, at);
    return tablePath(at);
}

void saveQueued() {
    for (const ProductRecord& r : takeAll()) store(r);
}

} // namespace ProductRecords
