#include "RunDataKeeper.h"

#include "app/MachineData.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "platform/kzct_records.h"
#include "production/ProductRecords.h"
#include "sequences/CycleData.h"
#include "sequences/Taska.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QVector>

#include <atomic>
#include <vector>

namespace RunDataKeeper {

namespace {

QMap<QString, int> rows; // record file name -> rows the run data counts
std::vector<double> lastSaved;
int lastAssembled = 0;
bool lastFinished = false;
// For the cycle thread: the placed-label cell the last save attempt wrote (or failed
// to write), and when the keeper last ticked.
std::atomic<int> settledAssembled{0};
std::atomic<int64_t> lastTickUs{-1};
constexpr int64_t kYieldWaitUs = 5000000;
int64_t yieldsWaitingSinceUs = -1;
constexpr int kFilesKept = 8;

std::vector<double> runData() {
    std::vector<double> v(static_cast<size_t>(kGrSize));
    for (int i = 0; i < kGrSize; ++i) v[size_t(i)] = gr[i];
    return v;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What was counted of a record file: rows below the header up to the end of its last
// whole record, and the bytes just before that end to know the file again. A day's
// file grows by a row per product; only the new part is read.
struct Counted {
    qint64 end = -1;
    int rows = 0;
    QByteArray mark;
};
QHash<QString, Counted> counted;
constexpr int kMarkBytes = 64;

int rowsIn(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    Counted& c = counted[path];
    const qint64 markAt = qMax<qint64>(0, c.end - kMarkBytes);
    // A file that shrank or was replaced is counted again from its start.
    if (c.end < 0 || f.size() < c.end || !f.seek(markAt) || f.read(c.end - markAt) != c.mark) {
        c = Counted();
        f.seek(0);
    }
    const qint64 from = qMax<qint64>(0, c.end);
    const QVector<int> ends = recordEnds(f.readAll());
    if (ends.isEmpty()) return c.rows;
    c.rows += qMax(0, ends.size() - (from == 0 ? 1 : 0)); // below the header
    c.end = from + ends.last();
    f.seek(qMax<qint64>(0, c.end - kMarkBytes));
    c.mark = f.read(c.end - qMax<qint64>(0, c.end - kMarkBytes));
    return c.rows;
}

// Rows written after the last save of the run data, and a line cut short, are
// taken out again: the run data never counted them.
void trimToSaved(const QString& path, int saved) {
    const QByteArray text = readAll(path);
    const QVector<int> ends = recordEnds(text);
    const int have = qMax(0, ends.size() - 1);
    const bool cut = (ends.isEmpty() ? 0 : ends.last()) < text.size();
    const QString name = QFileInfo(path).fileName();
    if (have < saved) {
        KZLOG::CLog::Error(
            QString("run data: %1 holds %2 record rows, the run data counted %3; rows are missing")
                .arg(name)
                .arg(have)
                .arg(saved));
        rows[name] = have;
    }
    if (have <= saved && !cut) return;
    const int keep = qMin(have, saved);
    const QByteArray kept = ends.isEmpty() ? QByteArray() : text.left(ends[keep]);
    QString error;
    if (!AtomicFile::write(path, kept, &error)) {
        KZLOG::CLog::Error(QString("run data: cannot put %1 back to its saved rows: %2").arg(name, error));
        return;
    }
    if (have > saved)
        KZLOG::CLog::Warn(
            QString("run data: %1 record row(s) of %2 were written after the last saved run data; "
                    "removed, that product is lost")
                .arg(have - saved)
                .arg(name));
    if (cut)
        KZLOG::CLog::Warn(QString("run data: a record line of %1 cut short by the crash removed").arg(name));
}

void keepNewest() {
    while (rows.size() > kFilesKept) rows.erase(rows.begin()); // names sort by date
}

} // namespace

QVector<int> recordEnds(const QByteArray& text) {
    QVector<int> ends;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == '\n' && !quoted)
            ends.append(i + 1);
    }
    return ends;
}

