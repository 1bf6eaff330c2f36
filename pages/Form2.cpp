#include "Form2.h"
#include "ui_Form2.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/RefreshWhileShown.h"
#include "pages/liaocang.h"
#include "platform/kzct.h"
#include "sequences/CycleData.h"
#include "sequences/ManualMoves.h"
#include "sequences/NamedMoves.h"
#include "vision/HeightValues.h"
#include "vision/VisionFlags.h"
#include "vision/VisionRequests.h"

#include <QCoreApplication>
#include <QPushButton>
#include <initializer_list>

namespace {

struct Field {
    const char* widget;
    volatile double* array;
    int index;
    int decimals;
    double min, max;
};

// clang-format off
const Field kFields[] = {
    {"doubleSpinBox_111", gf, 500, 0, 0, 99},      {"doubleSpinBox_112", gf, 501, 0, 0, 99},
    {"doubleSpinBox_113", gf, 502, 3, 0, 9999},    {"doubleSpinBox_114", gf, 503, 3, 0, 9999},
    {"doubleSpinBox_107", gf, 510, 0, 0, 99},      {"doubleSpinBox_108", gf, 511, 0, 0, 99},
    {"doubleSpinBox_109", gf, 512, 3, 0, 9999},    {"doubleSpinBox_110", gf, 513, 3, 0, 9999},
    {"doubleSpinBox_135", gf, 520, 0, 0, 99},      {"doubleSpinBox_136", gf, 521, 0, 0, 99},
    {"doubleSpinBox_137", gf, 522, 3, 0, 9999},    {"doubleSpinBox_138", gf, 523, 3, 0, 9999},
    {"doubleSpinBox_100", gf, 200, 3, 0, 1000},    {"doubleSpinBox_101", gf, 201, 3, 0, 1000},
    {"doubleSpinBox_102", gf, 202, 3, 0, 1000},    {"doubleSpinBox_103", gf, 203, 3, 0, 1000},
    {"doubleSpinBox_104", gf, 204, 3, 0, 5000},
    {"doubleSpinBox_143", gd, 315, 3, -9999, 9999}, {"doubleSpinBox_144", gd, 316, 3, -9999, 9999},
    {"doubleSpinBox_145", gd, 317, 3, -999, 999},   {"doubleSpinBox_146", gf, 233, 3, 0, 999},
    {"doubleSpinBox_157", gd, 321, 3, -999, 999},
    {"doubleSpinBox_126", gf, 216, 3, 0, 9999},    {"doubleSpinBox_127", gd, 33, 3, 0, 9999},
    {"doubleSpinBox_128", gf, 218, 0, 0, 99900},   {"doubleSpinBox_129", gf, 221, 0, 0, 99900},
    {"doubleSpinBox_130", gf, 222, 0, 0, 99900},
    {"doubleSpinBox_147", gd, 310, 3, -9999, 9999}, {"doubleSpinBox_148", gd, 311, 3, -9999, 9999},
    {"doubleSpinBox_149", gd, 312, 3, -999, 999},
    {"doubleSpinBox_150", gf, 237, 3, -9999, 9999}, {"doubleSpinBox_151", gf, 238, 3, -9999, 9999},
    {"doubleSpinBox_120", gf, 210, 3, 0, 9999},    {"doubleSpinBox_121", gf, 211, 3, 0, 9999},
    {"doubleSpinBox_122", gf, 212, 3, 0, 9999},    {"doubleSpinBox_123", gf, 213, 3, 0, 9999},
    {"doubleSpinBox_124", gf, 214, 3, 0, 9999},    {"doubleSpinBox_125", gf, 215, 0, 0, 1000},
    {"doubleSpinBox_154", gd, 250, 3, -9999, 9999}, {"doubleSpinBox_155", gd, 251, 3, -9999, 9999},
    {"doubleSpinBox_156", gd, 252, 3, -9999, 9999},
};
// clang-format on

// The light combo boxes hold the row index: ring, coaxial, ring + coaxial.
const struct {
    const char* widget;
    int index;
} kLights[] = {{"comboBox", 13}, {"comboBox_2", 14}, {"comboBox_3", 15}, {"comboBox_4", 20}};

// A taught point: its X, Y and heights (gf indices, -1 none), the teach button,
// the item-number box and the named point its GO buttons move to.
struct Block {
    int x, y, z, z2;
    int z2Axis; // axis of z2: Z beside NG Z
    int zAxis;  // axis of the height z
    const char* teach;
    const char* item;
    bool hasGo;
    TeachPoint point;
};

// clang-format off
const Block kBlocks[] = {
    {600, 601, 602, -1, -1, axisZ, "pushButton_500", "doubleSpinBox_304", true, TeachPoint::LabelPick},
    {630, 631, 632, 633, axisZ, axisNgZ, "pushButton_502", "doubleSpinBox_307", true, TeachPoint::NgPut},
    {413, 414, 415, -1, -1, axisZ, "pushButton_503", nullptr, true, TeachPoint::LabelBin},
    {635, 636, 637, -1, -1, axisNgZ, "pushButton_508", "doubleSpinBox_308", true, TeachPoint::NgPick},
    {645, 646, 647, -1, -1, axisZ, "pushButton_510", "doubleSpinBox_305", true, TeachPoint::NgPhoto},
    {615, 616, 617, -1, -1, axisZ, "pushButton_501", "doubleSpinBox_300", true, TeachPoint::Assemble},
    {-1, -1, 400, -1, -1, axisZ, "pushButton_507", nullptr, false, TeachPoint::LabelBin},
    {410, 411, 412, -1, -1, axisZ, "pushButton_505", nullptr, true, TeachPoint::LowCamPhoto},
    {620, 621, 622, -1, -1, axisZ, "pushButton_506", "doubleSpinBox_302", true, TeachPoint::BarrelPhoto},
    {605, 606, 607, -1, -1, axisZ, "pushButton_504", "doubleSpinBox_301", true, TeachPoint::LabelPhoto},
    {640, 641, 642, -1, -1, axisZ, "pushButton_509", "doubleSpinBox_303", true, TeachPoint::QrPhoto},
    {650, 651, 652, -1, -1, axisZ, "pushButton_511", "doubleSpinBox_306", true, TeachPoint::Height},
};
// clang-format on

QString verdictText(int task) {
    const double verdict = VisionResult[task][1];
    if (verdict == 1.0) return QStringLiteral("OK");
    if (verdict == 2.0) return QStringLiteral("NG");
    return QCoreApplication::translate("Form2", "空");
}

void show3(QLineEdit* edit, double value) {
    edit->setText(QString::number(value, 'f', 3));
}

// Single actions run only on a ready machine in manual mode with no calibration running.
bool singleActionAllowed() {
    return manualMode == 1.0 && homedUi == 1 && estopOk == 1 && calibBusy == 0;
}

} // namespace

