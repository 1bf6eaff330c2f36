#pragma once
// Replaces a file as a whole: the new content goes to "<path>.saving", is
// flushed to the disk and then renamed over the old file, so a crash at any
// moment leaves either the old or the new file complete.
#include <QByteArray>
#include <QString>

class AtomicFile {
public:
    // Returns false (and the reason in *error) when the file could not be replaced;
    // the old file is then unchanged.
    static bool write(const QString& path, const QByteArray& data, QString* error = nullptr);

    // Test hook: the next write stops after half of the data has reached the temporary
    // file, as if the process had died there, and returns false. With the environment
    // variable TAVRIN_SAVE_CRASH=1 every write really ends the process at that point.
    static void interruptNextWriteForTest();
};
