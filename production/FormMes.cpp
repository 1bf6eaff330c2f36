#include "FormMes.h"
#include "ui_FormMes.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/RefreshWhileShown.h"
#include "platform/KZLOG.h"
#include "production/MesConfig.h"
#include "production/MesMessages.h"
#include "production/kzhttp.h"

FormMes::FormMes(QWidget* parent) : QWidget(parent), ui(new Ui::FormMes), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    KZLOG::UILog* log = KZLOG::UILog::GetInstance();
    log->setMaxLines("textEdit", kLogLines);
    log->InsertUi("textEdit", QString(), ui->textEdit);
    initvartoui();
    connect(m_timer, &ClockTimer::timeout, this, &FormMes::tick);
    refreshWhileShown(this, m_timer, 200, [this] { tick(); });
    tick();
}

FormMes::~FormMes() {
    KZLOG::UILog::GetInstance()->RemoveUi("textEdit");
    delete ui;
}

bool FormMes::settingsEditable() {
    return manualMode != 0.0 && userLevel > 1;
}

void FormMes::tick() {
    ui->groupBox_mes->setEnabled(settingsEditable());
}

void FormMes::inituitovar() {
    mesMacId = ui->lineEdit_macid->text();
    mesStationId = ui->lineEdit_station->text();
    mesOutUrl = ui->lineEdit_outurl->text();
    mesInUrl = ui->lineEdit_inurl->text();
    QString error;
    if (!MesConfig::save(&error)) KZLOG::CLog::Error(QStringLiteral("MES设置保存失败: %1").arg(error));
}

void FormMes::initvartoui() {
    MesConfig::load();
    ui->lineEdit_macid->setText(mesMacId);
    ui->lineEdit_station->setText(mesStationId);
    ui->lineEdit_outurl->setText(mesOutUrl);
    ui->lineEdit_inurl->setText(mesInUrl);
}

void FormMes::on_pushButton_mesin_clicked() {
    ui->textEdit_send->setPlainText(QString::fromUtf8(mesInRequest()));
}

void FormMes::on_pushButton_mesout_clicked() {
    ui->textEdit_send->setPlainText(QString::fromUtf8(mesOutRequest()));
}

void FormMes::on_pushButton_testsend_clicked() {
    const QString address = ui->lineEdit_testurl->text().trimmed();
    if (address.isEmpty()) return;
    // The wait runs the event loop: no second send may start inside it.
    ui->pushButton_testsend->setEnabled(false);
    kzhttp http;
    emit http.postData(address, ui->textEdit_send->toPlainText().toUtf8());
    if (http.waitAnswer() != 1)
        KZLOG::UILog::GetInstance()->AddLog("textEdit", QStringLiteral("测试发送失败: %1").arg(http.errData),
                                            KZLOG::Level::Warn);
    ui->pushButton_testsend->setEnabled(true);
}

void FormMes::on_pushButton_clearlog_clicked() {
    ui->textEdit->clear();
}
