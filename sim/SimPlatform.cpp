#include "platform/Platform.h"

#include "platform/vision/VisionBackend.h"
#include "sim/VirtualCameras.h"
#include "sim/VirtualMachine.h"
#include "sim/VmPanel.h"
#include "sim/VmPanelStartOptions.h"

#include <QByteArray>
#include <QWidget>
#include <memory>

namespace {
std::unique_ptr<sim::VirtualMachine> g_vm;
std::unique_ptr<VirtualCameras> g_cameras;
QWidget* g_companion = nullptr;
bool g_companionAsked = false;
} // namespace

namespace Platform {

void start() {
    if (g_vm) return;
    // TAVRIN_SEED varies the machine's randomness between runs when wanted.
    bool ok = false;
    const uint seed = qEnvironmentVariable("TAVRIN_SEED").toUInt(&ok);
    g_vm = std::make_unique<sim::VirtualMachine>(ok ? seed : 1u);
    // Faults chosen on the panel for this start (e.g. no card) apply before the program opens the card.
    VmPanelStartOptions::applyAtStart(g_vm->plant());
    g_vm->installCard();
    sim::VirtualMachine::setInstance(g_vm.get());
    g_vm->startRealTime();
    // The cameras look at the machine through the card, as the program does.
    g_cameras = std::make_unique<VirtualCameras>(ok ? seed : 1u);
    g_cameras->setPoseSource(&VirtualCameras::cardPose);
    g_cameras->setScene(g_vm->workcell().cameraScene());
    VisionBackend::install(g_cameras.get());
}

void stop() {
    if (!g_vm) return;
    VisionBackend::install(nullptr);
    g_cameras.reset();
    g_vm->stopRealTime();
    sim::VirtualMachine::setInstance(nullptr);
    g_vm->uninstallCard();
    g_vm.reset();
}

QWidget* companionWindow() {
    if (!g_companionAsked) {
        g_companionAsked = true;
        // The machine's own panel unless something else asked to be shown.
        if (!sim::VirtualMachine::hasCompanionFactory()) VmPanel::registerAsCompanion();
        g_companion = sim::VirtualMachine::createCompanion();
    }
    return g_companion;
}

} // namespace Platform
