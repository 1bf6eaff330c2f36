#pragma once
#include <QWidget>

namespace Ui {
class ioct;
}

// I/O page: all 64 inputs and outputs by name; outputs switched by hand.
class ioct : public QWidget {
    Q_OBJECT
public:
    explicit ioct(QWidget* parent = nullptr);
    ~ioct() override;

private:
    Ui::ioct* ui;
};
