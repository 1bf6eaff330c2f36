#include "Form2.h"
#include "ui_Form2.h"

Form2::Form2(QWidget* parent) : ParameterPage(parent), ui(new Ui::Form2) {
    ui->setupUi(this);
    relaySaveButton(ui->pushButton_63);
    initvartoui();
}

Form2::~Form2() {
    delete ui;
}

// The page's fields and their array elements come with the parameter pages.
void Form2::inituitovar() {}

void Form2::initvartoui() {}
