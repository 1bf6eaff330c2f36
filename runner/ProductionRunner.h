#pragma once
// The whole program on the virtual machine without a screen: the main window's
// logic, the fast scan, the cycle and the belt line run at their periods from the
// lockstep clock, as fast as the host allows. The machine is powered up, reset,
// homed and started as an operator would, then produces until a number of products
// or trays is made, the machine stops on an alarm, or the time limit runs out.
#include "sim/Lockstep.h"
#include "sim/VirtualCameras.h"
#include "sim/VirtualMachine.h"

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class MainWindow1;
namespace sim {
class MesEmulator;
}

class ProductionRunner {
public:
    // images: the cameras draw their pictures and the vision library saves them, as on
    // the machine; without them a run is many times faster.
    explicit ProductionRunner(uint32_t seed = 1, bool images = false);
    ~ProductionRunner();
    ProductionRunner(const ProductionRunner&) = delete;
    ProductionRunner& operator=(const ProductionRunner&) = delete;

    // Fault settings as a JSON object (see the README); false with a message.
    bool applyFaults(const QJsonObject& faults, QString* error);
    bool loadFaults(const QString& path, QString* error);

    // Builds the program on the machine and lets it settle; the machine's workpieces
    // follow the current recipe's trays and taught points.
    bool powerUp(QString* error);
    // MES on for this run (the recipe is not changed). When the configuration names
    // the virtual machine's own MES (127.0.0.1:48080), an emulator answers there, on a
    // free port instead if that one is taken; another loopback server is used as it is.
    bool useMes(QString* error);
    sim::MesEmulator* mes() { return m_mes.get(); }

    // The reset button, then the homing until the operator may start.
    bool resetAndHome(QString* error, double maxSeconds = 60.0);
    // The start button; true once the cycle runs.
    bool start(QString* error);
    // Produces until products (good and NG) or trays are finished, the machine has
    // stood still on an alarm for stallSeconds, or maxSeconds of machine time passed.
    // 0 for products and trays: run for maxSeconds.
    void produce(int products, int trays, double maxSeconds, double stallSeconds = 30.0);
    // The end of the run as the window's close saves it (the run data, not the parameters).
    void shutdown();

    // The plant's plate and trays from the current recipe (called by powerUp; again
    // after a change of the recipe's trays).
    void layoutFromRecipe();

    // Everything of the run so far, as one object (also the --json output).
    QJsonObject summary() const;
    static QString summaryText(const QJsonObject& summary);

    Lockstep clock;
    sim::VirtualMachine vm;
    VirtualCameras cameras;
    std::unique_ptr<MainWindow1> window;

    sim::Plant& plant() { return vm.plant(); }
    sim::Workcell& workcell() { return vm.workcell(); }
    // Products (good and NG) made since the power-up.
    int productsMade() const;
    int traysFinished() const { return m_traysFinished; }
    QString endReason() const { return m_endReason; }
    // Alarm and prompt flags raised since power-up ("alarmFlags[18]", "promptFlags[1]"),
    // with how often each came on.
    const QMap<QString, int>& alarmsRaised() const { return m_alarms; }
    // Rows the day's CSV files gained since power-up.
    int csvRowsWritten() const;

    // The alarm lines the operator sees on the run page's current view now (status
    // lines such as "自动运行中。" left out).
    QStringList alarmTexts() const;
    // What the height sensor answers each poll; the reply goes through the program's parser.
    enum class HeightFault { None, Silent, Garbled };
    void setHeightFault(HeightFault f) { m_heightFault = f; }
    // A panel button pressed and let go as an operator does, then 0.3 s of machine time.
    void press(int button);

private:
    void watch();
    void countRaisedFlags();
    void heightLink();
    void trayStandIn();
    static int csvRows();

    uint32_t m_seed;
    bool m_syncWas = true;
    bool m_images = false;
    bool m_savedImages = true;
    int64_t m_wallStartUs = 0;
    int64_t m_wallUs = 0;
    int64_t m_machineStartUs = 0;
    int m_csvRowsAtStart = 0;
    int m_productsAtStart = 0;
    int m_traysFinished = 0;
    int m_lastTrayState = 0;
    bool m_beltModel = false;
    bool m_trayAway = false;
    HeightFault m_heightFault = HeightFault::None;
    bool m_alarmWas[256] = {};
    bool m_promptWas[64] = {};
    uint8_t m_alarmFlagsSeen[256] = {};
    uint8_t m_promptFlagsSeen[64] = {};
    QMap<QString, int> m_alarms;
    QString m_endReason;
    QJsonObject m_faults;
    std::unique_ptr<sim::MesEmulator> m_mes;
};
