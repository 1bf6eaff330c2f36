#include "KZLOG.h"

#include "Clock.h"
#include "Paths.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>

namespace KZLOG {

namespace {

struct FileSink {
    QMutex mutex;
    QString folder; // empty: default folder
    QFile file;
    QString openDay;
};

FileSink& sink() {
    static FileSink s;
    return s;
}

QString folderLocked(const FileSink& s) {
    return s.folder.isEmpty() ? Paths::logDir() : s.folder;
}

QString dayOf(qint64 wallMs) {
    return QDateTime::fromMSecsSinceEpoch(wallMs).toString("yyyy-MM-dd");
}

const char* levelName(Level level) {
    switch (level) {
    case Level::Debug:
        return "DEBUG";
    case Level::Info:
        return "INFO";
    case Level::Warn:
        return "WARN";
    case Level::Error:
        return "ERROR";
    }
    return "INFO";
}

// The file of the day the line carries, so a line written at 23:59:59.999 goes to that day.
void appendToFile(qint64 wallMs, const QString& line) {
    FileSink& s = sink();
    QMutexLocker lock(&s.mutex);
    const QString day = dayOf(wallMs);
    if (!s.file.isOpen() || s.openDay != day) {
        s.file.close();
        const QString dir = folderLocked(s);
        QDir().mkpath(dir);
        s.file.setFileName(dir + "/" + day + ".log");
        if (!s.file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
        s.openDay = day;
    }
    s.file.write(line.toUtf8());
    s.file.write("\n", 1);
    s.file.flush();
}

QString format(qint64 wallMs, Level level, const QString& text) {
    return QString("%1 [%2] %3")
        .arg(QDateTime::fromMSecsSinceEpoch(wallMs).toString("yyyy-MM-dd hh:mm:ss.zzz"), levelName(level),
             text);
}

QMutex instanceMutex;
UILog* instancePtr = nullptr;

} // namespace

void CLog::Initialize(const QString& folder) {
    FileSink& s = sink();
    QMutexLocker lock(&s.mutex);
    s.file.close();
    s.openDay.clear();
    s.folder = folder;
    QDir().mkpath(folderLocked(s));
}

void CLog::Deinitializes() {
    FileSink& s = sink();
    QMutexLocker lock(&s.mutex);
    s.file.close();
    s.openDay.clear();
}

void CLog::Log(Level level, const QString& text) {
    const qint64 ms = clk::wallMs();
    const QString line = format(ms, level, text);
    appendToFile(ms, line);
    if (level >= Level::Info) UILog::broadcast(line, level);
}

QString CLog::folder() {
    FileSink& s = sink();
    QMutexLocker lock(&s.mutex);
    return folderLocked(s);
}

QString CLog::currentFile() {
    return folder() + "/" + dayOf(clk::wallMs()) + ".log";
}

QString CLog::formatLine(Level level, const QString& text) {
    return format(clk::wallMs(), level, text);
}

UILog::UILog(QObject* parent) : QObject(parent) {}

UILog::~UILog() = default;

UILog* UILog::GetInstance() {
    QMutexLocker lock(&instanceMutex);
    if (!instancePtr) {
        instancePtr = new UILog;
        if (QCoreApplication* app = QCoreApplication::instance()) {
            if (instancePtr->thread() != app->thread()) instancePtr->moveToThread(app->thread());
        }
    }
    return instancePtr;
}

void UILog::Destroy(UILog* log) {
    if (!log) return;
    {
        QMutexLocker lock(&instanceMutex);
        if (instancePtr == log) instancePtr = nullptr;
    }
    // Queued flushes of this object are dropped with it.
    if (QThread::currentThread() == log->thread())
        delete log;
    else
        log->deleteLater();
}

void UILog::InsertUi(const QString& name, const QString& reserved, QTextBrowser* view) {
    Q_UNUSED(reserved);
    QMutexLocker lock(&m_mutex);
    m_views.insert(name, QPointer<QTextBrowser>(view));
}

void UILog::RemoveUi(const QString& name) {
    QMutexLocker lock(&m_mutex);
    m_views.remove(name);
    m_pending.remove(name);
}

void UILog::AddLog(const QString& name, const QString& text, Level level) {
    const qint64 ms = clk::wallMs();
    const QString line = format(ms, level, text);
    appendToFile(ms, line);
    enqueue(name, line, level);
}

void UILog::setMaxLines(int lines) {
    QMutexLocker lock(&m_mutex);
    m_maxLines = qMax(1, lines);
}

int UILog::maxLines() const {
    QMutexLocker lock(&m_mutex);
    return m_maxLines;
}

void UILog::setMaxLines(const QString& name, int lines) {
    QMutexLocker lock(&m_mutex);
    m_viewMaxLines.insert(name, qMax(1, lines));
}

int UILog::maxLines(const QString& name) const {
    QMutexLocker lock(&m_mutex);
    return m_viewMaxLines.value(name, m_maxLines);
}

void UILog::broadcast(const QString& line, Level level) {
    QMutexLocker lock(&instanceMutex);
    if (!instancePtr) return;
    QStringList names;
    {
        QMutexLocker inner(&instancePtr->m_mutex);
        names = instancePtr->m_views.keys();
    }
    for (const QString& name : names) instancePtr->enqueue(name, line, level);
}

void UILog::enqueue(const QString& name, const QString& line, Level level) {
    bool schedule = false;
    {
        QMutexLocker lock(&m_mutex);
        if (!m_views.contains(name)) return;
        QList<Pending>& queue = m_pending[name];
        queue.append(Pending{line, level});
        // A stalled GUI thread must not make the queue grow without end.
        const int limit = m_viewMaxLines.value(name, m_maxLines);
        while (queue.size() > limit) queue.removeFirst();
        if (!m_flushQueued) {
            m_flushQueued = true;
            schedule = true;
        }
    }
    if (schedule)
        QMetaObject::invokeMethod(
            this, [this] { flush(); }, Qt::QueuedConnection);
}

void UILog::flush() {
    QHash<QString, QList<Pending>> pending;
    QHash<QString, QPointer<QTextBrowser>> views;
    int maxLines;
    QHash<QString, int> viewMaxLines;
    {
        QMutexLocker lock(&m_mutex);
        pending.swap(m_pending);
        views = m_views;
        maxLines = m_maxLines;
        viewMaxLines = m_viewMaxLines;
        m_flushQueued = false;
    }
    for (auto it = pending.constBegin(); it != pending.constEnd(); ++it) {
        QTextBrowser* view = views.value(it.key());
        if (!view) continue;
        QTextDocument* doc = view->document();
        doc->setMaximumBlockCount(viewMaxLines.value(it.key(), maxLines));
        QScrollBar* bar = view->verticalScrollBar();
        // A hidden view has not been scrolled by anyone.
        const bool atEnd = !bar || !view->isVisible() || bar->value() >= bar->maximum();
        QTextCursor cursor(doc);
        cursor.movePosition(QTextCursor::End);
        for (const Pending& p : it.value()) {
            if (!doc->isEmpty()) cursor.insertBlock();
            QTextCharFormat fmt;
            if (p.level == Level::Error)
                fmt.setForeground(QColor(200, 0, 0));
            else if (p.level == Level::Warn)
                fmt.setForeground(QColor(190, 110, 0));
            cursor.insertText(p.line, fmt);
        }
        if (atEnd && bar) bar->setValue(bar->maximum());
    }
}

} // namespace KZLOG
