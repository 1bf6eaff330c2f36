#pragma once
// Keeps the image tree from filling the data drive: when free space runs short,
// old images and old image folders are deleted. Runs on a thread of its own at start
// and every 10 minutes.
#include <QString>
#include <cstdint>
#include <functional>

class ImageHousekeeping {
public:
    static constexpr int64_t kMinFreeBytes = 50000000000LL; // 50 GB
    static constexpr int64_t kFileAgeSecs = 36000;          // 10 hours
    static constexpr int64_t kDirAgeSecs = 360000;          // 100 hours
    static constexpr int kMaxFilesPerDir = 1000000;

    // One housekeeping run over root (the image folder by default), on the calling
    // thread, when the data drive (DiskSpace) is short of space. Returns the number of
    // entries removed. A drive that cannot be asked counts as not short.
    static int run(const QString& root = QString());
    // run() on the housekeeping thread; a run still busy makes this one do nothing.
    static void start();
    // Tells a run to stop before its next entry and joins its thread (at exit).
    static void stop();
    // A run has been started and its thread not yet joined.
    static bool running();
    // A stop was asked for and the run has not been joined yet.
    static bool stopRequested();
    // Test hook: called before each entry of a run.
    static void setBeforeEntry(std::function<void()> hook);

    // Deletes files older than kFileAgeSecs below dir and folders older than
    // kDirAgeSecs, measured from nowMs (ms since the epoch). Links are not followed.
    static int purge(const QString& dir, int64_t nowMs);
};
