#include "Form3.h"
#include "ui_Form3.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/RefreshWhileShown.h"
#include "machine/IoAccess.h"
#include "pages/liaocang.h"
#include "sequences/BeltLine.h"

#include <QSignalBlocker>

Form3::Form3(QWidget* parent) : ParameterPage(parent), ui(new Ui::Form3), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    relaySaveButton(ui->pushButton_63);

    m_binding.spin(ui->doubleSpinBox_100, gf[240], 3, 0, 9999);
    m_binding.spin(ui->doubleSpinBox_101, gf[205], 3, 0, 5000);
    m_binding.spin(ui->doubleSpinBox_102, gf[206], 3, 0, 5000);
    m_binding.spin(ui->doubleSpinBox_103, gf[241], 3, 0, 5000);
    m_binding.spin(ui->doubleSpinBox_104, gf[242], 3, 0, 5000);
    for (QWidget* w : {ui->doubleSpinBox_100, ui->doubleSpinBox_101, ui->doubleSpinBox_102,
                       ui->doubleSpinBox_103, ui->doubleSpinBox_104})
        m_enabling.editing(w);
    // The time-out and the belt speeds act at once: the belts run with the new speed unsaved.
    const auto now = [this](QDoubleSpinBox* box, int element) {
        connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
                [element](double value) { gf[element] = value; });
    };
    now(ui->doubleSpinBox_100, 240);
    now(ui->doubleSpinBox_101, 205);
    now(ui->doubleSpinBox_102, 206);

    for (QWidget* w : {ui->pushButton_300, ui->pushButton_301, ui->pushButton_302, ui->pushButton_303,
                       ui->pushButton_304, ui->pushButton_305, ui->pushButton_306, ui->pushButton_307})
        m_enabling.command(w);

    QCheckBox* const inputs[] = {ui->checkBox_1,  ui->checkBox_2,  ui->checkBox_3,  ui->checkBox_7,
                                 ui->checkBox_8,  ui->checkBox_9,  ui->checkBox_13, ui->checkBox_14,
                                 ui->checkBox_15, ui->checkBox_19, ui->checkBox_20, ui->checkBox_21};
    QCheckBox* const outputs[] = {ui->checkBox_4,  ui->checkBox_5,  ui->checkBox_6,  ui->checkBox_10,
                                  ui->checkBox_11, ui->checkBox_12, ui->checkBox_16, ui->checkBox_17,
                                  ui->checkBox_18, ui->checkBox_22, ui->checkBox_23, ui->checkBox_24};
    for (int i = 0; i < 12; ++i) {
        m_signals.append({inputs[i], 48 + i, false, -1});
        m_signals.append({outputs[i], 48 + i, true, -1});
    }
    // The signal boxes are displays: a click would only flicker until the next refresh.
    for (const Signal& s : m_signals) {
        s.box->setAttribute(Qt::WA_TransparentForMouseEvents);
        s.box->setFocusPolicy(Qt::NoFocus);
    }

    initvartoui();
    connect(m_timer, &ClockTimer::timeout, this, &Form3::refresh);
    refreshWhileShown(this, m_timer, 200, [this] { refresh(); });
    refresh();
}

Form3::~Form3() {
    delete ui;
}

void Form3::inituitovar() {
    m_binding.toData();
}

void Form3::initvartoui() {
    m_binding.toWidgets();
}

void Form3::startTest(bool (*start)()) {
    if (!start()) return;
    (new liaocang(this))->show();
}

void Form3::on_pushButton_300_clicked() {
    startTest(startTestLineIn);
}

void Form3::on_pushButton_301_clicked() {
    startTest(startTestLineOut);
}

void Form3::on_pushButton_302_clicked() {
    startTest(startTestEmptyIn);
}

void Form3::on_pushButton_303_clicked() {
    startTest(startTestEmptyOut);
}

void Form3::on_pushButton_304_clicked() {
    resetLineInSignals();
}

void Form3::on_pushButton_305_clicked() {
    resetLineOutSignals();
}

void Form3::on_pushButton_306_clicked() {
    resetEmptyInSignals();
}

void Form3::on_pushButton_307_clicked() {
    resetEmptyOutSignals();
}

void Form3::on_checkBox_clicked(bool checked) {
    inputFreeze = checked ? 1 : 0;
}

void Form3::refresh() {
    for (Signal& s : m_signals) {
        const int on = s.output ? outputState(s.io) : inputBit(s.io);
        if (on == s.shown) continue;
        s.shown = on;
        s.box->setChecked(on != 0);
        s.box->setStyleSheet(on ? "background-color: green" : "background-color:#E0FFFF");
    }
    {
        const QSignalBlocker quiet(ui->checkBox);
        ui->checkBox->setChecked(inputFreeze != 0);
    }
    m_enabling.apply();
    ui->groupBox_4->setEnabled(manualMode == 1.0 || inputFreeze == 1);
}
