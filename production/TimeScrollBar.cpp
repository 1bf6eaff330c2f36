#include "TimeScrollBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

TimeScrollBar::TimeScrollBar(QWidget* parent) : QWidget(parent) {
    setMinimumSize(40, 150);
    QFont f("Helvetica");
    f.setPixelSize(14);
    setFont(f);
}

int TimeScrollBar::step() const {
    const int length = m_orientation == Qt::Vertical ? height() : width();
    return qMax(1, length / m_shown);
}

void TimeScrollBar::setRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = qMax(minimum, maximum);
    setValue(qBound(m_min, m_value, m_max));
}

void TimeScrollBar::setValue(int value) {
    value = qBound(m_min, value, m_max);
    m_offset = 0;
    if (value != m_value) {
        m_value = value;
        emit signal_valueChanged(m_value);
    }
    update();
}

// Moving the values down shows smaller ones: a positive offset leads towards the minimum.
int TimeScrollBar::clampOffset(int offset) const {
    offset = qBound(-step(), offset, step());
    if (offset > 0 && m_value <= m_min) return 0;
    if (offset < 0 && m_value >= m_max) return 0;
    return offset;
}

void TimeScrollBar::mousePressEvent(QMouseEvent* event) {
    m_pressed = true;
    m_pressPos = m_orientation == Qt::Vertical ? event->pos().y() : event->pos().x();
}

void TimeScrollBar::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed) return;
    const int pos = m_orientation == Qt::Vertical ? event->pos().y() : event->pos().x();
    m_offset = clampOffset(pos - m_pressPos);
    update();
}

void TimeScrollBar::mouseReleaseEvent(QMouseEvent*) {
    if (!m_pressed) return;
    m_pressed = false;
    const int half = (step() + 1) / 2;
    int next = m_value;
    if (m_offset >= half)
        next = m_value - 1;
    else if (m_offset <= -half)
        next = m_value + 1;
    m_offset = 0;
    setValue(next);
}

void TimeScrollBar::wheelEvent(QWheelEvent* event) {
    setValue(m_value + (event->angleDelta().y() > 0 ? -1 : 1));
}

void TimeScrollBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int h = step();
    const int mid = height() / 2;
    p.fillRect(0, mid - h / 2, width(), h, QColor("#e6f0ff"));
    for (int i = -m_shown / 2 - 1; i <= m_shown / 2 + 1; ++i) {
        const int v = m_value + i;
        if (v < m_min || v > m_max) continue;
        const int y = mid + i * h + m_offset;
        QFont f = font();
        if (i == 0) f.setBold(true);
        p.setFont(f);
        p.setPen(i == 0 ? QColor("#1f5fbf") : QColor("#606060"));
        p.drawText(QRect(0, y - h / 2, width(), h), Qt::AlignCenter, QString("%1").arg(v, 2, 10, QChar('0')));
    }
}
