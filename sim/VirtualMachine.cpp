#include "VirtualMachine.h"

#include "platform/Clock.h"
#include "sim/BeltTransport.h"
#include "sim/HeightSensor.h"
#include "sim/MesEmulator.h"

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
    // The sensor on the network reads what lies under its spot in the plant.
    m_heightSource = [this] { return m_workcell->heightUnderSensor(); };
}

VirtualMachine::~VirtualMachine() {
    stopRealTime();
    stopNetworkPeers();
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
    startNetworkPeers();
}

void VirtualMachine::stopRealTime() {
    if (!m_running.exchange(false)) return;
    if (m_thread.joinable()) m_thread.join();
    stopNetworkPeers();
}

void VirtualMachine::startNetworkPeers() {
    if (!m_heightSensor) {
        m_heightSensor = std::make_unique<HeightSensor>();
        m_heightSensor->setSource(m_heightSource);
        if (!m_heightSensor->start(kHeightPort))
            qWarning("virtual machine: height sensor cannot listen on 127.0.0.1:%u", unsigned(kHeightPort));
    }
    if (!m_mes) {
        m_mes = std::make_unique<MesEmulator>();
        if (!m_mes->start(kMesPort))
            qWarning("virtual machine: MES emulator cannot listen on 127.0.0.1:%u", unsigned(kMesPort));
    }
}

void VirtualMachine::setHeightSource(std::function<double()> mm) {
    m_heightSource = std::move(mm);
    if (m_heightSensor) m_heightSensor->setSource(m_heightSource);
}

void VirtualMachine::stopNetworkPeers() {
    m_heightSensor.reset();
    m_mes.reset();
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