void recover() {
    const kzct::RunDataRecords notes = kzct::runDataRecords();
    rows = notes.rows;
    lastSaved = runData();
    yieldsWaitingSinceUs = -1;
    lastAssembled = notes.assembledCell;
    const bool crashed = notes.known && notes.open;
    // Making that cell again would put a second label on it; its product cannot be
    // finished either (its QR code went with the program), so it is given up, and the
    // next save records the cell moved on.
    const bool labelPlaced = notes.assembledCell > 0 && notes.assembledCell == gr[1];
    if (labelPlaced) {
        counterInc(1);
        KZLOG::CLog::Warn(QString("run data: the label of cell %1 of the product tray was placed before "
                                  "the program stopped and its product is not counted (no record row, no "
                                  "MES out-station report): take it out by hand; cell %2 is made next")
                              .arg(notes.assembledCell)
                              .arg(gr[1]));
    }
    // A finished tray reset the cell counter for the next one while it still stood
    // at the assembly position: it is handed on, not made again.
    lastFinished = notes.trayFinished;
    if (notes.trayFinished && gr[1] == 1.0) {
        gr[1] = gf[510] * gf[511] + 1.0;
        KZLOG::CLog::Warn("run data: the product tray was finished when the program stopped; it is "
                          "handed on, not made again");
    }
    if (!crashed) return;
    KZLOG::CLog::Warn(
        labelPlaced ? QString("run data: the program did not close last time (crash or power cut)")
                    : QString("run data: the program did not close last time (crash or power cut); the "
                              "product in progress then, if any, is lost and cell %1 of the product tray "
                              "is made again")
                          .arg(gr[1]));
    const QString newest = rows.isEmpty() ? QString() : rows.lastKey();
    const QDir dir(Paths::tableDir());
    for (const QString& name : dir.entryList({"Table*.csv"}, QDir::Files, QDir::Name)) {
        // A file the run data never counted is newer than its last save, or from before.
        const int saved = rows.contains(name) ? rows.value(name) : (name > newest ? 0 : -1);
        if (saved >= 0) trimToSaved(dir.filePath(name), saved);
    }
}

bool save() {
    Taska* cycle = Taska::current();
    if (cycle && !cycle->mutex.tryLock()) return false;
    // Between two passes the queued rows and the counters belong together.
    const QList<ProductRecord> records = ProductRecords::takeAll();
    const std::vector<double> values = runData();
    const int assembled = int(assembledCell);
    const bool finished = trayState == 2;
    if (cycle) cycle->mutex.unlock();
    for (const ProductRecord& r : records) {
        const QString path = ProductRecords::store(r);
        rows[QFileInfo(path).fileName()] = rowsIn(path);
    }
    keepNewest();
    const QString name = kzct::currentRecipeName();
    kzct::RunDataRecords notes;
    notes.rows = rows;
    notes.open = true;
    notes.assembledCell = assembled;
    notes.trayFinished = finished;
    kzct::setRunDataRecords(notes);
    const bool saved = !name.isEmpty() && kzct::saveRunDataValues(name, values);
    // A save that cannot be written must not hold the machine up: it goes on as it
    // would without the mark.
    settledAssembled = assembled;
    if (!saved) return false;
    lastSaved = values;
    lastAssembled = assembled;
    lastFinished = finished;
    return true;
}

// The yield counters change four or five times a product. Alone they may wait for the
// next save (a tray cell moves on, a label is placed, a product's row) or kYieldWaitUs:
// a crash then loses only increments of the product in progress, which is made again.
bool yieldCounter(int i) {
    return i >= 23 && i <= 33;
}

bool urgentChange(const std::vector<double>& now) {
    if (now.size() != lastSaved.size()) return true;
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i] != lastSaved[i] && !yieldCounter(int(i))) return true;
    return false;
}

void tick() {
    const int64_t now = clk::nowUs();
    lastTickUs = now;
    const std::vector<double> values = runData();
    // A placed label is saved at once, not only with the finished product.
    const bool urgent =
        int(assembledCell) != lastAssembled || (trayState == 2) != lastFinished || urgentChange(values);
    if (!urgent && values == lastSaved) {
        yieldsWaitingSinceUs = -1;
        return;
    }
    if (!urgent && yieldsWaitingSinceUs < 0) yieldsWaitingSinceUs = now;
    if (urgent || now - yieldsWaitingSinceUs >= kYieldWaitUs)
        if (save()) yieldsWaitingSinceUs = -1;
}

bool labelMarkSaved(int cell) {
    // Without a keeper ticking (tests of the cycle alone) nothing is saved: no wait.
    const int64_t since = clk::nowUs() - lastTickUs.load();
    if (lastTickUs.load() < 0 || since < 0 || since > 1000000) return true;
    return settledAssembled.load() == cell;
}

void closing() {
    for (const ProductRecord& r : ProductRecords::takeAll()) {
        const QString path = ProductRecords::store(r);
        rows[QFileInfo(path).fileName()] = rowsIn(path);
    }
    keepNewest();
    kzct::RunDataRecords notes;
    notes.rows = rows;
    notes.open = false;
    notes.assembledCell = int(assembledCell);
    notes.trayFinished = trayState == 2;
    kzct::setRunDataRecords(notes);
    lastSaved = runData();
    lastAssembled = notes.assembledCell;
    lastFinished = notes.trayFinished;
}

} // namespace RunDataKeeper
