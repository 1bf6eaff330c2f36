#include "ioct.h"
#include "ui_ioct.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/RefreshWhileShown.h"
#include "pages/IoTable.h"
#include "pages/ManualOutputs.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QTableWidget>

namespace {

constexpr int kPoints = 64;

QTableWidgetItem* nameItem(const QString& name) {
    auto* item = new QTableWidgetItem(name);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QCheckBox* pointBox(const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setStyleSheet("QCheckBox::indicator { width: 60px; height: 60px;}");
    box->setIconSize(QSize(60, 60));
    return box;
}

} // namespace

ioct::ioct(QWidget* parent) : QWidget(parent), ui(new Ui::ioct), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    // The names are UTF-8 text: a locale-dependent 8-bit encoding garbles them
    // under the C locale of services and CI.
    for (int i = 0; i < kPoints; ++i) {
        m_inputNames << IoTable::inputName(i);
        m_outputNames << IoTable::outputName(i);
    }
    prepareTable(ui->tableWidget);
    prepareTable(ui->tableWidget_2);
    for (int i = 0; i < kPoints; ++i) {
        QCheckBox* in = pointBox(QString("X%1").arg(i), ui->tableWidget);
        QCheckBox* out = pointBox(QString("Y%1").arg(i), ui->tableWidget_2);
        out->setProperty("id", 100 + i);
        connect(out, SIGNAL(clicked()), this, SLOT(onTableBtnClicked()));
        ui->tableWidget->setCellWidget(i, 0, in);
        ui->tableWidget_2->setCellWidget(i, 0, out);
        ui->tableWidget->setItem(i, 1, nameItem(m_inputNames[i]));
        ui->tableWidget_2->setItem(i, 1, nameItem(m_outputNames[i]));
        m_inputs.append(in);
        m_outputs.append(out);
    }
    connect(m_timer, &ClockTimer::timeout, this, &ioct::refresh);
    refreshWhileShown(this, m_timer, 200, [this] { refresh(); });
}

ioct::~ioct() {
    delete ui;
}

void ioct::prepareTable(QTableWidget* table) {
    table->setColumnCount(2);
    table->setRowCount(kPoints);
    table->setHorizontalHeaderLabels({tr("状态"), tr("名称")});
    table->setColumnWidth(0, 120);
    table->setColumnWidth(1, 300);
    table->verticalHeader()->setDefaultSectionSize(40);
    for (int i = 0; i < kPoints; ++i) table->setRowHeight(i, 40);
    table->setAlternatingRowColors(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setVisible(false);
    table->verticalHeader()->setVisible(false);
    QPalette pal = table->palette();
    pal.setColor(QPalette::Base, QColor(245, 248, 252));
    pal.setColor(QPalette::AlternateBase, QColor(225, 234, 245));
    pal.setColor(QPalette::Highlight, QColor(120, 170, 230));
    table->setPalette(pal);
}

void ioct::refresh() {
    // Only the points that changed: a page of 128 boxes refreshes five times a second.
    for (int i = 0; i < kPoints; ++i) {
        const Qt::CheckState in = inImg[i] == 1 ? Qt::Checked : Qt::Unchecked;
        const Qt::CheckState out = outImg[i] == 1 ? Qt::Checked : Qt::Unchecked;
        if (m_inputs[i]->checkState() != in) m_inputs[i]->setCheckState(in);
        if (m_outputs[i]->checkState() != out) m_outputs[i]->setCheckState(out);
    }
}

void ioct::onTableBtnClicked() {
    const int n = sender() ? sender()->property("id").toInt() - 100 : -1;
    if (n < 0 || n >= kPoints) return;
    outputToggle(n);
    if (n == 19 || n == 20) outputPulse(n);
}
