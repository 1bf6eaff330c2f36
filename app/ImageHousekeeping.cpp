#include "ImageHousekeeping.h"

#include "platform/Clock.h"
#include "platform/DiskSpace.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <thread>

namespace {
std::atomic<bool> busy{false};

int64_t ageMs(const QFileInfo& info, int64_t nowMs) {
    return nowMs - info.lastModified().toMSecsSinceEpoch();
}
} // namespace

int ImageHousekeeping::run(const QString& root) {
    const int64_t free = DiskSpace::freeBytes();
    if (free < 0 || free >= kMinFreeBytes) return 0;
    return purge(root.isEmpty() ? Paths::imageDir() : root, clk::wallMs());
}

void ImageHousekeeping::startDetached() {
    if (busy.exchange(true)) return;
    std::thread([] {
        run();
        busy = false;
    }).detach();
}

int ImageHousekeeping::purge(const QString& dirPath, int64_t nowMs) {
    const QFileInfoList entries = QDir(dirPath).entryInfoList(QDir::Dirs | QDir::Files | QDir::Drives |
                                                              QDir::NoDotAndDotDot | QDir::NoSymLinks);
    int removed = 0;
    int filesRemoved = 0;
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink()) continue; // never leave the tree
        if (entry.isDir()) {
            // Its age as found: deleting inside it below touches its modification time.
            const int64_t age = ageMs(entry, nowMs);
            removed += purge(entry.absoluteFilePath(), nowMs);
            if (age > kDirAgeSecs * 1000 && QDir(entry.absoluteFilePath()).removeRecursively()) ++removed;
        } else if (ageMs(entry, nowMs) > kFileAgeSecs * 1000) {
            if (filesRemoved >= kMaxFilesPerDir) continue;
            if (QFile::remove(entry.absoluteFilePath())) {
                ++removed;
                ++filesRemoved;
            }
        }
    }
    return removed;
}
