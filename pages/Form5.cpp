#include "Form5.h"
#include "ui_Form5.h"

Form5::Form5(QWidget* parent) : ParameterPage(parent), ui(new Ui::Form5) {
    ui->setupUi(this);
    relaySaveButton(ui->pushButton_63);
    initvartoui();
}

Form5::~Form5() {
    delete ui;
}

// The page's fields and their array elements come with the parameter pages.
void Form5::inituitovar() {}

void Form5::initvartoui() {}
