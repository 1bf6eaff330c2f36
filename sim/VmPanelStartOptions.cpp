#include "sim/VmPanelStartOptions.h"

#include "platform/Paths.h"
#include "sim/Plant.h"

#include <QSettings>

namespace {
const char* const kCardMissing = "start/cardMissing";
}

QString VmPanelStartOptions::filePath() {
    return Paths::root() + "/VirtualMachine.ini";
}

bool VmPanelStartOptions::cardMissingAtNextStart() {
    QSettings s(filePath(), QSettings::IniFormat);
    return s.value(kCardMissing, false).toBool();
}

void VmPanelStartOptions::setCardMissingAtNextStart(bool missing) {
    QSettings s(filePath(), QSettings::IniFormat);
    s.setValue(kCardMissing, missing);
    s.sync();
}

void VmPanelStartOptions::applyAtStart(sim::Plant& plant) {
    QSettings s(filePath(), QSettings::IniFormat);
    const bool missing = s.value(kCardMissing, false).toBool();
    plant.setCardMissing(missing);
    if (missing) {
        s.setValue(kCardMissing, false);
        s.sync();
    }
}
