#include "CVMainWindow.h"
#include "ui_CVMainWindow.h"

#include "platform/vision/Hcvcam.h"
#include "platform/vision/QHalconWindow.h"
#include "platform/vision/TaskParams.h"
#include "platform/vision/gcallfun.h"
#include "platform/vision/taskcontrol.h"
#include "platform/vision/taskdata.h"
#include "platform/vision/taskrun.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidgetItem>
#include <cmath>

namespace {
enum Column { ColTask, ColName, ColCamera, ColStatus, ColValues, ColTexts };

const char* kValueHeads[TaskParam::kShownCount] = {QT_TRANSLATE_NOOP("CVMainWindow", "10\n列px"),
                                                   QT_TRANSLATE_NOOP("CVMainWindow", "11\n行px"),
                                                   QT_TRANSLATE_NOOP("CVMainWindow", "12\n角度"),
                                                   "20\nY mm",
                                                   "21\nX mm",
                                                   QT_TRANSLATE_NOOP("CVMainWindow", "22\n角度"),
                                                   QT_TRANSLATE_NOOP("CVMainWindow", "23\n分数"),
                                                   QT_TRANSLATE_NOOP("CVMainWindow", "24\n宽mm"),
                                                   QT_TRANSLATE_NOOP("CVMainWindow", "25\n高mm"),
                                                   QT_TRANSLATE_NOOP("CVMainWindow", "26\n数量"),
                                                   "27\nms"};

QString fixed(double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return QString::number(std::round(v * scale) / scale + 0.0, 'f', decimals); // no "-0.000"
}

QString statusText(const TaskRecord& r) {
    if (r.running) return QCoreApplication::translate("CVMainWindow", "运行中");
    if (r.status == TaskOK) return "OK";
    if (r.status == TaskNG) return "NG";
    return r.runs == 0 ? QCoreApplication::translate("CVMainWindow", "未运行") : "-";
}
} // namespace

CVMainWindow::CVMainWindow(QWidget* parent) : QWidget(parent), ui(new Ui::CVMainWindow) {
    ui->setupUi(this);
    // A window of its own over the main window until someone puts it into a layout or
    // tab (which reparents it and clears the flag).
    if (parent) setWindowFlags(windowFlags() | Qt::Window);
    m_view = new KZCV::ImageControl::QHalconWindow(ui->groupBox_2, 400, 300);
    m_view->setMinimumSize(320, 240);
    m_view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_view->SetLineWidth(2.0);
    ui->verticalLayout_view->addWidget(m_view);

    QHeaderView* head = ui->tableWidget->horizontalHeader();
    head->setSectionResizeMode(QHeaderView::Interactive);
    ui->tableWidget->verticalHeader()->setDefaultSectionSize(24);

    QStringList heads;
    for (const char* h : kValueHeads) heads << QCoreApplication::translate("CVMainWindow", h);
    ui->tableWidget_2->setHorizontalHeaderLabels(heads);
    ui->tableWidget_2->horizontalHeader()->setMinimumSectionSize(36);
    ui->tableWidget_2->horizontalHeader()->setStretchLastSection(false);
    ui->tableWidget_2->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->tableWidget_2->verticalHeader()->setDefaultSectionSize(26);
    ui->tableWidget_2->setFixedHeight(ui->tableWidget_2->horizontalHeader()->sizeHint().height() + 26 +
                                      2 * ui->tableWidget_2->frameWidth());
    ui->tableWidget_2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->tableWidget_2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    buildRows();
    connect(ui->tableWidget, &QTableWidget::itemSelectionChanged, this, &CVMainWindow::rowChanged);
    connect(ui->comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &CVMainWindow::settingEdited);
    connect(ui->doubleSpinBox, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &CVMainWindow::settingEdited);
    connect(ui->spinBox, QOverload<int>::of(&QSpinBox::valueChanged), this, &CVMainWindow::settingEdited);
    connect(ui->lineEdit, &QLineEdit::editingFinished, this, &CVMainWindow::settingEdited);
    connect(ui->checkBox, &QCheckBox::toggled, this, &CVMainWindow::settingEdited);
    connect(ui->tableWidget_2, &QTableWidget::itemChanged, this, &CVMainWindow::valueEdited);
    connect(gcallfun::GetInstance(), &gcallfun::signalRepaintcvview, this, &CVMainWindow::taskFinished);
    connect(gcallfun::GetInstance(), &gcallfun::signalRepaintcvview, m_view,
            &KZCV::ImageControl::QHalconWindow::readimgastask);

    setCurrentTast(0);
    readfilepara(); // the current recipe's settings and calibrations, as at every recipe load
    m_refresh.setInterval(200);
    // Hidden (another tab, no screen) it would restyle its labels for nobody.
    connect(&m_refresh, &QTimer::timeout, this, [this] {
        if (isVisible()) refreshView();
    });
    m_refresh.start();
}

void CVMainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshView();
}

CVMainWindow::~CVMainWindow() {
    delete ui;
}

void CVMainWindow::buildRows() {
    const int n = taskdata::GetInstance()->taskNum();
    const QStringList cams = taskdata::GetInstance()->camNames();
    ui->tableWidget->setRowCount(n);
    for (int t = 0; t < n; ++t) {
        const TaskParam p = TaskParams::GetInstance()->param(t);
        auto set = [&](int col, const QString& text) {
            QTableWidgetItem* item = ui->tableWidget->item(t, col);
            if (!item) ui->tableWidget->setItem(t, col, item = new QTableWidgetItem);
            item->setText(text);
        };
        set(ColTask, QString::number(t));
        set(ColName, QCoreApplication::translate("CVMainWindow", p.name.toUtf8().constData()));
        set(ColCamera,
            p.camera < cams.size()
                ? cams.at(p.camera)
                : QString(QCoreApplication::translate("CVMainWindow", "相机%1")).arg(p.camera + 1));
        fillRow(t);
    }
    // Fixed columns fit their longest possible text; the texts take the rest.
    const QFontMetrics fm = ui->tableWidget->fontMetrics();
    auto widest = [&](int col, const QStringList& samples) {
        int w = ui->tableWidget->horizontalHeader()->fontMetrics().horizontalAdvance(
            ui->tableWidget->horizontalHeaderItem(col)->text());
        for (const QString& s : samples) w = qMax(w, fm.horizontalAdvance(s));
        for (int t = 0; t < n; ++t)
            if (QTableWidgetItem* item = ui->tableWidget->item(t, col))
                w = qMax(w, fm.horizontalAdvance(item->text()));
        ui->tableWidget->setColumnWidth(col, w + 12);
    };
    widest(ColTask, {});
    widest(ColName, {});
    widest(ColCamera, {});
    widest(ColStatus, {QCoreApplication::translate("CVMainWindow", "运行中"),
                       QCoreApplication::translate("CVMainWindow", "未运行"), "OK", "NG"});
    widest(ColValues, {"-0.000 / -0.000 / -00.00"});
}

void CVMainWindow::fillRow(int task) {
    if (task < 0 || task >= ui->tableWidget->rowCount()) return;
    const TaskRecord r = taskdata::GetInstance()->record(task);
    auto set = [&](int col, const QString& text) {
        QTableWidgetItem* item = ui->tableWidget->item(task, col);
        if (!item) ui->tableWidget->setItem(task, col, item = new QTableWidgetItem);
        if (item->text() != text) item->setText(text);
        return item;
    };
    QTableWidgetItem* status = set(ColStatus, statusText(r));
    status->setForeground(r.running || r.status == TaskPending ? QColor(90, 90, 90)
                          : r.status == TaskOK                 ? QColor(0, 140, 0)
                                                               : QColor(210, 0, 0));
    const bool shown = !r.running && r.status == TaskOK;
    QTableWidgetItem* values = set(
        ColValues, shown ? QString("%1 / %2 / %3")
                               .arg(fixed(r.values[21], 3), fixed(r.values[20], 3), fixed(r.values[22], 2))
                         : QString());
    values->setToolTip(
        shown ? QString(QCoreApplication::translate("CVMainWindow", "图像位置 列 %1  行 %2  分数 %3"))
                    .arg(r.values[10], 0, 'f', 1)
                    .arg(r.values[11], 0, 'f', 1)
                    .arg(r.values[23], 0, 'f', 2)
              : QString());
    // Text 0 is the verdict the status column shows already.
    set(ColTexts, r.running ? QString() : r.texts.mid(1).join(" | "))->setToolTip(r.texts.join("\n"));
}

