#include "sim/VmPanelLamp.h"

#include <QPainter>
#include <QRadialGradient>

VmPanelLamp::VmPanelLamp(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void VmPanelLamp::setOn(bool on) {
    if (on == m_on) return;
    m_on = on;
    update();
}

void VmPanelLamp::setOnColor(const QColor& color) {
    m_onColor = color;
    update();
}

void VmPanelLamp::setDiameter(int diameter) {
    m_diameter = qMax(6, diameter);
    updateGeometry();
    update();
}

QSize VmPanelLamp::sizeHint() const {
    return QSize(m_diameter + 4, m_diameter + 4);
}

void VmPanelLamp::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = qMin(qMin(width(), height()) - 2, m_diameter);
    const QRectF r((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    const QColor base = m_on ? m_onColor : QColor(70, 70, 70);
    QRadialGradient g(r.center() - QPointF(d / 5.0, d / 5.0), d * 0.7);
    g.setColorAt(0, base.lighter(m_on ? 170 : 140));
    g.setColorAt(1, base);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(g);
    p.drawEllipse(r);
}
