#include "TestSupport.h"

#include "platform/LTDMC.h"
#include "platform/kzmc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

SimRig::SimRig(uint32_t seed) : vm(seed) {
    clock.install();
    vm.installCard();
    clock.setPlant([this](int64_t nowUs) { vm.step(nowUs); }, sim::kPlantStepUs);
}

SimRig::~SimRig() {
    vm.uninstallCard();
}

void SimRig::startCard() {
    dmc_board_init();
    dmc_set_can_state(0, 3, 1, 0);
    for (WORD a = 0; a < 12; ++a) {
        dmc_set_equiv(0, a, a == 3 ? 55.555 : a == 11 ? 38.194 : 1000.0);
        dmc_set_factor_error(0, a, 1.0, 3);
        dmc_set_dec_stop_time(0, a, 0.1);
        dmc_set_home_el_return(0, a, 1);
    }
    for (WORD a = 0; a < 8; ++a) axis_enable(0, a, a < 3 ? 1 : 0);
}

bool SimRig::homeAxis(int axis, int dir, double slow, double fast, double maxSeconds) {
    axis_home(0, WORD(axis), 1, slow, fast, WORD(dir), 0.0);
    runUntil([&] { return isidle(0, WORD(axis)) == 1; }, maxSeconds);
    if (ishomedone(0, WORD(axis)) != 1) return false;
    dmc_set_encoder(0, WORD(axis), 0); // as the program does after homing
    return true;
}

bool SimRig::writeCardConfig(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    f.write("[Card]\nModel=DMC3C00\nAxes=12\nCanNodes=3\n");
    return true;
}
