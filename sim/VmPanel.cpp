#include "sim/VmPanel.h"

#include "sim/BeltView.h"
#include "sim/IoNames.h"
#include "sim/Plant.h"
#include "sim/VirtualMachine.h"
#include "sim/VmPanelLamp.h"
#include "sim/VmPanelStartOptions.h"
#include "ui_VmPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopWidget>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>

#include <iterator>

namespace {

// Titles the program's axis page gives the axes; 7 has no axis behind it.
const char* const kAxisNames[VmPanel::kAxes] = {
    QT_TRANSLATE_NOOP("VmPanel", "取料X轴"),    QT_TRANSLATE_NOOP("VmPanel", "取料Y轴"),
    QT_TRANSLATE_NOOP("VmPanel", "取料Z轴"),    QT_TRANSLATE_NOOP("VmPanel", "取料Q轴"),
    QT_TRANSLATE_NOOP("VmPanel", "NG Z轴"),     QT_TRANSLATE_NOOP("VmPanel", "成品皮带轴"),
    QT_TRANSLATE_NOOP("VmPanel", "空盘皮带轴"), QT_TRANSLATE_NOOP("VmPanel", "空 (无轴)"),
    QT_TRANSLATE_NOOP("VmPanel", "镜片1Y轴"),   QT_TRANSLATE_NOOP("VmPanel", "镜片2Y轴"),
    QT_TRANSLATE_NOOP("VmPanel", "料仓Z轴"),    QT_TRANSLATE_NOOP("VmPanel", "吸笔Q轴")};

const struct {
    const char* name;
    const char* english;
} kCylinderNames[VmPanel::kCylinders] = {{QT_TRANSLATE_NOOP("VmPanel", "吸笔升降"), "nozzle lift"},
                                         {QT_TRANSLATE_NOOP("VmPanel", "NG夹子"), "NG gripper"},
                                         {QT_TRANSLATE_NOOP("VmPanel", "NG盘伸缩"), "NG tray extend"},
                                         {QT_TRANSLATE_NOOP("VmPanel", "缓存阻挡"), "buffer stopper"},
                                         {QT_TRANSLATE_NOOP("VmPanel", "组装阻挡"), "assembly stopper"},
                                         {QT_TRANSLATE_NOOP("VmPanel", "组装定位升降"), "assembly lift"}};

const char* const kHoming = QT_TRANSLATE_NOOP("VmPanel", "回零中 homing");
const char* const kMoving = QT_TRANSLATE_NOOP("VmPanel", "运动 moving");
const char* const kStanding = QT_TRANSLATE_NOOP("VmPanel", "静止 standing");

// Why an axis last stopped, by the card's stop reason.
const char* const kStopReasons[] = {"—",
                                    QT_TRANSLATE_NOOP("VmPanel", "伺服报警 (alarm)"),
                                    QT_TRANSLATE_NOOP("VmPanel", "正限位 (EL+)"),
                                    QT_TRANSLATE_NOOP("VmPanel", "负限位 (EL-)"),
                                    QT_TRANSLATE_NOOP("VmPanel", "减速停止 (stop)"),
                                    QT_TRANSLATE_NOOP("VmPanel", "立即停止 (immediate)"),
                                    QT_TRANSLATE_NOOP("VmPanel", "急停 (emergency)"),
                                    QT_TRANSLATE_NOOP("VmPanel", "未使能 (disabled)"),
                                    QT_TRANSLATE_NOOP("VmPanel", "回零失败 (homing failed)")};

const char* const kDoorNames[4] = {
    QT_TRANSLATE_NOOP("VmPanel", "前安全门"), QT_TRANSLATE_NOOP("VmPanel", "后安全门"),
    QT_TRANSLATE_NOOP("VmPanel", "左安全门"), QT_TRANSLATE_NOOP("VmPanel", "右安全门")};

QString vmText(const char* text) {
    return QCoreApplication::translate("VmPanel", text);
}

const QColor kInputColor(40, 200, 60);
const QColor kOutputColor(255, 170, 0);
const QColor kAlarmColor(230, 40, 40);
const QColor kLimitColor(255, 120, 0);
const QColor kOriginColor(60, 140, 255);
const QColor kOkColor(40, 200, 60);

constexpr int kRowHeight = 24;

QString ioLabel(bool output, int image) {
    return QString("%1%2 %3")
        .arg(output ? 'Y' : 'X')
        .arg(image)
        .arg(output ? IoNames::output(image) : IoNames::input(image));
}

void setText(QTableWidgetItem* item, const QString& text) {
    if (item->text() != text) item->setText(text);
}

void prepareTable(QTableWidget* t, const QStringList& headers, int rows) {
    t->setColumnCount(headers.size());
    t->setRowCount(rows);
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->verticalHeader()->setDefaultSectionSize(kRowHeight);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setFocusPolicy(Qt::NoFocus);
    t->setAlternatingRowColors(true);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QTableWidgetItem* textItem(QTableWidget* t, int row, int col, const QString& text,
                           Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(int(align));
    t->setItem(row, col, item);
    return item;
}

// Widens columns whose header text would be cut in the font in use.
void fitHeader(QTableWidget* t, const int* widths) {
    const QFontMetrics fm = t->horizontalHeader()->fontMetrics();
    for (int c = 0; c < t->columnCount(); ++c) {
        int need = 0;
        for (const QString& line : t->horizontalHeaderItem(c)->text().split('\n'))
            need = qMax(need, fm.horizontalAdvance(line));
        t->setColumnWidth(c, qMax(widths[c], need + 14));
    }
}

// Widens columns whose cells would be cut.
void fitCells(QTableWidget* t) {
    const QFontMetrics fm = t->fontMetrics();
    for (int c = 0; c < t->columnCount(); ++c) {
        int need = 0;
        for (int r = 0; r < t->rowCount(); ++r) {
            if (QWidget* w = t->cellWidget(r, c))
                need = qMax(need, w->sizeHint().width() + 2);
            else if (QTableWidgetItem* item = t->item(r, c))
                need = qMax(need, fm.horizontalAdvance(item->text()) + 14);
        }
        if (need > t->columnWidth(c)) t->setColumnWidth(c, need);
    }
}

// Every row shows when there is room; on a short screen the table scrolls from
// four rows down, so that the panel fits beside the main window.
void fitRows(QTableWidget* t) {
    // The font may make rows taller than asked for; measure what they are.
    const int head = t->horizontalHeader()->sizeHint().height() + 2 * t->frameWidth();
    const int h = head + t->verticalHeader()->length();
    t->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    t->setMinimumHeight(qMin(h, head + 4 * t->verticalHeader()->defaultSectionSize()));
    t->setMaximumHeight(h);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QCheckBox* checkCell(QTableWidget* t, int row, int col, const QString& objectName,
                     const QString& text = QString()) {
    auto* box = new QWidget(t);
    auto* lay = new QHBoxLayout(box);
    lay->setContentsMargins(6, 0, 6, 0);
    auto* check = new QCheckBox(text, box);
    check->setObjectName(objectName);
    lay->addWidget(check, 0, text.isEmpty() ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    t->setCellWidget(row, col, box);
    return check;
}

} // namespace

VmPanel::VmPanel(sim::Plant& plant, QWidget* parent)
    : QWidget(parent), ui(new Ui::VmPanel), m_plant(plant), m_timer(new QTimer(this)) {
    ui->setupUi(this);
    buildStrip();
    buildAxes();
    buildIo();
    buildOperator();
    buildFaults();
    // These pages scroll on a short screen instead of making the panel taller.
    for (QWidget* page : {ui->tabOperator, ui->tabFaults}) {
        const int index = ui->tabs->indexOf(page);
        const QString title = ui->tabs->tabText(index);
        auto* scroll = new QScrollArea;
        scroll->setObjectName(page->objectName() + "Scroll");
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        ui->tabs->removeTab(index);
        scroll->setWidget(page);
        ui->tabs->insertTab(index, scroll, title);
    }
    ui->tabs->setCurrentIndex(0);
    ui->tabs->addTab(new BeltView(m_plant, this), QCoreApplication::translate("VmPanel", "Belts 皮带线"));
    refresh();
    // Display only: a real-time timer is fine, the machine never waits for it.
    connect(m_timer, &QTimer::timeout, this, &VmPanel::refresh);
    m_timer->start(kRefreshMs);
}

VmPanel::~VmPanel() {
    delete ui;
}

void VmPanel::registerAsCompanion() {
    sim::VirtualMachine::setCompanionFactory(
        [](sim::VirtualMachine& vm) -> QWidget* { return new VmPanel(vm.plant()); });
}

VmPanelLamp* VmPanel::inputLamp(int image) const {
    return image >= 0 && image < kIo ? m_inLamps[size_t(image)] : nullptr;
}

VmPanelLamp* VmPanel::outputLamp(int image) const {
    return image >= 0 && image < kIo ? m_outLamps[size_t(image)] : nullptr;
}

VmPanelLamp* VmPanel::watch(VmPanelLamp* lamp, bool output, int image) {
    m_watched.push_back({lamp, output, image});
    return lamp;
}

QWidget* VmPanel::lampCell(VmPanelLamp** lamp, const QColor& color, const QString& text) {
    auto* box = new QWidget;
    auto* lay = new QHBoxLayout(box);
    lay->setContentsMargins(4, 0, 4, 0);
    lay->setSpacing(6);
    *lamp = new VmPanelLamp(box);
    (*lamp)->setOnColor(color);
    if (text.isEmpty()) {
        lay->addWidget(*lamp, 0, Qt::AlignCenter);
    } else {
        lay->addWidget(*lamp);
        lay->addWidget(new QLabel(text, box), 1);
    }
    return box;
}

// ---- building ----

void VmPanel::buildStrip() {
    ui->estopButton->setStyleSheet(
        "QPushButton#estopButton { color: white; font-size: 17px; font-weight: bold;"
        " border: 6px solid #f2c200; border-radius: 60px;"
        " background-color: qradialgradient(cx:0.4, cy:0.4, radius:0.7, fx:0.4, fy:0.4,"
        " stop:0 #ff6060, stop:1 #b00000); }"
        "QPushButton#estopButton:checked { border-color: #ff2020;"
        " background-color: qradialgradient(cx:0.5, cy:0.5, radius:0.7, fx:0.5, fy:0.5,"
        " stop:0 #a00000, stop:1 #480000); }");
    setEstopLook(false);
    connect(ui->estopButton, &QPushButton::toggled, this, [this](bool pressed) {
        m_plant.setEstopPressed(pressed);
        setEstopLook(pressed);
    });

    const struct {
        QPushButton* button;
        int input;
        VmPanelLamp* lamp;
        int lampOutput;
        QColor color;
    } buttons[] = {
        {ui->startButton, sim::OperatorPanel::StartButton, ui->startLamp, sim::OperatorPanel::StartLamp,
         kOkColor},
        {ui->stopButton, sim::OperatorPanel::StopButton, ui->stopLamp, sim::OperatorPanel::StopLamp,
         QColor(255, 210, 0)},
        {ui->alarmClearButton, sim::OperatorPanel::AlarmClearButton, ui->alarmClearLamp,
         sim::OperatorPanel::AlarmClearLamp, kAlarmColor},
        {ui->resetButton, sim::OperatorPanel::ResetButton, ui->resetLamp, sim::OperatorPanel::ResetLamp,
         kOriginColor},
        {ui->ngTrayButton, sim::OperatorPanel::NgTrayButton, ui->ngTrayLamp, sim::OperatorPanel::NgTrayLamp,
         kOutputColor},
    };
    for (const auto& b : buttons) {
        const int input = b.input;
        b.button->setToolTip(QString("X%1 %2").arg(input).arg(IoNames::input(input)));
        // Held while the mouse button is held, like the real push-button.
        connect(b.button, &QPushButton::pressed, this,
                [this, input] { m_plant.setButtonPressed(input, true); });
        connect(b.button, &QPushButton::released, this,
                [this, input] { m_plant.setButtonPressed(input, false); });
        b.lamp->setOnColor(b.color);
        watch(b.lamp, true, b.lampOutput);
    }

    ui->redLamp->setOnColor(kAlarmColor);
    ui->yellowLamp->setOnColor(QColor(255, 210, 0));
    ui->greenLamp->setOnColor(kOkColor);
    ui->buzzerLamp->setOnColor(kLimitColor);
    watch(ui->redLamp, true, sim::OperatorPanel::RedLamp);
    watch(ui->yellowLamp, true, sim::OperatorPanel::YellowLamp);
    watch(ui->greenLamp, true, sim::OperatorPanel::GreenLamp);
    watch(ui->buzzerLamp, true, sim::OperatorPanel::Buzzer);
    for (VmPanelLamp* l : {ui->redLamp, ui->yellowLamp, ui->greenLamp, ui->buzzerLamp}) l->setDiameter(16);
}

void VmPanel::buildAxes() {
    QTableWidget* t = ui->axesTable;
    prepareTable(t,
                 {QCoreApplication::translate("VmPanel", "轴"),
                  QCoreApplication::translate("VmPanel", "名称 (name)"),
                  QCoreApplication::translate("VmPanel", "指令位置\ncommand"),
                  QCoreApplication::translate("VmPanel", "编码器位置\nencoder"),
                  QCoreApplication::translate("VmPanel", "状态\nstate"),
                  QCoreApplication::translate("VmPanel", "使能\nenabled"),
                  QCoreApplication::translate("VmPanel", "报警\nalarm"),
                  QCoreApplication::translate("VmPanel", "正限\nEL+"),
                  QCoreApplication::translate("VmPanel", "负限\nEL-"),
                  QCoreApplication::translate("VmPanel", "原点\norigin"),
                  QCoreApplication::translate("VmPanel", "已回零\nhomed")},
                 kAxes);
    const int widths[] = {36, 100, 90, 90, 96, 56, 50, 50, 50, 56, 56};
    fitHeader(t, widths);
    t->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    for (int a = 0; a < kAxes; ++a) {
        AxisRow& r = m_axisRows[size_t(a)];
        textItem(t, a, 0, QString::number(a), Qt::AlignCenter);
        textItem(t, a, 1, vmText(kAxisNames[a]))
            ->setToolTip(QString::fromLatin1(sim::Plant::mechanics(a).name));
        r.command = textItem(t, a, 2, QString(), Qt::AlignRight | Qt::AlignVCenter);
        r.encoder = textItem(t, a, 3, QString(), Qt::AlignRight | Qt::AlignVCenter);
        r.state = textItem(t, a, 4, QString(), Qt::AlignCenter);
        t->setCellWidget(a, 5, lampCell(&r.enabled, kOkColor));
        t->setCellWidget(a, 6, lampCell(&r.alarm, kAlarmColor));
        t->setCellWidget(a, 7, lampCell(&r.limitPos, kLimitColor));
        t->setCellWidget(a, 8, lampCell(&r.limitNeg, kLimitColor));
        t->setCellWidget(a, 9, lampCell(&r.origin, kOriginColor));
        t->setCellWidget(a, 10, lampCell(&r.homed, kOkColor));
        r.alarm->setObjectName(QString("axisAlarmLamp%1").arg(a));
    }
    int stateWidth = 0;
    for (const char* text : {kHoming, kMoving, kStanding})
        stateWidth = qMax(stateWidth, t->fontMetrics().horizontalAdvance(vmText(text)) + 14);
    t->setColumnWidth(4, qMax(t->columnWidth(4), stateWidth));
    fitCells(t);
    m_fitted.push_back(t);

    t = ui->axisDetailTable;
    prepareTable(t,
                 {QCoreApplication::translate("VmPanel", "轴"),
                  QCoreApplication::translate("VmPanel", "机械位置 (mm/°)\nmechanical"),
                  QCoreApplication::translate("VmPanel", "速度 (mm/s)\nvelocity"),
                  QCoreApplication::translate("VmPanel", "脉冲当量\npulses/unit"),
                  QCoreApplication::translate("VmPanel", "使能引脚\nenable pin"),
                  QCoreApplication::translate("VmPanel", "停止原因\nlast stop")},
                 kAxes);
    const int detailWidths[] = {36, 130, 110, 100, 90, 150};
    fitHeader(t, detailWidths);
    t->horizontalHeader()->setSectionResizeMode(5, QHeaderView::Stretch);
    int reasonWidth = 0;
    for (const char* text : kStopReasons)
        reasonWidth = qMax(reasonWidth, t->fontMetrics().horizontalAdvance(vmText(text)) + 14);
    t->setColumnWidth(5, qMax(t->columnWidth(5), reasonWidth));
    for (int a = 0; a < kAxes; ++a) {
        AxisRow& r = m_axisRows[size_t(a)];
        textItem(t, a, 0, QString::number(a), Qt::AlignCenter);
        r.mech = textItem(t, a, 1, QString(), Qt::AlignRight | Qt::AlignVCenter);
        r.velocity = textItem(t, a, 2, QString(), Qt::AlignRight | Qt::AlignVCenter);
        r.equiv = textItem(t, a, 3, QString(), Qt::AlignRight | Qt::AlignVCenter);
        r.pin = textItem(t, a, 4, QString(), Qt::AlignCenter);
        r.stopReason = textItem(t, a, 5, QString());
    }
    m_fitted.push_back(t);
    ui->axesLayout->addStretch(1);
}

void VmPanel::buildIo() {
    QTableWidget* in = ui->inputsTable;
    QTableWidget* out = ui->outputsTable;
    prepareTable(in,
                 {"", QCoreApplication::translate("VmPanel", "编号"),
                  QCoreApplication::translate("VmPanel", "地址"),
                  QCoreApplication::translate("VmPanel", "名称 (name)"),
                  QCoreApplication::translate("VmPanel", "强制")},
                 kIo);
    prepareTable(out,
                 {"", QCoreApplication::translate("VmPanel", "编号"),
                  QCoreApplication::translate("VmPanel", "地址"),
                  QCoreApplication::translate("VmPanel", "名称 (name)")},
                 kIo);
    const int inWidths[] = {30, 40, 62, 120, 56};
    fitHeader(in, inWidths);
    fitHeader(out, inWidths);
    for (QTableWidget* t : {in, out}) t->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    const QColor spareText(150, 150, 150);
    for (int i = 0; i < kIo; ++i) {
        in->setCellWidget(i, 0, lampCell(&m_inLamps[size_t(i)], kInputColor));
        out->setCellWidget(i, 0, lampCell(&m_outLamps[size_t(i)], kOutputColor));
        m_inLamps[size_t(i)]->setObjectName(QString("inputLamp%1").arg(i));
        m_outLamps[size_t(i)]->setObjectName(QString("outputLamp%1").arg(i));
        textItem(in, i, 1, QString("X%1").arg(i));
        textItem(out, i, 1, QString("Y%1").arg(i));
        textItem(in, i, 2, IoNames::address(i));
        textItem(out, i, 2, IoNames::address(i));
        QTableWidgetItem* inName = textItem(in, i, 3, IoNames::input(i));
        QTableWidgetItem* outName = textItem(out, i, 3, IoNames::output(i));
        if (IoNames::inputSpare(i)) inName->setForeground(spareText);
        if (IoNames::outputSpare(i)) outName->setForeground(spareText);

        auto* force = new QComboBox(in);
        force->setObjectName(QString("inputForce%1").arg(i));
        force->addItems({"—", "0", "1"});
        force->setToolTip(QCoreApplication::translate(
            "VmPanel", "强制为 0 或 1, 覆盖传感器 (hold the input at 0 or 1: broken or stuck sensor)"));
        connect(force, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this, i](int index) { m_plant.forceInput(i, index - 1); });
        in->setCellWidget(i, 4, force);
        m_forces[size_t(i)] = force;
    }
    // The e-stop circuit is closed while the button is released: a lit contact would
    // read as "pressed", so the row says which it is instead.
    m_inLamps[0]->hide();
    m_estopInput = in->item(0, 3);
    fitCells(in);
    fitCells(out);
    // Outputs take what their names need; the inputs, with their force column, the rest.
    int names = 0;
    for (int i = 0; i < kIo; ++i)
        names = qMax(names, out->fontMetrics().horizontalAdvance(IoNames::output(i)) + 14);
    out->setFixedWidth(out->columnWidth(0) + out->columnWidth(1) + out->columnWidth(2) + names +
                       out->verticalScrollBar()->sizeHint().width() + 2 * out->frameWidth() + 2);
    in->horizontalHeaderItem(4)->setToolTip(QCoreApplication::translate(
        "VmPanel", "覆盖输入: 传感器损坏或卡住 (override the input: broken or stuck sensor)"));
}

void VmPanel::buildOperator() {
    for (int d = 0; d < 4; ++d) {
        auto* button = new QPushButton(ui->doorsGroup);
        button->setObjectName(QString("doorButton%1").arg(d));
        button->setCheckable(true);
        button->setMinimumSize(150, 48);
        ui->doorsLayout->addWidget(button, 0, d);
        VmPanelLamp* lamp = nullptr;
        const int input = sim::OperatorPanel::FrontDoor + d;
        ui->doorsLayout->addWidget(
            lampCell(&lamp, kInputColor,
                     QString(QCoreApplication::translate("VmPanel", "X%1 门开关 (switch)")).arg(input)),
            1, d);
        watch(lamp, false, input);
        m_doorButtons[size_t(d)] = button;
        setDoorLook(d, false);
        connect(button, &QPushButton::toggled, this, [this, d](bool open) {
            if (!m_plant.panel().pullDoor(d, open)) { // locked
                const QSignalBlocker quiet(m_doorButtons[size_t(d)]);
                m_doorButtons[size_t(d)]->setChecked(false);
                return;
            }
            setDoorLook(d, open);
        });
    }

    const struct {
        bool output;
        int image;
    } lights[] = {{true, 4},  {true, 10}, {true, 16},  {true, 17},  {true, 18},  {true, 19},
                  {true, 20}, {true, 21}, {false, 16}, {false, 17}, {false, 18}, {false, 28}};
    int n = 0;
    for (const auto& l : lights) {
        VmPanelLamp* lamp = nullptr;
        ui->lightsLayout->addWidget(
            lampCell(&lamp, l.output ? kOutputColor : kInputColor, ioLabel(l.output, l.image)), n / 3, n % 3);
        watch(lamp, l.output, l.image);
        ++n;
    }

    QTableWidget* t = ui->cylindersTable;
    prepareTable(t,
                 {QCoreApplication::translate("VmPanel", "气缸 (cylinder)"),
                  QCoreApplication::translate("VmPanel", "阀 A"),
                  QCoreApplication::translate("VmPanel", "阀 B"),
                  QCoreApplication::translate("VmPanel", "位置 A→B"),
                  QCoreApplication::translate("VmPanel", "传感器 A (sensor)"),
                  QCoreApplication::translate("VmPanel", "传感器 B (sensor)")},
                 kCylinders);
    const int widths[] = {110, 70, 70, 90, 170, 170};
    fitHeader(t, widths);
    t->horizontalHeaderItem(1)->setToolTip(
        QCoreApplication::translate("VmPanel", "驱动到 A 端的阀 (valve towards end A)"));
    t->horizontalHeaderItem(2)->setToolTip(
        QCoreApplication::translate("VmPanel", "驱动到 B 端的阀 (valve towards end B)"));
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    // Valves by number only (their names are long); the sensors name the ends.
    const auto valveCell = [this](VmPanelLamp** lamp, int image) {
        QWidget* cell = lampCell(lamp, kOutputColor, QString("Y%1").arg(image));
        cell->setToolTip(ioLabel(true, image));
        return cell;
    };
    for (int k = 0; k < kCylinders; ++k) {
        const sim::CylinderWiring& w = sim::Plant::cylinderWiring(k);
        CylinderRow& r = m_cylRows[size_t(k)];
        textItem(t, k, 0, vmText(kCylinderNames[k].name))->setToolTip(kCylinderNames[k].english);
        if (w.valveA >= 0) {
            t->setCellWidget(k, 1, valveCell(&r.valveA, w.valveA));
            watch(r.valveA, true, w.valveA);
        } else {
            textItem(t, k, 1, "—")
                ->setToolTip(
                    QCoreApplication::translate("VmPanel", "单阀, 弹簧复位 (single valve, spring return)"));
        }
        t->setCellWidget(k, 2, valveCell(&r.valveB, w.valveB));
        watch(r.valveB, true, w.valveB);
        r.position = new QProgressBar(t);
        r.position->setRange(0, 100);
        r.position->setTextVisible(true);
        r.position->setFormat("%p%");
        t->setCellWidget(k, 3, r.position);
        t->setCellWidget(k, 4, lampCell(&r.sensorA, kInputColor, ioLabel(false, w.sensorA)));
        t->setCellWidget(k, 5, lampCell(&r.sensorB, kInputColor, ioLabel(false, w.sensorB)));
        watch(r.sensorA, false, w.sensorA);
        watch(r.sensorB, false, w.sensorB);
    }
    fitCells(t);
    m_fitted.push_back(t);

    VmPanelLamp* lamp = nullptr;
    ui->nozzleLayout->addWidget(lampCell(&lamp, kOutputColor, ioLabel(true, sim::NozzleVacuum::kVacuumValve)),
                                0, 0);
    watch(lamp, true, sim::NozzleVacuum::kVacuumValve);
    ui->nozzleLayout->addWidget(lampCell(&lamp, kOutputColor, ioLabel(true, sim::NozzleVacuum::kBlowValve)),
                                0, 1);
    watch(lamp, true, sim::NozzleVacuum::kBlowValve);
    ui->nozzleLayout->addWidget(
        lampCell(&lamp, kInputColor, ioLabel(false, sim::NozzleVacuum::kVacuumSwitch)), 0, 2);
    watch(lamp, false, sim::NozzleVacuum::kVacuumSwitch);
    ui->nozzleLayout->addWidget(lampCell(&m_holdingLamp, kOkColor,
                                         QCoreApplication::translate("VmPanel", "吸着标签 (holds a label)")),
                                0, 3);
}

void VmPanel::buildFaults() {
    QTableWidget* t = ui->axisFaultsTable;
    prepareTable(t,
                 {QCoreApplication::translate("VmPanel", "轴"),
                  QCoreApplication::translate("VmPanel", "名称 (name)"),
                  QCoreApplication::translate("VmPanel", "伺服报警 alarm"),
                  QCoreApplication::translate("VmPanel", "正限位 EL+"),
                  QCoreApplication::translate("VmPanel", "负限位 EL-"),
                  QCoreApplication::translate("VmPanel", "回零 (homing)")},
                 kAxes);
    const int widths[] = {36, 150, 110, 90, 90, 190};
    fitHeader(t, widths);
    t->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int a = 0; a < kAxes; ++a) {
        AxisFaultRow& r = m_axisFaults[size_t(a)];
        textItem(t, a, 0, QString::number(a), Qt::AlignCenter);
        textItem(t, a, 1, vmText(kAxisNames[a]));
        r.servoAlarm = checkCell(t, a, 2, QString("servoAlarm%1").arg(a));
        r.limitPos = checkCell(t, a, 3, QString("limitPos%1").arg(a));
        r.limitNeg = checkCell(t, a, 4, QString("limitNeg%1").arg(a));
        r.homing = new QComboBox(t);
        r.homing->setObjectName(QString("homingFault%1").arg(a));
        r.homing->addItems({QCoreApplication::translate("VmPanel", "正常 (normal)"),
                            QCoreApplication::translate("VmPanel", "失败 (fails)"),
                            QCoreApplication::translate("VmPanel", "不结束 (hangs)"),
                            QCoreApplication::translate("VmPanel", "一直寻找 (keeps searching)")});
        t->setCellWidget(a, 5, r.homing);
        connect(r.servoAlarm, &QCheckBox::toggled, this,
                [this, a](bool on) { m_plant.setServoAlarm(a, on); });
        connect(r.limitPos, &QCheckBox::toggled, this, [this, a](bool on) { m_plant.forceLimit(a, +1, on); });
        connect(r.limitNeg, &QCheckBox::toggled, this, [this, a](bool on) { m_plant.forceLimit(a, -1, on); });
        connect(r.homing, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this, a](int index) {
            const sim::HomingFault f[] = {sim::HomingFault::None, sim::HomingFault::Fails,
                                          sim::HomingFault::Hangs, sim::HomingFault::Searches};
            m_plant.setHomingFault(a, f[qBound(0, index, 3)]);
        });
    }
    fitCells(t);
    m_fitted.push_back(t);

