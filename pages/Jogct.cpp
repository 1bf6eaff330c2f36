#include "Jogct.h"
#include "ui_Jogct.h"

// Jog buttons, safe positions and the cylinder buttons come with the jog pages.
Jogct::Jogct(QWidget* parent) : QDialog(parent), ui(new Ui::Jogct) {
    ui->setupUi(this);
}

Jogct::~Jogct() {
    delete ui;
}
