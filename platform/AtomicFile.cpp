#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
std::atomic<bool> interruptNext{false};
std::atomic<int> failNext{-1};

QMutex handlerMutex;
AtomicFile::FailureHandler failureHandler;

bool injected(AtomicFile::Stage stage, int err) {
    int expected = int(stage);
    if (!failNext.compare_exchange_strong(expected, -1)) return false;
    errno = err;
    return true;
}

bool writeAll(int fd, const char* data, qint64 size) {
    if (injected(AtomicFile::Stage::Data, ENOSPC)) return false;
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

std::atomic<bool> syncOn{true};

bool syncFd(int fd) {
    if (injected(AtomicFile::Stage::Sync, ENOSPC)) return false;
    return !syncOn.load(std::memory_order_relaxed) || ::fsync(fd) == 0;
}

bool syncFolder(const QString& dir) {
    if (injected(AtomicFile::Stage::FolderSync, EIO)) return false;
    if (!syncOn.load(std::memory_order_relaxed)) return true;
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    const int e = errno;
    ::close(fd);
    errno = e;
    return ok;
}

// Folders from the nearest existing one down to dir; all of them are new.
QStringList missingFolders(const QString& dir) {
    QStringList missing;
    QString d = QDir::cleanPath(dir);
    while (!d.isEmpty() && !QFileInfo::exists(d)) {
        missing.prepend(d);
        const QString parent = QFileInfo(d).absolutePath();
        if (parent == d) break;
        d = parent;
    }
    return missing;
}

bool fail(const QString& path, QString* error, const QString& text) {
    if (error) *error = text;
    AtomicFile::FailureHandler handler;
    {
        QMutexLocker lock(&handlerMutex);
        handler = failureHandler;
    }
    if (handler) handler(path, text);
    return false;
}

// Puts temp in target's place. Without syncing (a simulation run) the two names are
// exchanged and the old content removed: a rename over an existing file makes ext4
// write the new data out at once, the very cost syncing off is meant to spare.
bool replace(const QByteArray& temp, const QByteArray& target) {
#ifdef RENAME_EXCHANGE
    if (!syncOn.load(std::memory_order_relaxed) &&
        ::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE) == 0) {
        ::unlink(temp.constData());
        return true;
    }
#endif
    return std::rename(temp.constData(), target.constData()) == 0;
}

QString reason() {
    return QString::fromLocal8Bit(strerror(errno));
}
} // namespace

void AtomicFile::setFailureHandler(FailureHandler handler) {
    QMutexLocker lock(&handlerMutex);
    failureHandler = std::move(handler);
}

bool AtomicFile::hasFailureHandler() {
    QMutexLocker lock(&handlerMutex);
    return bool(failureHandler);
}

void AtomicFile::setSyncToDisk(bool on) {
    syncOn.store(on);
}

bool AtomicFile::syncToDisk() {
    return syncOn.load();
}

void AtomicFile::interruptNextWriteForTest() {
    interruptNext = true;
}

void AtomicFile::failNextWriteForTest(Stage stage) {
    failNext = int(stage);
}

bool AtomicFile::write(const QString& path, const QByteArray& data, QString* error) {
    const QString dir = QFileInfo(path).absolutePath();
    const QStringList newFolders = missingFolders(dir);
    if (!QDir().mkpath(dir)) return fail(path, error, QString("cannot create folder %1").arg(dir));
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = target + ".saving";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return fail(path, error, QString("cannot write %1: %2").arg(QString::fromLocal8Bit(temp), reason()));
    const bool crash = qEnvironmentVariableIntValue("TAVRIN_SAVE_CRASH") == 1;
    if (crash || interruptNext.exchange(false)) {
        writeAll(fd, data.constData(), data.size() / 2);
        ::fsync(fd);
        if (crash) std::_Exit(86);
        ::close(fd);
        return fail(path, error, QString("writing %1 was interrupted").arg(path));
    }
    bool ok = writeAll(fd, data.constData(), data.size()) && syncFd(fd);
    int savedErrno = errno;
    // Some file systems report a failed write only at close.
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        errno = savedErrno;
        return fail(path, error, QString("cannot write %1: %2").arg(path, reason()));
    }
    const bool renamed = !injected(Stage::Rename, EIO) && replace(temp, target);
    if (!renamed) {
        savedErrno = errno;
        ::unlink(temp.constData());
        errno = savedErrno;
        return fail(path, error, QString("cannot replace %1: %2").arg(path, reason()));
    }
    // The rename, and every folder made for the file, must reach the disk too.
    if (!syncFolder(dir))
        return fail(path, error,
                    QString("%1 may not be on the disk: syncing %2 failed: %3").arg(path, dir, reason()));
    for (const QString& folder : newFolders) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (!syncFolder(parent))
            return fail(
                path, error,
                QString("%1 may not be on the disk: syncing %2 failed: %3").arg(path, parent, reason()));
    }
    return true;
}

bool AtomicFile::copy(const QString& from, const QString& to, QString* error) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return fail(to, error, QString("cannot read %1: %2").arg(from, in.errorString()));
    const QByteArray data = in.readAll();
    if (in.error() != QFile::NoError)
        return fail(to, error, QString("cannot read %1: %2").arg(from, in.errorString()));
    return write(to, data, error);
}
