#include "SingleInstance.h"

#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSystemSemaphore>

SingleInstance::SingleInstance(const QString& key) : m_key(key), m_memory(key) {}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::defaultKey() {
    return keyFor(Paths::root());
}

QString SingleInstance::keyFor(const QString& dataRoot) {
    const QByteArray root = QDir::cleanPath(QDir(dataRoot).absolutePath()).toUtf8();
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
