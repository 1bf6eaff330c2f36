#include "DateTimeEdit.h"

#include "DateTimeWidget.h"

#include <QFrame>
#include <QLineEdit>
#include <QVBoxLayout>

DateTimeEdit::DateTimeEdit(QWidget* parent)
    : QComboBox(parent), m_popup(new QFrame(this, Qt::Popup)), m_picker(new DateTimeWidget(m_popup)) {
    setEditable(true);
    setMinimumWidth(190);
    m_popup->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(m_popup);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picker);
    connect(m_picker, &DateTimeWidget::signal_dateTime, this, [this](const QDateTime& dt) {
        setDateTime(dt);
        hidePopup();
    });
    connect(m_picker, &DateTimeWidget::signal_cancel, this, &DateTimeEdit::hidePopup);
}

QDateTime DateTimeEdit::dateTime() const {
    return QDateTime::fromString(currentText().trimmed(), kFormat);
}

void DateTimeEdit::setDateTime(const QDateTime& dateTime) {
    setEditText(dateTime.toString(kFormat));
}

void DateTimeEdit::showPopup() {
    const QDateTime current = dateTime();
    m_picker->setDateTime(current.isValid() ? current : DateTimeWidget::now());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
}

void DateTimeEdit::hidePopup() {
    m_popup->hide();
}

bool DateTimeEdit::popupVisible() const {
    return m_popup->isVisible();
}
