#pragma once
// Answers the message boxes and input dialogs a click opens, in order, as the operator
// would, and remembers what they said. A box nobody expected is closed and counted.
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>

class ModalAnswers : public QObject {
public:
    using Answer = std::function<void(QDialog*)>;

    ModalAnswers() {
        connect(&poll, &QTimer::timeout, this, &ModalAnswers::check);
        poll.start(1);
    }

    void then(Answer answer) { answers.push_back(std::move(answer)); }
    void typeText(const QString& text) {
        then([text](QDialog* d) {
            auto* input = qobject_cast<QInputDialog*>(d);
            input->setTextValue(text);
            input->accept();
        });
    }
    void cancel() {
        then([](QDialog* d) { d->reject(); });
    }
    void press(QMessageBox::StandardButton button) {
        then([button](QDialog* d) { qobject_cast<QMessageBox*>(d)->button(button)->click(); });
    }
    void ok() { press(QMessageBox::Ok); }

    bool allUsed() const { return answers.empty(); }

    QStringList texts;  // what each box showed (input dialogs: their title)
    int unexpected = 0; // boxes that came without an answer waiting

private:
    void check() {
        QWidget* w = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QDialog*>(w);
        if (!dialog || !(qobject_cast<QMessageBox*>(w) || qobject_cast<QInputDialog*>(w))) return;
        if (!dialog->isVisible() || dialog->property("answered").toBool()) return;
        dialog->setProperty("answered", true);
        if (!dialog->property("watched").toBool()) {
            // A box shown again (a member box) is a new question.
            dialog->setProperty("watched", true);
            connect(dialog, &QDialog::finished, dialog, [dialog] { dialog->setProperty("answered", false); });
        }
        auto* box = qobject_cast<QMessageBox*>(w);
        texts << (box ? box->text() : dialog->windowTitle());
        if (answers.empty()) {
            ++unexpected;
            dialog->reject();
            return;
        }
        Answer answer = std::move(answers.front());
        answers.pop_front();
        answer(dialog);
    }

    QTimer poll;
    std::deque<Answer> answers;
};
