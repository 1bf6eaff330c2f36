// The operator controls of the main window: run, pause, reset, modes, tray
// cells and counters, and the doors to the other windows.
#include "MainWindow1.h"
#include "ui_MainWindow1.h"

#include "app/AssemblyCurve.h"
#include "app/MachineData.h"
#include "app/Prompt.h"
#include "machine/ResetMachine.h"
#include "platform/KZLOG.h"
#include "platform/vision/CVMainWindow.h"
#include "platform/vision/Hcvcam.h"
#include "platform/vision/QHalconWindow.h"
#include "platform/vision/taskdata.h"
#include "recipes/Login1.h"
#include "recipes/Peifang1.h"
#include "recipes/Sysset.h"
#include "sequences/CycleData.h"
#include "sequences/Cylinders.h"
#include "sequences/NamedMoves.h"

void MainWindow1::wireControls() {
    setupCurve();
    cycle.historyView = ui->textBrowser_2;
    cycle.currentView = ui->textBrowser;
    cycle.ask = [this](const QString& title, const QString& text) {
        // The tick that asks is held until the answer; the banner says so meanwhile.
        m_question = text;
        showBanner();
        const bool yes = Prompt::question(this, title, text, QCoreApplication::translate("MainWindow1", "是"),
                                          QCoreApplication::translate("MainWindow1", "否"));
        m_question.clear();
        showBanner();
        return yes;
    };
    cycle.refreshData = [this] { emit m_sigrefdata(); };
    cycle.saveData = [this] { emit m_sigsavedata(); };
    cycle.cameraConnected = [](int cam) { return Hcvcam::get_CamConnected(short(cam)); };

    ui->pushButton_5->setCheckable(true);
    ui->pushButton_5->setChecked(manualMode == 1.0);
    ui->pushButton_5->setText(manualMode == 1.0 ? QCoreApplication::translate("MainWindow1", "手动")
                                                : QCoreApplication::translate("MainWindow1", "自动"));

    // "清零" of a tray cell sets it back to the first cell; every clear ends with a refresh.
    const std::pair<QPushButton*, std::vector<int>> cellClears[] = {
        {ui->pushButton_100, {0}},  {ui->pushButton_101, {1}},  {ui->pushButton_102, {2}},
        {ui->pushButton_103, {5}},  {ui->pushButton_104, {6}},  {ui->pushButton_105, {7}},
        {ui->pushButton_106, {3}},  {ui->pushButton_107, {10}}, {ui->pushButton_108, {11}},
        {ui->pushButton_109, {12}}, {ui->pushButton_111, {13}}, {ui->pushButton_112, {14}},
        {ui->pushButton_113, {15}}};
    for (const auto& clear : cellClears) {
        const std::vector<int> cells = clear.second;
        connect(clear.first, &QPushButton::clicked, this, [this, cells] {
            for (int k : cells) gr[k] = 1.0;
            refreshMain();
        });
    }
    connect(ui->pushButton_110, &QPushButton::clicked, this, [this] {
        for (int k = 0; k <= 15; ++k) gr[k] = 1.0;
        refreshMain();
    });
    const std::pair<QPushButton*, std::vector<int>> counterClears[] = {
        {ui->pushButton, {21}},        {ui->pushButton_6, {23, 24}},
        {ui->pushButton_8, {25, 26}},  {ui->pushButton_18, {28, 29}},
        {ui->pushButton_13, {30, 31}}, {ui->pushButton_11, {23, 24, 25, 26, 28, 29, 30, 31, 32, 33}}};
    for (const auto& clear : counterClears) {
        const std::vector<int> counters = clear.second;
        connect(clear.first, &QPushButton::clicked, this, [this, counters] {
            for (int k : counters) gr[k] = 0.0;
            refreshMain();
        });
    }

    // Tray cells are edited by hand only in manual mode; the yield counters always.
    // A typed value counts when committed (Enter or leaving the box), an arrow step at once.
    const std::pair<QDoubleSpinBox*, int> cellEdits[] = {
        {ui->doubleSpinBox_100, 0},  {ui->doubleSpinBox_101, 1},  {ui->doubleSpinBox_102, 2},
        {ui->doubleSpinBox_103, 5},  {ui->doubleSpinBox_104, 6},  {ui->doubleSpinBox_105, 7},
        {ui->doubleSpinBox_106, 3},  {ui->doubleSpinBox_110, 10}, {ui->doubleSpinBox_111, 11},
        {ui->doubleSpinBox_112, 12}, {ui->doubleSpinBox_113, 13}, {ui->doubleSpinBox_114, 14},
        {ui->doubleSpinBox_115, 15}};
    for (const auto& edit : cellEdits) commitRunEdit(edit.first, edit.second, false);
    const std::pair<QDoubleSpinBox*, int> counterEdits[] = {{ui->doubleSpinBox_108, 23},
                                                            {ui->doubleSpinBox_116, 24},
                                                            {ui->doubleSpinBox_118, 25},
                                                            {ui->doubleSpinBox_119, 26}};
    for (const auto& edit : counterEdits) commitRunEdit(edit.first, edit.second, true);
}

