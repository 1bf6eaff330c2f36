#pragma once
// What the sequences wait for. Each step that waits on something outside the
// program is named here once, with its cause and how long the wait normally
// lasts, so that the run page, the log and the runner's summary say the same.
#include <QString>
#include <cstdint>

enum class WaitCause {
    None,       // the program works, or nothing runs
    Upstream,   // the upstream machine's tray (hand-shake)
    Downstream, // the downstream machine taking a finished tray (hand-shake)
    Belt,       // a tray running on the belt to its sensor
    Feeder,     // the label feeder: a plate, its initialisation
    Mes,        // the MES answer
    Vision,     // a vision result
    Height,     // a height reading
    Cylinder,   // a cylinder reaching its position
    Axis,       // an axis arriving
    Sensor,     // a material sensor (NG tray, label box, tray at the station)
};
constexpr int kWaitCauses = int(WaitCause::Sensor) + 1;

// The step variables that wait: stepA, stepB, lineInStep, emptyStep, feederStep.
enum class StepVar { A, B, LineIn, Empty, Feeder };
constexpr int kStepVars = 5;

struct StepWait {
    WaitCause cause = WaitCause::None;
    double normalS = 0.0; // a wait longer than this is shown with its age
};

// The table: the wait of one step of one variable (None for a step that does not wait).
StepWait stepWait(StepVar var, double step);
double stepValue(StepVar var);

// "等待上游来料盘" and the like; empty for None.
QString waitText(WaitCause cause);
// A short ASCII name ("upstream") for summaries.
const char* waitKey(WaitCause cause);

// The wait that holds the machine's work up now, with the time since it began.
struct CurrentWait {
    WaitCause cause = WaitCause::None;
    double seconds = 0.0;
    double normalS = 0.0;
    bool overdue() const { return cause != WaitCause::None && seconds > normalS; }
};

// Follows the waits from one sample to the next (the 100 ms tick, or the runner's watch).
class WaitTracker {
public:
    // The instantaneous wait of the running machine from the step variables.
    static StepWait waitNow();
    // Samples the machine at nowUs; returns what holds it up and for how long.
    const CurrentWait& sample(int64_t nowUs);
    const CurrentWait& current() const { return m_current; }
    // Machine time spent in each cause while running, in seconds.
    double secondsIn(WaitCause cause) const { return m_total[int(cause)]; }

private:
    CurrentWait m_current;
    int64_t m_sinceUs = 0;
    int64_t m_lastUs = -1;
    double m_total[kWaitCauses] = {};
};
