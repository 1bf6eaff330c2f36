#pragma once
// One day cell of the picker's calendar page; its "type" property drives the style sheet.
#include <QPushButton>
#include <QVariant>

class ButtonDay : public QPushButton {
    Q_OBJECT
public:
    enum Type { NoCurrentMonthDay = 1, Weekend = 2, Workday = 4, CurrentDay = 8, SelectDay = 16 };

    explicit ButtonDay(int id, QWidget* parent = nullptr);

    int id() const { return m_id; }
    QVariant data() const { return m_data; }
    void setData(const QVariant& day);
    int types() const { return m_types; }
    // Sets the type bits and re-applies the style so the sheet sees the new "type".
    void setTypes(int types);
    // The strongest of the set bits as the style sheet's text.
    static QString typeName(int types);

private:
    int m_id;
    QVariant m_data;
    int m_types = 0;
};
