#include "WaitReasons.h"

#include "app/MachineData.h"
#include "production/kzhttp.h"
#include "sequences/CycleData.h"

#include <QCoreApplication>
#include <map>

namespace {

using C = WaitCause;

// Normal durations, seconds.
constexpr double kMove = 3.0;
constexpr double kCyl = 2.0;
constexpr double kPhoto = 1.0;
constexpr double kNeighbour = 30.0;
constexpr double kBeltRun = 10.0;
constexpr double kFeed = 10.0;
constexpr double kMesAnswer = 3.0;

using Table = std::map<int, StepWait>;

void put(Table& t, std::initializer_list<int> steps, C cause, double normalS) {
    for (int s : steps) t[s] = StepWait{cause, normalS};
}

// stepA: the tray level, the jobs and the homing.
Table cycleTable() {
    Table t;
    put(t, {1}, C::Upstream, kNeighbour);
    put(t, {2}, C::Downstream, kNeighbour);
    put(t, {11, 103, 110}, C::Cylinder, kCyl);
    put(t, {102, 111}, C::Axis, kMove);
    // Label side: plate photo, pick, lower camera, label NG box, NG label off the plate.
    put(t, {155, 156, 160, 161, 162, 170, 171, 172, 173, 175, 176}, C::Axis, kMove);
    put(t, {163, 213}, C::Vision, kPhoto);
    put(t, {174}, C::Sensor, kPhoto); // nozzle vacuum
    put(t, {210, 211, 212, 221, 251, 252, 253, 256, 600, 601, 602, 603, 605}, C::Axis, kMove);
    // Product side: barrel photo, QR photo and MES in, presence photo, height, assembly, check.
    put(t, {120, 130, 131, 132, 140, 141}, C::Axis, kMove);
    put(t, {133, 563, 363}, C::Vision, kPhoto);
    put(t, {533}, C::Vision, 2 * kPhoto);
    put(t, {520, 530, 531, 532, 540, 541, 550, 560, 561, 562, 570, 571}, C::Axis, kMove);
    put(t, {650, 660, 661, 662, 670, 671}, C::Axis, kMove);
    put(t, {663}, C::Height, kPhoto);
    put(t, {301, 302, 303, 306, 350, 355, 356, 360, 361, 362}, C::Axis, kMove);
    // Homing: the axes search their origins.
    put(t, {1000, 1001, 1003, 1004}, C::Axis, 15.0);
    return t;
}

// stepB: the assembly position of the finished-product line.
Table lineTable() {
    Table t;
    put(t, {20, 151, 152, 154, 210, 212, 216, 251, 252, 253}, C::Cylinder, kCyl);
    put(t, {211, 213, 214}, C::Downstream, kNeighbour);
    put(t, {254}, C::Belt, kBeltRun);
    return t;
}

Table lineInTable() {
    Table t;
    put(t, {260}, C::Cylinder, kCyl);
    put(t, {250, 261, 263}, C::Upstream, kNeighbour);
    put(t, {262}, C::Belt, kBeltRun);
    return t;
}

Table emptyTable() {
    Table t;
    put(t, {210, 212, 213, 214}, C::Downstream, kNeighbour);
    put(t, {260, 263}, C::Upstream, kNeighbour);
    put(t, {262}, C::Belt, kBeltRun);
    return t;
}

Table feederTable() {
    Table t;
    put(t, {10, 50, 61, 62, 63, 101, 102}, C::Feeder, kFeed);
    put(t, {60, 100}, C::Axis, kMove); // Z must be safe before a feed
    return t;
}

const Table& tableOf(StepVar var) {
    static const Table tables[kStepVars] = {cycleTable(), lineTable(), lineInTable(), emptyTable(),
                                            feederTable()};
    return tables[int(var)];
}

// The cycle waits at 1 or 2 for the belt line: its own steps say on what.
StepWait trayWait(double cycleStep) {
    const StepWait line = stepWait(StepVar::B, stepB);
    if (cycleStep == 2) return line.cause != C::None ? line : stepWait(StepVar::A, 2);
    if (line.cause != C::None) return line;
    const StepWait in = stepWait(StepVar::LineIn, lineInStep);
    if (in.cause != C::None) return in;
    return stepWait(StepVar::A, 1);
}

} // namespace

