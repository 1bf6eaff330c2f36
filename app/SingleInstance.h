#pragma once
// Keeps a second copy of the program from running on the same machine data.
// A shared memory segment marks the running copy. On Linux a segment outlives a
// process that crashed, so before creating it a new start attaches to a segment it
// finds and detaches again: when no live copy holds it, the last detach removes it.
#include <QSharedMemory>
#include <QString>

class SingleInstance {
public:
    explicit SingleInstance(const QString& key = defaultKey());
    ~SingleInstance();

    // True when this process now holds the key; false while another copy runs.
    bool acquire();
    void release();
    bool held() const { return m_memory.isAttached(); }

    // The program's key for its data root: copies on different data roots are
    // different machines and may run side by side.
    static QString defaultKey();
    static QString keyFor(const QString& dataRoot);

private:
    QString m_key;
    QSharedMemory m_memory;
};
