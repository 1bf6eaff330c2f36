#pragma once
#include "pages/ParameterBinding.h"
#include "pages/ParameterPage.h"

#include <QVector>

namespace Ui {
class Form3;
}
class ClockTimer;
class QCheckBox;

// Belt-line settings: belt times and speeds, belt-line tests and hand-shake signals.
class Form3 : public ParameterPage {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

    // The 200 ms refresh: the hand-shake signals and the enabling.
    void refresh();

public slots:
    void inituitovar() override;
    void initvartoui() override;

private slots:
    void on_pushButton_300_clicked();
    void on_pushButton_301_clicked();
    void on_pushButton_302_clicked();
    void on_pushButton_303_clicked();
    void on_pushButton_304_clicked();
    void on_pushButton_305_clicked();
    void on_pushButton_306_clicked();
    void on_pushButton_307_clicked();
    void on_checkBox_clicked(bool checked);

private:
    void startTest(bool (*start)());

    Ui::Form3* ui;
    ClockTimer* m_timer;
    ParameterBinding m_binding;
    PageEnabling m_enabling;
    struct Signal {
        QCheckBox* box;
        int io;
        bool output;
        int shown; // -1 before the first refresh, else the state shown
    };
    QVector<Signal> m_signals;
};
