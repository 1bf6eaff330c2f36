#include "FormMes.h"
#include "ui_FormMes.h"

FormMes::FormMes(QWidget* parent) : QWidget(parent), ui(new Ui::FormMes) {
    ui->setupUi(this);
    initvartoui();
}

FormMes::~FormMes() {
    delete ui;
}

// The MES fields and their settings file come with the MES messages.
void FormMes::inituitovar() {}

void FormMes::initvartoui() {}
