#include "FaultCampaign.h"

#include "ProductionRunner.h"
#include "app/MachineData.h"
#include "sequences/CycleData.h"
#include "sim/Feeder.h"
#include "sim/OperatorPanel.h"
#include "sim/ProductTray.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTextStream>
#include <algorithm>
#include <random>

namespace {
using Panel = sim::OperatorPanel;
const char* const kAxisNames[] = {"X", "Y", "Z", "Q", "NG Z", "line belt", "empty belt"};
// How long the operator takes to come and take the labels off a failed plate.
constexpr int64_t kPlateClearDelayUs = 30000000;

bool homing() {
    return stepA >= 1000 && stepA <= 1010;
}

double nowS(ProductionRunner& r) {
    return r.clock.nowUs() * 1e-6;
}
} // namespace

long residentKb() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

int openFiles() {
    return int(
        QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

FaultCampaign::FaultCampaign(ProductionRunner& runner)
    : r(runner), m_audit(std::make_unique<FlowAudit>(runner)) {
    r.clock.addPeriodic("audit", 100000, [this] { tick(); });
    m_strikerId = r.clock.addPeriodic("strike", 1000, [this] {
        if (!m_armed || m_struck || !inPhase(m_armedPhase, r.workcell())) return;
        m_seen.clear();
        m_collect = true;
        m_armed->set(r, true);
        m_audit->vacuumCut = m_armed->cutsVacuum;
        m_struck = true;
    });
    r.clock.setEnabled(m_strikerId, false);
    // An axis may finish the move it was making when the cycle stopped (only the axis
    // with the fault is stopped at once); a move that starts afterwards is motion while
    // the alarm stands.
    r.clock.addPeriodic("motion", 10000, [this] {
        if (!m_watchMotion) return;
        for (int a = 0; a < 7; ++a) {
            const bool moving = r.plant().axisSnapshot(a).moving;
            if (!moving)
                m_finishing.remove(a);
            else if (!m_finishing.contains(a))
                m_movedAxes.insert(a);
        }
    });
}

FaultCampaign::~FaultCampaign() = default;

void FaultCampaign::tick() {
    m_audit->watch();
    const double sig = stepA * 1e6 + stepB * 1e3 + gr[1] * 1e9 + (gr[21] + gr[22]) * 1e12;
    if (sig != m_stepSig || runA == 0) {
        m_stepSig = sig;
        m_lastChangeUs = r.clock.nowUs();
    }
    if (m_collect)
        for (const QString& t : r.alarmTexts())
            if (!m_seen.contains(t)) m_seen << t;
    if (m_shift) sampleShift();
    // The operator's rounds: a full NG tray is emptied and its counter set back, a full
    // label NG box emptied, each once, and the notice cleared with "报警清除".
    if (promptFlags[1] && !m_ngTrayEmptied) {
        {
            auto lock = r.plant().lock();
            r.workcell().tray().emptyNgTray();
        }
        gr[2] = 1;
        m_ngTrayEmptied = true;
        r.plant().panel().clickButton(Panel::AlarmClearButton, 100000);
    }
    if (!promptFlags[1]) m_ngTrayEmptied = false;
    if (promptFlags[2] && !m_boxEmptied) {
        {
            auto lock = r.plant().lock();
            r.workcell().emptyLabelBox();
        }
        m_boxEmptied = true;
        r.plant().panel().clickButton(Panel::AlarmClearButton, 100000);
    }
    if (!promptFlags[2]) m_boxEmptied = false;
    clearFailedPlate();
}

// A plate whose labels all failed their photos stays until the operator takes the labels
// off by hand; the feeder then brings a new one.
void FaultCampaign::clearFailedPlate() {
    if (!alarmFlags[35]) {
        m_plateAlarmSinceUs = -1;
        return;
    }
    const int64_t now = r.clock.nowUs();
    if (m_plateAlarmSinceUs < 0) m_plateAlarmSinceUs = now;
    if (now - m_plateAlarmSinceUs < kPlateClearDelayUs) return;
    {
        auto lock = r.plant().lock();
        sim::Feeder& feeder = r.workcell().feeder();
        for (int cell = 1; cell <= feeder.grid().count(); ++cell)
            if (feeder.hasLabel(cell)) {
                feeder.removeLabel(r.plant(), cell);
                ++m_labelsTakenOff;
            }
    }
    m_plateAlarmSinceUs = -1;
    r.plant().panel().clickButton(Panel::AlarmClearButton, 100000);
}

bool FaultCampaign::stoppedNow() const {
    return runA == 0 && !homing();
}

// The reset switches the nozzle vacuum off and opens the NG gripper: before pressing it
// the operator takes a label still on the nozzle and a product still in the gripper off
// by hand, as they would otherwise fall into the machine.
void FaultCampaign::clearHandsBeforeReset() {
    auto lock = r.plant().lock();
    if (r.workcell().takeLabelOffNozzle(r.plant())) m_audit->labelTakenOffNozzle();
    if (r.workcell().tray().takeFromGripper()) m_audit->productTakenFromGripper();
}

void FaultCampaign::pressReset() {
    clearHandsBeforeReset();
    r.press(Panel::ResetButton);
}

bool FaultCampaign::recover() {
    r.press(Panel::AlarmClearButton);
    if (!homedA || homeRequest) {
        if (!homing()) pressReset();
        if (!r.clock.runUntil([] { return waitOperator == 1; }, 120.0)) return false;
    }
    r.press(Panel::StartButton);
    return r.clock.runUntil([] { return runA == 1; }, 2.0);
}

bool FaultCampaign::hung(double seconds) const {
    return runA == 1 && r.clock.nowUs() - m_lastChangeUs > int64_t(seconds * 1e6);
}

bool FaultCampaign::recoverHung() {
    r.press(Panel::StopButton);
    r.press(Panel::AlarmClearButton);
    pressReset();
    if (!r.clock.runUntil([] { return waitOperator == 1; }, 120.0)) return false;
    r.press(Panel::StartButton);
    m_lastChangeUs = r.clock.nowUs();
    return r.clock.runUntil([] { return runA == 1; }, 2.0);
}

CellOutcome FaultCampaign::runCell(const FaultKind& fault, CyclePhase p, double holdSeconds) {
    CellOutcome o;
    o.fault = fault.id;
    o.phase = phaseName(p);
    o.explanation = fault.cannotStrike(p);
    if (!o.explanation.isEmpty()) return o;
    if (fault.mes && !r.mes()) {
        o.explanation = "MES is off in this run";
        return o;
    }
    const double t0 = nowS(r);
    const int violationsBefore = m_audit->violations().size();
    const int notesBefore = m_audit->notes().size();
    const int traysBefore = m_audit->traysChecked();
    if (runA == 0 && !homing()) recover();
    // Some phases pass inside one blocking pass of the cycle (the homing waits): a
    // periodic pass, which runs during those waits too, strikes at the phase.
    m_armed = &fault;
    m_armedPhase = p;
    m_struck = false;
    r.clock.setEnabled(m_strikerId, true);
    if (p == CyclePhase::Homing) {
        clearHandsBeforeReset();
        r.plant().panel().clickButton(Panel::ResetButton, 100000);
    }
    const bool reached = r.clock.runUntil([&] { return m_struck; }, p == CyclePhase::Homing ? 30.0 : 400.0);
    r.clock.setEnabled(m_strikerId, false);
    m_armed = nullptr;
    if (!reached) {
        o.kind = CellOutcome::NotReached;
        o.explanation =
            QString("phase not reached (step %1, tray state %2, belt step %3, run %4, alarms: %5; "
                    "feeder step %6, plate ready %7, plate input %8, label cell %9)")
                .arg(stepA)
                .arg(trayState)
                .arg(stepB)
                .arg(int(runA))
                .arg(r.alarmTexts().join(" / "))
                .arg(feederStep)
                .arg(int(plateReady))
                .arg(int(inImg[18]))
                .arg(gr[0]);
        // The next cell starts from a machine that runs.
        recoverHung();
        o.seconds = nowS(r) - t0;
        return o;
    }
    o.kind = CellOutcome::Struck;
    if (fault.mes) m_audit->mesFaultInSpan = true;
    m_audit->vacuumCut = fault.cutsVacuum;
    const bool fromHoming = p == CyclePhase::Homing;
    o.stopped = r.clock.runUntil(
        [&] { return fromHoming ? (alarmActive || !homing()) && waitOperator != 1 : stoppedNow(); },
        holdSeconds);
    if (o.stopped) {
        // Motion still running down at the stop is allowed; after that nothing moves.
        r.clock.runFor(0.5);
        m_movedAxes.clear();
        m_finishing.clear();
        for (int a = 0; a < 7; ++a)
            if (r.plant().axisSnapshot(a).moving) m_finishing.insert(a);
        m_watchMotion = true;
        r.clock.runFor(2.0);
        m_watchMotion = false;
        for (int a : m_movedAxes) o.moved << kAxisNames[a];
        std::sort(o.moved.begin(), o.moved.end());
        o.stillOk = o.moved.isEmpty();
        if (runA) o.stillOk = false;
    }
    r.clock.runFor(0.3); // the alarm view shows a stop's texts at the next tick
    o.alarms = m_seen;
    m_collect = false;
    fault.set(r, false);
    r.clock.runFor(0.5);
    m_audit->vacuumCut = false;
    o.rehomed = !homedA || homing();
    if (o.stopped || runA == 0) {
        o.resumed = recover();
    } else {
        o.resumed = runA == 1;
    }
    // On to the end of the tray; each further stop is cleared as the operator would.
    m_seen.clear();
    m_collect = true;
    const double limit = nowS(r) + 900.0;
    while (nowS(r) < limit) {
        double stoppedSince = -1;
        const bool ended = r.clock.runUntil(
            [&] {
                if (m_audit->traysChecked() > traysBefore || hung()) return true;
                if (runA == 0 && !homing()) {
                    if (stoppedSince < 0) stoppedSince = nowS(r);
                    return nowS(r) - stoppedSince > 3.0;
                }
                stoppedSince = -1;
                return false;
            },
            limit - nowS(r));
        if (m_audit->traysChecked() > traysBefore) {
            o.trayDone = true;
            break;
        }
        if (!ended) break;
        if (hung()) {
            if (++o.hangs > 2) break;
            recoverHung();
            continue;
        }
        if (++o.extraStops > 6) break;
        recover();
    }
    o.laterAlarms = m_seen;
    m_collect = false;
    o.violations = m_audit->violations().mid(violationsBefore);
    o.notes = m_audit->notes().mid(notesBefore);
    o.seconds = nowS(r) - t0;
    return o;
}

QJsonObject FaultCampaign::cellToJson(const CellOutcome& c) {
    QJsonObject o;
    o["fault"] = c.fault;
    o["phase"] = c.phase;
    o["kind"] = int(c.kind);
    o["explanation"] = c.explanation;
    o["alarms"] = QJsonArray::fromStringList(c.alarms);
    o["stopped"] = c.stopped;
    o["stillOk"] = c.stillOk;
    o["moved"] = QJsonArray::fromStringList(c.moved);
    o["rehomed"] = c.rehomed;
    o["resumed"] = c.resumed;
    o["trayDone"] = c.trayDone;
    o["extraStops"] = c.extraStops;
    o["hangs"] = c.hangs;
    o["laterAlarms"] = QJsonArray::fromStringList(c.laterAlarms);
    o["violations"] = QJsonArray::fromStringList(c.violations);
    o["notes"] = QJsonArray::fromStringList(c.notes);
    o["seconds"] = c.seconds;
    return o;
}

CellOutcome FaultCampaign::cellFromJson(const QJsonObject& o) {
    auto list = [&o](const char* key) {
        QStringList l;
        for (const QJsonValue& v : o[key].toArray()) l << v.toString();
        return l;
    };
    CellOutcome c;
    c.fault = o["fault"].toString();
    c.phase = o["phase"].toString();
    c.kind = CellOutcome::Kind(o["kind"].toInt());
    c.explanation = o["explanation"].toString();
    c.alarms = list("alarms");
    c.stopped = o["stopped"].toBool();
    c.stillOk = o["stillOk"].toBool();
    c.moved = list("moved");
    c.rehomed = o["rehomed"].toBool();
    c.resumed = o["resumed"].toBool();
    c.trayDone = o["trayDone"].toBool();
    c.extraStops = o["extraStops"].toInt();
    c.hangs = o["hangs"].toInt();
    c.laterAlarms = list("laterAlarms");
    c.violations = list("violations");
    c.notes = list("notes");
    c.seconds = o["seconds"].toDouble();
    return c;
}

namespace {
QString cellText(const CellOutcome& c) {
    if (c.kind == CellOutcome::Explained) return "— " + c.explanation;
    if (c.kind == CellOutcome::NotReached) return "not reached: " + c.explanation;
    QStringList parts;
    parts << (c.alarms.isEmpty() ? QString("no alarm") : c.alarms.join(" / "));
    if (c.stopped)
        parts << (c.stillOk ? QString("stopped, no new motion")
                            : QString("stopped, moved again: %1").arg(c.moved.join(",")));
    else
        parts << "no stop";
    if (c.rehomed) parts << "re-homed";
    parts << (c.resumed ? "resumed" : "NOT resumed");
    if (c.extraStops > 0)
        parts << QString("%1 more stop(s): %2").arg(c.extraStops).arg(c.laterAlarms.join(" / "));
    if (c.hangs > 0) parts << QString("waited without end %1 time(s), reset by the operator").arg(c.hangs);
    if (!c.notes.isEmpty()) parts << "noted: " + c.notes.join("; ");
    parts << (!c.trayDone              ? QString("tray NOT finished")
              : c.violations.isEmpty() ? QString("invariants held")
                                       : "VIOLATED: " + c.violations.join("; "));
    return parts.join("; ");
}
} // namespace

QString FaultCampaign::matrixMarkdown(const QList<CellOutcome>& cells, const QList<FaultKind>& catalog,
                                      const QString& header) {
    QString md;
    QTextStream t(&md);
    t << header;
    int struck = 0, explained = 0, notReached = 0, held = 0, resumed = 0, silent = 0;
    for (const CellOutcome& c : cells) {
        if (c.kind == CellOutcome::Explained) ++explained;
        if (c.kind == CellOutcome::NotReached) ++notReached;
        if (c.kind != CellOutcome::Struck) continue;
        ++struck;
        if (c.held()) ++held;
        if (c.resumed) ++resumed;
        if (c.alarms.isEmpty()) ++silent;
    }
    t << "\n## Totals\n\n";
    t << "| Cells | struck | cannot strike | phase not reached | resumed | tray finished, invariants held | "
         "no alarm "
         "while the fault stood |\n|---|---|---|---|---|---|---|\n";
    t << "| " << cells.size() << " | " << struck << " | " << explained << " | " << notReached << " | "
      << resumed << " | " << held << " | " << silent << " |\n";
    QStringList bad;
    for (const CellOutcome& c : cells)
        if (c.kind == CellOutcome::Struck && (!c.held() || !c.resumed || !c.stillOk))
            bad << QString("- `%1` at %2: %3").arg(c.fault, c.phase, cellText(c));
    t << "\n## Cells that did not end well\n\n"
      << (bad.isEmpty() ? QString("None.\n") : bad.join("\n") + "\n");
    for (const FaultKind& f : catalog) {
        t << "\n## `" << f.id << "`: " << f.what << "\n\n| Phase | Outcome |\n|---|---|\n";
        for (int i = 0; i < kPhaseCount; ++i) {
            const QString phase = phaseName(CyclePhase(i));
            bool found = false;
            for (const CellOutcome& c : cells)
                if (c.fault == f.id && c.phase == phase) {
                    t << "| " << c.phase << " | " << QString(cellText(c)).replace('|', '/') << " |\n";
                    found = true;
                }
            if (!found) t << "| " << phase << " | not run: the run was stopped before this cell (time) |\n";
        }
    }
    return md;
}

void FaultCampaign::sampleShift() {
    const double dt = 0.1;
    QString state;
    if (alarmActive)
        state = "error";
    else if (homing())
        state = "home";
    else if ((runA || runB) && !inImg[25] && stepB < 200)
        state = "standby";
    else if (runA || runB)
        state = "run";
    else
        state = "stop";
    m_stateSeconds[state] += dt;
    const QStringList now = r.alarmTexts();
    QSet<QString> on;
    for (const QString& t : now) {
        on.insert(t);
        if (!m_alarmsOn.contains(t)) ++m_alarmCount[t];
        m_alarmSeconds[t] += dt;
    }
    m_alarmsOn = on;
}

QJsonObject FaultCampaign::runShift(double hours, double rate, uint32_t seed) {
    QJsonObject rep;
    const long rssStart = residentKb();
    const int filesStart = openFiles();
    std::mt19937 rng(seed ^ 0x5eedf00du);
    std::exponential_distribution<double> gap(rate > 0 ? rate / 3600.0 : 1.0);
    std::uniform_real_distribution<double> repair(20.0, 120.0);
    QList<FaultKind> pool;
    for (const FaultKind& f : faultCatalog())
        if (!f.homing && f.id != "no-card" && (!f.mes || r.mes())) pool << f;
    std::uniform_int_distribution<int> pick(0, pool.size() - 1);
    QMap<QString, int> injected;
    const double start = nowS(r), end = start + hours * 3600.0;
    const double good0 = gr[21], ng0 = gr[22];
    const int trays0 = m_audit->traysChecked(), checked0 = m_audit->productsChecked();
    const int violations0 = m_audit->violations().size();
    double nextFault = rate > 0 ? start + gap(rng) : end + 1;
    int active = -1;
    double repairAt = 0, stoppedSince = -1;
    int recoveries = 0, failedRecoveries = 0, hangs = 0;
    const int labelsOff0 = m_labelsTakenOff;
    m_alarmCount.clear();
    m_alarmSeconds.clear();
    m_stateSeconds.clear();
    m_shift = true;
    while (nowS(r) < end) {
        // The clock counts whole microseconds: a remainder below one would never be run.
        r.clock.runFor(std::max(2e-6, std::min(1.0, end - nowS(r))));
        const double t = nowS(r);
        if (active < 0 && t >= nextFault) {
            active = pick(rng);
            pool[active].set(r, true);
            m_audit->vacuumCut = pool[active].cutsVacuum;
            ++injected[pool[active].id];
            repairAt = t + repair(rng);
            nextFault = repairAt + gap(rng);
        }
        if (active >= 0) {
            if (pool[active].mes) m_audit->mesFaultInSpan = true;
            m_audit->vacuumCut = pool[active].cutsVacuum;
            if (t >= repairAt) {
                pool[active].set(r, false);
                active = -1;
                r.clock.runFor(0.5);
                m_audit->vacuumCut = false;
                if (runA == 0 && !homing()) {
                    ++recoveries;
                    if (!recover()) ++failedRecoveries;
                }
            }
            continue;
        }
        if (hung()) {
            ++hangs;
            if (!recoverHung()) ++failedRecoveries;
            continue;
        }
        // A stop without a fault in force (a consequence of an earlier one): the operator clears it.
        // A failed plate waits for the operator's hands, not for a start (the rounds in tick()).
        if (runA == 0 && !homing() && !alarmFlags[35]) {
            if (stoppedSince < 0) stoppedSince = t;
            if (t - stoppedSince >= 5.0) {
                ++recoveries;
                if (!recover()) ++failedRecoveries;
                stoppedSince = -1;
            }
        } else {
            stoppedSince = -1;
        }
    }
    if (active >= 0) pool[active].set(r, false);
    m_shift = false;
    const double h = (nowS(r) - start) / 3600.0;
    const double good = gr[21] - good0, ng = gr[22] - ng0;
    rep["hours"] = h;
    rep["rate"] = rate;
    rep["seed"] = double(seed);
    rep["productsGood"] = good;
    rep["productsNg"] = ng;
    rep["productsPerHour"] = h > 0 ? std::round((good + ng) / h * 10) / 10 : 0.0;
    rep["yieldPercent"] = good + ng > 0 ? std::round(good * 1000.0 / (good + ng)) / 10 : 0.0;
    rep["traysChecked"] = m_audit->traysChecked() - trays0;
    rep["productsChecked"] = m_audit->productsChecked() - checked0;
    rep["faultsInjected"] = [&] {
        QJsonObject o;
        for (auto it = injected.begin(); it != injected.end(); ++it) o[it.key()] = it.value();
        return o;
    }();
    rep["operatorRecoveries"] = recoveries;
    rep["failedRecoveries"] = failedRecoveries;
    rep["hangsReset"] = hangs;
    rep["labelsTakenOffByHand"] = m_labelsTakenOff - labelsOff0;
    QList<QString> texts = m_alarmCount.keys();
    std::stable_sort(texts.begin(), texts.end(), [this](const QString& a, const QString& b) {
        return m_alarmCount[a] != m_alarmCount[b] ? m_alarmCount[a] > m_alarmCount[b]
                                                  : m_alarmSeconds[a] > m_alarmSeconds[b];
    });
    QJsonArray alarms;
    for (const QString& text : texts) {
        QJsonObject a;
        a["text"] = text;
        a["count"] = m_alarmCount[text];
        a["seconds"] = std::round(m_alarmSeconds[text] * 10) / 10;
        alarms << a;
    }
    rep["alarms"] = alarms;
    QJsonObject states;
    for (auto it = m_stateSeconds.begin(); it != m_stateSeconds.end(); ++it)
        states[it.key()] = std::round(it.value() * 10) / 10;
    rep["stateSeconds"] = states;
    rep["violations"] = QJsonArray::fromStringList(m_audit->violations().mid(violations0));
    rep["rssKbStart"] = double(rssStart);
    rep["rssKbEnd"] = double(residentKb());
    rep["openFilesStart"] = filesStart;
    rep["openFilesEnd"] = openFiles();
    return rep;
}

QString FaultCampaign::shiftText(const QJsonObject& s) {
    QString out;
    QTextStream t(&out);
    t << QString("shift of %1 h, %2 faults per hour, seed %3\n")
             .arg(s["hours"].toDouble(), 0, 'f', 2)
             .arg(s["rate"].toDouble())
             .arg(s["seed"].toInt());
    t << QString("products good %1, NG %2: %3 per hour, yield %4 %\n")
             .arg(s["productsGood"].toInt())
             .arg(s["productsNg"].toInt())
             .arg(s["productsPerHour"].toDouble())
             .arg(s["yieldPercent"].toDouble());
    t << QString("trays finished and checked %1 (%2 products)\n")
             .arg(s["traysChecked"].toInt())
             .arg(s["productsChecked"].toInt());
    int n = 0;
    const QJsonObject inj = s["faultsInjected"].toObject();
    for (const QString& k : inj.keys()) n += inj[k].toInt();
    t << QString("faults injected %1, operator recoveries %2 (%3 failed), hung cycles reset %4\n")
             .arg(n)
             .arg(s["operatorRecoveries"].toInt())
             .arg(s["failedRecoveries"].toInt())
             .arg(s["hangsReset"].toInt());
    t << QString("labels taken off failed plates by hand %1\n").arg(s["labelsTakenOffByHand"].toInt());
    t << "faults:";
    for (const QString& k : inj.keys()) t << " " << k << " x" << inj[k].toInt();
    t << "\n";
    t << "alarms by text (count, time shown):\n";
    const QJsonArray a = s["alarms"].toArray();
    for (int i = 0; i < a.size(); ++i) {
        if (i == 10) t << "  -- beyond the top ten --\n";
        const QJsonObject o = a[i].toObject();
        t << QString("  %1 x%2, %3 s\n")
                 .arg(o["text"].toString())
                 .arg(o["count"].toInt())
                 .arg(o["seconds"].toDouble());
    }
    t << "time in each machine state (s):";
    const QJsonObject st = s["stateSeconds"].toObject();
    for (const QString& k : st.keys()) t << " " << k << " " << st[k].toDouble();
    t << "\n";
    const QJsonArray v = s["violations"].toArray();
    t << "invariant violations: " << v.size() << "\n";
    for (const QJsonValue& x : v) t << "  " << x.toString() << "\n";
    t << QString("resident memory %1 kB at start, %2 kB at end; open files %3 at start, %4 at end\n")
             .arg(s["rssKbStart"].toDouble())
             .arg(s["rssKbEnd"].toDouble())
             .arg(s["openFilesStart"].toInt())
             .arg(s["openFilesEnd"].toInt());
    return out;
}
