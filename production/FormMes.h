#pragma once
#include <QWidget>

namespace Ui {
class FormMes;
}

// MES settings page: machine and station ids, the two MES addresses, test sends.
class FormMes : public QWidget {
    Q_OBJECT
public:
    explicit FormMes(QWidget* parent = nullptr);
    ~FormMes() override;

public slots:
    void inituitovar(); // page into the settings file and the globals
    void initvartoui(); // settings file into the page and the globals

private:
    Ui::FormMes* ui;
};
