#include "DataSetup.h"

#include "platform/Paths.h"
#include "production/MesConfig.h"
#include "recipes/DemoRecipe.h"

#include <QFile>

namespace DataSetup {

QString ensure() {
    if (!Paths::ensureFolders()) return QString("cannot create the data folders below %1").arg(Paths::root());
    const QString card = Paths::configDir() + "/QRDMC3C00.ini";
    if (!QFile::exists(card)) {
        if (!QFile::copy(":/config/QRDMC3C00.ini", card)) return QString("cannot write %1").arg(card);
        QFile::setPermissions(card,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    // The demo MES settings point at the MES emulator of the virtual machine.
    QString error;
    if (!MesConfig::writeIfAbsent(MesConfig::path(), "http://127.0.0.1:48080/mes/in",
                                  "http://127.0.0.1:48080/mes/out", "TAVRIN-VM01", "GW01", &error))
        return QString("cannot write %1: %2").arg(MesConfig::path(), error);
    return DemoRecipe::ensure();
}

} // namespace DataSetup
