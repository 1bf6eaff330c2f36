#pragma once
// The product flow checked against the plant's own record of every cell: each label
// placed once (or in the label NG box, or still on its plate), each product counted
// once, and the counters, the CSV rows and the MES requests agreeing with what
// happened to the products. Continuous checks run every call of watch(); the whole
// tray is checked when the cycle hands it over (trayState 2).
#include <QSet>
#include <QString>
#include <QStringList>
#include <set>
#include <utility>

class ProductionRunner;

class FlowAudit {
public:
    explicit FlowAudit(ProductionRunner& runner);

    // Call periodically in machine time (every 100 ms is enough).
    void watch();

    // Set while a MES fault is in force: a refused or unanswered out-station request
    // is sent again after the restart, so a product may be reported good twice.
    bool mesFaultInSpan = false;

    // Every finding so far, in order ("tray 3: ...").
    const QStringList& violations() const { return m_violations; }
    int traysChecked() const { return m_traysChecked; }
    // Products that left a checked tray good or went into the NG tray.
    int productsChecked() const { return m_productsChecked; }

private:
    void checkTray();
    void fail(const QString& what);
    void baseline();

    ProductionRunner& r;
    QStringList m_violations;
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
