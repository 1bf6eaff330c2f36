#include "EventLog.h"

#include "app/AlarmBoard.h"
#include "app/MachineData.h"
#include "platform/KZLOG.h"

namespace {

// Doors front, rear, left and right: inputs 5..8, on while closed.
const char* const kDoorNames[4] = {"前门", "后门", "左门", "右门"};

void info(const QString& text) {
    KZLOG::CLog::Info(text);
}
void warn(const QString& text) {
    KZLOG::CLog::Warn(text);
}

bool homingStep(double step) {
    return step >= 1000 && step <= 1010;
}

// The homing steps end silently at 0; the step they ended from says why.
QString homingAbortReason(double step) {
    if (!estopOk) return QString::fromUtf8(QT_TRANSLATE_NOOP("Banner", "急停按下"));
    if (!doorOk) return QString::fromUtf8(QT_TRANSLATE_NOOP("Banner", "安全门打开"));
    if (step < 1001) return QString::fromUtf8(QT_TRANSLATE_NOOP("Banner", "伺服报警或回原点超时"));
    if (step < 1002) return QString::fromUtf8(QT_TRANSLATE_NOOP("Banner", "Z轴、NGZ轴回原点超时"));
    if (step < 1004) return QString::fromUtf8(QT_TRANSLATE_NOOP("Banner", "吸笔未到上位或Z轴不在安全位"));
    return QString::fromUtf8(QT_TRANSLATE_NOOP("Banner", "X、Y、Q轴回原点超时"));
}

QString stopReason() {
    if (!estopOk) return QStringLiteral("急停");
    if (!doorOk) return QString::fromUtf8(QT_TRANSLATE_NOOP("Banner", "安全门打开"));
    if (alarmActive) return QStringLiteral("报警");
    if (manualMode == 1.0) return QStringLiteral("切换手动");
    if (homingStep(stepA) || homeRequest) return QStringLiteral("复位");
    if (!readyA && !readyB) return QStringLiteral("机台未就绪");
    return QString();
}

// Door, e-stop, save failures and status lines are logged as events of their own.
bool loggedAsAlarm(const AlarmRow& row) {
    if (row.code == 0 || row.code == 50 || row.code == 120) return false;
    if (row.code >= 100 && row.code <= 108) return true; // tray and box prompts
    return row.level == 2;
}

} // namespace

void EventLog::poll() {
    if (!m_primed) {
        m_estop = estopOk;
        for (int i = 0; i < 4; ++i) m_doorClosed[i] = inImg[5 + i];
        m_homing = homingStep(stepA);
        m_homingStep = stepA;
        m_running = runA || runB;
        m_ending = endProduction;
        m_manual = manualMode;
        m_dryRun = dryRun;
        m_primed = true;
        return;
    }
    safety();
    homing();
    running();
    modes();
}

void EventLog::safety() {
    if (bool(estopOk) != m_estop) {
        m_estop = estopOk;
        if (m_estop)
            info(QStringLiteral("急停释放"));
        else
            warn(QStringLiteral("急停按下"));
    }
    // The doors are only watched on a card that answers.
    if (cardOk != 1.0) return;
    for (int i = 0; i < 4; ++i) {
        const bool closed = inImg[5 + i];
        if (closed == m_doorClosed[i]) continue;
        m_doorClosed[i] = closed;
        if (closed)
            info(QStringLiteral("安全门关闭：%1").arg(kDoorNames[i]));
        else
            warn(QStringLiteral("安全门打开：%1").arg(kDoorNames[i]));
    }
}

void EventLog::pollAlarms() {
    if (!m_primed) return;
    for (const AlarmChange& c : AlarmBoard::takeChanges()) {
        if (!loggedAsAlarm(c.row)) continue;
        const QString text =
            c.row.text.isEmpty() ? QStringLiteral("报警代码 %1").arg(c.row.code) : c.row.text;
        if (c.raised)
            warn(QStringLiteral("报警 [%1]：%2").arg(c.row.code).arg(text));
        else
            info(QStringLiteral("报警解除 [%1]：%2").arg(c.row.code).arg(text));
    }
}

void EventLog::homing() {
    const double step = stepA;
    const bool now = homingStep(step);
    if (now && !m_homing) {
        m_homingAbort.clear();
        info(QStringLiteral("回原点开始"));
    } else if (!now && m_homing) {
        if (waitOperator && homedUi) {
            info(QStringLiteral("回原点完成"));
        } else {
            m_homingAbort = homingAbortReason(m_homingStep);
            warn(QStringLiteral("回原点中止：%1").arg(m_homingAbort));
        }
    }
    m_homing = now;
    if (now) m_homingStep = step;
}

void EventLog::running() {
    const bool now = runA || runB;
    if (endProduction && !m_ending) info(QStringLiteral("结束生产：完成当前产品后停止"));
    if (now != m_running) {
        if (now) {
            info(QStringLiteral("启动：自动运行"));
        } else if (m_ending || stepA == 2000) {
            info(QStringLiteral("停止：结束生产"));
        } else {
            const QString why = stopReason();
            if (why.isEmpty())
                info(QStringLiteral("暂停"));
            else
                info(QStringLiteral("停止：%1").arg(why));
        }
    }
    m_running = now;
    m_ending = endProduction;
}

void EventLog::modes() {
    if (manualMode != m_manual) {
        m_manual = manualMode;
        info(m_manual == 1.0 ? QStringLiteral("切换到手动模式") : QStringLiteral("切换到自动模式"));
    }
    if (bool(dryRun) != m_dryRun) {
        m_dryRun = dryRun;
        info(m_dryRun ? QStringLiteral("工作模式：空跑模式") : QStringLiteral("工作模式：工作模式"));
    }
}

void EventLog::parametersSaved(const QString& recipe) {
    info(QStringLiteral("参数已保存：配方 %1").arg(recipe));
}
