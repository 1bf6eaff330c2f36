#include "Prompt.h"

#include <QMessageBox>
#include <QMutex>
#include <QPushButton>

namespace Prompt {
namespace {
QMutex handlerMutex;
Handler current;

Handler installed() {
    QMutexLocker lock(&handlerMutex);
    return current;
}
} // namespace

void warning(QWidget* parent, const QString& title, const QString& text) {
    if (Handler h = installed()) {
        h(Shown{Kind::Warning, parent, title, text, QString(), QString()});
        return;
    }
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

bool question(QWidget* parent, const QString& title, const QString& text) {
    if (Handler h = installed()) return h(Shown{Kind::Question, parent, title, text, QString(), QString()});
    return QMessageBox::information(parent, title, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool question(QWidget* parent, const QString& title, const QString& text, const QString& yesText,
              const QString& noText) {
    if (Handler h = installed()) return h(Shown{Kind::Question, parent, title, text, yesText, noText});
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Ok)->setText(yesText);
    box.button(QMessageBox::Cancel)->setText(noText);
    return box.exec() == QMessageBox::Ok;
}

Handler setHandler(Handler handler) {
    QMutexLocker lock(&handlerMutex);
    Handler previous = std::move(current);
    current = std::move(handler);
    return previous;
}

} // namespace Prompt
