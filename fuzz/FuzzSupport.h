#pragma once
// Shared by the fuzz targets: a scratch data root, so that nothing a parser logs or
// keeps aside reaches a real one, and a check that stops the run on a broken rule.
#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace fuzz {

inline QString scratchRoot() {
    static const QString root = [] {
        // In memory where there is a tmpfs: a file written per input must not cost a disk.
        const QString base = QFileInfo("/dev/shm").isWritable() ? QString("/dev/shm") : QDir::tempPath();
        const QString dir = base + QString("/tavrin-fuzz-%1").arg(qlonglong(getpid()));
        QDir().mkpath(dir + "/Config");
        qputenv("TAVRIN_DATA", dir.toUtf8());
        // A tmpfs holds memory. The name outlives the statics, which go before this runs.
        static char name[4096];
        std::snprintf(name, sizeof name, "%s", dir.toLocal8Bit().constData());
        std::atexit([] { QDir(QString::fromLocal8Bit(name)).removeRecursively(); });
        return dir;
    }();
    return root;
}

// A rule every input must keep; a broken one is a finding like a crash.
inline void require(bool ok, const char* rule) {
    if (ok) return;
    std::fprintf(stderr, "rule broken: %s\n", rule);
    std::abort();
}

inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

} // namespace fuzz
