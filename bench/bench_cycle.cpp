// Cycle time per product on the virtual machine with the demo recipe, against the
// time the plant itself needs for the same product (the lower bound): the time in
// which an axis moves, a cylinder travels, a camera works or the feeder exchanges a
// plate, plus the process times the recipe prescribes while nothing moves (photo
// delay before each of the seven photos, vacuum build-up, blow-off, height settling).
// Then the speed of the twin: machine time against wall time over a whole run.
//
//   bench_cycle [products] [seed]      default 40 products (two trays), seed 1
//   bench_cycle --hours H [seed]       a shift of H hours: speed only
//   --every-step (last)                the plant stepped every millisecond, never resting
#include "app/MachineData.h"
#include "platform/vision/taskdata.h"
#include "runner/ProductionRunner.h"
#include "sim/Feeder.h"

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir data;
    qputenv("TAVRIN_DATA", data.path().toLocal8Bit());
    const bool everyStep = argc > 1 && QByteArray(argv[argc - 1]) == "--every-step";
    if (everyStep) --argc;
    const bool shift = argc > 1 && QByteArray(argv[1]) == "--hours";
    const double hours = shift && argc > 2 ? std::atof(argv[2]) : 0.0;
    const int products = shift ? 0 : (argc > 1 ? std::atoi(argv[1]) : 40);
    const uint32_t seed = uint32_t(argc > (shift ? 3 : 2) ? std::atoi(argv[shift ? 3 : 2]) : 1);

    ProductionRunner r(seed);
    if (everyStep) r.clock.setPlantRest(nullptr, nullptr);
    QString error;
    if (!r.powerUp(&error) || !r.resetAndHome(&error) || !r.start(&error)) {
        std::fprintf(stderr, "machine did not come up: %s\n", qPrintable(error));
        return 1;
    }
    // Busy time of the plant, sampled every millisecond, and when each product ended.
    int64_t busyUs = 0;
    std::vector<int64_t> finished;
    std::vector<int64_t> busyAt;
    int made = 0;
    std::map<int, int64_t> idleByStep; // where the plant stands idle, by the cycle's step
    if (!shift) {
        r.clock.addPeriodic("probe", 1000, [&] {
            bool busy = taskdata::GetInstance()->busy(0) || taskdata::GetInstance()->busy(1);
            auto lock = r.plant().lock();
            for (int a = 0; a < 5 && !busy; ++a) busy = r.plant().axisSnapshot(a).velocity != 0.0;
            for (int k = 0; k < sim::kCylinderCount && !busy; ++k) {
                const sim::SimCylinder& c = r.plant().cylinder(k);
                busy = !c.atA() && !c.atB();
            }
            if (!busy) busy = r.workcell().feeder().busy();
            if (busy)
                busyUs += 1000;
            else if (made > 0)
                idleByStep[int(stepA)] += 1000;
            if (r.productsMade() > made) {
                made = r.productsMade();
                finished.push_back(r.clock.nowUs());
                busyAt.push_back(busyUs);
            }
        });
    }
    r.produce(products, 0, shift ? hours * 3600.0 : 600.0 + 60.0 * products);
    const QJsonObject s = r.summary();
    std::printf("%s", qPrintable(ProductionRunner::summaryText(s)));
    if (shift) return 0;
    if (finished.size() < 3) {
        std::fprintf(stderr, "too few products to measure (%zu)\n", finished.size());
        return 1;
    }
    // Steady state: from the first finished product to the last.
    const double n = double(finished.size() - 1);
    const double cycle = (finished.back() - finished.front()) * 1e-6 / n;
    const double busy = (busyAt.back() - busyAt.front()) * 1e-6 / n;
    const double waits = 7 * gd[33] + gf[210] + gf[212] + 0.3;
    const double bound = busy + waits;
    std::printf("cycle time per product %.3f s; plant busy %.3f s + prescribed waits %.3f s = lower bound "
                "%.3f s; the program adds %.1f %%\n",
                cycle, busy, waits, bound, 100.0 * (cycle / bound - 1.0));
    std::vector<std::pair<int64_t, int>> idle;
    for (const auto& e : idleByStep) idle.emplace_back(e.second, e.first);
    std::sort(idle.rbegin(), idle.rend());
    std::printf("plant idle per product, by cycle step (includes the prescribed waits):");
    for (size_t i = 0; i < idle.size() && i < 8; ++i)
        std::printf(" %d: %.3f s;", idle[i].second, idle[i].first * 1e-6 / n);
    std::printf("\n");
    return 0;
}