void MainWindow1::commitRunEdit(QDoubleSpinBox* box, int index, bool anyMode) {
    box->setKeyboardTracking(false);
    auto commit = [this, box, index, anyMode] {
        if (m_refreshing) return;
        if (anyMode || manualMode == 1.0) gr[index] = box->value();
    };
    connect(box, &QDoubleSpinBox::editingFinished, this, commit);
    connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, commit);
}

void MainWindow1::markViewsForRedraw(int count) {
    for (int i = 0; i < count && i < 6; ++i)
        if (views[i]) views[i]->redraw = 1;
}

void MainWindow1::clearAlarms() {
    cycle.clearAlarms();
}

// "启动"
void MainWindow1::on_pushButton_3_clicked() {
    interlockOff = 0;
    if (manualMode == 0.0 && estopOk && (readyA || readyB)) startRequest = 1;
    promptActive = 0;
    waitOperator = 0;
    markViewsForRedraw(3);
}

// "暂停"
void MainWindow1::on_pushButton_31_clicked() {
    runA = runB = waitOperator = 0;
}

// "复位": blocks until every axis stands.
void MainWindow1::on_pushButton_4_clicked() {
    markViewsForRedraw(4);
    resetMachine();
    clearAlarms();
}

// "报警清除"
void MainWindow1::on_pushButton_33_clicked() {
    clearAlarms();
}

// "手动/自动"
void MainWindow1::on_pushButton_5_clicked() {
    interlockOff = 0;
    if (manualMode == 1.0) {
        manualMode = 0.0;
        taskdata::GetInstance()->setManual(0);
        ui->pushButton_5->setChecked(false);
        ui->pushButton_5->setText(QCoreApplication::translate("MainWindow1", "自动"));
        clearBeltHandshakeLatches();
    } else {
        manualMode = 1.0;
        taskdata::GetInstance()->setManual(1);
        ui->pushButton_5->setChecked(true);
        ui->pushButton_5->setText(QCoreApplication::translate("MainWindow1", "手动"));
        markViewsForRedraw(3);
    }
}

// "结束生产": the cycle ends at the next product boundary.
void MainWindow1::on_pushButton_15_clicked() {
    if (runA == 1) endProduction = 1;
}

// "NG退盘"
void MainWindow1::on_pushButton_16_clicked() {
    if (moveZSafeLift(1) == 1 && manualMode == 1.0) cylinderCmd(cylNgExtend, 0, 1);
}

// "NG人工换盘完成"
void MainWindow1::on_pushButton_17_clicked() {
    gr[2] = 1.0;
    refreshMain();
    if (moveZSafeLift(1) == 1) cylinderCmd(cylNgExtend, 0, 0);
    clearAlarms();
}

// "配方"
void MainWindow1::on_pushButton_28_clicked() {
    auto* dialog = new Peifang1(this);
    connect(dialog, &Peifang1::S_xuanzhepeifang, this, &MainWindow1::S_xuanzhepeifang);
    connect(dialog, &Peifang1::currentRecipeRenamed, this, &MainWindow1::loadProjectName);
    dialog->show();
}

// "系统"
void MainWindow1::on_pushButton_30_clicked() {
    (new Sysset(this))->show();
}

// "登录"
void MainWindow1::on_pushButton_9_clicked() {
    auto* dialog = new Login1(this);
    connect(dialog, &Login1::S_dengluok, this, &MainWindow1::loadProjectName);
    dialog->show();
}

