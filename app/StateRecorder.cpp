#include "StateRecorder.h"

#include "app/MachineData.h"

namespace {
enum Kind { Standby, Run, Stop, Home, Error };
}

StateRecorder::StateRecorder(Sink sink) : m_sink(std::move(sink)) {}

const char* StateRecorder::kindName(int kind) {
    static const char* names[kKinds] = {"standby", "run", "stop", "home", "error"};
    return names[kind];
}

void StateRecorder::tick(int64_t nowMs) {
    const bool running = runA || runB;
    const bool trayAtAssembly = inImg[25];
    const bool beltIdle = stepB < 200;
    update(Standby, running && !trayAtAssembly && beltIdle, running && trayAtAssembly && beltIdle, nowMs);
    update(Run, running, !running, nowMs);
    update(Stop, !running, running, nowMs);
    const bool homing = stepA >= 1000 && stepA <= 1010;
    update(Home, homing, !homing, nowMs);
    update(Error, alarmActive, !alarmActive, nowMs);
}

void StateRecorder::update(int kind, bool starts, bool ends, int64_t nowMs) {
    Period& p = m_periods[kind];
    if (!p.open && starts) {
        p.open = true;
        p.startMs = nowMs;
    } else if (p.open && ends) {
        p.open = false;
        if (m_sink) m_sink(kindName(kind), p.startMs, nowMs);
    }
}