Form2::Form2(QWidget* parent) : ParameterPage(parent), ui(new Ui::Form2), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    relaySaveButton(ui->pushButton_63);
    bindFields();
    connectTeach();
    connectGo();
    for (QWidget* w : {static_cast<QWidget*>(ui->pushButton_212), static_cast<QWidget*>(ui->pushButton_213),
                       static_cast<QWidget*>(ui->pushButton_223), static_cast<QWidget*>(ui->pushButton_230),
                       static_cast<QWidget*>(ui->pushButton_303), static_cast<QWidget*>(ui->pushButton_300),
                       static_cast<QWidget*>(ui->pushButton_301), static_cast<QWidget*>(ui->pushButton_304),
                       static_cast<QWidget*>(ui->pushButton_309), static_cast<QWidget*>(ui->pushButton_307),
                       static_cast<QWidget*>(ui->pushButton_310), static_cast<QWidget*>(ui->pushButton_306),
                       static_cast<QWidget*>(ui->pushButton_305), static_cast<QWidget*>(ui->pushButton_308)})
        m_enabling.command(w);
    connect(m_timer, &ClockTimer::timeout, this, &Form2::refresh);
    refreshWhileShown(this, m_timer, 200, [this] { refresh(); });
    initvartoui();
    refresh();
}

Form2::~Form2() {
    delete ui;
}

void Form2::bindFields() {
    for (const Field& f : kFields) {
        auto* box = findChild<QDoubleSpinBox*>(f.widget);
        m_binding.spin(box, f.array[f.index], f.decimals, f.min, f.max);
        m_enabling.editing(box);
    }
    for (const auto& l : kLights) {
        auto* box = findChild<QComboBox*>(l.widget);
        m_binding.combo(box, gd[l.index]);
        m_enabling.editing(box);
    }
    for (const Block& b : kBlocks) {
        for (int index : {b.x, b.y, b.z, b.z2}) {
            if (index < 0) continue;
            auto* box = findChild<QDoubleSpinBox*>(QString("doubleSpinBox_%1").arg(index));
            m_binding.spin(box, gf[index], 3, -1000, 9999);
            m_enabling.editing(box);
        }
        if (b.item) {
            auto* item = findChild<QDoubleSpinBox*>(b.item);
            item->setDecimals(0);
            item->setRange(0, 1000);
            m_enabling.command(item);
        }
    }
}

void Form2::connectTeach() {
    for (const Block& b : kBlocks) {
        auto* button = findChild<QPushButton*>(b.teach);
        m_enabling.editing(button);
        connect(button, &QPushButton::clicked, this, [this, b] {
            if (b.x >= 0) {
                teachAxis(axisX, gf[b.x]);
                teachAxis(axisY, gf[b.y]);
            }
            teachAxis(b.zAxis, gf[b.z]);
            if (b.z2 >= 0) teachAxis(b.z2Axis, gf[b.z2]);
            initvartoui();
        });
    }
}

