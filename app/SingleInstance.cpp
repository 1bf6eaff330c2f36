#include "SingleInstance.h"

#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSystemSemaphore>

SingleInstance::SingleInstance(const QString& key) : m_key(key), m_memory(key) {}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::defaultKey() {
    return keyFor(Paths::root());
}

namespace {
// The real path, links resolved, also for a root not created yet.
QString canonicalPath(const QString& path) {
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    if (!real.isEmpty()) return real;
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    const QString parent = QFileInfo(absolute).path();
    if (parent == absolute) return absolute;
    return QDir::cleanPath(canonicalPath(parent) + "/" + QFileInfo(absolute).fileName());
}
} // namespace

QString SingleInstance::keyFor(const QString& dataRoot) {
    // Two paths to one folder (a symbolic link) are one machine.
    const QByteArray root = canonicalPath(dataRoot).toUtf8();
    return "Tavrin-" + QCryptographicHash::hash(root, QCryptographicHash::Sha1).toHex().left(16);
}

bool SingleInstance::acquire() {
    if (held()) return true;
    // Two copies starting at once must not both clear and create; the semaphore is
    // given back by the system if its holder dies.
    QSystemSemaphore guard(m_key + "-start", 1, QSystemSemaphore::Open);
    guard.acquire();
    {
        QSharedMemory leftover(m_key);
        if (leftover.attach()) leftover.detach();
    }
    const bool ok = m_memory.create(1, QSharedMemory::ReadWrite);
    guard.release();
    return ok;
}

void SingleInstance::release() {
    if (m_memory.isAttached()) m_memory.detach();
}
