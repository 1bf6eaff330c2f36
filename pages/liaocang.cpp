#include "liaocang.h"
#include "ui_liaocang.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "machine/IoAccess.h"
#include "sequences/BeltLine.h"
#include "sequences/CycleData.h"
#include "vision/Calibrations.h"
#include "vision/VisionFlags.h"

const std::vector<liaocang::TestFlag>& liaocang::flagTable() {
    // clang-format off
    static const std::vector<TestFlag> table = {
        {&calibBusy,        QT_TRANSLATE_NOOP("liaocang", "九点标定中。。"),         true},
        {&nozzleZeroBusy,   QT_TRANSLATE_NOOP("liaocang", "吸笔零点角度校准中。。"), true},
        {&testLineIn,       QT_TRANSLATE_NOOP("liaocang", "成品线进盘测试中。。"),   true},
        {&testLineOut,      QT_TRANSLATE_NOOP("liaocang", "成品线出盘测试中。。"),   true},
        {&testEmptyIn,      QT_TRANSLATE_NOOP("liaocang", "空盘线进盘测试中。。"),   true},
        {&testEmptyOut,     QT_TRANSLATE_NOOP("liaocang", "空盘线出盘测试中。。"),   true},
        {&manualLabelReq,   QT_TRANSLATE_NOOP("liaocang", "取标签单动测试中。。"),   true},
        {&manualBarrelReq,  QT_TRANSLATE_NOOP("liaocang", "组装单动测试中。。"),     true},
        {&linkCalibBusy,    QT_TRANSLATE_NOOP("liaocang", "关联标定中。。"),         true},
        {&linkVerifyBusy,   QT_TRANSLATE_NOOP("liaocang", "关联精度验证中。。"),     true},
        {&linkVerify2Busy,  QT_TRANSLATE_NOOP("liaocang", "关联精度验证中。。"),     true},
        {&manualDiscardReq, QT_TRANSLATE_NOOP("liaocang", "标签抛料单动。。"),       false},
    };
    // clang-format on
    return table;
}

bool liaocang::anyTestRunning() {
    for (const TestFlag& entry : flagTable())
        if (*entry.flag) return true;
    return false;
}

namespace {
void handshakeOff(int first) {
    for (int i = first; i < first + 3; ++i) outputBit(i, 0);
}

void beltStop(int k, volatile unsigned char& ours) {
    if (!ours) return; // a belt the operator jogs is left alone
    beltRun(k, false);
    ours = 0;
}

void endTests() {
    const bool lineIn = testLineIn, lineOut = testLineOut, emptyIn = testEmptyIn, emptyOut = testEmptyOut;
    for (const liaocang::TestFlag& entry : liaocang::flagTable())
        if (entry.endedByNotice) *entry.flag = 0;
    // A belt test ended half-way would leave its belt running and its hand-shake
    // raised with no sequence left to drop them.
    if (lineIn) {
        handshakeOff(48);
        lineInRecive = 0;
    }
    if (lineOut) {
        handshakeOff(51);
        lineOutBeg = lineOutBusy = 0;
    }
    if (emptyIn) {
        handshakeOff(54);
        emptyInRecive = 0;
    }
    if (emptyOut) {
        handshakeOff(57);
        emptyOutBeg = 0;
    }
    if (lineIn || lineOut) beltStop(0, lineBeltOn);
    if (emptyIn || emptyOut) beltStop(1, emptyBeltOn);
}
} // namespace

liaocang::liaocang(QWidget* parent) : QDialog(parent), ui(new Ui::liaocang), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    setWindowTitle(QCoreApplication::translate("liaocang", "测试"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    connect(m_timer, &ClockTimer::timeout, this, &liaocang::check);
    m_timer->start(200);
}

liaocang::~liaocang() {
    // Closing in any way ends what the notice watched; the empty line keeps its step.
    m_timer->stop();
    endTests();
    stepA = stepB = stepC = lineInStep = 0;
    delete ui;
}

void liaocang::check() {
    if (!anyTestRunning()) {
        stepA = stepB = stepC = lineInStep = emptyStep = 0;
        m_timer->stop();
        close();
        return;
    }
    for (const TestFlag& entry : flagTable())
        if (*entry.flag) ui->label->setText(QCoreApplication::translate("liaocang", entry.text));
}

QString liaocang::text() const {
    return ui->label->text();
}

void liaocang::on_pushButton_clicked() {
    endTests();
    stepA = stepB = stepC = lineInStep = emptyStep = 0;
    m_timer->stop();
    close();
}

void liaocang::reject() {
    QDialog::reject();
    close();
}