// "退出": logout.
void MainWindow1::on_pushButton_23_clicked() {
    userLevel = 0;
    taskdata::GetInstance()->setUserLevel(0);
    loadProjectName();
}

void MainWindow1::S_xuanzhepeifang() {
    loadProjectName();
    inifiletovar();
    warnDamagedFiles();
    refreshMain();
    ui->comboBox->setCurrentIndex(int(gd[7]));
    emit m_sigrefdata();
    cvWindow->readfilepara();
}

void MainWindow1::on_comboBox_currentIndexChanged(int index) {
    gd[7] = index;
}

void MainWindow1::on_comboBox_3_currentIndexChanged(int index) {
    workMode = index;
    dryRun = index == 1;
}

void MainWindow1::updateModeWidgets() {
    const bool manual = manualMode == 1.0;
    ui->comboBox_3->setEnabled(manual);
    for (QGroupBox* box : {ui->groupBox_1, ui->groupBox_2, ui->groupBox_3, ui->groupBox_4, ui->groupBox_5,
                           ui->groupBox_6, ui->groupBox_7, ui->groupBox_8, ui->groupBox_9, ui->groupBox_10,
                           ui->groupBox_11, ui->groupBox_12, ui->groupBox_13})
        box->setEnabled(manual);
    for (QPushButton* button : {ui->pushButton, ui->pushButton_16, ui->pushButton_110, ui->pushButton_6,
                                ui->pushButton_8, ui->pushButton_11, ui->pushButton_13, ui->pushButton_18})
        button->setEnabled(manual);
}

void MainWindow1::updateHomingLabel() {
    if (homedUi) {
        ui->label_255->setText(QCoreApplication::translate("MainWindow1", "回原点完成"));
        ui->label_255->setStyleSheet("QLabel{background-color: rgb(0, 255, 0);}");
    } else {
        ui->label_255->setText(QCoreApplication::translate("MainWindow1", "回原点未完成"));
        ui->label_255->setStyleSheet("QLabel{background-color: rgb(255, 0, 0);}");
    }
}

// Offsets in µm on the left axis, the angle on the right, against the sample index.
void MainWindow1::setupCurve() {
    const QColor colours[3] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        QCPGraph* graph = customPlot.addGraph(customPlot.xAxis, i < 2 ? customPlot.yAxis : customPlot.yAxis2);
        graph->setPen(QPen(colours[i]));
    }
    customPlot.graph(0)->setName(QStringLiteral("X"));
    customPlot.graph(1)->setName(QStringLiteral("Y"));
    customPlot.graph(2)->setName(QCoreApplication::translate("MainWindow1", "角度"));
    customPlot.xAxis->setRange(0, 100);
    customPlot.yAxis->setRange(-200, 200);
    customPlot.yAxis->setLabel(QCoreApplication::translate("MainWindow1", "距离(um)"));
    customPlot.yAxis2->setVisible(true);
    customPlot.yAxis2->setRange(-1, 1);
    customPlot.yAxis2->setLabel(QCoreApplication::translate("MainWindow1", "角度(°)"));
    for (QCPAxis* axis : {customPlot.xAxis, customPlot.yAxis, customPlot.yAxis2}) {
        axis->grid()->setPen(QPen(QColor(180, 180, 180), 1, Qt::DotLine));
        axis->grid()->setSubGridPen(QPen(QColor(50, 50, 50), 1, Qt::DotLine));
        axis->grid()->setSubGridVisible(true);
    }
}

void MainWindow1::drawCurve() {
    QVector<double> index(kPlotSamples), x(kPlotSamples), y(kPlotSamples), angle(kPlotSamples);
    {
        QMutexLocker lock(&plotMutex);
        for (int i = 0; i < kPlotSamples; ++i) {
            index[i] = i;
            x[i] = plotOffsetX[i];
            y[i] = plotOffsetY[i];
            angle[i] = plotAngle[i];
        }
    }
    customPlot.graph(0)->setData(index, x, true);
    customPlot.graph(1)->setData(index, y, true);
    customPlot.graph(2)->setData(index, angle, true);
    customPlot.replot(QCustomPlot::rpQueuedReplot);
}
