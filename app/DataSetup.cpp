#include "DataSetup.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "recipes/DemoRecipe.h"

#include <QFile>

namespace DataSetup {

QString ensure() {
    if (!Paths::ensureFolders()) return QString("cannot create the data folders below %1").arg(Paths::root());
    const QString card = Paths::configDir() + "/QRDMC3C00.ini";
    if (!QFile::exists(card)) {
        QString error;
        if (!AtomicFile::copy(":/config/QRDMC3C00.ini", card, &error)) return error;
        QFile::setPermissions(card,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return DemoRecipe::ensure();
}

} // namespace DataSetup
