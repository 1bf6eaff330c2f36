#pragma once
// The panel's picture of the two belts: trays where they are, the belt sensors
// lit while a tray covers them, the stoppers and the lift, and at both ends the
// neighbour machines with their hand-shake lines. Below it, the neighbours'
// behaviour can be changed (slow, silent) as a person at the line would.
#include "sim/Tray.h"

#include <QMap>
#include <QPointF>
#include <QWidget>

#include <array>
#include <vector>

namespace sim {
class Plant;
}
class QCheckBox;
class QTimer;

class BeltView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 100;

    explicit BeltView(sim::Plant& plant, QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(1000, 520); }
    // Where the last painting put the lamp of a belt sensor (input image), or (-1, -1).
    QPointF sensorPoint(int image) const { return m_sensorPts.value(image, QPointF(-1, -1)); }

public slots:
    // Copies the plant's state for painting; the view's own timer calls it.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Lane {
        bool present = false;
        std::vector<sim::Tray> trays;
        std::vector<bool> lifted;
        std::vector<std::pair<int, double>> sensors;
        std::vector<bool> sensorOn;
        std::vector<double> stopperX;
        std::vector<bool> stopperUp;
        double liftX = -1;
        bool liftUp = false;
        bool running = false;
        double length = 800;
        // Per end (0 upstream, 1 downstream): the neighbour's three signals, this
        // machine's three, its stage, and whether it is slowed or silent.
        std::array<std::array<bool, 3>, 2> theirs{}, ours{};
        std::array<int, 2> stage{};
        std::array<int, 2> base{};
        std::array<bool, 2> silent{};
    };
    void paintLane(class QPainter& p, const Lane& lane, const QRectF& area, const QString& title,
                   const char* const names[2][2][3]);
    // With TAVRIN_BELT_SHOTS=<folder>: a picture of the panel every TAVRIN_BELT_SHOT_MS (default 2000).
    void armShots();

    sim::Plant& m_plant;
    QTimer* m_timer;
    std::array<Lane, 2> m_lanes; // 0 finished-product belt, 1 empty-tray belt
    std::array<QCheckBox*, 4> m_slow{};
    std::array<QCheckBox*, 4> m_silent{};
    QMap<int, QPointF> m_sensorPts;
    int m_shot = 0;
};
