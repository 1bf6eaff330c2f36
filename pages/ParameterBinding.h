#pragma once
// Ties the widgets of a parameter page to elements of the machine data arrays,
// and decides which of a page's controls the operator may use.
#include <QVector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QWidget;

// A switch keeps the Qt check state: 0.0 off, 2.0 on; any non-zero value reads as set.
double switchValue(bool checked);
bool switchSet(double value);
// Row shown for a combo element stored as row + offset; -1 (no row) when the
// value is no whole row number of the box.
int comboRow(double value, int offset, int rows);

// Bound fields and teach buttons: manual mode and a logged-in user (level >= 1).
bool editingAllowed();
// GO, photo, single-action, test and calibration buttons: manual mode, any level.
bool commandsAllowed();

// Teach of one axis: the command position into the element, only when the axis
// is homed and stands still; otherwise the element keeps its value.
bool teachAxis(int axis, volatile double& element);

class ParameterBinding {
public:
    // Sets the box's decimals and range, so that the form cannot drift from the table.
    void spin(QDoubleSpinBox* box, volatile double& element, int decimals, double min, double max);
    void check(QCheckBox* box, volatile double& element);
    void combo(QComboBox* box, volatile double& element, int offset = 0);

    // Widgets into the elements (inituitovar). A combo box showing no row
    // leaves its element as it is: an unknown stored value is not overwritten.
    void toData() const;
    // Elements into the widgets (initvartoui), without change signals: loading
    // is no edit of the operator's and must not trigger immediate writes.
    void toWidgets() const;
    int size() const { return m_links.size(); }

private:
    enum Kind { Spin, Check, Combo };
    struct Link {
        Kind kind;
        QWidget* widget;
        volatile double* element;
        int offset;
    };
    QVector<Link> m_links;
};

// The 200 ms enabling of a page: editing widgets need editingAllowed(),
// command widgets commandsAllowed().
class PageEnabling {
public:
    void editing(QWidget* widget) { m_editing.append(widget); }
    void command(QWidget* widget) { m_command.append(widget); }
    void apply() const;

private:
    QVector<QWidget*> m_editing;
    QVector<QWidget*> m_command;
};
