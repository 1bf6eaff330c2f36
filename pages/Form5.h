#pragma once
#include <QWidget>

namespace Ui {
class Form5;
}

// Function settings: homing speeds and the function switches.
// A view of the machine data arrays: widgets are copied into the arrays on a save
// and back after a refresh.
class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
    ~Form5() override;

signals:
    // The page's "保存参数": the main window relays it so every page saves.
    void m_sigsavedata();

public slots:
    void inituitovar(); // widgets into the machine data
    void initvartoui(); // machine data into the widgets

private slots:
    void on_pushButton_63_clicked();

private:
    Ui::Form5* ui;
};
