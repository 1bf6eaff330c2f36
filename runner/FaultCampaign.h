#pragma once
// Faults struck at chosen moments of production, as the machine meets them: the
// fault matrix (every fault at every phase of the cycle, one after the other on one
// machine) and a shift with faults at random times. The operator's part is played
// as on the machine: repair the cause, "报警清除", reset when the axes lost their
// home, start.
#include "runner/CyclePhase.h"
#include "runner/FaultCatalog.h"
#include "runner/FlowAudit.h"

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class ProductionRunner;

struct CellOutcome {
    enum Kind { Explained, NotReached, Struck };
    QString fault, phase;
    Kind kind = Explained;
    QString explanation;   // why the fault cannot strike, or why the phase was not reached
    QStringList alarms;    // alarm lines seen while the fault stood
    bool stopped = false;  // the cycle stopped (runA 0) while the fault stood
    bool stillOk = true;   // no axis started a move from 0.5 s after the stop until the repair
    QStringList moved;     // axes that started a move while stopped
    bool rehomed = false;  // the operator had to reset and home
    bool resumed = false;  // running again after the repair
    bool trayDone = false; // the tray was finished and checked afterwards
    int extraStops = 0;    // further stops before the tray end, each cleared by the operator
    int hangs = 0;         // times the cycle waited without end and the operator reset it
    QStringList laterAlarms;
    QStringList violations;
    QStringList notes; // what the flow explains: products judged empty, labels taken off by hand
    double seconds = 0;
    bool held() const { return violations.isEmpty() && trayDone; }
};

class FaultCampaign {
public:
    explicit FaultCampaign(ProductionRunner& runner);
    ~FaultCampaign();

    FlowAudit& audit() { return *m_audit; }

    // Waits for phase p (a reset first for the homing phase), injects the fault, holds
    // it until the machine stops or holdSeconds pass, repairs it as the operator, and
    // produces until the next tray is finished and checked.
    CellOutcome runCell(const FaultKind& fault, CyclePhase p, double holdSeconds = 20.0);

    // "报警清除", reset and homing when needed, start. False when it does not run.
    bool recover();
    // The cycle runs but has not moved on for this long: it waits for something that
    // will not come.
    bool hung(double seconds = 60.0) const;
    // A hung machine: stop, reset, homing, start.
    bool recoverHung();

    // One cell as a JSON object and back (the matrix keeps a line per cell as it goes).
    static QJsonObject cellToJson(const CellOutcome& c);
    static CellOutcome cellFromJson(const QJsonObject& o);

    // The matrix document in Markdown.
    static QString matrixMarkdown(const QList<CellOutcome>& cells, const QList<FaultKind>& catalog,
                                  const QString& header);

    // A shift of hours with faults drawn at rate per machine hour; the operator repairs
    // each after a random delay. The report as JSON (see shiftText).
    QJsonObject runShift(double hours, double rate, uint32_t seed);
    static QString shiftText(const QJsonObject& report);

private:
    void tick();
    void sampleShift();
    bool stoppedNow() const;
    void clearFailedPlate();
    void pressReset();
    void clearHandsBeforeReset();

    ProductionRunner& r;
    std::unique_ptr<FlowAudit> m_audit;
    // Alarm lines collected while collecting is on.
    bool m_collect = false;
    QStringList m_seen;
    // Axes seen moving while watching is on.
    bool m_watchMotion = false;
    // The fault that strikes when the machine reaches the phase.
    int m_strikerId = -1;
    const FaultKind* m_armed = nullptr;
    CyclePhase m_armedPhase = CyclePhase::Homing;
    bool m_struck = false;
    // When the cycle's steps last changed.
    double m_stepSig = -1;
    int64_t m_lastChangeUs = 0;
    QSet<int> m_movedAxes;
    QSet<int> m_finishing;
    // Shift statistics.
    bool m_shift = false;
    bool m_ngTrayEmptied = false, m_boxEmptied = false;
    int64_t m_plateAlarmSinceUs = -1;
    int m_labelsTakenOff = 0;
    QMap<QString, int> m_alarmCount;
    QMap<QString, double> m_alarmSeconds;
    QSet<QString> m_alarmsOn;
    QMap<QString, double> m_stateSeconds;
};

// Resident memory (kB) and open file descriptors of this process.
long residentKb();
int openFiles();
