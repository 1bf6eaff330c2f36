#pragma once
// The one way the program writes a file that holds operator data. The new content
// goes to "<path>.saving", is flushed to the disk and then renamed over the old
// file, so a crash at any moment leaves either the old or the new file complete.
// Every write, sync, close and rename is checked; after any failure the old file is
// left as it was. A file's folder is synced after the rename, so a new file (and a
// folder created for it) survives a power cut.
#include <QByteArray>
#include <QString>

#include <functional>

class AtomicFile {
public:
    // Returns false (and the reason in *error) when the file could not be replaced;
    // the old file is then unchanged. Every failure is also handed to the failure
    // handler.
    static bool write(const QString& path, const QByteArray& data, QString* error = nullptr);
    // Copies an existing file through write().
    static bool copy(const QString& from, const QString& to, QString* error = nullptr);

    // Told of every failed write, on the thread that wrote (path, reason).
    using FailureHandler = std::function<void(const QString& path, const QString& error)>;
    static void setFailureHandler(FailureHandler handler);
    // Whether a handler reports failures (a caller need not log them again).
    static bool hasFailureHandler();

    // On by default: a write returns once the file and its folder are on the disk. A
    // simulation that runs hours of machine time in seconds turns it off; a crash of the
    // program still leaves the old or the new file, only a power cut may lose the newest.
    static void setSyncToDisk(bool on);
    static bool syncToDisk();

    // Test hook: the next write stops after half of the data has reached the temporary
    // file, as if the process had died there, and returns false. With the environment
    // variable TAVRIN_SAVE_CRASH=1 every write really ends the process at that point.
    static void interruptNextWriteForTest();
    // Test hook: the next write fails at the given stage as a full disk would (ENOSPC
    // for data and sync, EIO for the rename).
    enum class Stage { Data, Sync, Rename, FolderSync };
    static void failNextWriteForTest(Stage stage);
};
