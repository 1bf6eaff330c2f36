#include "ButtonDay.h"

#include <QStyle>

ButtonDay::ButtonDay(int id, QWidget* parent) : QPushButton(parent), m_id(id) {
    setFixedSize(30, 30);
    setFlat(true);
    setFocusPolicy(Qt::NoFocus);
}

void ButtonDay::setData(const QVariant& day) {
    m_data = day;
    setText(day.toString());
}

QString ButtonDay::typeName(int types) {
    if (types & SelectDay) return "select-day";
    if (types & CurrentDay) return "current-day";
    if (types & NoCurrentMonthDay) return "no-current-month-day";
    if (types & Weekend) return "weekend";
    return "workday";
}

void ButtonDay::setTypes(int types) {
    m_types = types;
    const QString name = typeName(types);
    if (property("type").toString() == name) return;
    setProperty("type", name);
    style()->unpolish(this);
    style()->polish(this);
    update();
}
