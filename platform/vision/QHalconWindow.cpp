#include "QHalconWindow.h"

#include "platform/vision/taskdata.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

namespace KZCV {
namespace ImageControl {

QHalconWindow::QHalconWindow(QWidget* parent, long width, long height)
    : QWidget(parent), m_hint(width > 0 ? int(width) : 400, height > 0 ? int(height) : 300) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(80, 60);
    m_buffer.setChanged([this] { update(); });
    m_redrawTimer.setInterval(200);
    connect(&m_redrawTimer, &QTimer::timeout, this, &QHalconWindow::checkRedraw);
    m_redrawTimer.start();
}

QSize QHalconWindow::sizeHint() const {
    return m_hint;
}

void QHalconWindow::setTaskIndex(int task, double zoom) {
    m_task = task;
    m_zoom = zoom > 0 ? zoom : 0.0;
    reload();
}

void QHalconWindow::readimgastask(int task, QStringList texts) {
    if (task != m_task) return;
    m_texts = texts;
    reload();
}

void QHalconWindow::checkRedraw() {
    if (redraw.exchange(0) != 0) reload();
}

void QHalconWindow::reload() {
    m_shown = m_task >= 0 ? taskdata::GetInstance()->record(m_task) : TaskRecord();
    update();
}

QRectF QHalconWindow::imageRect() const {
    QRectF area = rect();
    const QRect ext = m_buffer.extents();
    if (!ext.isEmpty()) area = area.intersected(QRectF(ext));
    const QSizeF img = m_shown.image.size();
    if (img.isEmpty() || area.isEmpty()) return QRectF();
    const double fit = std::min(area.width() / img.width(), area.height() / img.height());
    const double scale = (m_zoom > 0 && m_zoom < fit) ? m_zoom : fit;
    const QSizeF size = img * scale;
    return QRectF(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void QHalconWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(20, 20, 20));
    QFont font = p.font();
    font.setPixelSize(13);
    p.setFont(font);
    const QRectF target = imageRect();
    if (target.isEmpty()) {
        p.setPen(QColor(150, 150, 150));
        p.drawText(rect(), Qt::AlignCenter,
                   m_task >= 0
                       ? QString(QCoreApplication::translate("CVMainWindow", "T%1 无图像")).arg(m_task)
                       : QString(QCoreApplication::translate("CVMainWindow", "无图像")));
        return;
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, m_shown.image);

    const double s = target.width() / m_shown.image.width();
    auto map = [&](const QPointF& pt) { return target.topLeft() + pt * s; };
    p.setRenderHint(QPainter::Antialiasing);
    const double lw = m_buffer.lineWidth();
    p.setPen(QPen(QColor(60, 140, 255), lw));
    for (const QPolygonF& region : m_shown.regions) {
        QPolygonF mapped;
        for (const QPointF& pt : region) mapped << map(pt);
        p.drawPolygon(mapped);
    }
    const QColor markColour = m_shown.status == TaskNG ? QColor(255, 40, 40) : QColor(0, 230, 0);
    p.setPen(QPen(markColour, lw));
    for (const QPointF& mark : m_shown.marks) {
        const QPointF c = map(mark);
        p.drawLine(c - QPointF(10, 0), c + QPointF(10, 0));
        p.drawLine(c - QPointF(0, 10), c + QPointF(0, 10));
    }
    // Texts keep their size whatever the zoom; a dark plate keeps them readable on any image.
    const QFontMetrics fm(font);
    for (const TaskOverlay& o : m_shown.overlay) {
        const QPointF at = map(o.pos);
        QRectF box(at, QSizeF(fm.horizontalAdvance(o.text) + 6, fm.height() + 2));
        p.fillRect(box, QColor(0, 0, 0, 150));
        p.setPen(o.color);
        p.drawText(box.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, o.text);
    }
}

} // namespace ImageControl
} // namespace KZCV
