#pragma once
#include "pages/ParameterPage.h"

namespace Ui {
class Form3;
}

// Belt-line settings: belt times and speeds, belt-line tests and hand-shake signals.
class Form3 : public ParameterPage {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

public slots:
    void inituitovar() override;
    void initvartoui() override;

private:
    Ui::Form3* ui;
};
