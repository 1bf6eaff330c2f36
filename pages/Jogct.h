#pragma once
#include <QDialog>

namespace Ui {
class Jogct;
}
class ClockTimer;
class QAbstractButton;

// Jog speed factor of the jog dialog: 0.01, 0.1 or 1.0 on gd[41].
extern double jogFactor;

// Floating jog window ("JOG"): created hidden once, shown and centred on demand.
// Jogs the pick axes while a button is held, moves them to their safe positions,
// and switches lights, feeder, nozzle, cylinders, door lock and belts by hand.
class Jogct : public QDialog {
    Q_OBJECT
public:
    explicit Jogct(QWidget* parent = nullptr);
    ~Jogct() override;

    // The 100 ms refresh: protection switch, manual-mode enable, output states.
    void refresh();

private slots:
    void on_pushButton_100_clicked();
    void on_pushButton_103_clicked();
    void on_pushButton_106_clicked();
    void on_pushButton_109_clicked();
    void on_radioButton_3_clicked();
    void on_radioButton_2_clicked();
    void on_radioButton_clicked();
    void on_doubleSpinBox_valueChanged(double value);
    void on_checkBox_1_clicked(bool checked);
    void on_pushButton_219_clicked();
    void on_pushButton_220_clicked();

private:
    void connectJog(QAbstractButton* button, int axis, int dir);
    void connectOutputs();

    Ui::Jogct* ui;
    ClockTimer* m_timer;
    struct Shown {
        QAbstractButton* button;
        int output;
    };
    QVector<Shown> m_shown;
};
