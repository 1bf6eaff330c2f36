#pragma once
#include <QWidget>

namespace Ui {
class MachineStatus;
}

// Machine status page: how the machine spent a chosen period, as two pie charts.
class MachineStatus : public QWidget {
    Q_OBJECT
public:
    explicit MachineStatus(QWidget* parent = nullptr);
    ~MachineStatus() override;

private:
    Ui::MachineStatus* ui;
};
