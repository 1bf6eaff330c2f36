#pragma once
// A date-time field "yyyy-MM-dd hh:mm:ss" whose drop-down is the calendar-and-clock picker.
#include <QComboBox>
#include <QDateTime>

class DateTimeWidget;
class QFrame;

class DateTimeEdit : public QComboBox {
    Q_OBJECT
public:
    static constexpr const char* kFormat = "yyyy-MM-dd hh:mm:ss";

    explicit DateTimeEdit(QWidget* parent = nullptr);

    // Invalid when the text is no date-time.
    QDateTime dateTime() const;
    void setDateTime(const QDateTime& dateTime);

    void showPopup() override;
    void hidePopup() override;
    bool popupVisible() const;
    DateTimeWidget* picker() const { return m_picker; }

private:
    QFrame* m_popup;
    DateTimeWidget* m_picker;
};
