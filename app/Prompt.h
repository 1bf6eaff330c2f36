#pragma once
// Modal warnings and questions of the program. Everything that asks the operator
// goes through here, so that a test can answer and see what was asked.
#include <QString>
#include <functional>

class QWidget;

namespace Prompt {

enum class Kind { Warning, Question };

struct Shown {
    Kind kind;
    QWidget* parent;
    QString title;
    QString text;
    // Button captions of a question; empty for the standard Yes and No.
    QString yesText;
    QString noText;
};

// Gets every prompt instead of a dialog; the result is the answer (ignored for warnings).
using Handler = std::function<bool(const Shown&)>;

// A warning with an OK button.
void warning(QWidget* parent, const QString& title, const QString& text);
// An information box with Yes and No; true for Yes.
bool question(QWidget* parent, const QString& title, const QString& text);
// A question box with Ok and Cancel captioned yesText and noText; true for Ok.
bool question(QWidget* parent, const QString& title, const QString& text, const QString& yesText,
              const QString& noText);

// Installs a replacement for the dialogs and returns the previous one; an empty handler
// restores the dialogs.
Handler setHandler(Handler handler);

} // namespace Prompt
