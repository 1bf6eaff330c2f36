#pragma once
// One log line for every event a maintainer asks about afterwards, written to the
// log tab and the day's log file. Most events are edges of the machine data, found
// here by comparing one tick with the last; an event without a lasting state (a
// save) is told directly. Nothing is written while nothing changes.
#include <QString>

class EventLog {
public:
    // Compares the machine data with the last poll and logs what changed. The first
    // poll only takes the state as it is. Called before the tick acts, so that a start
    // the fast scan refuses at once is no event.
    void poll();
    // The alarm rows that came on or went off since the last call.
    void pollAlarms();
    // Why the last homing ended early ("" when it did not, or a new one started).
    QString homingAbort() const { return m_homingAbort; }

    // Events told by their place in the program.
    static void parametersSaved(const QString& recipe);

private:
    void safety();
    void homing();
    void running();
    void modes();

    bool m_primed = false;
    bool m_estop = false;
    bool m_doorClosed[4] = {};
    bool m_homing = false;
    double m_homingStep = 0;
    QString m_homingAbort;
    bool m_running = false;
    bool m_ending = false;
    double m_manual = 0;
    bool m_dryRun = false;
};