    t = ui->cylinderFaultsTable;
    prepareTable(t,
                 {QCoreApplication::translate("VmPanel", "气缸 (cylinder)"),
                  QCoreApplication::translate("VmPanel", "卡住 (stuck)"),
                  QCoreApplication::translate("VmPanel", "传感器 A 损坏 (broken)"),
                  QCoreApplication::translate("VmPanel", "传感器 B 损坏 (broken)")},
                 kCylinders);
    const int cwidths[] = {200, 120, 230, 230};
    fitHeader(t, cwidths);
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int k = 0; k < kCylinders; ++k) {
        const sim::CylinderWiring& w = sim::Plant::cylinderWiring(k);
        CylinderRow& r = m_cylRows[size_t(k)];
        textItem(t, k, 0, vmText(kCylinderNames[k].name))->setToolTip(kCylinderNames[k].english);
        r.stuck = checkCell(t, k, 1, QString("cylStuck%1").arg(k));
        r.brokenA = checkCell(t, k, 2, QString("cylSensorA%1").arg(k), ioLabel(false, w.sensorA));
        r.brokenB = checkCell(t, k, 3, QString("cylSensorB%1").arg(k), ioLabel(false, w.sensorB));
        connect(r.stuck, &QCheckBox::toggled, this, [this, k](bool on) { m_plant.setCylinderStuck(k, on); });
        connect(r.brokenA, &QCheckBox::toggled, this,
                [this, k](bool on) { m_plant.setCylinderSensorBroken(k, 0, on); });
        connect(r.brokenB, &QCheckBox::toggled, this,
                [this, k](bool on) { m_plant.setCylinderSensorBroken(k, 1, on); });
    }
    fitCells(t);
    m_fitted.push_back(t);

    m_canLost = {ui->canLost1, ui->canLost2, ui->canLost3};
    for (int node = 1; node <= 3; ++node)
        connect(m_canLost[size_t(node - 1)], &QCheckBox::toggled, this,
                [this, node](bool lost) { m_plant.setCanNodeLost(node, lost); });
    connect(ui->noLabelCheck, &QCheckBox::toggled, this, [this](bool on) { m_plant.setNoLabel(on); });

    ui->cardMissingNextStart->setChecked(VmPanelStartOptions::cardMissingAtNextStart());
    ui->cardMissingNextStart->setToolTip(
        QString(
            QCoreApplication::translate(
                "VmPanel", "只在程序下次启动时生效一次 (takes effect once, at the program's next start)\n%1"))
            .arg(VmPanelStartOptions::filePath()));
    connect(ui->cardMissingNextStart, &QCheckBox::toggled, this,
            [](bool on) { VmPanelStartOptions::setCardMissingAtNextStart(on); });
    connect(ui->clearFaultsButton, &QPushButton::clicked, this, &VmPanel::clearFaults);
}

