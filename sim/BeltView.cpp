#include "BeltView.h"

#include "sim/BeltTransport.h"
#include "sim/Plant.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char* const kFinishedNames[2][2][3] = {
    {{"IN_Ready", "IN_Busy", "IN_Beg"}, {"OT_Ready", "OT_Recive", "OT_Compeled"}},
    {{"IN_Ready", "IN_Recive", "IN_Compeled"}, {"OT_Ready", "OT_Busy", "OT_Beg"}}};

const char* const kStageNames[2][5] = {
    {QT_TRANSLATE_NOOP("VmPanel", "等待料盘 idle"), "Ready", "Beg",
     QT_TRANSLATE_NOOP("VmPanel", "送出 pushing"), QT_TRANSLATE_NOOP("VmPanel", "完成 done")},
    {QT_TRANSLATE_NOOP("VmPanel", "等待空位 idle"), "Ready", "Recive",
     QT_TRANSLATE_NOOP("VmPanel", "接收 pulling"), QT_TRANSLATE_NOOP("VmPanel", "完成 done")}};

const QColor kLit(40, 200, 60);
const QColor kDark(70, 70, 70);
const QColor kBelt(55, 55, 60);

void lamp(QPainter& p, const QPointF& c, double r, bool on) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(on ? kLit : kDark);
    p.drawEllipse(c, r, r);
}

} // namespace

BeltView::BeltView(sim::Plant& plant, QWidget* parent)
    : QWidget(parent), m_plant(plant), m_timer(new QTimer(this)) {
    setObjectName("beltView");
    setMinimumSize(600, 420);
    auto* root = new QVBoxLayout(this);
    root->addStretch(1);
    auto* controls = new QGridLayout;
    const char* const who[4] = {
        QT_TRANSLATE_NOOP("VmPanel", "成品线上游"), QT_TRANSLATE_NOOP("VmPanel", "成品线下游"),
        QT_TRANSLATE_NOOP("VmPanel", "空盘线上游"), QT_TRANSLATE_NOOP("VmPanel", "空盘线下游")};
    const sim::Belts belts = sim::findBelts(m_plant);
    sim::Neighbour* const neighbours[4] = {belts.finishedUp, belts.finishedDown, belts.emptyUp,
                                           belts.emptyDown};
    for (int i = 0; i < 4; ++i) {
        const int row = i / 2, col = (i % 2) * 3;
        controls->addWidget(new QLabel(QCoreApplication::translate("VmPanel", who[i]), this), row, col);
        m_slow[size_t(i)] = new QCheckBox(QCoreApplication::translate("VmPanel", "慢 slow"), this);
        m_silent[size_t(i)] = new QCheckBox(QCoreApplication::translate("VmPanel", "不应答 silent"), this);
        controls->addWidget(m_slow[size_t(i)], row, col + 1);
        controls->addWidget(m_silent[size_t(i)], row, col + 2);
        sim::Neighbour* n = neighbours[i];
        if (!n) continue;
        connect(m_slow[size_t(i)], &QCheckBox::toggled, this, [this, n](bool on) {
            auto g = m_plant.lock();
            n->setSlowFactor(on ? 10 : 1);
        });
        connect(m_silent[size_t(i)], &QCheckBox::toggled, this, [this, n](bool on) {
            auto g = m_plant.lock();
            n->setSilent(on);
        });
    }
    controls->setColumnStretch(6, 1);
    root->addLayout(controls);
    refresh();
    connect(m_timer, &QTimer::timeout, this, &BeltView::refresh);
    m_timer->start(kRefreshMs);
    armShots();
}

void BeltView::armShots() {
    const QString dir = qEnvironmentVariable("TAVRIN_BELT_SHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    const int period = qEnvironmentVariableIntValue("TAVRIN_BELT_SHOT_MS");
    auto* shots = new QTimer(this);
    connect(shots, &QTimer::timeout, this, [this, dir] {
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(w)) tabs->setCurrentIndex(tabs->indexOf(this));
        window()->grab().save(QString("%1/belts-%2.png").arg(dir).arg(m_shot++, 3, 10, QChar('0')), "PNG");
    });
    shots->start(period > 0 ? period : 2000);
}

