#include "VisionScene.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {
// A square module pattern derived from the text: the same code always looks the same.
void drawCode(QPainter& p, const QString& text, double size, bool defect) {
    constexpr int n = 21;
    const double m = size / n;
    uint32_t h = 2166136261u;
    for (QChar c : text) h = (h ^ c.unicode()) * 16777619u;
    p.fillRect(QRectF(-size / 2 - 2 * m, -size / 2 - 2 * m, size + 4 * m, size + 4 * m),
               QColor(235, 235, 228));
    auto finder = [&](int r0, int c0) {
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 7; ++c) {
                const bool ring = r == 0 || r == 6 || c == 0 || c == 6;
                const bool core = r >= 2 && r <= 4 && c >= 2 && c <= 4;
                if (ring || core)
                    p.fillRect(QRectF(-size / 2 + (c0 + c) * m, -size / 2 + (r0 + r) * m, m, m), Qt::black);
            }
    };
    finder(0, 0);
    finder(0, n - 7);
    finder(n - 7, 0);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            const bool inFinder = (r < 8 && c < 8) || (r < 8 && c >= n - 8) || (r >= n - 8 && c < 8);
            if (inFinder) continue;
            h ^= h << 13;
            h ^= h >> 17;
            h ^= h << 5;
            if (h & 1) p.fillRect(QRectF(-size / 2 + c * m, -size / 2 + r * m, m, m), Qt::black);
        }
    if (defect) { // a smear over a third of the code: unreadable
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 110, 100, 230));
        p.drawEllipse(QRectF(-size * 0.1, -size * 0.35, size * 0.5, size * 0.6));
    }
}

void drawLabel(QPainter& p, double w, double h, bool defect) {
    const QRectF body(-w / 2, -h / 2, w, h);
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(QColor(238, 236, 225));
    p.drawRoundedRect(body, 10, 10);
    p.setPen(QPen(QColor(40, 40, 60), 6));
    p.setBrush(Qt::NoBrush);
    const double r = std::min(w, h) * 0.28;
    p.drawEllipse(QPointF(0, 0), r, r);
    // Orientation notch on the right edge.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 60));
    p.drawRect(QRectF(w / 2 - w * 0.08, -h * 0.08, w * 0.08, h * 0.16));
    if (defect) {
        p.setBrush(QColor(30, 30, 30));
        QPainterPath tear;
        tear.moveTo(-w / 2, -h / 2);
        tear.lineTo(-w / 2 + w * 0.35, -h / 2);
        tear.lineTo(-w / 2, -h / 2 + h * 0.45);
        tear.closeSubpath();
        p.drawPath(tear);
    }
}

void drawBarrel(QPainter& p, double d, bool withLabel) {
    p.setPen(Qt::NoPen);
    QRadialGradient g(QPointF(0, 0), d / 2);
    g.setColorAt(0.0, QColor(25, 25, 30));
    g.setColorAt(0.62, QColor(45, 45, 50));
    g.setColorAt(0.66, QColor(205, 205, 210));
    g.setColorAt(0.96, QColor(150, 150, 155));
    g.setColorAt(1.0, QColor(70, 70, 70));
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), d / 2, d / 2);
    // Key slot that gives the barrel its angle.
    p.setBrush(QColor(20, 20, 20));
    p.drawRect(QRectF(d / 2 - d * 0.12, -d * 0.04, d * 0.12, d * 0.08));
    if (withLabel) drawLabel(p, d * 0.55, d * 0.38, false);
}
} // namespace

QImage VisionScene::render(const Frame& f) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    const QColor background = f.lowerCamera ? QColor(18, 18, 22) : QColor(105, 108, 112);
    img.fill(background);
    if (f.kind == NoImage) return img;

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Light falls off towards the corners like under a ring light.
    QRadialGradient light(QPointF(kWidth / 2.0, kHeight / 2.0), kWidth * 0.65);
    light.setColorAt(0.0, QColor(255, 255, 255, f.lowerCamera ? 10 : 40));
    light.setColorAt(1.0, QColor(0, 0, 0, 60));
    p.fillRect(img.rect(), light);

    if (f.kind == EmptyCell || f.kind == Barrel || f.kind == BarrelWithLabel) {
        // The tray pocket around the cell centre.
        p.setPen(QPen(QColor(60, 62, 66), 8));
        p.setBrush(QColor(80, 82, 86));
        p.drawRoundedRect(QRectF(kWidth / 2.0 - 270, kHeight / 2.0 - 270, 540, 540), 30, 30);
    }
    p.translate(f.col, f.row);
    p.rotate(-f.angleDeg);
    switch (f.kind) {
    case LabelOnPlate:
        drawLabel(p, f.widthPx, f.heightPx, f.defect);
        break;
    case LabelOnNozzle:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 66));
        p.drawEllipse(QPointF(0, 0), f.heightPx * 0.6, f.heightPx * 0.6);
        drawLabel(p, f.widthPx, f.heightPx, f.defect);
        break;
    case Barrel:
        drawBarrel(p, f.widthPx, false);
        break;
    case BarrelWithLabel:
        drawBarrel(p, f.widthPx, !f.defect);
        if (f.defect) { // label sits off the barrel
            p.translate(f.widthPx * 0.2, f.widthPx * 0.15);
            drawLabel(p, f.widthPx * 0.55, f.widthPx * 0.38, false);
        }
        break;
    case Code:
        drawCode(p, f.code, f.widthPx, f.defect);
        break;
    case Nozzle: {
        const double r = f.widthPx / 2;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 200, 205));
        p.drawEllipse(QPointF(0, 0), r, r);
        p.setBrush(QColor(18, 18, 22));
        p.drawEllipse(QPointF(0, 0), r * 0.35, r * 0.35);
        // The flat on the tip shows the nozzle's angle.
        p.fillRect(QRectF(r * 0.75, -r, r * 0.3, 2 * r), QColor(18, 18, 22));
        if (f.defect) p.fillRect(QRectF(-r, -r * 0.2, 2 * r, r * 0.4), QColor(90, 70, 50));
        break;
    }
    case PlateMark: {
        p.resetTransform();
        // Dot grid of the plate, 1 mm pitch, moving with the mark.
        const QColor dot = f.lowerCamera ? QColor(220, 220, 220) : QColor(20, 20, 20);
        if (!f.lowerCamera) p.fillRect(img.rect(), QColor(225, 225, 220));
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        const double pitch = f.widthPx;
        for (int i = -12; i <= 12; ++i)
            for (int j = -12; j <= 12; ++j) {
                if (i == 0 && j == 0) continue;
                const QPointF c(f.col + i * pitch, f.row + j * pitch);
                if (c.x() < -20 || c.y() < -20 || c.x() > kWidth + 20 || c.y() > kHeight + 20) continue;
                p.drawEllipse(c, pitch * 0.12, pitch * 0.12);
            }
        if (!f.defect) {
            p.setPen(QPen(dot, 4));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(f.col, f.row), pitch * 0.3, pitch * 0.3);
            p.drawLine(QPointF(f.col - pitch * 0.45, f.row), QPointF(f.col + pitch * 0.45, f.row));
            p.drawLine(QPointF(f.col, f.row - pitch * 0.45), QPointF(f.col, f.row + pitch * 0.45));
        }
        break;
    }
    case EmptyCell:
    case NoImage:
        break;
    }
    return img;
}
