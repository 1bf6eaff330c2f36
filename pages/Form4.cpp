#include "Form4.h"
#include "ui_Form4.h"

Form4::Form4(QWidget* parent) : QWidget(parent), ui(new Ui::Form4) {
    ui->setupUi(this);
    initvartoui();
}

Form4::~Form4() {
    delete ui;
}

// The page's fields and their array elements come with the parameter pages.
void Form4::inituitovar() {}

void Form4::initvartoui() {}

void Form4::on_pushButton_63_clicked() {
    emit m_sigsavedata();
}
