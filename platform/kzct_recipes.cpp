// Recipe management: list, create, copy, delete, rename and select recipe folders.
#include "kzct.h"

#include "AtomicFile.h"
#include "KZLOG.h"
#include "Paths.h"
#include "recipes/RecipeName.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>

namespace {

QWidget* ownerOf(QWidget* widget) {
    return widget ? widget->window() : QApplication::activeWindow();
}

void refuse(QWidget* owner, const QString& title, const QString& text) {
    KZLOG::CLog::Warn(QString("%1: %2").arg(title, text));
    QMessageBox::warning(owner, title, text, QMessageBox::Ok);
}

bool exists(const QString& name) {
    // Windows folder names ignore case; refuse what would clash there too.
    for (const QString& existing : kzct::recipeNames())
        if (existing.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

// Refuses (with a message) a name that cannot be a new recipe.
bool acceptableNewName(QWidget* owner, const QString& title, const QString& name) {
    QString why;
    if (!isValidRecipeName(name, &why)) {
        refuse(owner, title, why);
        return false;
    }
    if (exists(name)) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "配方“%1”已存在。").arg(name));
        return false;
    }
    return true;
}

// A recipe the operator points at: a valid name of an existing folder.
bool existingRecipe(QWidget* owner, const QString& title, const QString& name) {
    QString why;
    if (!isValidRecipeName(name, &why)) {
        refuse(owner, title, why);
        return false;
    }
    if (!QFileInfo(kzct::recipeDir(name)).isDir()) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "配方“%1”不存在。").arg(name));
        return false;
    }
    return true;
}

QString selectedName(QListWidget* list) {
    QListWidgetItem* item = list ? list->currentItem() : nullptr;
    return item && item->isSelected() ? item->text() : QString();
}

QString askName(QWidget* owner, const QString& title, const QString& proposal, bool* ok) {
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(QCoreApplication::translate("Recipes", "新配方名："));
    dialog.setTextValue(proposal);
    *ok = dialog.exec() == QDialog::Accepted;
    return dialog.textValue();
}

// Copies every file of one recipe into a new one. The copy is built under a hidden
// name and renamed at the end, so a failure leaves no half recipe behind.
bool copyRecipe(const QString& from, const QString& to, QString* error) {
    const QString source = kzct::recipeDir(from);
    const QString building = Paths::recipesDir() + "/." + to + ".creating";
    QDir(building).removeRecursively();
    bool ok = QDir().mkpath(building);
    if (!ok) *error = QString("cannot create %1").arg(building);
    QDirIterator it(source, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (ok && it.hasNext()) {
        const QString file = it.next();
        if (it.fileInfo().isSymLink()) continue; // only the recipe's own files
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly)) {
            *error = QString("cannot read %1").arg(file);
            ok = false;
            break;
        }
        ok = AtomicFile::write(building + "/" + QDir(source).relativeFilePath(file), in.readAll(), error);
    }
    if (ok && !QDir().rename(building, kzct::recipeDir(to))) {
        *error = QString("cannot rename %1 to %2").arg(building, kzct::recipeDir(to));
        ok = false;
    }
    if (!ok) QDir(building).removeRecursively();
    return ok;
}

void refill(QListWidget* list) {
    list->clear();
    list->addItems(kzct::recipeNames());
}

void createFrom(QListWidget* list, const QString& title, const QString& from, const QString& proposal) {
    QWidget* owner = ownerOf(list);
    bool ok = false;
    const QString name = askName(owner, title, proposal, &ok);
    if (!ok || !acceptableNewName(owner, title, name)) return;
    QString error;
    if (!copyRecipe(from, name, &error)) {
        KZLOG::CLog::Error(QString("kzct: %1").arg(error));
        refuse(owner, title, QCoreApplication::translate("Recipes", "配方“%1”创建失败：%2").arg(name, error));
        return;
    }
    KZLOG::CLog::Info(QString("kzct: recipe \"%1\" created from \"%2\"").arg(name, from));
    refill(list);
}

} // namespace

void peifangini(QListWidget* list, QLabel* current) {
    if (list) list->addItems(kzct::recipeNames());
    if (current) current->setText(kzct::currentRecipeName());
}