void VmPanel::showEvent(QShowEvent* event) {
    // Header heights are only final once the tables are polished.
    for (QTableWidget* t : m_fitted) fitRows(t);
    QWidget::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        placeBesideMainWindow();
    }
}

QRect VmPanel::placement(const QRect& desktop, const QRect& window, const QRect& buttonColumn,
                         const QRect& messages, const QSize& preferred, const QSize& least) {
    if (window.right() + preferred.width() <= desktop.right())
        return QRect(QPoint(window.right() + 1, window.top()), preferred);
    const int left = qMax(desktop.left(), buttonColumn.right() + 1);
    const int width = qMin(preferred.width(), desktop.right() + 1 - left);
    QRect r(desktop.right() + 1 - width, desktop.top(), width, qMin(preferred.height(), desktop.height()));
    // Beside the message area if it leaves the width, else above it.
    if (messages.isValid() && r.intersects(messages)) {
        const int rightOfMessages = desktop.right() - messages.right();
        if (rightOfMessages >= least.width())
            r.setLeft(messages.right() + 1);
        else
            r.setBottom(qMax(desktop.top() + least.height(), messages.top()) - 1);
    }
    return r;
}

void VmPanel::placeBesideMainWindow() {
    QMainWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) window = m;
    if (!window) return;
    const QRect frame = window->frameGeometry();
    // The pages start where the button column ends; the current alarms are "tabWidget".
    QRect column(frame.topLeft(), QSize(0, frame.height()));
    if (auto* pages = window->findChild<QWidget*>("tabWidget_2"))
        column.setRight(pages->mapToGlobal(QPoint(0, 0)).x() - 1);
    QRect messages;
    if (auto* view = window->findChild<QWidget*>("tabWidget"))
        messages = QRect(view->mapToGlobal(QPoint(0, 0)), view->size());
    const QRect desktop = QApplication::desktop()->availableGeometry(window);
    // The title bar is not part of the geometry set below.
    const int titleBar = qMax(0, frameGeometry().height() - height());
    const QRect r = placement(desktop, frame, column, messages, size() + QSize(0, titleBar),
                              minimumSizeHint() + QSize(0, titleBar));
    move(r.topLeft());
    resize(r.width(), r.height() - titleBar);
}

