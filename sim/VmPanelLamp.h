#pragma once
// A round indicator of the virtual machine's panel: lit in its colour when on,
// dark grey when off.
#include <QColor>
#include <QWidget>

class VmPanelLamp : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool on READ isOn WRITE setOn)
    Q_PROPERTY(QColor onColor READ onColor WRITE setOnColor)
    Q_PROPERTY(int diameter READ diameter WRITE setDiameter)

public:
    explicit VmPanelLamp(QWidget* parent = nullptr);

    bool isOn() const { return m_on; }
    void setOn(bool on);
    QColor onColor() const { return m_onColor; }
    void setOnColor(const QColor& color);
    int diameter() const { return m_diameter; }
    void setDiameter(int diameter);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_on = false;
    QColor m_onColor = QColor(40, 200, 60);
    int m_diameter = 16;
};