void peifangnew(QListWidget* list) {
    const QString title = QCoreApplication::translate("Recipes", "新建配方");
    const QString from = kzct::currentRecipeName();
    if (!existingRecipe(ownerOf(list), title, from)) return;
    createFrom(list, title, from, QString());
}

void peifangcopy(QListWidget* list) {
    const QString title = QCoreApplication::translate("Recipes", "复制配方");
    const QString from = selectedName(list);
    if (from.isEmpty()) {
        refuse(ownerOf(list), title, QCoreApplication::translate("Recipes", "请先选择要复制的配方。"));
        return;
    }
    if (!existingRecipe(ownerOf(list), title, from)) return;
    createFrom(list, title, from, from + QCoreApplication::translate("Recipes", "-副本"));
}

void peifangdelete(QListWidget* list) {
    const QString title = QCoreApplication::translate("Recipes", "删除配方");
    QWidget* owner = ownerOf(list);
    const QString name = selectedName(list);
    if (name.isEmpty()) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "请先选择要删除的配方。"));
        return;
    }
    if (!existingRecipe(owner, title, name)) return;
    if (name == kzct::currentRecipeName()) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "不能删除当前配方“%1”。").arg(name));
        return;
    }
    if (kzct::recipeNames().size() <= 1) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "不能删除最后一个配方。"));
        return;
    }
    if (QMessageBox::question(owner, title,
                              QCoreApplication::translate("Recipes", "确定删除配方“%1”吗？").arg(name),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    const QString dir = kzct::recipeDir(name);
    // A linked folder loses the link, never what it points at.
    const bool removed = QFileInfo(dir).isSymLink() ? QFile::remove(dir) : QDir(dir).removeRecursively();
    if (!removed)
        refuse(owner, title, QCoreApplication::translate("Recipes", "配方“%1”未能完全删除。").arg(name));
    KZLOG::CLog::Info(QString("kzct: recipe \"%1\" deleted").arg(name));
    refill(list);
}

void peifangrename(QString oldName, QString newName) {
    const QString title = QCoreApplication::translate("Recipes", "配方名修改");
    QWidget* owner = ownerOf(nullptr);
    if (!existingRecipe(owner, title, oldName)) return;
    if (newName == oldName) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "新配方名与旧配方名相同。"));
        return;
    }
    QString why;
    if (!isValidRecipeName(newName, &why)) {
        refuse(owner, title, why);
        return;
    }
    // Only a change of case may match the old name itself.
    if (newName.compare(oldName, Qt::CaseInsensitive) != 0 && exists(newName)) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "配方“%1”已存在。").arg(newName));
        return;
    }
    const bool current = oldName == kzct::currentRecipeName();
    if (!QDir().rename(kzct::recipeDir(oldName), kzct::recipeDir(newName))) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "配方“%1”改名失败。").arg(oldName));
        return;
    }
    if (current && !kzct::setCurrentRecipeName(newName)) {
        // The name file still names the old folder: put it back.
        QDir().rename(kzct::recipeDir(newName), kzct::recipeDir(oldName));
        refuse(owner, title, QCoreApplication::translate("Recipes", "当前配方文件无法写入，配方名未修改。"));
        return;
    }
    KZLOG::CLog::Info(QString("kzct: recipe \"%1\" renamed to \"%2\"").arg(oldName, newName));
}

bool peifangselecte(QListWidget* list) {
    const QString title = QCoreApplication::translate("Recipes", "设为当前配方");
    QWidget* owner = ownerOf(list);
    const QString name = selectedName(list);
    if (name.isEmpty()) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "请先选择配方。"));
        return false;
    }
    if (!existingRecipe(owner, title, name)) return false;
    const QString previous = kzct::currentRecipeName();
    if (name == previous) return false;
    if (!QFileInfo(kzct::parameterFile(name)).isFile()) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "配方“%1”没有参数文件。").arg(name));
        return false;
    }
    // The counters of the recipe being left stay with it.
    if (isValidRecipeName(previous) && QFileInfo(kzct::recipeDir(previous)).isDir())
        kzct::saveRunData(previous);
    if (!kzct::setCurrentRecipeName(name)) {
        refuse(owner, title, QCoreApplication::translate("Recipes", "当前配方文件无法写入，配方未切换。"));
        return false;
    }
    KZLOG::CLog::Info(QString("kzct: recipe \"%1\" is current").arg(name));
    return true;
}