// ---- looks ----

void VmPanel::setEstopLook(bool pressed) {
    ui->estopButton->setText(pressed ? QCoreApplication::translate("VmPanel", "已按下\n点击松开\n(pressed)")
                                     : QCoreApplication::translate("VmPanel", "急停\nE-STOP"));
}

void VmPanel::setDoorLook(int door, bool open) {
    QAbstractButton* b = m_doorButtons[size_t(door)];
    b->setText(QString("%1\n%2").arg(vmText(kDoorNames[door]),
                                     open ? QCoreApplication::translate("VmPanel", "打开 (open)")
                                          : QCoreApplication::translate("VmPanel", "关闭 (closed)")));
    b->setStyleSheet(open ? "QPushButton { background-color: #ffb040; font-weight: bold; }" : QString());
}

// ---- refreshing ----

void VmPanel::refresh() {
    auto guard = m_plant.lock();
    const int64_t t = m_plant.elapsedUs();
    ui->plantTimeLabel->setText(
        t < 0 ? QString(QCoreApplication::translate("VmPanel", "时间 —"))
              : QString(QCoreApplication::translate("VmPanel", "时间 %1 s")).arg(t / 1e6, 0, 'f', 1));
    refreshAxes();
    refreshIo();
    refreshOperator();
    syncFaults();
}

