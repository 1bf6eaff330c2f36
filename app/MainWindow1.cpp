#include "MainWindow1.h"
#include "ui_MainWindow1.h"

#include "app/AssemblyCurve.h"
#include "app/ClockTimer.h"
#include "app/CurrentRecipe.h"
#include "app/EventLog.h"
#include "app/ImageHousekeeping.h"
#include "app/MachineData.h"
#include "app/Prompt.h"
#include "app/RunDataKeeper.h"
#include "machine/CardInit.h"
#include "pages/Form2.h"
#include "pages/Form3.h"
#include "pages/Form4.h"
#include "pages/Form5.h"
#include "pages/Jogct.h"
#include "pages/MachineStatus.h"
#include "pages/ioct.h"
#include "pages/zhou.h"
#include "platform/AtomicFile.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"
#include "platform/vision/CVMainWindow.h"
#include "platform/vision/QHalconWindow.h"
#include "platform/vision/gcallfun.h"
#include "platform/vision/taskdata.h"
#include "production/FormMes.h"
#include "production/MachineStateStore.h"
#include "production/ProductRecords.h"
#include "recipes/PasswordFile.h"
#include "recipes/RecipeName.h"
#include "recipes/Users.h"
#include "sequences/CycleData.h"
#include "vision/Calibrations.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopWidget>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTextStream>
#include <QToolButton>

namespace {
// Guards the four thread stop flags at shutdown.
QMutex stopMutex;

// Tasks shown by the six image views of the run page, in the order of their layouts.
constexpr int kViewTasks[6] = {0, 1, 2, 4, 3, 13};

double yieldOf(double ok, double ng) {
    return ok + ng > 0.0 ? ok * 100.0 / (ng + ok) : 0.0;
}

} // namespace

MainWindow1::MainWindow1(QWidget* parent) : MainWindow1(parent, Options()) {}

