#include "CardInit.h"

#include "app/MachineData.h"
#include "app/Prompt.h"
#include "platform/Paths.h"
#include "platform/kzmc.h"

#include <QCoreApplication>
#include <QDir>

namespace {
constexpr int kAxes = 12;
}

double axisEquiv(int axis) {
    switch (axis) {
    case 3:
        return 55.555; // Q: degrees
    case 11:
        return 38.194;
    default:
        return 1000.0; // millimetres
    }
}

void axisEnableLvl(WORD card, int axis, int on) {
    if (axis < 0 || axis > 7) return;
    if (axis <= 2)
        axis_enable(card, WORD(axis), WORD(on));
    else
        axis_enable(card, WORD(axis), WORD(!on));
}

void configureAxes() {
    for (int axis = 0; axis < kAxes; ++axis) dmc_set_equiv(cardNo, WORD(axis), axisEquiv(axis));
    for (int axis = 0; axis < kAxes; ++axis) dmc_set_factor_error(cardNo, WORD(axis), 1.0, 3);
    for (int axis = 0; axis < kAxes; ++axis) dmc_set_dec_stop_time(cardNo, WORD(axis), 0.1);
    for (int axis = 0; axis < kAxes; ++axis) dmc_set_home_el_return(cardNo, WORD(axis), 1);
}

void initCard(QWidget* parent) {
    cardOk = 1.0;
    const short cards = dmc_board_init();
    if (cards < 1 || cards > 7) {
        cardOk = 0.0;
        Prompt::warning(parent, QCoreApplication::translate("CardInit", "错误"),
                        QCoreApplication::translate("CardInit", "初始化控制卡失败！"));
    }

    const QByteArray debugFile = (Paths::programDir() + "/DMCerr.txt").toUtf8();
    dmc_set_debug_mode(2, debugFile.constData());

    // The card library takes the path in the system's own separators and 8-bit encoding.
    const QByteArray configFile =
        QDir::toNativeSeparators(Paths::programDir() + "/Config/QRDMC3C00.ini").toLocal8Bit();
    if (dmc_download_configfile(cardNo, configFile.constData()) != 0) {
        cardOk = 0.0;
        Prompt::warning(nullptr, QCoreApplication::translate("CardInit", "下载板卡文件"),
                        QCoreApplication::translate("CardInit", "下载板卡文件文件失败！"));
    }

    dmc_set_can_state(cardNo, 3, 1, 0);
    configureAxes();
    for (int axis = 0; axis < kAxes; ++axis) axisEnableLvl(cardNo, axis, 1);
}