int CVMainWindow::selectedTask() const {
    return ui->tableWidget->currentRow();
}

QString CVMainWindow::settingsTitle() const {
    return ui->groupBox->title();
}

QString CVMainWindow::message() const {
    return ui->label_msg->text();
}

void CVMainWindow::setCurrentTast(int task) {
    if (task < 0 || task >= ui->tableWidget->rowCount()) return;
    ui->tableWidget->selectRow(task);
    ui->tableWidget->setCurrentCell(task, ColTask);
    ui->tableWidget->scrollToItem(ui->tableWidget->item(task, ColTask));
}

void CVMainWindow::rowChanged() {
    const int task = selectedTask();
    if (task < 0) return;
    m_view->setTaskIndex(task, 0.0);
    showSettings(task);
    refreshView();
}

void CVMainWindow::showSettings(int task) {
    const TaskParam p = TaskParams::GetInstance()->param(task);
    m_loading = true;
    m_title = QString("T%1 %2").arg(task).arg(
        QCoreApplication::translate("CVMainWindow", p.name.toUtf8().constData()));
    ui->comboBox->setCurrentIndex(p.mode);
    ui->doubleSpinBox->setValue(p.ngRate * 100.0);
    ui->spinBox->setValue(p.processMs);
    ui->lineEdit->setText(p.text);
    ui->checkBox->setChecked(TaskParams::GetInstance()->saveImages());
    for (int i = 0; i < TaskParam::kShownCount; ++i) {
        QTableWidgetItem* item = ui->tableWidget_2->item(0, i);
        if (!item) ui->tableWidget_2->setItem(0, i, item = new QTableWidgetItem);
        item->setText(QString::number(p.values[TaskParam::kShownPositions[i]], 'g', 10));
    }
    m_loading = false;
}

void CVMainWindow::settingEdited() {
    const int task = selectedTask();
    if (m_loading || task < 0) return;
    TaskParam p = TaskParams::GetInstance()->param(task);
    p.mode = ui->comboBox->currentIndex();
    p.ngRate = ui->doubleSpinBox->value() / 100.0;
    p.processMs = ui->spinBox->value();
    p.text = ui->lineEdit->text().trimmed();
    TaskParams::GetInstance()->setParam(task, p);
    TaskParams::GetInstance()->setSaveImages(ui->checkBox->isChecked());
}

void CVMainWindow::valueEdited(QTableWidgetItem* item) {
    const int task = selectedTask();
    if (m_loading || task < 0 || !item) return;
    const int pos = TaskParam::kShownPositions[item->column()];
    TaskParam p = TaskParams::GetInstance()->param(task);
    bool ok = false;
    const double v = item->text().trimmed().toDouble(&ok);
    if (!ok) {
        showMessage(
            QString(QCoreApplication::translate("CVMainWindow", "结果值 %1 必须是数字，\"%2\" 未采用"))
                .arg(pos)
                .arg(item->text()),
            true);
        m_loading = true;
        item->setText(QString::number(p.values[pos], 'g', 10));
        m_loading = false;
        return;
    }
    p.values[pos] = v;
    TaskParams::GetInstance()->setParam(task, p);
}

void CVMainWindow::taskFinished(int task, QStringList) {
    fillRow(task);
}