MainWindow1::MainWindow1(QWidget* parent, const Options& opts)
    : QMainWindow(parent), ui(new Ui::MainWindow1), options(opts) {
    // The four threads and the plot are members and exist at this point.
    ui->setupUi(this);
    ui->verticalLayout->addWidget(&customPlot);
    plotClear();
    // Logs; log lines also appear on the tab "log".
    KZLOG::CLog::Initialize(QString());
    KZLOG::UILog::GetInstance()->InsertUi("textBrowser_3", "", ui->textBrowser_3);
    taskdata::GetInstance()->setCamNum(2);
    taskdata::GetInstance()->setTaskNum(15);
    // A save that fails is told on the alarm views and in the log, whatever wrote it.
    // A save on another thread may end after the window is gone.
    QPointer<MainWindow1> self(this);
    AtomicFile::setFailureHandler([self](const QString& path, const QString& error) {
        if (!self) return;
        QMetaObject::invokeMethod(
            self, [self, path, error] { reportSaveFailureOf(self, path, error); },
            QThread::currentThread() == self->thread() ? Qt::DirectConnection : Qt::QueuedConnection);
    });
    // The recipe name must be sound before the files are read from its folder.
    const QString recipeWarning = CurrentRecipe::ensureValid();
    if (!recipeWarning.isEmpty())
        Prompt::warning(this, QCoreApplication::translate("MainWindow1", "打开配方"), recipeWarning);
    inifiletovar();
    RunDataKeeper::recover();
    refreshMainAndSpeed();
    loadProjectName();
    // Without the password file only the master passwords would open an account.
    QString passwordError;
    if (!PasswordFile::ensureExists(&passwordError))
        KZLOG::CLog::Error(QString("password file: %1").arg(passwordError));
    warnDamagedFiles();
    cardNo = 0;
    axisX = 0;
    axisY = 1;
    axisZ = 2;
    axisQ = 3;
    axisNgZ = 4;
    axisLineBelt = 5;
    axisEmptyBelt = 6;
    axis7 = 7;
    axis8 = 8;
    axis9 = 9;
    axis10 = 10;
    axis11 = 11;
    manualMode = 0.0;
    workMode = 0.0;
    // Tray cells are 1-based.
    for (int k = 0; k <= 7; ++k)
        if (gr[k] < 1.0) gr[k] = 1.0;
    if (gd[31] < 1.0) gd[31] = 1.0;
    if (gd[32] < 1.0) gd[32] = 1.0;
    // A failure is shown and leaves cardOk at 0; construction goes on.
    initCard(this);
    if (options.startWorkers) ClockTimer::singleShot(300, this, [this] { startWorkers(); });
    // Card output 4 is the lighting lamp.
    singleout(cardNo, 0, 0, 4, gd[0] != 2.0, 0);
    ui->tabWidget_2->setCurrentIndex(0);
    ui->tabWidget->setCurrentIndex(0);
    // The banner rides in the message tabs' bar, so it shows whatever tab is selected;
    // the bar grows to the banner's height.
    ui->tabWidget->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { min-height: %1px; }").arg(ui->label_banner->minimumHeight() - 8));
    ui->tabWidget->setCornerWidget(ui->label_banner, Qt::TopRightCorner);
    showBanner();
    // A view filled while hidden opens on its newest line, and follows it from there.
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                for (QTextBrowser* view : {ui->textBrowser_2, ui->textBrowser_3})
                    if (view->isVisible())
                        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
            },
            Qt::QueuedConnection);
    });
    startupDone = 0;
    blinkTimer = new ClockTimer(this);
    connect(blinkTimer, &ClockTimer::timeout, this, [] { invbool(&blink); });
    blinkTimer->start(500);
    saveTimer = new ClockTimer(this);
    saveTimer->setSingleShot(true);
    connect(saveTimer, &ClockTimer::timeout, this, [this] { ui->pushButton_63->setEnabled(true); });
    readerrfile(ui->textBrowser_2);
    buildPages();
    wireSignals();
    if (options.startTicks) {
        timer100 = startTimer(100, Qt::CoarseTimer);
        timer25 = startTimer(25, Qt::CoarseTimer);
        timer10 = startTimer(10, Qt::CoarseTimer);
        timer10min = startTimer(600000, Qt::CoarseTimer);
        timer3s = startTimer(3000, Qt::CoarseTimer);
    }
    // From here on the alarm table and the camera checks run.
    // The cameras are polled first, so that the table does not start with camera alarms.
    ClockTimer::singleShot(5000, this, [this] {
        cycle.pollCameras();
        startupDone = 1;
    });
    if (options.startHousekeeping) ImageHousekeeping::start();
    taskdata::GetInstance()->setCamNames({QCoreApplication::translate("MainWindow1", "上相机"),
                                          QCoreApplication::translate("MainWindow1", "下相机")});
    buildImageViews();
    wireControls();
    // Bin layers, the B# trays and the single yield clear buttons are not used on this machine.
    for (QGroupBox* box :
         {ui->groupBox_4, ui->groupBox_5, ui->groupBox_6, ui->groupBox_7, ui->groupBox_8, ui->groupBox_9,
          ui->groupBox_10, ui->groupBox_11, ui->groupBox_12, ui->groupBox_13})
        box->hide();
    for (QPushButton* button : {ui->pushButton_6, ui->pushButton_8, ui->pushButton_13, ui->pushButton_18})
        button->hide();
    // Taken by the first 100 ms tick.
    startRequest = 1;
}

MainWindow1::~MainWindow1() {
    AtomicFile::setFailureHandler(nullptr);
    delete ui;
}

void MainWindow1::reportSaveFailureOf(QPointer<MainWindow1> window, const QString& path,
                                      const QString& error) {
    if (window) window->reportSaveFailure(path, error);
}

void MainWindow1::reportSaveFailure(const QString& path, const QString& error) {
    ++m_saveFailures;
    KZLOG::CLog::Error(QStringLiteral("保存失败：%1").arg(error));
    cycle.noteSaveFailure(QFileInfo(path).fileName(), error);
}

