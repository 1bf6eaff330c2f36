#pragma once
// The automatic cycle's step blocks, grouped by job, and the helpers they share.
// Taska's pass calls the groups in ascending order of their step numbers.
#include "app/MachineData.h"

#include <cstdint>

class kzhttp;

bool cycleGuard(double step);
// stepA is at step and the step guard lets it run: homed, e-stop released, ready,
// and running, or in manual mode with the test request that step belongs to.
// Inline: a pass asks it once for every step block.
inline bool cycleStep(double step) {
    return stepA == step && cycleGuard(step);
}
// The feeder handshake's guard for feederStep steps other than 0.
bool feederGuard(double step);

// A stopping fault: its alarm flag and runA = 0.
void stopWith(int alarm);
// count + 1; above limit the flag is raised (it does not stop by itself) and the count restarts.
void countNg(volatile double& count, double limit, int alarm);
// X, Y, Z, Q and NG Z stand still.
bool cardIdle();
// Nozzle lift: 0 up, 1 down; done once it reached what its valve commands.
void nozzleTo(int state);
bool nozzleDone();
void vacuum(bool on);
void blow(bool on);
// The photo delay before each cycle photo.
void photoDelay();
// Elapsed wall seconds of the current product.
double productSeconds();

// Label plate buffer.
int plateCells();
int firstOkLabel();
int firstNgLabel();
void clearLabelPhotos();

void feederSteps();               // feederStep 0..102
void trayLevelSteps();            // 0..111
void barrelPhotoSteps();          // 120..141
void labelSteps();                // 150..256
void assemblySteps(kzhttp& out);  // 300..364
void ngProductSteps();            // 400..465
void qrPresenceSteps(kzhttp& in); // 520..571
void ngLabelSteps();              // 600..605
void newCellSteps();              // 650..671
// When the height spot came to rest over the cell: only a reading since then is the cell's.
extern int64_t heightWantedFromUs;
// Clears the height sensor alarm once readings come again.
void heightAlarmFollow();

constexpr int kHeightAlarm = 13;
