#pragma once
// The run page's state banner: what the machine does and, while it waits, on what.
// Computed from the machine data alone, so that a test can ask without widgets.
#include "app/AlarmBoard.h"
#include "sequences/WaitReasons.h"

#include <QList>
#include <QString>

enum class BannerKind {
    NoCard,
    EStop,
    DoorOpen,
    Alarm,
    Homing,
    NotHomed,
    Manual,
    Ending,
    Waiting,
    Running,
    WaitingForStart,
    Paused,
    Starting, // the scan has not read the machine yet
    Question, // a question on the screen holds the machine until the operator answers
};

// Red for e-stop and alarms, yellow for waiting and not homed, green for running,
// grey for manual and stopped.
enum class BannerColour { Red, Yellow, Green, Grey };

struct BannerState {
    BannerKind kind = BannerKind::Paused;
    BannerColour colour = BannerColour::Grey;
    QString text;
    QString styleSheet() const;
};

struct BannerInputs {
    CurrentWait wait;
    QList<AlarmRow> alarms; // active alarm rows, newest first
    QString homingAbort;    // why the last homing ended early; empty when it did not
    QString question;       // an open question the machine waits on; empty when none
    bool scanned = true;    // the scan has read the machine's inputs since start-up
};

// Waits shorter than this are work in progress, not worth a banner.
constexpr double kBannerWaitAfterS = 1.0;

BannerState bannerState(const BannerInputs& in);
