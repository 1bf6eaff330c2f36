#include "zhou.h"
#include "ui_zhou.h"

zhou::zhou(QWidget* parent) : QDialog(parent), ui(new Ui::zhou) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
}

zhou::~zhou() {
    delete ui;
}

// The axis panels keep no parameters of their own.
void zhou::inituitovar() {}

void zhou::initvartoui() {}
