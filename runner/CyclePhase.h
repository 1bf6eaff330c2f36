#pragma once
// Where the machine stands in its work, read from the program's step words and the
// plant (the feeder's plate exchange), so that a fault can be made to strike there.
#include <QString>

namespace sim {
class Plant;
class Workcell;
} // namespace sim

enum class CyclePhase {
    Homing,
    TrayIn,
    HeightPresence,
    QrMesIn,
    BarrelPhoto,
    FeederPlate,
    LabelPhoto,
    Pick,
    LowerPhoto,
    Placement,
    CheckPhoto,
    MesOut,
    NgHandling,
    TrayOut,
    Count
};

constexpr int kPhaseCount = int(CyclePhase::Count);

// Short name for commands and tables, e.g. "barrel-photo".
QString phaseName(CyclePhase p);
// A phase name back; false when unknown.
bool phaseFromName(const QString& name, CyclePhase* p);
// True when the machine is in phase p now. The feeder's plate exchange runs beside
// the other jobs, so it overlaps them; the other phases exclude each other.
bool inPhase(CyclePhase p, sim::Workcell& workcell);
