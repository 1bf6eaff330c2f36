#include "VirtualMachine.h"

#include "platform/Clock.h"
#include "sim/BeltTransport.h"

#include <mutex>

namespace sim {

namespace {
std::atomic<VirtualMachine*> g_instance{nullptr};
std::mutex g_factoryMutex;
VirtualMachine::CompanionFactory& factory() {
    static VirtualMachine::CompanionFactory f;
    return f;
}
} // namespace

VirtualMachine::VirtualMachine(uint32_t seed) : m_plant(seed), m_card(m_plant) {
    m_workcell = Workcell::install(m_plant);
    addBelts(m_plant);
}

VirtualMachine::~VirtualMachine() {
    stopRealTime();
    uninstallCard();
    VirtualMachine* self = this;
    g_instance.compare_exchange_strong(self, nullptr);
}

void VirtualMachine::installCard() {
    CardBackend::install(&m_card);
}

void VirtualMachine::uninstallCard() {
    if (CardBackend::current() == &m_card) CardBackend::install(nullptr);
}

void VirtualMachine::startRealTime() {
    if (m_running.exchange(true)) return;
    m_thread = std::thread([this] { run(); });
}

void VirtualMachine::stopRealTime() {
    if (!m_running.exchange(false)) return;
    if (m_thread.joinable()) m_thread.join();
}

void VirtualMachine::run() {
    while (m_running.load()) {
        m_plant.step(clk::nowUs());
        clk::sleepUs(kPlantStepUs);
    }
}

VirtualMachine* VirtualMachine::instance() {
    return g_instance.load();
}

void VirtualMachine::setInstance(VirtualMachine* vm) {
    g_instance.store(vm);
}

void VirtualMachine::setCompanionFactory(CompanionFactory f) {
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    factory() = std::move(f);
}

bool VirtualMachine::hasCompanionFactory() {
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    return bool(factory());
}

QWidget* VirtualMachine::createCompanion() {
    CompanionFactory f;
    {
        std::lock_guard<std::mutex> lock(g_factoryMutex);
        f = factory();
    }
    VirtualMachine* vm = instance();
    return f && vm ? f(*vm) : nullptr;
}

} // namespace sim