StepWait stepWait(StepVar var, double step) {
    if (step != int(step)) return {};
    const Table& t = tableOf(var);
    const auto it = t.find(int(step));
    if (it == t.end()) return {};
    return it->second;
}

double stepValue(StepVar var) {
    switch (var) {
    case StepVar::A:
        return stepA;
    case StepVar::B:
        return stepB;
    case StepVar::LineIn:
        return lineInStep;
    case StepVar::Empty:
        return emptyStep;
    case StepVar::Feeder:
        return feederStep;
    }
    return 0.0;
}

QString waitText(WaitCause cause) {
    switch (cause) {
    case C::None:
        return QString();
    case C::Upstream:
        return QCoreApplication::translate("Banner", "等待上游机台来料盘");
    case C::Downstream:
        return QCoreApplication::translate("Banner", "等待下游机台接收料盘");
    case C::Belt:
        return QCoreApplication::translate("Banner", "等待料盘到达皮带线感应器");
    case C::Feeder:
        return QCoreApplication::translate("Banner", "等待供料器送标签盘");
    case C::Mes:
        return QCoreApplication::translate("Banner", "等待MES回复");
    case C::Vision:
        return QCoreApplication::translate("Banner", "等待视觉结果");
    case C::Height:
        return QCoreApplication::translate("Banner", "等待测高数据");
    case C::Cylinder:
        return QCoreApplication::translate("Banner", "等待气缸到位");
    case C::Axis:
        return QCoreApplication::translate("Banner", "等待轴到位");
    case C::Sensor:
        return QCoreApplication::translate("Banner", "等待感应器信号");
    }
    return QString();
}

const char* waitKey(WaitCause cause) {
    static const char* const keys[kWaitCauses] = {"none",   "upstream", "downstream", "belt", "feeder", "mes",
                                                  "vision", "height",   "cylinder",   "axis", "sensor"};
    return keys[int(cause)];
}

StepWait WaitTracker::waitNow() {
    const double a = stepA;
    if (a >= 1000 && a <= 1010) return stepWait(StepVar::A, a);
    if (!runA) return {};
    // The MES requests block inside a step that has already moved on.
    if (kzhttp::answersAwaited() > 0) return {C::Mes, kMesAnswer};
    if (a == 1 || a == 2) return trayWait(a);
    // A full NG tray or label NG box holds the cycle at the NG stations check without an alarm.
    if (a >= 100 && a <= 103 && (promptFlags[1] || promptFlags[2])) return {C::Sensor, kCyl};
    // The label job returns to 100 until the feeder presents a plate.
    const bool plateWanted = nextJob == 1 && !plateReady && !dryRun;
    if (plateWanted && ((a >= 100 && a <= 111) || a == 150)) {
        const StepWait feed = stepWait(StepVar::Feeder, feederStep);
        return feed.cause != C::None ? feed : StepWait{C::Feeder, kFeed};
    }
    return stepWait(StepVar::A, a);
}

const CurrentWait& WaitTracker::sample(int64_t nowUs) {
    const StepWait now = waitNow();
    if (m_lastUs >= 0 && m_current.cause != C::None && runA)
        m_total[int(m_current.cause)] += (nowUs - m_lastUs) * 1e-6;
    if (now.cause != m_current.cause) m_sinceUs = nowUs;
    m_current.cause = now.cause;
    m_current.normalS = now.normalS;
    m_current.seconds = now.cause == C::None ? 0.0 : (nowUs - m_sinceUs) * 1e-6;
    m_lastUs = nowUs;
    return m_current;
}
