#include "MachineStatus.h"
#include "ui_MachineStatus.h"

#include "platform/Clock.h"
#include "platform/KZLOG.h"
#include "production/DateTimeEdit.h"
#include "production/HMChart.h"
#include "production/MachineStateStore.h"
#include "production/StateStatistics.h"

#include <QCoreApplication>
#include <QSqlDatabase>

namespace ss = StateStatistics;

MachineStatus::MachineStatus(QWidget* parent) : QWidget(parent), ui(new Ui::MachineStatus) {
    ui->setupUi(this);
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(clk::wallMs());
    ui->comboBox->setDateTime(now);
    ui->comboBox_2->setDateTime(now);
    for (int c = 0; c < 2; ++c) {
        HMChart* chart = m_charts[c] = new HMChart(this);
        chart->setMinimumSize(480, 420);
        chart->setSliceCount(ss::kKinds);
        for (int k = 0; k < ss::kKinds; ++k) {
            chart->setSliceColor(k, ss::colour(k));
            chart->setSliceLabel(k, ss::sliceLabel(k, 0));
            chart->setSliceValue(k, 0.2);
            chart->setLegendLabel(k, ss::legend(k));
        }
        ui->horizontalLayout->insertWidget(c, chart);
    }
    // The statistics read Qt's default connection, the one the state store opens on this
    // (the GUI) thread; the store's writer thread inserts the recorder's periods into the same file.
    MachineStateStore::instance();
    QSqlDatabase db = QSqlDatabase::database(QSqlDatabase::defaultConnection, false);
    if (db.isOpen() && !ss::ensureTable(db))
        KZLOG::CLog::Error("machine status page: table Table_S1 could not be created");
}

MachineStatus::~MachineStatus() {
    delete ui;
}

DateTimeEdit* MachineStatus::startField() const {
    return ui->comboBox;
}

DateTimeEdit* MachineStatus::endField() const {
    return ui->comboBox_2;
}

QString MachineStatus::hint() const {
    return ui->labelHint->text();
}

void MachineStatus::on_pushButton_clicked() {
    const QDateTime from = ui->comboBox->dateTime();
    const QDateTime to = ui->comboBox_2->dateTime();
    if (!from.isValid() || !to.isValid()) {
        ui->labelHint->setText(QString(QCoreApplication::translate("MachineStatus", "时间格式应为 %1"))
                                   .arg(DateTimeEdit::kFormat));
        return;
    }
    if (from >= to) {
        ui->labelHint->setText(QCoreApplication::translate("MachineStatus", "开始时间须早于结束时间"));
        return;
    }
    ui->labelHint->clear();
    showStatistics(from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch());
}

void MachineStatus::on_pushButton_2_clicked() {
    quick(0);
}

void MachineStatus::on_pushButton_3_clicked() {
    quick(1);
}

void MachineStatus::on_pushButton_4_clicked() {
    quick(2);
}

void MachineStatus::on_pushButton_5_clicked() {
    quick(3);
}

// A quick period ends now, not when the page was built, and the fields show it.
void MachineStatus::quick(int button) {
    const int64_t nowMs = clk::wallMs();
    const int64_t from = ss::quickStart(button, QDateTime::fromMSecsSinceEpoch(nowMs));
    ui->comboBox->setDateTime(QDateTime::fromMSecsSinceEpoch(from));
    ui->comboBox_2->setDateTime(QDateTime::fromMSecsSinceEpoch(nowMs));
    ui->labelHint->clear();
    showStatistics(from, nowMs + 1);
}

void MachineStatus::showStatistics(int64_t fromMs, int64_t toMs) {
    if (fromMs == 0 || toMs == 0) return;
    // Periods the recorder closed before the press are still queued for the writer.
    MachineStateStore::instance().waitWritten(1000);
    const ss::Sums sums =
        ss::query(QSqlDatabase::database(QSqlDatabase::defaultConnection, false), fromMs, toMs);
    if (!sums.ok) {
        ui->labelHint->setText(QCoreApplication::translate("MachineStatus", "状态数据库无法读取"));
        return;
    }
    m_from = fromMs;
    m_to = toMs;
    const std::array<double, ss::kKinds>* values[2] = {&sums.count, &sums.duration};
    for (int c = 0; c < 2; ++c) {
        const std::array<double, ss::kKinds> share = ss::shares(*values[c]);
        double total = 0.0;
        for (double v : share) total += v;
        for (int k = 0; k < ss::kKinds; ++k) {
            m_charts[c]->setSliceLabel(k, ss::sliceLabel(k, share[k]));
            // An empty period keeps equal slices, as at the start, so the pie stays drawn.
            m_charts[c]->setSliceValue(k, total > 0.0 ? share[k] : 0.2);
            m_charts[c]->setLegendLabel(k, ss::legend(k));
        }
    }
}
