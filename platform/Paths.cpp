#include "Paths.h"

#include <QDir>
#include <QStandardPaths>

namespace Paths {

QString root() {
    const QByteArray env = qgetenv("TAVRIN_DATA");
    if (!env.isEmpty()) return QDir(QString::fromLocal8Bit(env)).absolutePath();
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    if (!xdg.isEmpty()) return QString::fromLocal8Bit(xdg) + "/tavrin";
    return QDir::homePath() + "/.local/share/tavrin";
}

QString programDir() {
    return root();
}
QString dataDrive() {
    return root();
}
QString configDir() {
    return programDir() + "/Config";
}
QString recipesDir() {
    return programDir() + "/recipes";
}
QString logDir() {
    return programDir() + "/log";
}
QString imageDir() {
    return dataDrive() + "/data/img";
}
QString tableDir() {
    return dataDrive() + "/data/TableData";
}

bool ensureFolders() {
    bool ok = true;
    for (const QString& dir : {configDir(), recipesDir(), logDir(), imageDir(), tableDir()})
        ok = QDir().mkpath(dir) && ok;
    return ok;
}

} // namespace Paths
