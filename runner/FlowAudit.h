#pragma once
// The product flow checked against the plant's own record of every cell: each label
// placed once (or in the label NG box, or still on its plate), each product counted
// once, and the counters, the CSV rows and the MES requests agreeing with what
// happened to the products. Continuous checks run every call of watch(); the whole
// tray is checked when the cycle hands it over (trayState 2).
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

class ProductionRunner;
class VisionBackend;

class FlowAudit {
public:
    explicit FlowAudit(ProductionRunner& runner);
    ~FlowAudit();

    // Call periodically in machine time (every 100 ms is enough).
    void watch();

    // Set while a MES fault is in force: a refused or unanswered out-station request
    // is sent again after the restart, so a product may be reported good twice.
    bool mesFaultInSpan = false;
    // Set while a fault that takes the nozzle's vacuum away is in force: a label on the
    // nozzle falls then, by the fault itself, not by the cycle.
    bool vacuumCut = false;

    // Every finding so far, in order ("tray 3: ...").
    const QStringList& violations() const { return m_violations; }
    // What the flow explains without a fault of the cycle (products the cameras judged
    // empty, labels the operator took off the nozzle), in order.
    const QStringList& notes() const { return m_notes; }
    // The operator took the label off the nozzle by hand (it is neither lost nor placed).
    void labelTakenOffNozzle() { ++m_takenOff; }
    // The operator took the NG product out of the gripper by hand (it is not dropped).
    void productTakenFromGripper() { ++m_productsTaken; }
    int traysChecked() const { return m_traysChecked; }
    // Products that left a checked tray good or went into the NG tray.
    int productsChecked() const { return m_productsChecked; }

    // What the cameras answered the program about one product (by its printed code).
    struct Told {
        bool judgedEmpty = false; // the last presence photo of its cell was NG
        bool checked = false;     // a check photo of it ended with a verdict
    };
    void tell(int task, bool ok, double x, double y);

private:
    class Recorder;
    void checkTray();
    void note(const QString& what);
    void fail(const QString& what);
    void baseline();

    ProductionRunner& r;
    QStringList m_violations;
    QStringList m_notes;
    std::unique_ptr<Recorder> m_recorder;
    QMutex m_toldMutex;
    std::map<std::string, Told> m_told;
    int m_takenOff = 0;
    int m_productsTaken = 0;
    int m_traysChecked = 0;
    int m_productsChecked = 0;
    int m_lastTrayState = 0;
    bool m_started = false;

    // Since the last tray end.
    double m_good = 0, m_ng = 0;
    int m_csvRows = 0;
    int m_mesRequests = 0;
    int m_placementsSeen = 0;
    int m_lost = 0;
    int m_dropped = 0;
    std::set<int> m_labelIds;
    std::set<std::pair<int, int>> m_placedCells;
    QSet<QString> m_checkedTrays;
};
