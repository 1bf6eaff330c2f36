#include "MachineStateBanner.h"
#include "platform/kzct.h"

#include "app/MachineData.h"
#include "sequences/CycleData.h"

#include <QCoreApplication>
#include <cmath>

namespace {

// Doors front, rear, left and right: inputs 5..8, on while closed.
const char* const kDoorNames[4] = {QT_TRANSLATE_NOOP("Banner", "前门"), QT_TRANSLATE_NOOP("Banner", "后门"),
                                   QT_TRANSLATE_NOOP("Banner", "左门"), QT_TRANSLATE_NOOP("Banner", "右门")};

constexpr int kDoorCode = 0;
constexpr int kEstopCode = 50;

BannerState make(BannerKind kind, BannerColour colour, const QString& text) {
    return BannerState{kind, colour, text};
}

QString openDoors() {
    QStringList doors;
    for (int i = 5; i <= 8; ++i)
        if (!inImg[i]) doors << QCoreApplication::translate("Banner", kDoorNames[i - 5]);
    return doors.join(QCoreApplication::translate("Banner", "、"));
}

// Moves and cylinders are the machine at work until they take longer than they should;
// a wait on anything outside the program is told once it is more than a moment.
bool worthShowing(const CurrentWait& w) {
    if (w.cause == WaitCause::None) return false;
    if (w.cause == WaitCause::Axis || w.cause == WaitCause::Cylinder) return w.overdue();
    return w.seconds >= kBannerWaitAfterS;
}

QString waitLine(const CurrentWait& w) {
    QString line = QCoreApplication::translate("Banner", "自动运行中：") + waitText(w.cause);
    if (w.overdue())
        line += QCoreApplication::translate("Banner", "（已等待 %1 秒）").arg(int(std::floor(w.seconds)));
    return line;
}

QString alarmLine(const QList<AlarmRow>& alarms) {
    QString line = QCoreApplication::translate("Banner", "报警：") +
                   kzct::alarmDisplayText(alarms.first().code, alarms.first().text);
    if (alarms.size() > 1)
        line += QCoreApplication::translate("Banner", "（另有 %1 条报警）").arg(alarms.size() - 1);
    return line;
}

} // namespace

QString BannerState::styleSheet() const {
    QString colours;
    switch (colour) {
    case BannerColour::Red:
        colours = "background-color: rgb(220, 0, 0); color: white;";
        break;
    case BannerColour::Yellow:
        colours = "background-color: rgb(255, 210, 0); color: black;";
        break;
    case BannerColour::Green:
        colours = "background-color: rgb(0, 170, 60); color: white;";
        break;
    case BannerColour::Grey:
        colours = "background-color: rgb(150, 150, 150); color: black;";
        break;
    }
    return QStringLiteral("QLabel{%1 padding-left: 8px;}").arg(colours);
}

BannerState bannerState(const BannerInputs& in) {
    using K = BannerKind;
    using C = BannerColour;
    const QString question = QCoreApplication::translate("Banner", "等待操作员回答：") + in.question;
    // Before the first scan the safety flags are still at their power-up zeros.
    if (!in.scanned) {
        if (!in.question.isEmpty()) return make(K::Question, C::Yellow, question);
        return make(K::Starting, C::Yellow,
                    QCoreApplication::translate("Banner", "启动中：正在读取机器状态……"));
    }
    if (cardOk != 1.0)
        return make(K::NoCard, C::Red,
                    QCoreApplication::translate("Banner", "无控制卡：控制卡初始化失败，请检查控制卡"));
    if (!estopOk)
        return make(K::EStop, C::Red, QCoreApplication::translate("Banner", "急停按下：松开急停后再启动"));
    if (!doorOk) {
        const QString doors = openDoors();
        return make(K::DoorOpen, C::Red,
                    QCoreApplication::translate("Banner", "安全门打开") +
                        (doors.isEmpty() ? QString() : QCoreApplication::translate("Banner", "：") + doors));
    }
    QList<AlarmRow> alarms;
    for (const AlarmRow& row : in.alarms)
        if (row.code != kDoorCode && row.code != kEstopCode) alarms << row;
    if (!alarms.isEmpty()) return make(K::Alarm, C::Red, alarmLine(alarms));
    if (!in.question.isEmpty()) return make(K::Question, C::Yellow, question);
    if (stepA >= 1000 && stepA <= 1010)
        return make(K::Homing, C::Yellow, QCoreApplication::translate("Banner", "回原点中……"));
    if (!homedUi) {
        QString text = QCoreApplication::translate("Banner", "未回原点：请按复位");
        if (!in.homingAbort.isEmpty())
            text += QCoreApplication::translate("Banner", "（上次回原点中止：%1）")
                        .arg(QCoreApplication::translate("Banner", in.homingAbort.toUtf8().constData()));
        return make(K::NotHomed, C::Yellow, text);
    }
    if (manualMode == 1.0) return make(K::Manual, C::Grey, QCoreApplication::translate("Banner", "手动模式"));
    const bool running = runA || runB;
    if (endProduction || stepA == 2000)
        return make(K::Ending, running ? C::Green : C::Grey,
                    QCoreApplication::translate("Banner", "结束生产中：完成当前产品后停止"));
    if (running) {
        if (worthShowing(in.wait)) return make(K::Waiting, C::Yellow, waitLine(in.wait));
        if (gd[18] == 3.0)
            return make(K::Running, C::Green,
                        QCoreApplication::translate("Banner", "自动运行中：皮带线过料"));
        return make(K::Running, C::Green,
                    QCoreApplication::translate("Banner", "自动运行中：成品盘第 %1 穴，标签盘第 %2 穴")
                        .arg(int(gr[1]))
                        .arg(int(gr[0])));
    }
    if (waitOperator)
        return make(K::WaitingForStart, C::Yellow, QCoreApplication::translate("Banner", "待机：请按启动"));
    return make(K::Paused, C::Grey, QCoreApplication::translate("Banner", "已暂停：按启动继续"));
}
