#include "ioct.h"
#include "ui_ioct.h"

// The name tables and the output buttons come with the I/O page itself.
ioct::ioct(QWidget* parent) : QWidget(parent), ui(new Ui::ioct) {
    ui->setupUi(this);
}

ioct::~ioct() {
    delete ui;
}
