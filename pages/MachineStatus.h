#pragma once
// Machine status page: how the machine spent a chosen period, as two pie charts
// (number of state intervals and their total length per state kind).
#include <QWidget>
#include <cstdint>

namespace Ui {
class MachineStatus;
}
class DateTimeEdit;
class HMChart;

class MachineStatus : public QWidget {
    Q_OBJECT
public:
    explicit MachineStatus(QWidget* parent = nullptr);
    ~MachineStatus() override;

    HMChart* chart(int i) const { return m_charts[i]; }
    DateTimeEdit* startField() const;
    DateTimeEdit* endField() const;
    QString hint() const;
    // The period the last statistics covered, ms since the epoch.
    int64_t periodStart() const { return m_from; }
    int64_t periodEnd() const { return m_to; }

    // Counts into chart 0, durations into chart 1, for intervals that ended in [from, to).
    void showStatistics(int64_t fromMs, int64_t toMs);

public slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_3_clicked();
    void on_pushButton_4_clicked();
    void on_pushButton_5_clicked();

private:
    void quick(int button);

    Ui::MachineStatus* ui;
    HMChart* m_charts[2];
    int64_t m_from = 0, m_to = 0;
};
