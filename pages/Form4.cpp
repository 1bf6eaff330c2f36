#include "Form4.h"
#include "ui_Form4.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "app/RefreshWhileShown.h"
#include "pages/liaocang.h"
#include "sequences/CalibPointMoves.h"
#include "sequences/ManualMoves.h"
#include "vision/Calibrations.h"
#include "vision/VisionRequests.h"

namespace {

QString verdictText(double verdict) {
    if (verdict == 1.0) return "OK";
    if (verdict == 2.0) return "NG";
    return QCoreApplication::translate("Form4", "空");
}

void show3(QLineEdit* edit, double value) {
    const QString text = QString::number(value, 'f', 3);
    if (edit->text() != text) edit->setText(text);
}

} // namespace

Form4::Form4(QWidget* parent) : ParameterPage(parent), ui(new Ui::Form4), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    relaySaveButton(ui->pushButton_63);

    m_binding.spin(ui->doubleSpinBox_100, gf[350], 3, 0, 1000);
    m_binding.spin(ui->doubleSpinBox_101, gf[351], 3, 0, 1000);
    m_binding.spin(ui->doubleSpinBox_102, gf[352], 3, 0, 1000);
    m_binding.spin(ui->doubleSpinBox_103, gf[353], 3, 0, 1000);
    const struct {
        QDoubleSpinBox* box;
        volatile double& element;
    } points[] = {
        {ui->doubleSpinBox_200, gf[625]}, {ui->doubleSpinBox_201, gf[626]}, {ui->doubleSpinBox_202, gf[627]},
        {ui->doubleSpinBox_203, gf[610]}, {ui->doubleSpinBox_204, gf[611]}, {ui->doubleSpinBox_205, gf[612]},
        {ui->doubleSpinBox_206, gd[340]}, {ui->doubleSpinBox_207, gd[341]}, {ui->doubleSpinBox_208, gd[342]},
        {ui->doubleSpinBox_209, gd[345]}, {ui->doubleSpinBox_210, gd[346]}, {ui->doubleSpinBox_211, gd[347]},
        {ui->doubleSpinBox_212, gf[402]}};
    for (const auto& p : points) m_binding.spin(p.box, p.element, 3, -1000, 9999);

    for (QWidget* w :
         {ui->doubleSpinBox_100, ui->doubleSpinBox_101, ui->doubleSpinBox_102, ui->doubleSpinBox_103})
        m_enabling.editing(w);
    for (const auto& p : points) m_enabling.editing(p.box);
    for (QWidget* w :
         {ui->pushButton_101, ui->pushButton_102, ui->pushButton_103, ui->pushButton_104, ui->pushButton_105})
        m_enabling.editing(w);
    // The grid point boxes choose a target, they hold no parameter.
    const std::initializer_list<QWidget*> commands = {
        ui->doubleSpinBox_220, ui->doubleSpinBox_221, ui->pushButton_400, ui->pushButton_401,
        ui->pushButton_402,    ui->pushButton_403,    ui->pushButton_404, ui->pushButton_405,
        ui->pushButton_406,    ui->pushButton_407,    ui->pushButton_408, ui->pushButton_409,
        ui->pushButton_410,    ui->pushButton_411,    ui->pushButton_300, ui->pushButton_303,
        ui->pushButton_301,    ui->pushButton_304,    ui->pushButton_306, ui->pushButton_307,
        ui->pushButton_308};
    for (QWidget* w : commands) m_enabling.command(w);

    initvartoui();
    connect(m_timer, &ClockTimer::timeout, this, &Form4::refresh);
    refreshWhileShown(this, m_timer, 200, [this] { refresh(); });
    refresh();
}

Form4::~Form4() {
    delete ui;
}

void Form4::inituitovar() {
    m_binding.toData();
}

void Form4::initvartoui() {
    m_binding.toWidgets();
}

