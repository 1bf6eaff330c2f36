#include "Sysset.h"
#include "ui_Sysset.h"

#include "Users.h"
#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/Prompt.h"
#include "app/RefreshWhileShown.h"
#include "sequences/CycleData.h"

#include <QCoreApplication>
#include <QLineEdit>

Sysset::Sysset(QWidget* parent) : QDialog(parent), ui(new Ui::Sysset) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    for (QLineEdit* field : {ui->lineEdit, ui->lineEdit_2, ui->lineEdit_3}) {
        field->setMaxLength(Users::kMaxPasswordLength);
        field->setEchoMode(QLineEdit::Password);
    }
    ui->lineEdit_6->setText(QString::fromLatin1(kVersion));
    refreshSteps();
    stepTimer = new ClockTimer(this);
    connect(stepTimer, &ClockTimer::timeout, this, &Sysset::refreshSteps);
    refreshWhileShown(this, stepTimer, 100, [this] { refreshSteps(); });
}

Sysset::~Sysset() {
    delete ui;
}

void Sysset::refreshSteps() {
    ui->doubleSpinBox->setValue(stepC);
    ui->doubleSpinBox_2->setValue(stepA);
    ui->doubleSpinBox_3->setValue(stepB);
    ui->doubleSpinBox_4->setValue(lineInStep);
    ui->doubleSpinBox_5->setValue(emptyStep);
    ui->doubleSpinBox_6->setValue(feederStep);
}

void Sysset::on_pushButton_2_clicked() {
    ui->label_6->setText(QStringLiteral(" "));
    auto clearFields = [this] {
        ui->lineEdit->clear();
        ui->lineEdit_2->clear();
        ui->lineEdit_3->clear();
    };
    switch (Users::changePassword(ui->comboBox->currentIndex(), ui->lineEdit->text(), ui->lineEdit_2->text(),
                                  ui->lineEdit_3->text())) {
    case Users::ChangeResult::Reset:
        clearFields();
        ui->label_6->setText(QCoreApplication::translate("Sysset", "密码初始化成功！"));
        break;
    case Users::ChangeResult::EmptyField:
        Prompt::warning(this, QString(), QCoreApplication::translate("Sysset", "密码不能为空！"));
        break;
    case Users::ChangeResult::NewDiffers:
        Prompt::warning(this, QString(), QCoreApplication::translate("Sysset", "新密码不同！"));
        break;
    case Users::ChangeResult::WrongOldPassword:
        ui->label_6->setText(QCoreApplication::translate("Sysset", "密码错误"));
        break;
    case Users::ChangeResult::Changed:
        ui->label_6->setText(QCoreApplication::translate("Sysset", "修改成功"));
        clearFields();
        break;
    case Users::ChangeResult::ReadFailed:
        ui->label_6->setText(QCoreApplication::translate("Sysset", "密码文件无法读取！"));
        break;
    case Users::ChangeResult::WriteFailed:
        ui->label_6->setText(QCoreApplication::translate("Sysset", "密码文件写入失败！"));
        break;
    }
}

void Sysset::on_pushButton_63_clicked() {
    inivartofile();
}

void Sysset::on_pushButton_clicked() {
    close();
}
