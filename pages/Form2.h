#pragma once
#include "pages/ParameterPage.h"

namespace Ui {
class Form2;
}

// Position settings: tray geometry, speeds, photo settings, times and taught positions.
class Form2 : public ParameterPage {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

public slots:
    void inituitovar() override;
    void initvartoui() override;

private:
    Ui::Form2* ui;
};
