#include "Taska.h"

#include "app/MachineData.h"
#include "platform/Clock.h"
#include "production/kzhttp.h"
#include "sequences/CycleSteps.h"
#include "sequences/Homing.h"
#include "sequences/NamedMoves.h"

#include <atomic>

namespace {
std::atomic<Taska*> running{nullptr};
}

Taska::Taska(QObject* parent) : QThread(parent) {
    moveToThread(this);
}

Taska::~Taska() {
    quit();
    wait();
    Taska* self = this;
    running.compare_exchange_strong(self, nullptr);
}

// Not under the mutex: a pass blocked in a wait holds it, and ends on the flag.
void Taska::stop() {
    taskaStop = 1;
}

Taska* Taska::current() {
    return running.load();
}

void Taska::makeMesClients() {
    mesInHttp = std::make_unique<kzhttp>();
    mesOutHttp = std::make_unique<kzhttp>();
}

// The reset block comes first so that a reset always wins over the step the
// cycle was in; the e-stop gates live inside the homing functions. The stepA
// blocks follow in ascending order of their steps, so a block may act on a step
// an earlier block set in the same pass.
void Taska::pass() {
    if (!mesInHttp) makeMesClients();
    running.store(this);
    homingResetBlock();
    homingStep();
    // Starting again repeats the interrupted action: moves a stop cut short go on.
    // Not after manual mode: the operator may have moved the axes meanwhile.
    if (manualMode == 1.0) forgetMoveOrders();
    if (runA && !m_wasRunning && homedA) resumeInterruptedMoves();
    m_wasRunning = runA;
    heightAlarmFollow();
    feederSteps();
    trayLevelSteps();
    barrelPhotoSteps();
    labelSteps();
    assemblySteps(*mesOutHttp);
    ngProductSteps();
    qrPresenceSteps(*mesInHttp);
    ngLabelSteps();
    newCellSteps();
    endProductionStep();
}

void Taska::run() {
    makeMesClients();
    for (;;) {
        {
            QMutexLocker lock(&mutex);
            if (taskaStop) break;
            pass();
        }
        clk::sleepUs(5000);
    }
    mesInHttp.reset();
    mesOutHttp.reset();
}
