#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
std::atomic<bool> interruptNext{false};

bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

void setError(QString* error, const QString& text) {
    if (error) *error = text;
}
} // namespace

void AtomicFile::interruptNextWriteForTest() {
    interruptNext = true;
}

bool AtomicFile::write(const QString& path, const QByteArray& data, QString* error) {
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) {
        setError(error, QString("cannot create folder %1").arg(dir));
        return false;
    }
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = target + ".saving";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        setError(error, QString("cannot write %1: %2").arg(QString::fromLocal8Bit(temp), strerror(errno)));
        return false;
    }
    const bool crash = qEnvironmentVariableIntValue("TAVRIN_SAVE_CRASH") == 1;
    if (crash || interruptNext.exchange(false)) {
        writeAll(fd, data.constData(), data.size() / 2);
        ::fsync(fd);
        if (crash) std::_Exit(86);
        ::close(fd);
        setError(error, QString("writing %1 was interrupted").arg(path));
        return false;
    }
    const bool ok = writeAll(fd, data.constData(), data.size()) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    ::close(fd);
    if (!ok) {
        ::unlink(temp.constData());
        setError(error, QString("cannot write %1: %2").arg(path, strerror(savedErrno)));
        return false;
    }
    if (std::rename(temp.constData(), target.constData()) != 0) {
        const int e = errno;
        ::unlink(temp.constData());
        setError(error, QString("cannot replace %1: %2").arg(path, strerror(e)));
        return false;
    }
    // The rename itself must reach the disk too.
    const int dirFd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
