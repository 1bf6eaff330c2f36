#include "Login1.h"
#include "ui_Login1.h"

#include "Users.h"
#include "app/MachineData.h"
#include "app/Prompt.h"

Login1::Login1(QWidget* parent) : QDialog(parent), ui(new Ui::Login1) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    ui->lineEdit->setMaxLength(Users::kMaxPasswordLength);
}

Login1::~Login1() {
    delete ui;
}

void Login1::on_pushButton_3_clicked() {
    ui->label_4->clear();
    const int before = userLevel;
    const Users::LoginResult result = Users::login(ui->comboBox->currentIndex(), ui->lineEdit->text());
    if (result == Users::LoginResult::EmptyPassword) {
        Prompt::warning(this, QString(), QCoreApplication::translate("Login1", "密码不能为空!"));
        return;
    }
    ui->lineEdit->clear();
    if (result == Users::LoginResult::Accepted) {
        ui->label_4->setText(QCoreApplication::translate("Login1", "登录成功"));
        emit S_dengluok();
        close();
    } else {
        ui->label_4->setText(QCoreApplication::translate("Login1", "密码错误"));
        // The title must not go on naming a user who is no longer logged in.
        if (before != 0) emit S_dengluok();
    }
}

void Login1::on_pushButton_2_clicked() {
    userLevel = 0;
    ui->lineEdit->clear();
    emit S_dengluok();
    close();
}

void Login1::on_pushButton_clicked() {
    close();
}
