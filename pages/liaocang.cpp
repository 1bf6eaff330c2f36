#include "liaocang.h"
#include "ui_liaocang.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "sequences/BeltLine.h"
#include "sequences/CycleData.h"
#include "vision/VisionFlags.h"

const std::vector<liaocang::TestFlag>& liaocang::flagTable() {
    static const std::vector<TestFlag> table = {
        {&calibBusy, "九点标定中。。", true},           {&testLineIn, "成品线进盘测试中。。", true},
        {&testLineOut, "成品线出盘测试中。。", true},   {&testEmptyIn, "空盘线进盘测试中。。", true},
        {&testEmptyOut, "空盘线出盘测试中。。", true},  {&manualLabelReq, "取标签单动测试中。。", true},
        {&manualBarrelReq, "组装单动测试中。。", true}, {&manualDiscardReq, "标签抛料单动。。", false},
    };
    return table;
}

bool liaocang::anyTestRunning() {
    for (const TestFlag& entry : flagTable())
        if (*entry.flag) return true;
    return false;
}

namespace {
void endTests() {
    for (const liaocang::TestFlag& entry : liaocang::flagTable())
        if (entry.endedByNotice) *entry.flag = 0;
}
} // namespace

liaocang::liaocang(QWidget* parent) : QDialog(parent), ui(new Ui::liaocang), m_timer(new ClockTimer(this)) {
    ui->setupUi(this);
    setWindowTitle("测试");
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
        if (*entry.flag) ui->label->setText(QString::fromUtf8(entry.text));
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
