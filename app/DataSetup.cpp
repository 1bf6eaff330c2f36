#include "DataSetup.h"

#include "platform/Paths.h"
#include "recipes/DemoRecipe.h"

#include <QFile>

namespace DataSetup {

QString ensure() {
    if (!Paths::ensureFolders()) return QString("cannot create the data folders below %1").arg(Paths::root());
    const QString card = Paths::configDir() + "/QRDMC3C00.ini";
    if (!QFile::exists(card)) {
        if (!QFile::copy(":/config/QRDMC3C00.ini", card)) return QString("cannot write %1").arg(card);
        QFile::setPermissions(card, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return DemoRecipe::ensure();
}

} // namespace DataSetup
