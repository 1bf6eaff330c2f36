#include "axisct.h"
#include "ui_axisct.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/RefreshWhileShown.h"
#include "machine/CardInit.h"
#include "sequences/ManualMoves.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

const char* const kTitles[12] = {
    QT_TRANSLATE_NOOP("axisct", "取料X轴"),    QT_TRANSLATE_NOOP("axisct", "取料Y轴"),
    QT_TRANSLATE_NOOP("axisct", "取料Z轴"),    QT_TRANSLATE_NOOP("axisct", "取料Q轴"),
    QT_TRANSLATE_NOOP("axisct", "NG Z轴"),     QT_TRANSLATE_NOOP("axisct", "成品皮带轴"),
    QT_TRANSLATE_NOOP("axisct", "空盘皮带轴"), QT_TRANSLATE_NOOP("axisct", "空"),
    QT_TRANSLATE_NOOP("axisct", "镜片1Y轴"),   QT_TRANSLATE_NOOP("axisct", "镜片2Y轴"),
    QT_TRANSLATE_NOOP("axisct", "料仓Z轴"),    QT_TRANSLATE_NOOP("axisct", "吸笔Q轴")};

const char* const kRed = "QLabel{background-color: rgb(255, 0, 0);}";
const char* const kGreen = "QLabel{background-color: rgb(0, 255, 0);}";
const char* const kClear = "QLabel{background:transparent;}";

bool validAxis(int axis) {
    return axis >= 0 && axis < 12;
}

// Only touches the style when it changes: a style sheet change re-polishes the label.
void paint(QLabel* label, bool lit, const char* colour) {
    const QString style = QString::fromLatin1(lit ? colour : kClear);
    if (label->styleSheet() != style) label->setStyleSheet(style);
}

// Setting the same text again still lays it out anew; most axes stand still.
void showText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

} // namespace

axisct::axisct(QWidget* parent) : QWidget(parent), ui(new Ui::axisct), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(m_timer, &ClockTimer::timeout, this, &axisct::refresh);
    refreshWhileShown(this, m_timer, 200, [this] { refresh(); });
}

axisct::~axisct() {
    delete ui;
}

void axisct::setAxis(short axis) {
    m_axis = axis;
    if (!validAxis(axis)) return;
    ui->doubleSpinBox_2->setValue(gd[50 + axis]);
    ui->groupBox->setTitle(QCoreApplication::translate("axisct", kTitles[axis]));
}

void axisct::refresh() {
    ui->groupBox->setEnabled(manualMode == 1.0);
    if (!validAxis(m_axis)) return;
    const int a = m_axis;
    showText(ui->lineEdit, QString::number(cmdPos[a], 'f', 3));
    showText(ui->lineEdit_2, QString::number(encPos[a], 'f', 3));
    paint(ui->label_1, !axisElnOk[a], kRed);
    paint(ui->label_2, !axisElpOk[a], kRed);
    paint(ui->label_3, axisOrg[a] == 1, kGreen);
    paint(ui->label_4, axisAlmOk[a] == 1, kGreen);
    paint(ui->label_9, axisHomed[a] == 1, kGreen);
}

void axisct::on_pushButton_clicked() {
    if (validAxis(m_axis)) stepMove(m_axis, ui->doubleSpinBox->value());
}

void axisct::on_doubleSpinBox_2_editingFinished() {
    if (validAxis(m_axis)) gd[50 + m_axis] = ui->doubleSpinBox_2->value();
}

void axisct::on_pushButton_2_clicked() {
    if (validAxis(m_axis)) homeOneAxis(m_axis);
}

void axisct::on_pushButton_3_pressed() {
    axisJogStart(m_axis, 0);
}

void axisct::on_pushButton_3_released() {
    jogStop(m_axis);
}

void axisct::on_pushButton_4_pressed() {
    axisJogStart(m_axis, 1);
}

void axisct::on_pushButton_4_released() {
    jogStop(m_axis);
}

void axisct::on_pushButton_5_clicked() {
    servo(true);
}

void axisct::on_pushButton_6_clicked() {
    servo(false);
}

void axisct::servo(bool on) {
    if (manualMode != 1.0 || !validAxis(m_axis)) return;
    axisEnableLvl(cardNo, m_axis, on ? 1 : 0);
    axisHomed[m_axis] = 0;
}
