#include "RecipeName.h"

#include <QCoreApplication>
#include <QDir>

bool isValidRecipeName(const QString& name, QString* why) {
    auto refuse = [why](const QString& text) {
        if (why) *why = text;
        return false;
    };
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return refuse(QCoreApplication::translate("RecipeName", "配方名不能为空。"));
    if (trimmed != name) return refuse(QCoreApplication::translate("RecipeName", "配方名前后不能有空格。"));
    if (name.size() > 64) return refuse(QCoreApplication::translate("RecipeName", "配方名太长。"));
    if (name == QLatin1String(".") || name.contains(QLatin1String("..")))
        return refuse(QCoreApplication::translate("RecipeName", "配方名不能含有“..”。"));
    if (QDir::isAbsolutePath(name))
        return refuse(QCoreApplication::translate("RecipeName", "配方名不能是绝对路径。"));
    for (QChar c : name) {
        // Separators, characters Windows forbids in folder names, and control characters.
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
            c == '|' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return refuse(QCoreApplication::translate("RecipeName", "配方名含有不允许的字符“%1”。").arg(c));
    }
    return true;
}
