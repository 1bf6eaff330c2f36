#include "Form3.h"
#include "ui_Form3.h"

Form3::Form3(QWidget* parent) : QWidget(parent), ui(new Ui::Form3) {
    ui->setupUi(this);
    initvartoui();
}

Form3::~Form3() {
    delete ui;
}

// The page's fields and their array elements come with the parameter pages.
void Form3::inituitovar() {}

void Form3::initvartoui() {}

void Form3::on_pushButton_63_clicked() {
    emit m_sigsavedata();
}