void MainWindow1::warnDamagedFiles() {
    const QList<kzct::LoadDamage> damage = kzct::lastLoadDamage();
    if (damage.isEmpty()) return;
    QStringList lines;
    for (const kzct::LoadDamage& d : damage) {
        QString line =
            QCoreApplication::translate("MainWindow1", "%1：缺少 %2 项").arg(d.file).arg(d.missing);
        if (d.unreadable)
            line += QCoreApplication::translate("MainWindow1", "，%1 行无法读取").arg(d.unreadable);
        if (!d.copy.isEmpty())
            line += QCoreApplication::translate("MainWindow1", "；原文件已另存为 %1")
                        .arg(QFileInfo(d.copy).fileName());
        lines << line;
    }
    Prompt::warning(this, QCoreApplication::translate("MainWindow1", "参数文件不完整"),
                    QCoreApplication::translate(
                        "MainWindow1", "以下文件不完整，缺少的参数保持原值，请检查参数后再保存：\n") +
                        lines.join("\n"));
}

void MainWindow1::startWorkers() {
    taska.start(QThread::TimeCriticalPriority);
    taskb.start(QThread::TimeCriticalPriority);
    tasktcp.start(QThread::InheritPriority);
    taskfast.start(QThread::InheritPriority);
}

void MainWindow1::buildPages() {
    jogct = new Jogct(this);
    zhouPage = new zhou(this);
    ioPage = new ioct(this);
    form2 = new Form2(this);
    form3 = new Form3(this);
    form4 = new Form4(this);
    form5 = new Form5(this);
    cvWindow = new CVMainWindow(this);
    // Opened from its tab button as a window of its own, not laid into the main window.
    cvWindow->setWindowFlag(Qt::Window);
    formMes = new FormMes(this);
    machineStatus = new MachineStatus(this);

    QTabWidget* tabs = ui->tabWidget_2;
    auto* axisScroll = new QScrollArea;
    axisScroll->setWidgetResizable(false);
    axisScroll->setWidget(zhouPage);
    tabs->addTab(axisScroll, QCoreApplication::translate("MainWindow1", "轴手动"));
    tabs->addTab(ioPage, QCoreApplication::translate("MainWindow1", "IO手动"));
    tabs->addTab(form2, QCoreApplication::translate("MainWindow1", "位置设置"));
    tabs->addTab(form3, QCoreApplication::translate("MainWindow1", "皮带线设置"));
    tabs->addTab(form4, QCoreApplication::translate("MainWindow1", "标定设置"));
    tabs->addTab(form5, QCoreApplication::translate("MainWindow1", "功能设置"));
    tabs->addTab(formMes, QCoreApplication::translate("MainWindow1", "MES设置"));
    tabs->addTab(machineStatus, QCoreApplication::translate("MainWindow1", "机台状态"));

    // Tabs 9..14 are buttons that open windows; the tab itself cannot be selected.
    auto addButtonTab = [tabs](const QString& text) {
        const int index = tabs->addTab(new QWidget, QString());
        tabs->setTabEnabled(index, false);
        auto* button = new QToolButton;
        button->setText(text);
        button->setStyleSheet("background-color: rgb(170, 255, 255);");
        tabs->tabBar()->setTabButton(index, QTabBar::RightSide, button);
        return button;
    };
    connect(addButtonTab(QCoreApplication::translate("MainWindow1", "视觉设置")), &QToolButton::clicked, this,
            &MainWindow1::visonshow);
    connect(addButtonTab(QCoreApplication::translate("MainWindow1", "气缸+轴点动")), &QToolButton::clicked,
            this, &MainWindow1::jogshow);
    connect(addButtonTab(QCoreApplication::translate("MainWindow1", "  配方  ")), &QToolButton::clicked,
            ui->pushButton_28, &QPushButton::click);
    connect(addButtonTab(QCoreApplication::translate("MainWindow1", "  系统  ")), &QToolButton::clicked,
            ui->pushButton_30, &QPushButton::click);
    connect(addButtonTab(QCoreApplication::translate("MainWindow1", "  登录  ")), &QToolButton::clicked,
            ui->pushButton_9, &QPushButton::click);
    connect(addButtonTab(QCoreApplication::translate("MainWindow1", "  退出  ")), &QToolButton::clicked,
            ui->pushButton_23, &QPushButton::click);
    for (QPushButton* button : {ui->pushButton_28, ui->pushButton_30, ui->pushButton_9, ui->pushButton_23})
        button->hide();
}

