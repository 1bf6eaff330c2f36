#include "Form5.h"
#include "ui_Form5.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/RefreshWhileShown.h"

#include <QSignalBlocker>

Form5::Form5(QWidget* parent) : ParameterPage(parent), ui(new Ui::Form5), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    relaySaveButton(ui->pushButton_63);

    // Homing speeds, gd[90 + axis] fast and gd[130 + axis] slow.
    QDoubleSpinBox* const fast[] = {ui->doubleSpinBox_100, ui->doubleSpinBox_102, ui->doubleSpinBox_104,
                                    ui->doubleSpinBox_106, ui->doubleSpinBox_108, ui->doubleSpinBox_110,
                                    ui->doubleSpinBox_112, ui->doubleSpinBox_114};
    QDoubleSpinBox* const slow[] = {ui->doubleSpinBox_101, ui->doubleSpinBox_103, ui->doubleSpinBox_105,
                                    ui->doubleSpinBox_107, ui->doubleSpinBox_109, ui->doubleSpinBox_111,
                                    ui->doubleSpinBox_113, ui->doubleSpinBox_115};
    for (int axis = 0; axis < 8; ++axis) {
        m_binding.spin(fast[axis], gd[90 + axis], 0, 0, 1000);
        m_binding.spin(slow[axis], gd[130 + axis], 0, 0, 20);
        m_enabling.editing(fast[axis]);
        m_enabling.editing(slow[axis]);
    }

    const struct {
        QCheckBox* box;
        int element;
    } switches[] = {{ui->checkBox_110, 0},  {ui->checkBox_109, 1},  {ui->checkBox_100, 4},
                    {ui->checkBox_103, 6},  {ui->checkBox_102, 10}, {ui->checkBox_104, 11},
                    {ui->checkBox_105, 12}, {ui->checkBox_112, 16}, {ui->checkBox_121, 21},
                    {ui->checkBox_122, 22}, {ui->checkBox_123, 23}, {ui->checkBox_106, 34},
                    {ui->checkBox_114, 35}, {ui->checkBox_115, 36}, {ui->checkBox_116, 37},
                    {ui->checkBox_117, 42}, {ui->checkBox_118, 43}, {ui->checkBox_119, 44},
                    {ui->checkBox_120, 45}, {ui->checkBox_107, 46}, {ui->checkBox_125, 350}};
    for (const auto& s : switches) {
        volatile double* element = &gd[s.element];
        m_binding.check(s.box, *element);
        m_enabling.editing(s.box);
        // The machine works with the new switch before any save.
        connect(s.box, &QCheckBox::clicked, this,
                [element](bool checked) { *element = switchValue(checked); });
    }
    // "联机屏蔽" is tied to nothing; it is a field like the others for the enabling only.
    m_enabling.editing(ui->checkBox_124);

    m_binding.combo(ui->comboBox, gd[18], 2);
    m_binding.combo(ui->comboBox_2, gd[38], 0);
    m_enabling.editing(ui->comboBox);
    m_enabling.editing(ui->comboBox_2);
    connect(ui->comboBox, QOverload<int>::of(&QComboBox::activated), this, [](int row) { gd[18] = row + 2; });
    connect(ui->comboBox_2, QOverload<int>::of(&QComboBox::activated), this, [](int row) { gd[38] = row; });

    m_enabling.command(ui->checkBox_111);

    initvartoui();
    connect(m_timer, &ClockTimer::timeout, this, &Form5::refresh);
    refreshWhileShown(this, m_timer, 200, [this] { refresh(); });
    refresh();
}

Form5::~Form5() {
    delete ui;
}

void Form5::inituitovar() {
    m_binding.toData();
}

void Form5::initvartoui() {
    m_binding.toWidgets();
}

void Form5::on_checkBox_111_clicked(bool checked) {
    interlockOff = checked ? 1 : 0;
}

void Form5::refresh() {
    {
        const QSignalBlocker quiet(ui->checkBox_111);
        ui->checkBox_111->setChecked(interlockOff != 0);
    }
    m_enabling.apply();
}