void VmPanel::refreshAxes() {
    for (int a = 0; a < kAxes; ++a) {
        const sim::AxisSnapshot s = m_plant.axisSnapshot(a);
        AxisRow& r = m_axisRows[size_t(a)];
        setText(r.command, QString::number(s.command, 'f', 3));
        setText(r.encoder, QString::number(s.encoder, 'f', 3));
        setText(r.state, vmText(s.homing ? kHoming : s.moving ? kMoving : kStanding));
        r.enabled->setOn(s.enabled);
        r.alarm->setOn(s.status & sim::StatusAlarm);
        r.limitPos->setOn(s.status & sim::StatusLimitPos);
        r.limitNeg->setOn(s.status & sim::StatusLimitNeg);
        r.origin->setOn(s.status & sim::StatusOrigin);
        r.homed->setOn(s.homeResult == 1);
        setText(r.mech, QString::number(s.mech, 'f', 3));
        setText(r.velocity, QString::number(s.velocity, 'f', 1));
        setText(r.equiv, QString::number(s.equiv, 'g', 6));
        setText(r.pin, QString::number(s.pin));
        const long reason = s.stopReason;
        setText(r.stopReason, reason >= 0 && reason < long(std::size(kStopReasons))
                                  ? vmText(kStopReasons[reason])
                                  : QString::number(reason));
    }
}

