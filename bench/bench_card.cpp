// Cost of one card-library call on the virtual card, the calls the fast scan makes most.
#include "platform/Clock.h"
#include "platform/LTDMC.h"
#include "platform/kzmc.h"
#include "sim/VirtualMachine.h"

#include <cstdio>
#include <functional>

namespace {
volatile long sink = 0;

void measure(const char* name, long calls, const std::function<long(long)>& body) {
    const int64_t t0 = clk::nowUs();
    long acc = 0;
    for (long i = 0; i < calls; ++i) acc += body(i);
    const int64_t us = clk::nowUs() - t0;
    sink = sink + acc;
    std::printf("%-24s %8.1f ns per call (%ld calls)\n", name, us * 1000.0 / double(calls), calls);
}
} // namespace

int main() {
    sim::VirtualMachine vm(1);
    vm.installCard();
    dmc_board_init();
    dmc_set_can_state(0, 3, 1, 0);
    for (WORD a = 0; a < 12; ++a) dmc_set_equiv(0, a, a == 3 ? 55.555 : a == 11 ? 38.194 : 1000.0);
    for (WORD a = 0; a < 8; ++a) axis_enable(0, a, a < 3 ? 1 : 0);

    const long n = 5000000;
    measure("dmc_read_inbit", n, [](long i) { return dmc_read_inbit(0, WORD(i & 15)); });
    measure("dmc_read_can_inbit", n,
            [](long i) { return dmc_read_can_inbit(0, WORD(1 + i % 3), WORD(i & 15)); });
    measure("dmc_axis_io_status", n, [](long i) { return long(dmc_axis_io_status(0, WORD(i % 12))); });
    measure("dmc_get_position_unit", n, [](long i) {
        double p = 0;
        dmc_get_position_unit(0, WORD(i % 12), &p);
        return long(p);
    });
    measure("dmc_check_done", n, [](long i) { return dmc_check_done(0, WORD(i % 12)); });
    measure("dmc_write_can_outbit", n / 5,
            [](long i) { return dmc_write_can_outbit(0, WORD(1 + i % 3), WORD(i & 15), WORD(i & 1)); });
    measure("get_poscmp", n / 5, [](long i) { return get_poscmp(0, WORD(i % 12), 0.0); });
    vm.uninstallCard();
    return 0;
}
