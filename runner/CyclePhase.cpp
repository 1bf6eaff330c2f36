#include "CyclePhase.h"

#include "app/MachineData.h"
#include "sequences/CycleData.h"
#include "sim/Feeder.h"
#include "sim/Workcell.h"

namespace {
const char* const kNames[kPhaseCount] = {
    "homing", "tray-in",     "height-presence", "qr-mes-in",   "barrel-photo", "feeder-plate", "label-photo",
    "pick",   "lower-photo", "placement",       "check-photo", "mes-out",      "ng-handling",  "tray-out"};

bool within(double v, double lo, double hi) {
    return v >= lo && v <= hi;
}
} // namespace

QString phaseName(CyclePhase p) {
    const int i = int(p);
    return i >= 0 && i < kPhaseCount ? QString(kNames[i]) : QString("?");
}

bool phaseFromName(const QString& name, CyclePhase* p) {
    for (int i = 0; i < kPhaseCount; ++i)
        if (name == kNames[i]) {
            *p = CyclePhase(i);
            return true;
        }
    return false;
}

bool inPhase(CyclePhase p, sim::Workcell& workcell) {
    const double s = stepA;
    switch (p) {
    case CyclePhase::Homing:
        return within(s, 1000, 1010);
    case CyclePhase::TrayIn:
        // The belt line brings the next tray to the assembly position and clamps it.
        return homedA && trayState != 2 && (within(stepB, 150, 156) || (s == 2 && trayState == 0));
    case CyclePhase::HeightPresence:
        return within(s, 550, 571) || within(s, 650, 671);
    case CyclePhase::QrMesIn:
        return within(s, 520, 541);
    case CyclePhase::BarrelPhoto:
        return within(s, 120, 141);
    case CyclePhase::FeederPlate:
        return homedA && runA && workcell.feeder().busy();
    case CyclePhase::LabelPhoto:
        return within(s, 150, 164);
    case CyclePhase::Pick:
        return within(s, 170, 176);
    case CyclePhase::LowerPhoto:
        return within(s, 200, 221);
    case CyclePhase::Placement:
        return within(s, 300, 306);
    case CyclePhase::CheckPhoto:
        return within(s, 350, 362);
    case CyclePhase::MesOut:
        // The out-station request goes out in the pass that judges the check photo.
        return s == 363 || s == 364;
    case CyclePhase::NgHandling:
        return within(s, 400, 465) || within(s, 250, 256) || within(s, 600, 605);
    case CyclePhase::TrayOut:
        return homedA && (trayState == 2 || within(stepB, 200, 216));
    case CyclePhase::Count:
        break;
    }
    return false;
}
