#include "CurrentRecipe.h"

#include "platform/KZLOG.h"
#include "platform/kzct.h"
#include "recipes/RecipeName.h"

#include <QCoreApplication>
#include <QFile>

namespace CurrentRecipe {

QString ensureValid() {
    QFile file(kzct::projectNameFile());
    if (!file.open(QIODevice::ReadOnly)) return QString();
    const QString name = QString::fromUtf8(file.readLine()).trimmed();
    file.close();
    QString why;
    if (isValidRecipeName(name, &why)) return QString();
    QString fallback;
    for (const QString& candidate : kzct::recipeNames()) {
        if (isValidRecipeName(candidate)) {
            fallback = candidate;
            break;
        }
    }
    const QString shown = name.left(64);
    if (fallback.isEmpty() || !kzct::setCurrentRecipeName(fallback)) {
        KZLOG::CLog::Error(QString("recipe name \"%1\" in %2 refused (%3); no recipe to fall back to")
                               .arg(shown, kzct::projectNameFile(), why));
        return QCoreApplication::translate("CurrentRecipe",
                                           "配方设置文件中的配方名“%1”无效：%2\n没有可用的配方。")
            .arg(shown, why);
    }
    KZLOG::CLog::Warn(QString("recipe name \"%1\" in %2 refused (%3); recipe \"%4\" used instead")
                          .arg(shown, kzct::projectNameFile(), why, fallback));
    return QCoreApplication::translate("CurrentRecipe",
                                       "配方设置文件中的配方名“%1”无效：%2\n已改用配方“%3”。")
        .arg(shown, why, fallback);
}

} // namespace CurrentRecipe
