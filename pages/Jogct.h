#pragma once
#include <QDialog>

namespace Ui {
class Jogct;
}

// Floating jog window ("JOG"): created hidden once, shown and centred on demand.
class Jogct : public QDialog {
    Q_OBJECT
public:
    explicit Jogct(QWidget* parent = nullptr);
    ~Jogct() override;

private:
    Ui::Jogct* ui;
};