void BeltView::refresh() {
    auto g = m_plant.lock();
    const sim::Belts b = sim::findBelts(m_plant);
    const sim::BeltTransport* belts[2] = {b.finished, b.empty};
    const sim::Neighbour* ends[2][2] = {{b.finishedUp, b.finishedDown}, {b.emptyUp, b.emptyDown}};
    for (size_t i = 0; i < 2; ++i) {
        Lane& l = m_lanes[i];
        const sim::BeltTransport* belt = belts[i];
        l.present = belt != nullptr;
        if (!belt) continue;
        const sim::BeltLayout& lay = belt->layout();
        l.trays = belt->trays();
        l.lifted.clear();
        for (const sim::Tray& t : l.trays) l.lifted.push_back(belt->lifted(t));
        l.sensors = lay.sensors;
        l.sensorOn.clear();
        for (const auto& s : lay.sensors) l.sensorOn.push_back(m_plant.input(s.first));
        l.stopperX.clear();
        l.stopperUp.clear();
        for (size_t s = 0; s < lay.stoppers.size(); ++s) {
            l.stopperX.push_back(lay.stoppers[s].second);
            l.stopperUp.push_back(belt->stopperUp(s));
        }
        l.liftX = lay.lift >= 0 ? (lay.liftFrom + lay.liftTo) / 2 : -1;
        l.liftUp = belt->liftUp();
        l.running = belt->running();
        l.length = lay.length;
        for (size_t e = 0; e < 2; ++e) {
            const sim::Neighbour* n = ends[i][e];
            if (!n) continue;
            l.base[e] = n->base();
            l.stage[e] = n->stage();
            l.silent[e] = n->silent();
            for (int k = 0; k < 3; ++k) {
                l.theirs[e][size_t(k)] = n->signal(k);
                l.ours[e][size_t(k)] = m_plant.output(n->base() + k);
            }
        }
    }
    update();
}

void BeltView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(236, 238, 242));
    const double laneH = (height() - 70) / 2.0;
    paintLane(p, m_lanes[0], QRectF(0, 0, width(), laneH),
              QCoreApplication::translate("VmPanel", "成品线 finished-product belt (upper)"), kFinishedNames);
    paintLane(p, m_lanes[1], QRectF(0, laneH, width(), laneH),
              QCoreApplication::translate("VmPanel", "空盘线 empty-tray belt (lower)"), kFinishedNames);
}

