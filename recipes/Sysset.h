#pragma once
// System settings: password change and reset, saving the parameters, the software
// version and the step numbers of the running sequences.
#include <QDialog>

class ClockTimer;
namespace Ui {
class Sysset;
}

class Sysset : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kVersion = "QRLM01.01.001";

    explicit Sysset(QWidget* parent = nullptr);
    ~Sysset() override;

public slots:
    // The step numbers, every 100 ms.
    void refreshSteps();

private slots:
    void on_pushButton_2_clicked();  // "修改"
    void on_pushButton_63_clicked(); // "保存参数"
    void on_pushButton_clicked();    // "返回"

private:
    Ui::Sysset* ui;
    ClockTimer* stepTimer = nullptr;
};
