#pragma once
// The one main window: run page, page tabs, message views, the worker threads and
// the periodic ticks. Construction brings the machine up in a fixed order; closing
// takes it down (see closeEvent).
#include "app/MainCycle.h"
#include "machine/Taskfast.h"
#include "sequences/Taska.h"
#include "sequences/Taskb.h"
#include "vision/Tasktcp.h"

#include <QMainWindow>
#include <QPointer>
#include <qcustomplot.h>

class ClockTimer;
class CVMainWindow;
class QDoubleSpinBox;
class Form2;
class Form3;
class Form4;
class Form5;
class FormMes;
class Jogct;
class MachineStatus;
class ioct;
class zhou;
namespace KZCV {
namespace ImageControl {
class QHalconWindow;
}
} // namespace KZCV

namespace Ui {
class MainWindow1;
}

class MainWindow1 : public QMainWindow {
    Q_OBJECT
public:
    // What the window starts on its own. The program starts everything; a test that
    // drives the passes and ticks through the virtual clock switches the first three off.
    struct Options {
        bool startWorkers = true;      // the four threads, 300 ms after construction
        bool startTicks = true;        // the five periodic timers
        bool startHousekeeping = true; // the image housekeeping at start
    };

    explicit MainWindow1(QWidget* parent = nullptr);
    MainWindow1(QWidget* parent, const Options& options);
    ~MainWindow1() override;

    // The periodic ticks, each callable on its own.
    void tick100ms();
    void tick25ms();
    void tick10ms();
    void tick10min();
    void tick3s();

    Taska& taskA() { return taska; }
    Taskb& taskB() { return taskb; }
    Taskfast& taskFast() { return taskfast; }
    Tasktcp& taskTcp() { return tasktcp; }
    CVMainWindow* visionWindow() const { return cvWindow; }
    Jogct* jogWindow() const { return jogct; }
    KZCV::ImageControl::QHalconWindow* imageView(int i) const { return views[i]; }
    // Times closeEvent has run the shutdown.
    int shutdowns() const { return closeCount; }
    // The machine logic of the ticks (the harness runs it without the widgets).
    MainCycle& machineCycle() { return cycle; }
    // "报警清除": stop causes, the current alarm view, alarm and prompt flags.
    void clearAlarms();
    // A close that saves the run data but does not ask about the parameters (the
    // program was told to end by the system).
    void closeWithoutQuestion();
    // The state banner from the last tick's machine state.
    void showBanner();

signals:
    // Save every page and the parameter files / reload every page from the machine data.
    void m_sigsavedata();
    void m_sigrefdata();

public slots:
    void m_slotssavedata();
    void visonshow();
    void jogshow();
    // Rebuilds the window title from the current recipe and the user level.
    void loadProjectName();
    // Run data into the run page.
    void refreshMain();
    // A product is finished: its record and the curve.
    void Savezzdata();

    // A recipe was chosen: reload it everywhere.
    void S_xuanzhepeifang();

private slots:
    // "保存参数": saves every page and the parameter files.
    void on_pushButton_63_clicked();
    // Operator controls of the left column and the run page.
    void on_pushButton_3_clicked();
    void on_pushButton_31_clicked();
    void on_pushButton_4_clicked();
    void on_pushButton_33_clicked();
    void on_pushButton_5_clicked();
    void on_pushButton_15_clicked();
    void on_pushButton_16_clicked();
    void on_pushButton_17_clicked();
    void on_pushButton_28_clicked();
    void on_pushButton_30_clicked();
    void on_pushButton_9_clicked();
    void on_pushButton_23_clicked();
    void on_comboBox_currentIndexChanged(int index);
    void on_comboBox_3_currentIndexChanged(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void startWorkers();
    void refreshMainAndSpeed();
    void buildPages();
    void wireSignals();
    void buildImageViews();
    void showCentred(QWidget* window);
    void wireControls();
    void markViewsForRedraw(int count);
    void updateModeWidgets();
    void updateHomingLabel();
    void setupCurve();
    void drawCurve();
    void reportSaveFailure(const QString& path, const QString& error);
    static void reportSaveFailureOf(QPointer<MainWindow1> window, const QString& path, const QString& error);
    void warnDamagedFiles();
    void commitRunEdit(QDoubleSpinBox* box, int index, bool anyMode);
    static bool editPending(const QDoubleSpinBox* box);

    Ui::MainWindow1* ui;
    Taska taska;
    Taskb taskb;
    Taskfast taskfast;
    Tasktcp tasktcp;
    QCustomPlot customPlot;

    Jogct* jogct = nullptr;
    zhou* zhouPage = nullptr;
    ioct* ioPage = nullptr;
    Form2* form2 = nullptr;
    Form3* form3 = nullptr;
    Form4* form4 = nullptr;
    Form5* form5 = nullptr;
    FormMes* formMes = nullptr;
    MachineStatus* machineStatus = nullptr;
    CVMainWindow* cvWindow = nullptr;
    KZCV::ImageControl::QHalconWindow* views[6] = {};

    ClockTimer* blinkTimer = nullptr;
    ClockTimer* saveTimer = nullptr;

    int timer100 = 0;
    int timer25 = 0;
    int timer10 = 0;
    int timer10min = 0;
    int timer3s = 0;

    Options options;
    int closeCount = 0;
    MainCycle cycle;
    bool inTick100 = false;
    bool m_refreshing = false;
    bool m_askOnClose = true;
    int m_saveFailures = 0;
    int m_failuresBeforeSave = 0;
    // The banner beside the tick's: before the scan has read the machine and while a
    // question holds the tick.
    bool machineRead() const;
    QString m_question;
    int m_scanTicks = 0;
};
