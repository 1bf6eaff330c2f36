// Alarm list: the current messages, their history view and the history file.
#include "kzct.h"

#include "Clock.h"
#include "Paths.h"
#include "kzct_internal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QPointer>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>

#include <map>

namespace {

constexpr int kHistoryViewLines = 1000;
constexpr int kHistoryLoadLines = 500;
constexpr qint64 kHistoryFileMaxBytes = 2 * 1024 * 1024;

struct Entry {
    QString text;
    int level;
};

struct AlarmList {
    QMutex mutex;
    std::map<int, Entry> active; // by code: the view lists them in code order
    quint64 version = 0;
    quint64 renderedVersion = ~quint64(0);
    QPointer<QTextBrowser> renderedView;
};

AlarmList& list() {
    static AlarmList l;
    return l;
}

QColor levelColor(int level) {
    if (level == 2) return QColor(200, 0, 0);
    if (level == 3) return QColor(0, 70, 200);
    return QColor(0, 0, 0);
}

// The history file keeps the texts as raised; the views show them in the operator's language.
QString shownText(int code, const QString& text) {
    return text.isEmpty() ? QString("报警代码 %1").arg(code) : text;
}

// Some texts end in a value (an error code, a file name): the part before it is translated.
QString displayedText(int code, const QString& text) {
    if (text.isEmpty()) return QCoreApplication::translate("AlarmTable", "报警代码 %1").arg(code);
    const QByteArray source = text.toUtf8();
    const QString whole = QCoreApplication::translate("AlarmTable", source.constData());
    if (whole != text) return whole;
    for (const QString& separator : {QStringLiteral("="), QStringLiteral("："), QStringLiteral(":")}) {
        const int at = text.indexOf(separator);
        if (at < 0) continue;
        const QString head = text.left(at + separator.size());
        const QString shown = QCoreApplication::translate("AlarmTable", head.toUtf8().constData());
        if (shown != head) return shown + text.mid(at + separator.size());
    }
    return text;
}

QString renderCurrent(const std::map<int, Entry>& active) {
    QString html = "<html><body>";
    for (const auto& item : active) {
        html += QString("<p style=\"margin:0px; color:%1;\">%2</p>")
                    .arg(levelColor(item.second.level).name(),
                         displayedText(item.first, item.second.text).toHtmlEscaped());
    }
    html += "</body></html>";
    return html;
}

// Runs fn on the view's thread: at once when that is this thread, else queued.
template <typename Fn> void onViewThread(QTextBrowser* view, Fn fn) {
    if (!view) return;
    if (QThread::currentThread() == view->thread()) {
        fn(view);
        return;
    }
    QPointer<QTextBrowser> guard(view);
    QMetaObject::invokeMethod(
        view,
        [guard, fn] {
            if (guard) fn(guard.data());
        },
        Qt::QueuedConnection);
}

// The view follows the newest line unless the operator has scrolled up to read.
void appendLine(QTextBrowser* view, const QString& line, const QColor& color) {
    QTextDocument* doc = view->document();
    doc->setMaximumBlockCount(kHistoryViewLines);
    QScrollBar* bar = view->verticalScrollBar();
    // A hidden view has not been scrolled by anyone.
    const bool atEnd = !bar || !view->isVisible() || bar->value() >= bar->maximum();
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    if (!doc->isEmpty()) cursor.insertBlock();
    QTextCharFormat fmt;
    fmt.setForeground(color);
    cursor.insertText(line, fmt);
    if (atEnd && bar) bar->setValue(bar->maximum());
}

QString oldHistoryFile() {
    return Paths::logDir() + "/AlarmHistory.1.txt";
}

void appendToHistoryFile(const QString& line) {
    const QString path = kzct::alarmHistoryFile();
    QDir().mkpath(Paths::logDir());
    QFile file(path);
    if (file.size() > kHistoryFileMaxBytes) {
        QFile::remove(oldHistoryFile());
        QFile::rename(path, oldHistoryFile());
    }
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    file.write(line.toUtf8());
    file.write("\n", 1);
}

QStringList lastLines(const QString& path, int count) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    for (QString& l : lines) {
        if (l.endsWith('\r')) l.chop(1);
    }
    if (lines.size() > count) lines = lines.mid(lines.size() - count);
    return lines;
}

QMutex fileMutex;

} // namespace

void adderrshow(QTextBrowser* history, QTextBrowser* current, const QString& text, bool active, int code,
                int level) {
    AlarmList& l = list();
    bool rise = false;
    QString html;
    bool render = false;
    {
        QMutexLocker lock(&l.mutex);
        auto it = l.active.find(code);
        if (active) {
            if (it == l.active.end()) {
                l.active.emplace(code, Entry{text, level});
                rise = true;
                ++l.version;
            } else if (it->second.text != text || it->second.level != level) {
                it->second = Entry{text, level};
                ++l.version;
            }
        } else if (it != l.active.end()) {
            l.active.erase(it);
            ++l.version;
        }
        if (current && (current != l.renderedView || l.version != l.renderedVersion)) {
            html = renderCurrent(l.active);
            l.renderedView = current;
            l.renderedVersion = l.version;
            render = true;
        }
    }
    if (render) onViewThread(current, [html](QTextBrowser* v) { v->setHtml(html); });
    if (!rise) return;
    const QString stamp = QDateTime::fromMSecsSinceEpoch(clk::wallMs()).toString("yyyy-MM-dd hh:mm:ss");
    const QString line = QString("%1  [%2] %3").arg(stamp).arg(code).arg(shownText(code, text));
    {
        QMutexLocker lock(&fileMutex);
        appendToHistoryFile(line);
    }
    const QColor color = levelColor(level);
    const QString shown = QString("%1  [%2] %3").arg(stamp).arg(code).arg(displayedText(code, text));
    onViewThread(history, [shown, color](QTextBrowser* v) { appendLine(v, shown, color); });
}

quint64 alarmListVersion() {
    AlarmList& l = list();
    QMutexLocker lock(&l.mutex);
    return l.version;
}

void clearerrshow(QTextBrowser* current) {
    AlarmList& l = list();
    {
        QMutexLocker lock(&l.mutex);
        l.active.clear();
        ++l.version;
        if (current) {
            l.renderedView = current;
            l.renderedVersion = l.version;
        }
    }
    onViewThread(current, [](QTextBrowser* v) { v->clear(); });
}

void readerrfile(QTextBrowser* history) {
    QStringList lines;
    {
        QMutexLocker lock(&fileMutex);
        lines = lastLines(kzct::alarmHistoryFile(), kHistoryLoadLines);
        if (lines.size() < kHistoryLoadLines)
            lines = lastLines(oldHistoryFile(), kHistoryLoadLines - lines.size()) + lines;
    }
    onViewThread(history, [lines](QTextBrowser* v) {
        v->clear();
        v->document()->setMaximumBlockCount(kHistoryViewLines);
        v->setPlainText(lines.join('\n'));
        v->moveCursor(QTextCursor::End);
    });
}

namespace kzct {

QString alarmHistoryFile() {
    return Paths::logDir() + "/AlarmHistory.txt";
}

void resetAlarmList() {
    AlarmList& l = list();
    QMutexLocker lock(&l.mutex);
    l.active.clear();
    ++l.version;
    l.renderedView = nullptr;
}

} // namespace kzct

QString kzct::alarmDisplayText(int code, const QString& text) {
    return displayedText(code, text);
}
