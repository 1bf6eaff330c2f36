#include "Peifang1.h"
#include "ui_Peifang1.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/RefreshWhileShown.h"
#include "platform/kzct.h"

Peifang1::Peifang1(QWidget* parent) : QDialog(parent), ui(new Ui::Peifang1) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    peifangini(ui->listWidget, ui->label_3);
    setWindowTitle(QCoreApplication::translate("Peifang1", "配方管理"));
    refresh();
    refreshTimer = new ClockTimer(this);
    connect(refreshTimer, &ClockTimer::timeout, this, &Peifang1::refresh);
    refreshWhileShown(this, refreshTimer, 100, [this] { refresh(); });
    switchTimer = new ClockTimer(this);
    switchTimer->setSingleShot(true);
    switchTimer->stop();
    connect(switchTimer, &ClockTimer::timeout, this, &Peifang1::switchFinished);
}

Peifang1::~Peifang1() {
    delete ui;
}

void Peifang1::refresh() {
    const bool allowed = manualMode == 1.0 && userLevel >= 1;
    setEditingEnabled(allowed);
    ui->lineEdit_2->setEnabled(allowed);
}

void Peifang1::setEditingEnabled(bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(ui->listWidget), static_cast<QWidget*>(ui->pushButton_2),
                       static_cast<QWidget*>(ui->pushButton_3), static_cast<QWidget*>(ui->pushButton_4),
                       static_cast<QWidget*>(ui->pushButton_5), static_cast<QWidget*>(ui->pushButton_6)})
        w->setEnabled(enabled);
}

void Peifang1::reloadList() {
    ui->listWidget->clear();
    peifangini(ui->listWidget, ui->label_3);
}

void Peifang1::on_pushButton_clicked() {
    close();
}

// The notice stays up the full six seconds whatever the switch did.
void Peifang1::on_pushButton_2_clicked() {
    switching = true;
    switchTimer->start(kSwitchNoticeMs);
    setEditingEnabled(false);
    if (peifangselecte(ui->listWidget)) emit S_xuanzhepeifang();
    reloadList();
    notice.setText(QCoreApplication::translate("Peifang1", "切换配方中。。。"));
    if (switching) notice.exec();
}

void Peifang1::switchFinished() {
    switching = false;
    // The mode and level decide at once, not at the next refresh.
    refresh();
    notice.close();
    switchTimer->stop();
}

void Peifang1::on_pushButton_3_clicked() {
    peifangnew(ui->listWidget);
}

void Peifang1::on_pushButton_4_clicked() {
    peifangcopy(ui->listWidget);
}

void Peifang1::on_pushButton_5_clicked() {
    peifangdelete(ui->listWidget);
}

void Peifang1::on_listWidget_itemClicked(QListWidgetItem* item) {
    ui->lineEdit->setText(item->text());
    ui->lineEdit_2->setText(item->text());
}

void Peifang1::on_pushButton_6_clicked() {
    const QString before = kzct::currentRecipeName();
    peifangrename(ui->lineEdit->text(), ui->lineEdit_2->text());
    reloadList();
    if (kzct::currentRecipeName() != before) emit currentRecipeRenamed();
}
