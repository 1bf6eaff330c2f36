#include "Form3.h"
#include "ui_Form3.h"

Form3::Form3(QWidget* parent) : ParameterPage(parent), ui(new Ui::Form3) {
    ui->setupUi(this);
    relaySaveButton(ui->pushButton_63);
    initvartoui();
}

Form3::~Form3() {
    delete ui;
}

// The page's fields and their array elements come with the parameter pages.
void Form3::inituitovar() {}

void Form3::initvartoui() {}
