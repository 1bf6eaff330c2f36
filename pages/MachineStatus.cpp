#include "MachineStatus.h"
#include "ui_MachineStatus.h"

// The charts, the period buttons and the state database come with the statistics.
MachineStatus::MachineStatus(QWidget* parent) : QWidget(parent), ui(new Ui::MachineStatus) {
    ui->setupUi(this);
}

MachineStatus::~MachineStatus() {
    delete ui;
}
