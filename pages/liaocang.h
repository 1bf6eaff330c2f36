#pragma once
// Progress notice: names the manual test or calibration that runs in a machine
// thread, closes itself when none runs any more, and ends them all on request.
#include <QDialog>
#include <vector>

namespace Ui {
class liaocang;
}
class ClockTimer;

class liaocang : public QDialog {
    Q_OBJECT
public:
    // One watched test flag and the text shown while it is set.
    struct TestFlag {
        volatile unsigned char* flag;
        const char* text;
        bool endedByNotice; // "结束测试" and closing clear it
    };
    // In display order: with several set, the last one set is shown.
    static const std::vector<TestFlag>& flagTable();
    // Any flag of the table is set.
    static bool anyTestRunning();

    explicit liaocang(QWidget* parent = nullptr);
    ~liaocang() override;

    // The 200 ms check: show the running test, or reset the steps and close.
    void check();
    QString text() const;

public slots:
    void on_pushButton_clicked();

private:
    Ui::liaocang* ui;
    ClockTimer* m_timer;
};