void MainWindow1::wireSignals() {
    // Any page's save button saves everything.
    connect(form2, &Form2::m_sigsavedata, this, &MainWindow1::m_sigsavedata);
    connect(form3, &Form3::m_sigsavedata, this, &MainWindow1::m_sigsavedata);
    connect(form4, &Form4::m_sigsavedata, this, &MainWindow1::m_sigsavedata);
    connect(form5, &Form5::m_sigsavedata, this, &MainWindow1::m_sigsavedata);
    connect(cvWindow, &CVMainWindow::m_sigsavedata, this, &MainWindow1::m_sigsavedata);

    // First of the save chain: the failures before it began.
    connect(this, &MainWindow1::m_sigsavedata, this, [this] { m_failuresBeforeSave = m_saveFailures; });
    // Slots run in connection order: every page pulls its widgets into the arrays
    // before the files are written.
    connect(this, &MainWindow1::m_sigsavedata, zhouPage, &zhou::inituitovar);
    connect(this, &MainWindow1::m_sigsavedata, form2, &Form2::inituitovar);
    connect(this, &MainWindow1::m_sigsavedata, form3, &Form3::inituitovar);
    connect(this, &MainWindow1::m_sigsavedata, form4, &Form4::inituitovar);
    connect(this, &MainWindow1::m_sigsavedata, form5, &Form5::inituitovar);
    connect(this, &MainWindow1::m_sigsavedata, cvWindow, &CVMainWindow::savefilepara);
    connect(this, &MainWindow1::m_sigsavedata, this, &MainWindow1::m_slotssavedata);
    connect(this, &MainWindow1::m_sigsavedata, formMes, &FormMes::inituitovar);

    connect(this, &MainWindow1::m_sigrefdata, zhouPage, &zhou::initvartoui);
    connect(this, &MainWindow1::m_sigrefdata, form2, &Form2::initvartoui);
    connect(this, &MainWindow1::m_sigrefdata, form3, &Form3::initvartoui);
    connect(this, &MainWindow1::m_sigrefdata, form4, &Form4::initvartoui);
    connect(this, &MainWindow1::m_sigrefdata, form5, &Form5::initvartoui);
    connect(this, &MainWindow1::m_sigrefdata, cvWindow, &CVMainWindow::readfilepara);
    connect(this, &MainWindow1::m_sigrefdata, this, &MainWindow1::refreshMainAndSpeed);

    connect(cvWindow, &CVMainWindow::m_jogshow, this, &MainWindow1::jogshow);
    connect(&taska, &Taska::S_zzdata, this, &MainWindow1::Savezzdata, Qt::QueuedConnection);
}

void MainWindow1::buildImageViews() {
    QFormLayout* layouts[6] = {ui->formLayout_14, ui->formLayout_15, ui->formLayout_16,
                               ui->formLayout_17, ui->formLayout_18, ui->formLayout_19};
    gcallfun* calls = gcallfun::GetInstance();
    for (int i = 0; i < 6; ++i) {
        auto* view = new KZCV::ImageControl::QHalconWindow(this, 0, 0);
        view->setFixedSize(400, 300);
        view->GetHalconBuffer()->SetWindowExtents(0, 0, 400, 300);
        view->GetHalconBuffer()->SetLineWidth(2.0);
        layouts[i]->addRow(view);
        view->setTaskIndex(kViewTasks[i], 0.5);
        connect(calls, &gcallfun::signalRepaintcvview, view,
                &KZCV::ImageControl::QHalconWindow::readimgastask);
        views[i] = view;
    }
    connect(calls, &gcallfun::signalSetCurrentTast, cvWindow, &CVMainWindow::setCurrentTast);
}

