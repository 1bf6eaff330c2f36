#pragma once
// The virtual machine as the program's platform sees it: a plant, the virtual
// card over it, and a thread that keeps the plant in step with the clock.
// Tests step the plant from the lockstep clock instead (see tests/TestSupport.h).
#include "sim/Plant.h"
#include "sim/VirtualCard.h"
#include "sim/Workcell.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class QWidget;

namespace sim {

class HeightSensor;
class MesEmulator;

class VirtualMachine {
public:
    explicit VirtualMachine(uint32_t seed = 1);
    ~VirtualMachine(); // stops the thread; detaches the card if it is the installed one
    VirtualMachine(const VirtualMachine&) = delete;
    VirtualMachine& operator=(const VirtualMachine&) = delete;

    Plant& plant() { return m_plant; }
    VirtualCard& card() { return m_card; }
    // Labels, barrels, trays and what the cameras see (plant lock for its state).
    Workcell& workcell() { return *m_workcell; }

    // Makes the card library talk to this machine's card.
    void installCard();
    void uninstallCard();

    // Plant stepping for a lockstep clock: clock.setPlant([&](int64_t t) { vm.step(t); }).
    void step(int64_t nowUs) { m_plant.step(nowUs); }
    // Steps the plant to clk::nowUs() every millisecond on a thread of its own.
    void startRealTime();
    void stopRealTime();
    bool realTimeRunning() const { return m_running.load(); }

    // The machine's network peers on loopback, started with the real-time thread:
    // the height sensor on kHeightPort and the MES on kMesPort ("/mes/in", "/mes/out").
    static constexpr unsigned short kHeightPort = 4196;
    static constexpr unsigned short kMesPort = 48080;
    void startNetworkPeers();
    void stopNetworkPeers();
    // Height under the sensor head in mm (NaN: nothing), asked on the sensor's thread;
    // kept for later starts. Without one the sensor sees a flat surface at 0.
    void setHeightSource(std::function<double()> mm);
    // nullptr while the peers are not running.
    HeightSensor* heightSensor() { return m_heightSensor.get(); }
    MesEmulator* mes() { return m_mes.get(); }

    // The machine the program runs on (set by Platform::start), or nullptr.
    static VirtualMachine* instance();
    static void setInstance(VirtualMachine* vm);

    // The window shown beside the main window (the machine's panel) is built by a
    // factory registered here; Platform::companionWindow() calls it once.
    using CompanionFactory = std::function<QWidget*(VirtualMachine&)>;
    static void setCompanionFactory(CompanionFactory factory);
    static bool hasCompanionFactory();
    // nullptr without a factory or without a running machine.
    static QWidget* createCompanion();

private:
    void run();

    Plant m_plant;
    VirtualCard m_card;
    Workcell* m_workcell = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::unique_ptr<HeightSensor> m_heightSensor;
    std::function<double()> m_heightSource;
    std::unique_ptr<MesEmulator> m_mes;
};

} // namespace sim
