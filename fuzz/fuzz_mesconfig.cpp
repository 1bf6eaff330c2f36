// "MesConfig.ini", the MES page's settings file.
#include "FuzzSupport.h"
#include "production/MesConfig.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A new name each time: the settings library caches files by name.
    static qint64 n = 0;
    const QString path = fuzz::scratchRoot() + QString("/Config/MesConfig-%1.ini").arg(n++);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    MesConfig::loadFrom(path);
    QFile::remove(path);
    fuzz::require(mesInUrl.size() <= int(size) && mesOutUrl.size() <= int(size), "values come from the file");
    return 0;
}