void MainWindow1::refreshMain() {
    // An edit the operator has not committed yet is not overwritten.
    m_refreshing = true;
    auto show = [](QDoubleSpinBox* box, double value) {
        if (!editPending(box)) box->setValue(value);
    };
    show(ui->doubleSpinBox_100, gr[0]);
    show(ui->doubleSpinBox_101, gr[1]);
    show(ui->doubleSpinBox_102, gr[2]);
    show(ui->doubleSpinBox_103, gr[5]);
    show(ui->doubleSpinBox_104, gr[6]);
    show(ui->doubleSpinBox_105, gr[7]);
    show(ui->doubleSpinBox_106, gr[3]);
    show(ui->doubleSpinBox_110, gr[10]);
    show(ui->doubleSpinBox_111, gr[11]);
    show(ui->doubleSpinBox_112, gr[12]);
    show(ui->doubleSpinBox_113, gr[13]);
    show(ui->doubleSpinBox_114, gr[14]);
    show(ui->doubleSpinBox_115, gr[15]);
    show(ui->doubleSpinBox_109, gr[21]);
    show(ui->doubleSpinBox_108, gr[23]);
    show(ui->doubleSpinBox_116, gr[24]);
    show(ui->doubleSpinBox_117, yieldOf(gr[23], gr[24]));
    show(ui->doubleSpinBox_118, gr[25]);
    show(ui->doubleSpinBox_119, gr[26]);
    show(ui->doubleSpinBox_120, yieldOf(gr[25], gr[26]));
    show(ui->doubleSpinBox_128, gr[28]);
    show(ui->doubleSpinBox_129, gr[29]);
    show(ui->doubleSpinBox_127, yieldOf(gr[28], gr[29]));
    show(ui->doubleSpinBox_125, gr[30]);
    show(ui->doubleSpinBox_126, gr[31]);
    show(ui->doubleSpinBox_124, yieldOf(gr[30], gr[31]));
    show(ui->doubleSpinBox_122, gr[32]);
    show(ui->doubleSpinBox_123, gr[33]);
    show(ui->doubleSpinBox_121, yieldOf(gr[32], gr[33]));
    ui->lineEdit_8->setText(QString::number(cycleTime, 'f', 3));
    m_refreshing = false;
}

bool MainWindow1::editPending(const QDoubleSpinBox* box) {
    // Keyboard tracking is off on the editable boxes: typed text reaches the value
    // only when committed, so a difference is an edit in progress.
    return box->cleanText() != box->textFromValue(box->value());
}

void MainWindow1::refreshMainAndSpeed() {
    refreshMain();
    ui->comboBox->setCurrentIndex(int(gd[7]));
}

void MainWindow1::m_slotssavedata() {
    // One save per second, however often the button is pressed.
    ui->pushButton_63->setEnabled(false);
    saveTimer->start(1000);
    cvWindow->savefilepara();
    inivartofile();
    // A failure anywhere in the chain has told its own line.
    if (m_saveFailures == m_failuresBeforeSave) EventLog::parametersSaved(currentRecipe);
    refreshMainAndSpeed();
}

void MainWindow1::on_pushButton_63_clicked() {
    emit m_sigsavedata();
}

void MainWindow1::showCentred(QWidget* window) {
    window->show();
    window->showNormal();
    window->activateWindow();
    const QRect desktop = QApplication::desktop()->geometry();
    window->move((desktop.width() - window->width()) / 2, (desktop.height() - window->height()) / 2);
}

void MainWindow1::visonshow() {
    showCentred(cvWindow);
}

void MainWindow1::jogshow() {
    showCentred(jogct);
}

void MainWindow1::loadProjectName() {
    const QString recipeWarning = CurrentRecipe::ensureValid();
    if (!recipeWarning.isEmpty())
        Prompt::warning(this, QCoreApplication::translate("MainWindow1", "打开配方"), recipeWarning);
    QFile file(Paths::configDir() + "/ProjectName.set");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Prompt::warning(this, QCoreApplication::translate("MainWindow1", "打开配方"),
                        QCoreApplication::translate("MainWindow1", "打开配方设置文件失败！"));
        return;
    }
    const QString user = Users::levelName(userLevel);
    QTextStream in(&file);
    in.setCodec("UTF-8");
    // A name that could reach outside the recipes is never the current recipe.
    QString name = in.readLine();
    if (!isValidRecipeName(name.trimmed())) name.clear();
    setWindowTitle(QCoreApplication::translate("MainWindow1", "Tavrin    当前配方：") + name +
                   QCoreApplication::translate("MainWindow1", "    当前用户：") + user);
    currentRecipe = name;
    taskdata::GetInstance()->setProjectName(currentRecipe);
    taskdata::GetInstance()->setUserLevel(userLevel, user);
    file.close();
}

