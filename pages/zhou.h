#pragma once
#include <QDialog>
#include <QVector>

namespace Ui {
class zhou;
}
class axisct;

// Axis page: eight per-axis panels in two rows, shown in a scroll area of the
// main window. It holds no machine data of its own, so save and refresh do nothing.
class zhou : public QDialog {
    Q_OBJECT
public:
    explicit zhou(QWidget* parent = nullptr);
    ~zhou() override;

    // Panel of axis 0..7.
    axisct* axisWidget(int axis) const { return m_axes.value(axis); }

public slots:
    void inituitovar();
    void initvartoui();

private:
    Ui::zhou* ui;
    QVector<axisct*> m_axes;
};
