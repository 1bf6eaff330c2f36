#pragma once
// Bringing the motion card up once at start: open it, route its diagnostics, download
// its configuration, start the CAN bus, configure and enable the twelve axes.
// The outcome is cardOk (1.0 card found and configured, else 0.0).
#include "platform/LTDMC.h"

class QWidget;

// parent: the window the "no card" warning belongs to. Warnings are modal; the
// sequence goes on after each.
void initCard(QWidget* parent = nullptr);
// Scale, following-error check, stop time and limit return of axes 0..11.
void configureAxes();
// Servo enable with the drive's polarity: axes 0..2 take on as it is, axes 3..7 the
// inverse; other axes are left alone.
void axisEnableLvl(WORD card, int axis, int on);

// Pulses per user unit of each axis.
double axisEquiv(int axis);