// Runs on the GUI thread: every product the cycle queued becomes a curve sample and a CSV row.
void MainWindow1::Savezzdata() {
    RunDataKeeper::save();
}

// The machine logic runs first; the widgets then show its outcome.
void MainWindow1::tick100ms() {
    if (taskfast.isRunning() && m_scanTicks < 2) ++m_scanTicks;
    // The MES question is modal inside this tick: the tick does not run again meanwhile,
    // but the banner still follows the machine.
    if (inTick100) {
        showBanner();
        return;
    }
    inTick100 = true;
    cycle.tick100ms();
    RunDataKeeper::tick();
    inTick100 = false;
    drawCurve();
    ui->lineEdit_8->setText(QString::number(cycleTime, 'f', 3));
    updateModeWidgets();
    if (manualMode == 0.0) refreshMain();
    updateHomingLabel();
    showBanner();
}

bool MainWindow1::machineRead() const {
    // The scan thread's first pass follows its start at once; a tick later it has surely run.
    // Without the threads the harness scans before every tick.
    return options.startWorkers ? m_scanTicks >= 2 : !cycle.banner().text.isEmpty();
}

void MainWindow1::showBanner() {
    BannerState banner = cycle.banner();
    if (!machineRead() || !m_question.isEmpty() || banner.text.isEmpty())
        banner = bannerState(BannerInputs{CurrentWait(), AlarmBoard::activeAlarms(),
                                          cycle.events().homingAbort(), m_question, machineRead()});
    if (ui->label_banner->text() != banner.text) ui->label_banner->setText(banner.text);
    const QString style = banner.styleSheet();
    if (ui->label_banner->styleSheet() != style) ui->label_banner->setStyleSheet(style);
}

void MainWindow1::tick25ms() {
    cycle.tick25ms();
}

void MainWindow1::tick10ms() {
    cycle.tick10ms();
}

void MainWindow1::tick10min() {
    ImageHousekeeping::start();
    cycle.tick10min();
}

void MainWindow1::tick3s() {
    cycle.tick3s();
}

void MainWindow1::timerEvent(QTimerEvent* event) {
    const int id = event->timerId();
    if (id == timer100)
        tick100ms();
    else if (id == timer25)
        tick25ms();
    else if (id == timer10)
        tick10ms();
    else if (id == timer10min)
        tick10min();
    else if (id == timer3s)
        tick3s();
    else
        QMainWindow::timerEvent(event);
}

void MainWindow1::closeWithoutQuestion() {
    m_askOnClose = false;
    close();
}

void MainWindow1::closeEvent(QCloseEvent* event) {
    if (closeCount > 0) {
        event->accept();
        dmc_board_close();
        close();
        return;
    }
    // Nothing may still move the machine or touch the data from here on.
    stopCalibrations();
    ImageHousekeeping::stop();
    // The run data whatever the answer.
    RunDataKeeper::closing();
    iniRUNvartofile();
    if (m_askOnClose &&
        Prompt::question(nullptr, QCoreApplication::translate("MainWindow1", "保存参数"),
                         QCoreApplication::translate("MainWindow1", "软件即将关闭，请确认是否保存参数。"))) {
        cvWindow->savefilepara();
        inivartofile();
    }
    KZLOG::CLog::Deinitializes();
    KZLOG::UILog::Destroy(KZLOG::UILog::GetInstance());
    {
        QMutexLocker lock(&stopMutex);
        taskaStop = 1;
        taskbStop = 1;
        fastStop = 1;
        tcpStop = 1;
    }
    for (int* id : {&timer100, &timer25, &timer10, &timer10min, &timer3s}) {
        if (*id) killTimer(*id);
        *id = 0;
    }
    taska.stop();
    taskb.stop();
    taskfast.stop();
    // No time-out: a thread that never sees its flag keeps the program from ending.
    taska.quit();
    taskb.quit();
    tasktcp.quit();
    taskfast.quit();
    taskfast.wait();
    taska.wait();
    taskb.wait();
    tasktcp.wait();
    dmc_set_can_state(cardNo, 3, 0, 0);
    dmc_board_close();
    // Periods already closed still reach the database if it frees within a moment.
    MachineStateStore::instance().stop(2000);
    ++closeCount;
    event->accept();
}
