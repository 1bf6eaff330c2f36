#include "DiskSpace.h"

#include "Paths.h"

#include <QDir>
#include <QStorageInfo>

#include <atomic>

namespace {
constexpr qint64 kNotPretended = -2;
std::atomic<qint64> pretended{kNotPretended};
} // namespace

qint64 DiskSpace::freeBytes(const QString& path) {
    const qint64 fake = pretended.load();
    if (fake != kNotPretended) return fake;
    // QStorageInfo needs an existing path; climb to the nearest existing folder.
    QString dir = path.isEmpty() ? Paths::dataDrive() : path;
    while (!dir.isEmpty() && !QDir(dir).exists()) {
        const QString up = QDir::cleanPath(dir + "/..");
        if (up == dir) break;
        dir = up;
    }
    QStorageInfo info(dir);
    if (!info.isValid()) return -1;
    return info.bytesAvailable();
}

void DiskSpace::pretendFreeBytes(qint64 bytes) {
    pretended = qMax<qint64>(0, bytes);
}

void DiskSpace::clearPretend() {
    pretended = kNotPretended;
}
