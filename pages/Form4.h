#pragma once
#include "pages/ParameterPage.h"

namespace Ui {
class Form4;
}

// Calibration settings: camera calibration positions and calibration starts.
class Form4 : public ParameterPage {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);
    ~Form4() override;

public slots:
    void inituitovar() override;
    void initvartoui() override;

private:
    Ui::Form4* ui;
};
