#pragma once
// Logging library: a log file per day and named log views on the screen.
//
// CLog writes one line per call into "<folder>/yyyy-MM-dd.log" (the day and the
// time stamp come from the program clock), from any thread. Lines of level Info
// and above also appear in every view registered with UILog.
// UILog shows lines in QTextBrowser views registered by name. Lines may be added
// from any thread; they are queued to the GUI thread and never block the caller.
// Each view keeps a bounded number of lines.
#include <QHash>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QTextBrowser;

namespace KZLOG {

enum class Level { Debug = 0, Info = 1, Warn = 2, Error = 3 };

class CLog {
public:
    // folder empty: Paths::logDir(). Writing before Initialize uses that default too.
    static void Initialize(const QString& folder);
    // Flushes and closes the day's file; a later line opens it again.
    static void Deinitializes();

    static void Log(Level level, const QString& text);
    static void Debug(const QString& text) { Log(Level::Debug, text); }
    static void Info(const QString& text) { Log(Level::Info, text); }
    static void Warn(const QString& text) { Log(Level::Warn, text); }
    static void Error(const QString& text) { Log(Level::Error, text); }

    // Folder lines go to and the file a line written now would go to.
    static QString folder();
    static QString currentFile();
    // "yyyy-MM-dd hh:mm:ss.zzz [LEVEL] text" as it is written to the file.
    static QString formatLine(Level level, const QString& text);
};

class UILog : public QObject {
    Q_OBJECT
public:
    // Created on first use; it lives on the GUI thread whoever asks first.
    static UILog* GetInstance();
    // Deletes the instance (the next GetInstance makes a new one).
    static void Destroy(UILog* log);

    // Registers view under name; reserved is unused. The view keeps at most maxLines() lines.
    void InsertUi(const QString& name, const QString& reserved, QTextBrowser* view);
    void RemoveUi(const QString& name);
    // Appends text to the named view (with time stamp) and to the day's file. Any thread.
    void AddLog(const QString& name, const QString& text, Level level = Level::Info);

    void setMaxLines(int lines);
    int maxLines() const;
    // A bound of its own for one view (e.g. a long protocol log).
    void setMaxLines(const QString& name, int lines);
    int maxLines(const QString& name) const;

    // Used by CLog: a formatted line for every registered view.
    static void broadcast(const QString& line, Level level);

private:
    explicit UILog(QObject* parent = nullptr);
    ~UILog() override;
    void enqueue(const QString& name, const QString& line, Level level);
    void flush();

    struct Pending {
        QString line;
        Level level;
    };
    mutable QMutex m_mutex;
    QHash<QString, QPointer<QTextBrowser>> m_views;
    QHash<QString, QList<Pending>> m_pending;
    bool m_flushQueued = false;
    int m_maxLines = 1000;
    QHash<QString, int> m_viewMaxLines;
};

} // namespace KZLOG
