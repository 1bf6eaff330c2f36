#pragma once
// Free space of the data drive (Paths::dataDrive(), the machine PC's "D:").
#include <QString>
#include <QtGlobal>

class DiskSpace {
public:
    // Bytes available to the program on the drive holding path (default: the data
    // drive); -1 when the drive cannot be asked. A pretended size wins when set.
    static qint64 freeBytes(const QString& path = QString());

    // Test hook: every freeBytes() answers bytes until clearPretend().
    static void pretendFreeBytes(qint64 bytes);
    static void clearPretend();
};
