// Machine time against wall time: twelve axes moving back and forth, the plant
// stepped every millisecond by the lockstep clock, and a 5 ms pass that reads
// the card as the fast scan does (12 status words, 64 inputs, 64 outputs, lamps).
// A second run replaces that pass by the program's own logic: the fast scan, the
// cycle thread's pass and the main window's tick logic at their periods.
#include "app/MachineData.h"
#include "app/MainCycle.h"
#include "machine/FastScan.h"
#include "platform/Clock.h"
#include "platform/LTDMC.h"
#include "platform/kzmc.h"
#include "sequences/Taska.h"
#include "sim/Lockstep.h"
#include "sim/VirtualMachine.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
volatile long sink = 0;
}

// The program's logic on the machine: scan, cycle pass, window ticks (no widgets).
void programLogic(Lockstep& clock, FastScan& scan, Taska& taska, MainCycle& cycle) {
    cardOk = 1.0;
    gd[7] = 2.0; // high automatic speed: the ticks set the speed factor from it
    clock.addPeriodic("fast", 5000, [&] { scan.pass(); });
    clock.addPeriodic("cycle", 5000, [&] { taska.pass(); });
    clock.addPeriodic("tick100", 100000, [&] { cycle.tick100ms(); });
    clock.addPeriodic("tick25", 25000, [&] { cycle.tick25ms(); });
    clock.addPeriodic("tick10", 10000, [&] { cycle.tick10ms(); });
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir data;
    qputenv("TAVRIN_DATA", data.path().toLocal8Bit());
    const double machineSeconds = argc > 1 ? std::atof(argv[1]) : 600.0;
    const bool program = argc > 2 && QByteArray(argv[2]) == "program";
    SystemClock wall;
    Lockstep clock;
    clock.install();
    sim::VirtualMachine vm(1);
    vm.installCard();
    clock.setPlant([&](int64_t t) { vm.step(t); }, sim::kPlantStepUs);

    dmc_board_init();
    dmc_set_can_state(0, 3, 1, 0);
    for (WORD a = 0; a < 12; ++a) {
        dmc_set_equiv(0, a, a == 3 ? 55.555 : a == 11 ? 38.194 : 1000.0);
        dmc_set_dec_stop_time(0, a, 0.1);
    }
    for (WORD a = 0; a < 8; ++a) axis_enable(0, a, a < 3 ? 1 : 0);

    // Each axis shuttles between its start and 40 units further.
    double base[12];
    bool out[12] = {};
    long moves = 0;
    for (WORD a = 0; a < 12; ++a) dmc_get_position_unit(0, a, &base[a]);
    clock.addPeriodic("motion", 5000, [&] {
        for (WORD a = 0; a < 12; ++a) {
            if (dmc_check_done(0, a) != 1) continue;
            out[a] = !out[a];
            spmove(0, a, base[a] + (out[a] ? 40.0 : 0.0), 150.0, 1);
            ++moves;
        }
    });
    long reads = 0;
    FastScan scan;
    Taska taska;
    MainCycle cycle;
    if (program)
        programLogic(clock, scan, taska, cycle);
    else
        clock.addPeriodic("scan", 5000, [&] {
            long acc = 0;
            for (WORD a = 0; a < 12; ++a) acc += long(dmc_axis_io_status(0, a));
            for (WORD b = 0; b < 16; ++b) acc += dmc_read_inbit(0, b) + dmc_read_outbit(0, b);
            for (WORD n = 1; n <= 3; ++n)
                for (WORD b = 0; b < 16; ++b)
                    acc += dmc_read_can_inbit(0, n, b) + dmc_read_can_outbit(0, n, b);
            for (WORD b = 0; b < 4; ++b) dmc_write_outbit(0, b, 1);
            for (WORD b = 5; b < 9; ++b) dmc_write_outbit(0, b, 1);
            reads += 12 + 128 + 8;
            sink = sink + acc;
        });

    const int64_t w0 = wall.nowUs();
    clock.runFor(machineSeconds);
    const double wallSeconds = (wall.nowUs() - w0) * 1e-6;
    std::printf("machine time %.1f s in %.3f s wall: %.0fx real time\n", machineSeconds, wallSeconds,
                machineSeconds / wallSeconds);
    std::printf("%s: %.2f us of wall time per machine millisecond; %ld moves, %ld card calls in the scan\n",
                program ? "program logic" : "synthetic scan", wallSeconds * 1e6 / (machineSeconds * 1000.0),
                moves, reads);
    vm.uninstallCard();
    return 0;
}