void VmPanel::refreshIo() {
    for (int i = 0; i < kIo; ++i) {
        m_inLamps[size_t(i)]->setOn(m_plant.input(i));
        m_outLamps[size_t(i)]->setOn(m_plant.output(i));
    }
    for (const Watched& w : m_watched)
        w.lamp->setOn(w.output ? m_plant.output(w.image) : m_plant.input(w.image));
    setText(m_estopInput,
            QString("%1: %2").arg(IoNames::input(0),
                                  m_plant.panel().estopPressed()
                                      ? QCoreApplication::translate("VmPanel", "按下 (pressed)")
                                      : QCoreApplication::translate("VmPanel", "松开 (released)")));
}

void VmPanel::refreshOperator() {
    ui->cardLamp->setOn(!m_plant.cardMissing());
    ui->canLamp->setOn(m_plant.canHealthy());
    VmPanelLamp* nodes[] = {ui->nodeLamp1, ui->nodeLamp2, ui->nodeLamp3};
    for (int node = 1; node <= 3; ++node) nodes[node - 1]->setOn(m_plant.canNodeUp(node));
    for (int k = 0; k < kCylinders; ++k) {
        const int p = qRound(m_plant.cylinder(k).position() * 100.0);
        if (m_cylRows[size_t(k)].position->value() != p) m_cylRows[size_t(k)].position->setValue(p);
    }
    m_holdingLamp->setOn(m_plant.nozzle().holding());
}

