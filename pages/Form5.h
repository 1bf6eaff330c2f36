#pragma once
#include "pages/ParameterPage.h"

namespace Ui {
class Form5;
}

// Function settings: homing speeds and the function switches.
class Form5 : public ParameterPage {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
    ~Form5() override;

public slots:
    void inituitovar() override;
    void initvartoui() override;

private:
    Ui::Form5* ui;
};
