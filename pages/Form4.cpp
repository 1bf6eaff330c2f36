#include "Form4.h"
#include "ui_Form4.h"

Form4::Form4(QWidget* parent) : ParameterPage(parent), ui(new Ui::Form4) {
    ui->setupUi(this);
    relaySaveButton(ui->pushButton_63);
    initvartoui();
}

Form4::~Form4() {
    delete ui;
}

// The page's fields and their array elements come with the parameter pages.
void Form4::inituitovar() {}

void Form4::initvartoui() {}
