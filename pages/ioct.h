#pragma once
#include <QVector>
#include <QWidget>

namespace Ui {
class ioct;
}
class ClockTimer;
class QCheckBox;
class QTableWidget;

// I/O page: all 64 inputs and outputs by name; outputs switched by hand.
class ioct : public QWidget {
    Q_OBJECT
public:
    explicit ioct(QWidget* parent = nullptr);
    ~ioct() override;

    // The 200 ms refresh from the raw images (not the frozen input copy).
    void refresh();

public slots:
    void onTableBtnClicked();

private:
    void prepareTable(QTableWidget* table);

    Ui::ioct* ui;
    ClockTimer* m_timer;
    QStringList m_inputNames, m_outputNames;
    QVector<QCheckBox*> m_inputs, m_outputs;
};
