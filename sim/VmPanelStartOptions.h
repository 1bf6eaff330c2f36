#pragma once
// Choices made on the virtual machine's panel that only take effect when the
// machine is next switched on (the program's next start). Kept in the data
// root, beside the program's files rather than among them.
#include <QString>

namespace sim {
class Plant;
}

class VmPanelStartOptions {
public:
    static QString filePath();

    static bool cardMissingAtNextStart();
    static void setCardMissingAtNextStart(bool missing);

    // At power-up, before the program opens the card: applies the options and
    // forgets the one-shot ones, so that the start after that is normal again.
    static void applyAtStart(sim::Plant& plant);
};