void BeltView::paintLane(QPainter& p, const Lane& l, const QRectF& area, const QString& title,
                         const char* const names[2][2][3]) {
    if (!l.present) return;
    const double boxW = 170, margin = 8;
    const QRectF beltArea(area.left() + boxW + 2 * margin, area.top(), area.width() - 2 * boxW - 4 * margin,
                          area.height());
    const double beltY = area.top() + area.height() * 0.52;
    const double beltH = 22;
    auto xOf = [&](double mm) { return beltArea.left() + mm / l.length * beltArea.width(); };

    p.setPen(Qt::black);
    QFont f = p.font();
    f.setBold(true);
    p.setFont(f);
    p.drawText(QPointF(beltArea.left(), area.top() + 18),
               title + (l.running ? QCoreApplication::translate("VmPanel", "  ▶ 运行 running")
                                  : QCoreApplication::translate("VmPanel", "  ■ 停止 stopped")));
    f.setBold(false);
    p.setFont(f);

    // The belt, with chevrons that show whether it runs.
    p.setPen(Qt::NoPen);
    p.setBrush(kBelt);
    p.drawRoundedRect(QRectF(beltArea.left(), beltY, beltArea.width(), beltH), 8, 8);
    p.setPen(QPen(l.running ? kLit : QColor(120, 120, 120), 2));
    for (double x = beltArea.left() + 12; x < beltArea.right() - 8; x += 28)
        p.drawPolyline(QPolygonF(
            {QPointF(x, beltY + 5), QPointF(x + 6, beltY + beltH / 2), QPointF(x, beltY + beltH - 5)}));

    // The lift under the assembly position.
    if (l.liftX >= 0) {
        const QRectF lift(xOf(l.liftX - 60), beltY + (l.liftUp ? -4 : beltH + 4), xOf(60) - xOf(0) + 0, 10);
        p.setPen(Qt::black);
        p.setBrush(l.liftUp ? QColor(255, 150, 0) : QColor(170, 170, 170));
        p.drawRect(lift);
        p.drawText(QPointF(lift.left(), beltY + beltH + 34),
                   l.liftUp ? QCoreApplication::translate("VmPanel", "顶升 lift ▲")
                            : QCoreApplication::translate("VmPanel", "顶升 lift ▼"));
    }

    // Trays: product trays show their barrels; a lifted tray stands clear of the belt.
    p.save();
    p.setClipRect(beltArea.adjusted(-margin, 0, margin, 0));
    for (size_t i = 0; i < l.trays.size(); ++i) {
        const sim::Tray& t = l.trays[i];
        const double lift = l.lifted[i] ? 10 : 0;
        const QRectF r(xOf(t.rear()), beltY - 40 - lift, xOf(t.front) - xOf(t.rear()), 38);
        p.setPen(QPen(l.lifted[i] ? QColor(255, 150, 0) : Qt::black, l.lifted[i] ? 3 : 1));
        p.setBrush(t.empty ? QColor(150, 190, 230) : QColor(196, 150, 100));
        p.drawRoundedRect(r, 4, 4);
        p.setPen(Qt::black);
        p.drawText(r.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString("#%1").arg(t.id));
        const int n = int(t.barrels.size());
        for (int c = 0; c < n; ++c) {
            const double cx = r.left() + (c % 6 + 0.5) * r.width() / 6;
            const double cy = r.bottom() - 12 + (c / 6) * 7;
            p.setBrush(t.barrels[size_t(c)] ? QColor(40, 40, 40) : Qt::white);
            p.drawEllipse(QPointF(cx, cy), 2.5, 2.5);
        }
    }
    p.restore();

    // Stoppers: a raised stopper stands across the belt.
    for (size_t s = 0; s < l.stopperX.size(); ++s) {
        const double x = xOf(l.stopperX[s]);
        p.setPen(Qt::NoPen);
        p.setBrush(l.stopperUp[s] ? QColor(220, 40, 40) : QColor(160, 160, 160));
        p.drawRect(l.stopperUp[s] ? QRectF(x, beltY - 26, 5, 26 + beltH)
                                  : QRectF(x, beltY + beltH - 4, 5, 10));
        p.setPen(Qt::black);
        p.drawText(QPointF(x - 20, beltY - 60), s == 0 ? QCoreApplication::translate("VmPanel", "缓存阻挡")
                                                       : QCoreApplication::translate("VmPanel", "组装阻挡"));
    }

    // Sensors below the belt.
    for (size_t s = 0; s < l.sensors.size(); ++s) {
        const QPointF c(xOf(l.sensors[s].second), beltY + beltH + 14);
        lamp(p, c, 6, l.sensorOn[s]);
        m_sensorPts[l.sensors[s].first] = c;
        p.setPen(Qt::black);
        p.drawText(QPointF(c.x() - 10, c.y() + 20), QString("X%1").arg(l.sensors[s].first));
    }

    // The neighbours and their hand-shake lines.
    for (int e = 0; e < 2; ++e) {
        const QRectF box(e == 0 ? area.left() + margin : area.right() - boxW - margin, area.top() + 26, boxW,
                         area.height() - 34);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(l.silent[size_t(e)] ? QColor(250, 210, 210) : Qt::white);
        p.drawRoundedRect(box, 6, 6);
        const double lh = p.fontMetrics().lineSpacing();
        double y = box.top() + 4 + p.fontMetrics().ascent();
        f.setBold(true);
        p.setFont(f);
        p.drawText(QPointF(box.left() + 6, y),
                   e == 0 ? QCoreApplication::translate("VmPanel", "上游 upstream")
                          : QCoreApplication::translate("VmPanel", "下游 downstream"));
        f.setBold(false);
        p.setFont(f);
        y += lh;
        p.drawText(QPointF(box.left() + 6, y),
                   QCoreApplication::translate("VmPanel", kStageNames[e][l.stage[size_t(e)]]) +
                       (l.silent[size_t(e)] ? QStringLiteral(" (silent)") : QString()));
        for (int side = 0; side < 2; ++side) {
            y += lh * 1.2;
            p.drawText(QPointF(box.left() + 6, y),
                       side == 0 ? QCoreApplication::translate("VmPanel", "→ 本机输入 in")
                                 : QCoreApplication::translate("VmPanel", "← 本机输出 out"));
            for (int k = 0; k < 3; ++k) {
                y += lh;
                const bool on = side == 0 ? l.theirs[size_t(e)][size_t(k)] : l.ours[size_t(e)][size_t(k)];
                lamp(p, QPointF(box.left() + 14, y - p.fontMetrics().ascent() / 2.5), 5, on);
                p.drawText(QPointF(box.left() + 24, y),
                           QString("%1 %2").arg(l.base[size_t(e)] + k).arg(names[e][side][k]));
            }
        }
    }
}