void Form2::connectGo() {
    for (const Block& b : kBlocks) {
        if (!b.hasGo) continue;
        const TeachPoint point = b.point;
        auto* zGo = findChild<QPushButton*>(QString("pushButton_%1").arg(1000 + b.x));
        m_enabling.command(zGo);
        connect(zGo, &QPushButton::clicked, this, [point] { teachZGo(point); });
        auto* xyGo = findChild<QPushButton*>(QString("pushButton_%1").arg(2000 + b.x));
        m_enabling.command(xyGo);
        connect(xyGo, &QPushButton::clicked, this, [point] { teachXYGo(point, 1.0); });
        if (!b.item) continue;
        auto* cellGo = findChild<QPushButton*>(QString("pushButton_%1").arg(3000 + b.x));
        auto* item = findChild<QDoubleSpinBox*>(b.item);
        m_enabling.command(cellGo);
        connect(cellGo, &QPushButton::clicked, this, [point, item] { teachXYGo(point, item->value()); });
    }
}

void Form2::inituitovar() {
    m_binding.toData();
}

void Form2::initvartoui() {
    m_binding.toWidgets();
}

void Form2::refresh() {
    QLineEdit* positions[] = {ui->lineEdit_100, ui->lineEdit_101, ui->lineEdit_102, ui->lineEdit_103,
                              ui->lineEdit_104};
    const int axes[] = {axisX, axisY, axisZ, axisQ, axisNgZ};
    for (int i = 0; i < 5; ++i) show3(positions[i], cmdPos[axes[i]]);

    double x = 0.0, y = 0.0, q = 0.0;
    labelPickTarget(ui->doubleSpinBox_301->value(), &x, &y, &q);
    show3(ui->lineEdit_110, x);
    show3(ui->lineEdit_111, y);
    show3(ui->lineEdit_112, q);
    assembleTarget(ui->doubleSpinBox_302->value(), &x, &y);
    const double angle = assembleAngle();
    show3(ui->lineEdit_113, x);
    show3(ui->lineEdit_114, y);
    show3(ui->lineEdit_115, angle);
    show3(ui->lineEdit_116, VisionResult[1][4]);
    show3(ui->lineEdit_117, VisionResult[2][4]);
    show3(ui->lineEdit_118, angle);

    show3(ui->lineEdit_120, heightRaw);
    show3(ui->lineEdit_121, heightCalibrated);
    show3(ui->lineEdit_122, heightResult);
    showVerdicts();

    m_enabling.apply();
}

void Form2::showVerdicts() {
    ui->lineEdit_130->setText(verdictText(0));
    ui->lineEdit_131->setText(verdictText(1));
    ui->lineEdit_132->setText(verdictText(2));
    ui->lineEdit_133->setText(verdictText(3));
    ui->lineEdit_134->setText(verdictText(4));
    ui->lineEdit_135->setText(verdictText(14));
}

void Form2::showNotice() {
    (new liaocang(this))->show();
}

void Form2::on_pushButton_212_clicked() {
    manualZSafe();
}

void Form2::on_pushButton_213_clicked() {
    manualZSafe();
    manualNgZSafe();
}

void Form2::on_pushButton_223_clicked() {
    labelPickGo(ui->doubleSpinBox_301->value());
}

void Form2::on_pushButton_230_clicked() {
    assembleGo(ui->doubleSpinBox_302->value());
}

void Form2::on_pushButton_303_clicked() {
    assembleAngleGo();
}

void Form2::on_pushButton_300_clicked() {
    visionTrigger(0);
}

void Form2::on_pushButton_301_clicked() {
    visionTrigger(1);
}

void Form2::on_pushButton_304_clicked() {
    visionTrigger(2);
}

void Form2::on_pushButton_309_clicked() {
    visionTrigger(3);
}

void Form2::on_pushButton_307_clicked() {
    visionTrigger(4);
}

void Form2::on_pushButton_310_clicked() {
    visionTrigger(14);
}

void Form2::on_pushButton_306_clicked() {
    if (!singleActionAllowed()) return;
    manualBarrelReq = 1;
    stepA = 120;
    showNotice();
}

void Form2::on_pushButton_305_clicked() {
    if (!singleActionAllowed()) return;
    manualLabelReq = 1;
    stepA = 150;
    showNotice();
}

void Form2::on_pushButton_308_clicked() {
    if (!singleActionAllowed()) return;
    // The step first: the cycle drops a discard request it finds outside its steps.
    stepA = 250;
    manualDiscardReq = 1;
    showNotice();
}
