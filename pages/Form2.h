#pragma once
#include "pages/ParameterBinding.h"
#include "pages/ParameterPage.h"

namespace Ui {
class Form2;
}
class ClockTimer;
class QDoubleSpinBox;
class QLineEdit;

// Position settings: tray geometry, speeds, photo settings, times and taught
// positions, with the teach, GO, photo and single-action buttons of each point.
class Form2 : public ParameterPage {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    // The 200 ms tick: displays first, then what the operator may use.
    void refresh();

public slots:
    void inituitovar() override;
    void initvartoui() override;

private slots:
    void on_pushButton_212_clicked();
    void on_pushButton_213_clicked();
    void on_pushButton_223_clicked();
    void on_pushButton_230_clicked();
    void on_pushButton_303_clicked();
    void on_pushButton_300_clicked();
    void on_pushButton_301_clicked();
    void on_pushButton_304_clicked();
    void on_pushButton_309_clicked();
    void on_pushButton_307_clicked();
    void on_pushButton_310_clicked();
    void on_pushButton_306_clicked();
    void on_pushButton_305_clicked();
    void on_pushButton_308_clicked();

private:
    void bindFields();
    void connectTeach();
    void connectGo();
    void showVerdicts();
    void showNotice();

    Ui::Form2* ui;
    ClockTimer* m_timer;
    ParameterBinding m_binding;
    PageEnabling m_enabling;
};
