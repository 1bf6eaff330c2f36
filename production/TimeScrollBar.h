#pragma once
// A wheel of consecutive values (hours, minutes or seconds) turned by dragging:
// five values show, the current one in the middle.
#include <QWidget>

class TimeScrollBar : public QWidget {
    Q_OBJECT
public:
    explicit TimeScrollBar(QWidget* parent = nullptr);

    int value() const { return m_value; }
    void setValue(int value);
    void setRange(int minimum, int maximum);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int visibleCount() const { return m_shown; }
    // Height of one value in pixels, and the current drag offset.
    int step() const;
    int offset() const { return m_offset; }

signals:
    void signal_valueChanged(int value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int clampOffset(int offset) const;

    int m_value = 0;
    int m_min = 0;
    int m_max = 59;
    const int m_shown = 5;
    int m_offset = 0;
    int m_pressPos = 0;
    bool m_pressed = false;
    Qt::Orientation m_orientation = Qt::Vertical;
};
