// The end of the program: what still runs on a thread of its own (the image housekeeping,
// the clock's timer) is told to stop and joined before what it uses goes away.
#include "BannerRig.h"

#include "app/ImageHousekeeping.h"
#include "platform/Clock.h"
#include "platform/DiskSpace.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

using namespace bannertest;

namespace {

constexpr int64_t kHourMs = 3600 * 1000;

// An image of the given age on the machine's clock.
bool image(const QString& path, int64_t ageMs) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write("image") != 5 || !f.flush()) return false;
    return f.setFileTime(QDateTime::fromMSecsSinceEpoch(clk::wallMs() - ageMs),
                         QFileDevice::FileModificationTime);
}

// Waits up to seconds of real time for another thread to make cond hold.
bool within(double seconds, const std::function<bool()>& cond) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace

class ExitTest : public QObject {
    Q_OBJECT

private slots:
    // Closing the window while a housekeeping pass runs: the pass stops before its next
    // entry and its thread is joined before the close ends; a later pass does the work.
    void closingStopsAndJoinsTheHousekeeping() {
        auto r = powered();
        const QString day = Paths::imageDir() + "/2026-01-04";
        QDir(Paths::imageDir()).removeRecursively();
        for (int i = 0; i < 20; ++i) QVERIFY(image(QString("%1/old-%2.png").arg(day).arg(i), 11 * kHourMs));
        DiskSpace::pretendFreeBytes(1000);
        // The pass is held at its first entry until the close asks it to stop, as a long
        // pass over a full drive would still be running.
        std::atomic<int> entries{0};
        std::atomic<bool> held{false};
        ImageHousekeeping::setBeforeEntry([&] {
            if (entries++ > 0) return;
            held = true;
            within(30.0, [] { return ImageHousekeeping::stopRequested(); });
        });
        ImageHousekeeping::start();
        QVERIFY(ImageHousekeeping::running());
        QVERIFY(within(30.0, [&] { return held.load(); }));
        // The start of a pass while one runs does nothing.
        ImageHousekeeping::start();
        r->window->close();
        QCOMPARE(r->window->shutdowns(), 1);
        QVERIFY(!ImageHousekeeping::running());
        QVERIFY(ImageHousekeeping::stopRequested() == false);
        QCOMPARE(entries.load(), 1);
        QCOMPARE(QDir(day).entryList(QDir::Files).size(), 20);
        ImageHousekeeping::setBeforeEntry(nullptr);
        // Stopping once does not keep later passes from working.
        QCOMPARE(ImageHousekeeping::run(), 20);
        QCOMPARE(QDir(day).entryList(QDir::Files).size(), 0);
        DiskSpace::clearPretend();
    }

    // The clock's timer thread ends with the program: what is still pending is dropped,
    // not run against a machine that is gone, and nothing is taken on afterwards.
    void clockTimerEndsWithTheProgram() {
        SystemClock clock;
        std::mutex mutex;
        std::condition_variable cv;
        bool ran = false;
        clock.callAt(clock.nowUs(), [&] {
            std::lock_guard<std::mutex> lock(mutex);
            ran = true;
            cv.notify_all();
        });
        {
            std::unique_lock<std::mutex> lock(mutex);
            QVERIFY(cv.wait_for(lock, std::chrono::seconds(30), [&] { return ran; }));
        }
        auto held = std::make_shared<int>(0);
        clock.callAt(clock.nowUs() + int64_t(3600) * 1000000, [held] { ++*held; });
        QCOMPARE(held.use_count(), 2L);
        QElapsedTimer t;
        t.start();
        SystemClock::stopTimers();
        QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(held.use_count(), 1L);
        clock.callAt(clock.nowUs(), [held] { ++*held; });
        QCOMPARE(held.use_count(), 1L);
        QCOMPARE(*held, 0);
    }
};

QTEST_MAIN(ExitTest)
#include "tst_exit.moc"
