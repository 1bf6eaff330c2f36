#pragma once
// Every fault the virtual machine can inject while the program runs, each with the
// way to switch it on and off again (the operator's repair).
#include "runner/CyclePhase.h"

#include <QList>
#include <QString>
#include <functional>

class ProductionRunner;

struct FaultKind {
    QString id;   // e.g. "servo-x", for commands and tables
    QString what; // what breaks, in words
    std::function<void(ProductionRunner&, bool on)> set;
    // Empty when the fault can strike in phase p; otherwise why it cannot.
    std::function<QString(CyclePhase p)> cannotStrike;
    bool mes = false;    // needs the MES on
    bool homing = false; // acts only while the axes home
    // Takes the nozzle's vacuum away: a label on the nozzle falls where it is.
    bool cutsVacuum = false;
};

QList<FaultKind> faultCatalog();
// The catalogue entry with this id, or nullptr.
const FaultKind* findFault(const QList<FaultKind>& catalog, const QString& id);
