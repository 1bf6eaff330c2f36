#include "Jogct.h"
#include "ui_Jogct.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/RefreshWhileShown.h"
#include "machine/IoAccess.h"
#include "pages/ManualOutputs.h"
#include "sequences/ManualMoves.h"

#include <QSignalBlocker>

double jogFactor = 1.0;

namespace {

// What a cylinder or output button does: toggle one output (optionally as a
// 500 ms pulse), or drive a valve pair to one side.
struct OutputAction {
    const char* button;
    int on;     // output switched on (or toggled)
    int off;    // output switched off; -1 = a toggle
    bool pulse; // the toggle falls back after 500 ms
    int shown;  // output whose state the button shows
};

const OutputAction kOutputs[] = {
    {"pushButton_200", 16, -1, false, 16}, {"pushButton_201", 17, -1, false, 17},
    {"pushButton_202", 18, -1, false, 18}, {"pushButton_203", 19, -1, true, 19},
    {"pushButton_204", 20, -1, true, 20},  {"pushButton_205", 21, -1, false, 21},
    {"pushButton_206", 32, -1, false, 32}, {"pushButton_207", 33, -1, false, 33},
    {"pushButton_208", 34, -1, false, 34}, {"pushButton_209", 35, 36, false, 35},
    {"pushButton_210", 36, 35, false, 36}, {"pushButton_213", 37, 38, false, 37},
    {"pushButton_214", 38, 37, false, 38}, {"pushButton_215", 39, 40, false, 39},
    {"pushButton_216", 40, 39, false, 40}, {"pushButton_217", 41, 42, false, 41},
    {"pushButton_218", 42, 41, false, 42}, {"pushButton_211", 43, 44, false, 43},
    {"pushButton_212", 44, 43, false, 44}, {"pushButton_221", 10, -1, false, 10},
};

} // namespace

Jogct::Jogct(QWidget* parent) : QDialog(parent), ui(new Ui::Jogct), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    jogFactor = 1.0;
    {
        // Loading is no change of the operator's: gd[41] keeps its exact value.
        const QSignalBlocker quiet(ui->doubleSpinBox);
        ui->doubleSpinBox->setValue(gd[41]);
    }

    connectJog(ui->pushButton_101, axisX, 1);
    connectJog(ui->pushButton_102, axisX, 0);
    connectJog(ui->pushButton_105, axisY, 1);
    connectJog(ui->pushButton_104, axisY, 0);
    connectJog(ui->pushButton_108, axisZ, 1);
    connectJog(ui->pushButton_107, axisZ, 0);
    connectJog(ui->pushButton_113, axisQ, 1);
    connectJog(ui->pushButton_112, axisQ, 0);
    connectJog(ui->pushButton_111, axisNgZ, 1);
    connectJog(ui->pushButton_110, axisNgZ, 0);
    connectOutputs();

    connect(m_timer, &ClockTimer::timeout, this, &Jogct::refresh);
    refreshWhileShown(this, m_timer, 100, [this] { refresh(); });
}

Jogct::~Jogct() {
    delete ui;
}

void Jogct::connectJog(QAbstractButton* button, int axis, int dir) {
    connect(button, &QAbstractButton::pressed, this, [axis, dir] { jogDialogStart(axis, dir, jogFactor); });
    // The stop goes out on every release: a refused press may have met a running axis.
    connect(button, &QAbstractButton::released, this, [axis] { jogStop(axis); });
}

void Jogct::connectOutputs() {
    for (const OutputAction& a : kOutputs) {
        auto* button = findChild<QAbstractButton*>(a.button);
        if (!button) continue;
        m_shown.append({button, a.shown});
        connect(button, &QAbstractButton::clicked, this, [a] {
            if (a.off < 0) {
                outputToggle(a.on);
                if (a.pulse) outputPulse(a.on);
                return;
            }
            outputBit(a.on, true);
            outputBit(a.off, false);
        });
    }
}

void Jogct::refresh() {
    ui->checkBox_1->setChecked(interlockOff != 0);
    setEnabled(manualMode == 1.0);
    for (const Shown& s : m_shown) s.button->setChecked(outImg[s.output] != 0);
}

void Jogct::on_pushButton_100_clicked() {
    manualXSafe();
}

void Jogct::on_pushButton_103_clicked() {
    manualYSafe();
}

void Jogct::on_pushButton_106_clicked() {
    manualZSafe();
}

void Jogct::on_pushButton_109_clicked() {
    manualNgZSafe();
}

void Jogct::on_radioButton_3_clicked() {
    jogFactor = 0.01;
}

void Jogct::on_radioButton_2_clicked() {
    jogFactor = 0.1;
}

void Jogct::on_radioButton_clicked() {
    jogFactor = 1.0;
}

void Jogct::on_doubleSpinBox_valueChanged(double value) {
    gd[41] = value;
}

void Jogct::on_checkBox_1_clicked(bool checked) {
    interlockOff = checked ? 1 : 0;
}

void Jogct::on_pushButton_219_clicked() {
    beltToggle(0);
}

void Jogct::on_pushButton_220_clicked() {
    beltToggle(1);
}
