#include "AlarmTable.h"

#include "app/AlarmBoard.h"
#include "app/MachineData.h"
#include "production/MesData.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringList>

namespace {

// Ten times a second for every row: each fixed text is made into a QString once.
const QString& fixedText(const char* text) {
    static QHash<const char*, QString> texts;
    auto it = texts.find(text);
    if (it == texts.end()) it = texts.insert(text, QString::fromUtf8(text));
    return *it;
}

// What each row last handed over. A row that stays as it was is not handed over again:
// ten times a second for some 120 rows, mostly unchanged, would cost two locks each.
struct Shown {
    bool known = false;
    bool active = false;
    int level = 0;
    QString text;
};
constexpr int kFirstCode = AlarmBoard::kCardCode;
constexpr int kCodes = 128;
Shown shown[kCodes];
struct Handed {
    QTextBrowser* history = nullptr;
    QTextBrowser* current = nullptr;
    quint64 listVersion = 0;
    quint64 boardResets = 0;
} handed;

// An empty code adds nothing: the MES rows are off nearly all the time.
QString withCode(const char* text, const QString& code) {
    return code.isEmpty() ? fixedText(text) : fixedText(text) + code;
}

struct Views {
    QTextBrowser* history;
    QTextBrowser* current;
    void row(int code, int level, bool active, const QString& text) const {
        const int i = code - kFirstCode;
        if (i >= 0 && i < kCodes) {
            Shown& s = shown[i];
            if (s.known && s.active == active && (!active || (s.level == level && s.text == text))) return;
            s = Shown{true, active, level, text};
        }
        adderrshow(history, current, text, active, code, level);
        AlarmBoard::note(code, level, active, text);
    }
    void row(int code, int level, bool active, const char* text) const {
        row(code, level, active, fixedText(text));
    }
};

const QStringList kCylinderTexts = {QT_TRANSLATE_NOOP("AlarmTable", "吸笔升降气缸报警"),
                                    QT_TRANSLATE_NOOP("AlarmTable", "NG夹子气缸报警"),
                                    QT_TRANSLATE_NOOP("AlarmTable", "NG伸缩气缸报警"),
                                    QT_TRANSLATE_NOOP("AlarmTable", "缓存阻挡气缸报警"),
                                    QT_TRANSLATE_NOOP("AlarmTable", "组装阻挡气缸报警"),
                                    QT_TRANSLATE_NOOP("AlarmTable", "组装定位升降气缸报警")};
const QStringList kServoTexts = {
    QT_TRANSLATE_NOOP("AlarmTable", "取料X轴报警"),   QT_TRANSLATE_NOOP("AlarmTable", "取料Y轴报警"),
    QT_TRANSLATE_NOOP("AlarmTable", "取料Z轴报警"),   QT_TRANSLATE_NOOP("AlarmTable", "取料Q轴报警"),
    QT_TRANSLATE_NOOP("AlarmTable", "NGZ轴报警"),     QT_TRANSLATE_NOOP("AlarmTable", "成品皮带轴报警"),
    QT_TRANSLATE_NOOP("AlarmTable", "空盘皮带轴报警")};
const QStringList kLimitTexts = {
    QT_TRANSLATE_NOOP("AlarmTable", "取料X轴正限感应"), QT_TRANSLATE_NOOP("AlarmTable", "取料Y轴正限感应"),
    QT_TRANSLATE_NOOP("AlarmTable", "取料Z轴正限感应"), QT_TRANSLATE_NOOP("AlarmTable", "取料Q轴正限感应"),
    QT_TRANSLATE_NOOP("AlarmTable", "NGZ轴正限感应")};
const QStringList kCycleTexts = {QT_TRANSLATE_NOOP("AlarmTable", "组装位无盘报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "吸笔真空连续NG报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "NG盘有料报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "标签拍照报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "镜筒拍照报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "标签连续拍照NG报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "镜筒连续拍照NG报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "下相机拍照报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "下相机连续拍照报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "组装检查拍照报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "组装检查连续拍照报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "二维码拍照报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "二维码连续拍照报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "成品线进料信号超时报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "成品线出料信号超时报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "空盘线进料信号超时报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "空盘线出料信号超时报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "供料器标签用完报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "供料器初始化超时报警"),
                                 QT_TRANSLATE_NOOP("AlarmTable", "供料器送料超时报警")};

bool canHealthy() {
    WORD nodes = 0, state = 0;
    dmc_get_can_state(cardNo, &nodes, &state);
    return nodes == 1 && state == 3;
}

void machineRows(const Views& v) {
    // Without the card every input reads as lost: the card goes first, before the alarms it causes.
    v.row(AlarmBoard::kCardCode, 2, cardOk != 1.0,
          QT_TRANSLATE_NOOP("AlarmTable", "控制卡初始化失败，请检查控制卡后重启软件"));
    v.row(0, 2, !doorOk, QT_TRANSLATE_NOOP("AlarmTable", "安全门打开"));
    for (int k = 0; k < 6; ++k) v.row(1 + k, 2, eerv[k], kCylinderTexts[k]);
    for (int axis = 0; axis < 12; ++axis)
        v.row(20 + axis, 2, !axisAlmOk[axis],
              axis < 7 ? kServoTexts[axis] : fixedText(QT_TRANSLATE_NOOP("AlarmTable", "轴报警")));
    for (int axis = 0; axis < 12; ++axis)
        v.row(32 + axis, 2, !axisElpOk[axis],
              axis < 5 ? kLimitTexts[axis] : fixedText(QT_TRANSLATE_NOOP("AlarmTable", "轴正限感应")));
    v.row(50, 2, !estopOk, QT_TRANSLATE_NOOP("AlarmTable", "急停按下"));
    const bool running = runA || runB;
    v.row(51, 3, running, QT_TRANSLATE_NOOP("AlarmTable", "自动运行中。"));
    v.row(52, 3, !running, QT_TRANSLATE_NOOP("AlarmTable", "已停止。"));
    v.row(53, 3, endProduction, QT_TRANSLATE_NOOP("AlarmTable", "结束生产中。"));
}

void cameraRows(const Views& v, const CameraState& cameras) {
    v.row(54, 3, cameras.cam1, QT_TRANSLATE_NOOP("AlarmTable", "相机1已连接。"));
    v.row(55, 2, !cameras.cam1, QT_TRANSLATE_NOOP("AlarmTable", "相机1连接失败。"));
    v.row(56, 3, cameras.cam2, QT_TRANSLATE_NOOP("AlarmTable", "相机2已连接。"));
    v.row(57, 2, !cameras.cam2, QT_TRANSLATE_NOOP("AlarmTable", "相机2连接失败。"));
}

void cycleRows(const Views& v) {
    v.row(60, 2, alarmFlags[0], QT_TRANSLATE_NOOP("AlarmTable", "组装位无料盘"));
    v.row(61, 2, alarmFlags[1], QT_TRANSLATE_NOOP("AlarmTable", "镜筒NG位无料盘"));
    v.row(62, 2, alarmFlags[2], QT_TRANSLATE_NOOP("AlarmTable", "标签NG位无料盒"));
    for (int i = 3; i <= 5; ++i) v.row(60 + i, 2, alarmFlags[i], "");
    v.row(66, 2, alarmFlags[6], QT_TRANSLATE_NOOP("AlarmTable", "上相机9点标定拍照失败"));
    v.row(67, 2, alarmFlags[7], QT_TRANSLATE_NOOP("AlarmTable", "下相机9点标定拍照失败"));
    for (int i = 8; i <= 11; ++i) v.row(60 + i, 2, alarmFlags[i], "");
    v.row(72, 2, alarmFlags[12], QT_TRANSLATE_NOOP("AlarmTable", "吸笔真空报警"));
    v.row(73, 2, alarmFlags[13], QT_TRANSLATE_NOOP("AlarmTable", "测高传感器数据超时报警"));
    for (int i = 14; i <= 33; ++i) v.row(60 + i, 2, alarmFlags[i], kCycleTexts[i - 14]);
    v.row(94, 2, inImg[16], QT_TRANSLATE_NOOP("AlarmTable", "供料器故障报警"));
    v.row(95, 2, alarmFlags[35], QT_TRANSLATE_NOOP("AlarmTable", "标签有料且拍照失败，请人工清料。"));
    alarmFlags[40] = canHealthy() ? 0 : 1;
    v.row(96, 2, alarmFlags[40], QT_TRANSLATE_NOOP("AlarmTable", "板卡扩展模块断开报警"));
}

void promptAndMesRows(const Views& v) {
    v.row(100, 3, promptFlags[0], QT_TRANSLATE_NOOP("AlarmTable", "成品料盘满料报警"));
    v.row(101, 3, promptFlags[1], QT_TRANSLATE_NOOP("AlarmTable", "镜筒NG盘满料报警"));
    v.row(102, 3, promptFlags[2], QT_TRANSLATE_NOOP("AlarmTable", "标签NG盒满料报警"));
    v.row(103, 3, promptFlags[5], QT_TRANSLATE_NOOP("AlarmTable", "报警"));
    for (int i = 6; i <= 10; ++i) v.row(98 + i, 2, promptFlags[i], QT_TRANSLATE_NOOP("AlarmTable", "报警"));
    v.row(109, 2, alarmFlags[41],
          withCode(QT_TRANSLATE_NOOP("AlarmTable", "MES出站发送失败，错误码="), mesOutError));
    v.row(110, 2, alarmFlags[42],
          withCode(QT_TRANSLATE_NOOP("AlarmTable", "MES出站通讯反馈错误报警，错误码="), mesOutMessage));
    v.row(111, 2, alarmFlags[43],
          withCode(QT_TRANSLATE_NOOP("AlarmTable", "MES入站发送失败，错误码="), mesInError));
    v.row(112, 2, alarmFlags[44],
          withCode(QT_TRANSLATE_NOOP("AlarmTable", "MES入站通讯反馈错误报警，错误码="), mesInMessage));
    v.row(113, 3, gd[18] == 3.0, QT_TRANSLATE_NOOP("AlarmTable", "空跑过站模式中。"));
}

} // namespace

void showAlarmTable(QTextBrowser* history, QTextBrowser* current, const CameraState& cameras) {
    // Anything else that changed the list or the board (a clear, another row, other
    // views) makes every row be handed over again.
    if (history != handed.history || current != handed.current || alarmListVersion() != handed.listVersion ||
        AlarmBoard::resets() != handed.boardResets)
        for (Shown& s : shown) s.known = false;
    const Views v{history, current};
    machineRows(v);
    cameraRows(v, cameras);
    cycleRows(v);
    promptAndMesRows(v);
    handed = Handed{history, current, alarmListVersion(), AlarmBoard::resets()};
}