void CVMainWindow::refreshView() {
    taskdata* td = taskdata::GetInstance();
    if (td->taskNum() != ui->tableWidget->rowCount()) buildRows();
    for (int t = 0; t < ui->tableWidget->rowCount(); ++t) fillRow(t);

    auto camText = [](QLabel* label, bool connected) {
        label->setText(connected ? QCoreApplication::translate("CVMainWindow", "已连接")
                                 : QCoreApplication::translate("CVMainWindow", "未连接"));
        label->setStyleSheet(connected ? "color: rgb(0,140,0);" : "color: rgb(210,0,0);");
    };
    camText(ui->label_cam1, Hcvcam::get_CamConnected(1));
    camText(ui->label_cam2, Hcvcam::get_CamConnected(2));
    QLabel* calLabels[2] = {ui->label_cal0, ui->label_cal1};
    for (int cam = 0; cam < 2; ++cam) {
        CamCalib c;
        calLabels[cam]->setText(
            taskcontrol::activeCalib(cam, &c)
                ? QString(QCoreApplication::translate("CVMainWindow", "已标定  %1 mm/px  残差 %2 mm"))
                      .arg(c.mmPerPixel(), 0, 'f', 4)
                      .arg(c.residual(), 0, 'f', 4)
                : QString(QCoreApplication::translate("CVMainWindow", "未标定（按标称比例）")));
    }
    const QString recipe = td->projectName();
    ui->label_recipe->setText(recipe.isEmpty() ? QString("-") : recipe);

    const bool mayEdit = td->userLevel() >= 1;
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->comboBox, ui->doubleSpinBox, ui->spinBox, ui->lineEdit,
                                         ui->checkBox, ui->tableWidget_2, ui->pushButton_3})
        w->setEnabled(mayEdit);
    ui->groupBox->setTitle(
        QString(QCoreApplication::translate("CVMainWindow", "任务仿真设置 — %1%2"))
            .arg(m_title, mayEdit ? "" : QCoreApplication::translate("CVMainWindow", "（登录后可修改）")));
    ui->pushButton->setEnabled(td->manual() == 1);
    ui->pushButton->setToolTip(
        td->manual() == 1 ? QString() : QCoreApplication::translate("CVMainWindow", "只在手动模式下执行"));
}

bool CVMainWindow::readfilepara() {
    QString error;
    const QString dir = taskdata::GetInstance()->visionDir();
    const bool ok = TaskParams::GetInstance()->load(dir, &error);
    taskcontrol::loadCalibrations();
    const int task = selectedTask();
    if (task >= 0) showSettings(task);
    refreshView();
    showMessage(ok ? QString(QCoreApplication::translate("CVMainWindow", "已读取视觉参数：%1")).arg(dir)
                   : error,
                !ok);
    return ok;
}

bool CVMainWindow::savefilepara() {
    settingEdited(); // a text still being edited counts
    QString error;
    const QString dir = taskdata::GetInstance()->visionDir();
    const bool ok = TaskParams::GetInstance()->save(dir, &error);
    showMessage(ok ? QString(QCoreApplication::translate("CVMainWindow", "视觉参数已保存：%1")).arg(dir)
                   : error,
                !ok);
    return ok;
}

void CVMainWindow::showMessage(const QString& text, bool error) {
    ui->label_msg->setText(text);
    ui->label_msg->setStyleSheet(error ? "color: rgb(210,0,0);" : QString());
}

void CVMainWindow::on_pushButton_clicked() {
    const int task = selectedTask();
    if (task < 0 || taskdata::GetInstance()->manual() != 1) return;
    taskdata::GetInstance()->setCurrentTask(task);
    if (taskrun::taskexec(task, 0) != 0)
        showMessage(QString(QCoreApplication::translate("CVMainWindow", "任务 %1 无法执行")).arg(task), true);
    fillRow(task);
}

void CVMainWindow::on_pushButton_2_clicked() {
    readfilepara();
}

void CVMainWindow::on_pushButton_3_clicked() {
    emit m_sigsavedata();
}

void CVMainWindow::on_pushButton_4_clicked() {
    emit m_jogshow();
}
