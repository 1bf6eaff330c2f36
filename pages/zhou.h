#pragma once
#include <QDialog>

namespace Ui {
class zhou;
}

// Axis page: eight per-axis panels in two rows, shown in a scroll area of the
// main window. It holds no machine data of its own, so save and refresh do nothing.
class zhou : public QDialog {
    Q_OBJECT
public:
    explicit zhou(QWidget* parent = nullptr);
    ~zhou() override;

public slots:
    void inituitovar();
    void initvartoui();

private:
    Ui::zhou* ui;
};