void Form4::teach(volatile double* x, volatile double* y, volatile double* z) {
    if (x) teachAxis(axisX, *x);
    if (y) teachAxis(axisY, *y);
    if (z) teachAxis(axisZ, *z);
    initvartoui();
}

void Form4::on_pushButton_102_clicked() {
    teach(&gf[625], &gf[626], &gf[627]);
}

void Form4::on_pushButton_101_clicked() {
    teach(&gf[610], &gf[611], &gf[612]);
}

void Form4::on_pushButton_103_clicked() {
    teach(&gd[340], &gd[341], &gd[342]);
}

void Form4::on_pushButton_104_clicked() {
    teach(&gd[345], &gd[346], &gd[347]);
}

void Form4::on_pushButton_105_clicked() {
    teach(nullptr, nullptr, &gf[402]);
}

// Upper camera centre: Z, grid centre (point 5), the typed grid point.
void Form4::on_pushButton_400_clicked() {
    teachZGo(TeachPoint::UpCamCentre);
}

void Form4::on_pushButton_401_clicked() {
    gridGo(0, 5);
}

void Form4::on_pushButton_402_clicked() {
    gridGo(0, int(ui->doubleSpinBox_220->value()));
}

// Lower camera centre.
void Form4::on_pushButton_403_clicked() {
    teachZGo(TeachPoint::LowCamCentre);
}

void Form4::on_pushButton_404_clicked() {
    gridGo(1, 5);
}

void Form4::on_pushButton_405_clicked() {
    gridGo(1, int(ui->doubleSpinBox_221->value()));
}

void Form4::on_pushButton_406_clicked() {
    plateZGo(PlatePoint::Pick);
}

void Form4::on_pushButton_407_clicked() {
    plateXYGo(PlatePoint::Pick);
}

void Form4::on_pushButton_408_clicked() {
    plateZGo(PlatePoint::Photo);
}

void Form4::on_pushButton_409_clicked() {
    plateXYGo(PlatePoint::Photo);
}

void Form4::on_pushButton_410_clicked() {
    nozzlePhotoZGo();
}

void Form4::on_pushButton_411_clicked() {
    manualZSafe();
}

void Form4::on_pushButton_300_clicked() {
    visionTrigger(10);
}

void Form4::on_pushButton_303_clicked() {
    visionTrigger(6);
}

// The notice first: it names the run while the run's thread starts.
void Form4::startCalibration(const std::function<void()>& start) {
    (new liaocang(this))->show();
    start();
}

void Form4::on_pushButton_301_clicked() {
    startCalibration([] { startNinePoint(1); });
}

void Form4::on_pushButton_304_clicked() {
    startCalibration([] { startNinePoint(0); });
}

void Form4::on_pushButton_306_clicked() {
    startCalibration(startLinkedCalibration);
}

void Form4::on_pushButton_307_clicked() {
    startCalibration([] { startLinkedVerification(0); });
}

void Form4::on_pushButton_308_clicked() {
    startCalibration(startNozzleZero);
}

void Form4::showResult(int task, QLineEdit* x, QLineEdit* y, QLineEdit* q, QLineEdit* verdict) {
    show3(x, VisionResult[task][2]);
    show3(y, VisionResult[task][3]);
    show3(q, VisionResult[task][4]);
    const QString v = verdictText(VisionResult[task][1]);
    if (verdict->text() != v) verdict->setText(v);
}

void Form4::refresh() {
    show3(ui->lineEdit, cmdPos[axisX]);
    show3(ui->lineEdit_2, cmdPos[axisY]);
    show3(ui->lineEdit_3, cmdPos[axisZ]);
    show3(ui->lineEdit_4, cmdPos[axisQ]);
    show3(ui->lineEdit_5, cmdPos[axisNgZ]);
    showResult(10, ui->lineEdit_6, ui->lineEdit_7, ui->lineEdit_8, ui->lineEdit_9);
    showResult(6, ui->lineEdit_10, ui->lineEdit_11, ui->lineEdit_12, ui->lineEdit_13);
    m_enabling.apply();
}
