#pragma once
#include "pages/ParameterBinding.h"
#include "pages/ParameterPage.h"

#include <functional>

namespace Ui {
class Form4;
}
class ClockTimer;
class QLineEdit;

// Calibration settings: camera calibration positions and calibration starts.
class Form4 : public ParameterPage {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);
    ~Form4() override;

    // The 200 ms refresh: positions, camera return values and the enabling.
    void refresh();

public slots:
    void inituitovar() override;
    void initvartoui() override;

private slots:
    // Teach
    void on_pushButton_101_clicked();
    void on_pushButton_102_clicked();
    void on_pushButton_103_clicked();
    void on_pushButton_104_clicked();
    void on_pushButton_105_clicked();
    // GO
    void on_pushButton_400_clicked();
    void on_pushButton_401_clicked();
    void on_pushButton_402_clicked();
    void on_pushButton_403_clicked();
    void on_pushButton_404_clicked();
    void on_pushButton_405_clicked();
    void on_pushButton_406_clicked();
    void on_pushButton_407_clicked();
    void on_pushButton_408_clicked();
    void on_pushButton_409_clicked();
    void on_pushButton_410_clicked();
    void on_pushButton_411_clicked();
    // Photos and calibration starts
    void on_pushButton_300_clicked();
    void on_pushButton_303_clicked();
    void on_pushButton_301_clicked();
    void on_pushButton_304_clicked();
    void on_pushButton_306_clicked();
    void on_pushButton_307_clicked();
    void on_pushButton_308_clicked();

private:
    void teach(volatile double* x, volatile double* y, volatile double* z);
    void showResult(int task, QLineEdit* x, QLineEdit* y, QLineEdit* q, QLineEdit* verdict);
    void startCalibration(const std::function<void()>& start);

    Ui::Form4* ui;
    ClockTimer* m_timer;
    ParameterBinding m_binding;
    PageEnabling m_enabling;
};