// Faults and hardware set elsewhere (tests, scripts) show here too, where the plant tells them.
void VmPanel::syncFaults() {
    const auto sync = [](QAbstractButton* b, bool on) {
        if (b->isChecked() == on) return;
        QSignalBlocker block(b);
        b->setChecked(on);
    };
    const bool estop = m_plant.panel().estopPressed();
    if (ui->estopButton->isChecked() != estop) {
        sync(ui->estopButton, estop);
        setEstopLook(estop);
    }
    for (int d = 0; d < 4; ++d) {
        const bool open = m_plant.panel().doorOpen(d);
        if (m_doorButtons[size_t(d)]->isChecked() != open) {
            sync(m_doorButtons[size_t(d)], open);
            setDoorLook(d, open);
        }
    }
    for (int a = 0; a < kAxes; ++a) sync(m_axisFaults[size_t(a)].servoAlarm, m_plant.axis(a).alarm());
    for (int k = 0; k < kCylinders; ++k) sync(m_cylRows[size_t(k)].stuck, m_plant.cylinder(k).stuck());
    sync(ui->noLabelCheck, m_plant.nozzle().noLabel());
}

void VmPanel::clearFaults() {
    // Unchecking through the widgets sends each fault's "off" to the plant.
    for (AxisFaultRow& r : m_axisFaults) {
        r.servoAlarm->setChecked(false);
        r.limitPos->setChecked(false);
        r.limitNeg->setChecked(false);
        r.homing->setCurrentIndex(0);
    }
    for (CylinderRow& r : m_cylRows) {
        r.stuck->setChecked(false);
        r.brokenA->setChecked(false);
        r.brokenB->setChecked(false);
    }
    for (QCheckBox* c : m_canLost) c->setChecked(false);
    for (QComboBox* f : m_forces) f->setCurrentIndex(0);
    ui->noLabelCheck->setChecked(false);
    ui->cardMissingNextStart->setChecked(false);
    // Faults set behind the panel's back (their boxes never checked) go too.
    for (int a = 0; a < kAxes; ++a) {
        m_plant.setServoAlarm(a, false);
        m_plant.forceLimit(a, +1, false);
        m_plant.forceLimit(a, -1, false);
        m_plant.setHomingFault(a, sim::HomingFault::None);
    }
    for (int k = 0; k < kCylinders; ++k) {
        m_plant.setCylinderStuck(k, false);
        m_plant.setCylinderSensorBroken(k, 0, false);
        m_plant.setCylinderSensorBroken(k, 1, false);
    }
    for (int node = 1; node <= 3; ++node) m_plant.setCanNodeLost(node, false);
    for (int i = 0; i < kIo; ++i) m_plant.forceInput(i, -1);
    m_plant.setNoLabel(false);
    refresh();
}
