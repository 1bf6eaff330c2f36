#include "ParameterBinding.h"

#include "app/MachineData.h"
#include "platform/LTDMC.h"
#include "platform/kzmc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <cmath>

double switchValue(bool checked) {
    return checked ? 2.0 : 0.0;
}

bool switchSet(double value) {
    return value != 0.0;
}

int comboRow(double value, int offset, int rows) {
    const double row = value - offset;
    if (!(row >= 0.0) || row >= rows || row != std::floor(row)) return -1;
    return int(row);
}

bool editingAllowed() {
    return manualMode == 1.0 && userLevel >= 1;
}

bool commandsAllowed() {
    return manualMode == 1.0;
}

bool teachAxis(int axis, volatile double& element) {
    if (axis < 0 || axis >= 16 || axisHomed[axis] != 1 || isidle(cardNo, WORD(axis)) != 1) return false;
    double pos = 0.0;
    dmc_get_position_unit(cardNo, WORD(axis), &pos);
    element = pos;
    return true;
}

void ParameterBinding::spin(QDoubleSpinBox* box, volatile double& element, int decimals, double min,
                            double max) {
    box->setDecimals(decimals);
    box->setRange(min, max);
    m_links.append({Spin, box, &element, 0});
}

void ParameterBinding::check(QCheckBox* box, volatile double& element) {
    m_links.append({Check, box, &element, 0});
}

void ParameterBinding::combo(QComboBox* box, volatile double& element, int offset) {
    m_links.append({Combo, box, &element, offset});
}

void ParameterBinding::toData() const {
    for (const Link& l : m_links) {
        switch (l.kind) {
        case Spin:
            *l.element = static_cast<QDoubleSpinBox*>(l.widget)->value();
            break;
        case Check:
            *l.element = switchValue(static_cast<QCheckBox*>(l.widget)->isChecked());
            break;
        case Combo: {
            const int row = static_cast<QComboBox*>(l.widget)->currentIndex();
            if (row >= 0) *l.element = row + l.offset;
            break;
        }
        }
    }
}

void ParameterBinding::toWidgets() const {
    for (const Link& l : m_links) {
        const QSignalBlocker quiet(l.widget);
        const double value = *l.element;
        switch (l.kind) {
        case Spin:
            static_cast<QDoubleSpinBox*>(l.widget)->setValue(value);
            break;
        case Check:
            static_cast<QCheckBox*>(l.widget)->setChecked(switchSet(value));
            break;
        case Combo: {
            auto* box = static_cast<QComboBox*>(l.widget);
            box->setCurrentIndex(comboRow(value, l.offset, box->count()));
            break;
        }
        }
    }
}

void PageEnabling::apply() const {
    const bool edit = editingAllowed();
    const bool command = commandsAllowed();
    for (QWidget* w : m_editing) w->setEnabled(edit);
    for (QWidget* w : m_command) w->setEnabled(command);
}
