#include "ImageHousekeeping.h"

#include "platform/Clock.h"
#include "platform/DiskSpace.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <mutex>
#include <thread>

namespace {
std::atomic<bool> busy{false};
std::atomic<bool> stopping{false};
std::mutex threadMutex; // guards worker and its start and join
// Reached with a thread only by a program that ended without stop().
struct Worker {
    std::thread thread;
    ~Worker() {
        stopping = true;
        if (thread.joinable()) thread.join();
    }
};
Worker worker;
std::function<void()> beforeEntry;

int64_t ageMs(const QFileInfo& info, int64_t nowMs) {
    return nowMs - info.lastModified().toMSecsSinceEpoch();
}
} // namespace

int ImageHousekeeping::run(const QString& root) {
    const int64_t free = DiskSpace::freeBytes();
    if (free < 0 || free >= kMinFreeBytes) return 0;
    return purge(root.isEmpty() ? Paths::imageDir() : root, clk::wallMs());
}

void ImageHousekeeping::start() {
    std::lock_guard<std::mutex> lock(threadMutex);
    if (busy.exchange(true)) return;
    // The previous run has ended (busy was clear): its thread only needs the join.
    if (worker.thread.joinable()) worker.thread.join();
    worker.thread = std::thread([] {
        run();
        busy = false;
    });
}

void ImageHousekeeping::stop() {
    std::lock_guard<std::mutex> lock(threadMutex);
    stopping = true;
    if (worker.thread.joinable()) worker.thread.join();
    busy = false;
    stopping = false;
}

bool ImageHousekeeping::running() {
    std::lock_guard<std::mutex> lock(threadMutex);
    return worker.thread.joinable();
}

bool ImageHousekeeping::stopRequested() {
    return stopping;
}

void ImageHousekeeping::setBeforeEntry(std::function<void()> hook) {
    beforeEntry = std::move(hook);
}

int ImageHousekeeping::purge(const QString& dirPath, int64_t nowMs) {
    const QFileInfoList entries = QDir(dirPath).entryInfoList(QDir::Dirs | QDir::Files | QDir::Drives |
                                                              QDir::NoDotAndDotDot | QDir::NoSymLinks);
    int removed = 0;
    int filesRemoved = 0;
    for (const QFileInfo& entry : entries) {
        if (beforeEntry) beforeEntry();
        // Only deletions happen here: stopping between two leaves nothing half done.
        if (stopping) break;
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
