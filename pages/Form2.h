#pragma once
#include <QWidget>

namespace Ui {
class Form2;
}

// Position settings: tray geometry, speeds, photo settings, times and taught positions.
// A view of the machine data arrays: widgets are copied into the arrays on a save
// and back after a refresh.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

signals:
    // The page's "保存参数": the main window relays it so every page saves.
    void m_sigsavedata();

public slots:
    void inituitovar(); // widgets into the machine data
    void initvartoui(); // machine data into the widgets

private slots:
    void on_pushButton_63_clicked();

private:
    Ui::Form2* ui;
};
