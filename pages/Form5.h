#pragma once
#include "pages/ParameterBinding.h"
#include "pages/ParameterPage.h"

namespace Ui {
class Form5;
}
class ClockTimer;

// Function settings: homing speeds and the function switches. The switches and
// the two mode boxes act at once; the homing speeds on the next save.
class Form5 : public ParameterPage {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
    ~Form5() override;

    // The 200 ms refresh: the protection switch and the enabling.
    void refresh();

public slots:
    void inituitovar() override;
    void initvartoui() override;

private slots:
    void on_checkBox_111_clicked(bool checked);

private:
    Ui::Form5* ui;
    ClockTimer* m_timer;
    ParameterBinding m_binding;
    PageEnabling m_enabling;
};
