#pragma once
// Pictures of the running program for the operator manual. With TAVRIN_TOUR_DIR
// set, the program walks through its screens as an operator would (reset, homing,
// automatic start, every page), saves a PNG of each into that folder
// and quits. Without the variable nothing happens.
class QWidget;

namespace ScreenTour {
void start(QWidget* mainWindow, QWidget* panel);
}
