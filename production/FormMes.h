#pragma once
#include <QWidget>

namespace Ui {
class FormMes;
}
class ClockTimer;

// MES settings page: machine and station ids, the two MES addresses, test sends.
class FormMes : public QWidget {
    Q_OBJECT
public:
    explicit FormMes(QWidget* parent = nullptr);
    ~FormMes() override;

    // The settings may be edited: manual mode and a user above level 1.
    static bool settingsEditable();
    static constexpr int kLogLines = 50000;

public slots:
    void inituitovar(); // page into the settings file and the globals
    void initvartoui(); // settings file into the page and the globals
    void tick();        // the 200 ms timer

private slots:
    void on_pushButton_mesin_clicked();
    void on_pushButton_mesout_clicked();
    void on_pushButton_testsend_clicked();
    void on_pushButton_clearlog_clicked();

private:
    Ui::FormMes* ui;
    ClockTimer* m_timer;
};
