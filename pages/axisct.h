#pragma once
#include <QWidget>

namespace Ui {
class axisct;
}
class ClockTimer;

// One axis of the axis page: position, encoder, limit and home state, jog,
// step move, homing and servo power. Usable in manual mode only.
class axisct : public QWidget {
    Q_OBJECT
public:
    explicit axisct(QWidget* parent = nullptr);
    ~axisct() override;

    // Axis number, its manual speed and its title; outside 0..11 the title stays.
    void setAxis(short axis);
    short axis() const { return m_axis; }

    // The 200 ms refresh of displays and colours; enabled in manual mode only.
    void refresh();

private slots:
    void on_pushButton_clicked();
    void on_doubleSpinBox_2_editingFinished();
    void on_pushButton_2_clicked();
    void on_pushButton_3_pressed();
    void on_pushButton_3_released();
    void on_pushButton_4_pressed();
    void on_pushButton_4_released();
    void on_pushButton_5_clicked();
    void on_pushButton_6_clicked();

private:
    void servo(bool on);

    short m_axis = -1;
    Ui::axisct* ui;
    ClockTimer* m_timer;
};
