#pragma once
// The things the machine handles (labels, barrels) and where the stations stand.
//
// Positions are in the upper camera's frame: a point's coordinates are the X and Y
// axis positions that put the camera's centre over it. The nozzle, the height
// sensor and the NG gripper sit beside the camera on the same head, so each sees
// the world at the axis position plus its own offset.
#include <cmath>
#include <string>

namespace sim {

// Cells of a tray: cell 1 at (x1, y1), along a row towards -X, row by row towards +Y.
struct TrayGrid {
    double x1 = 0, y1 = 0;
    int rows = 1, cols = 1;
    double rowPitch = 0, colPitch = 0;

    int count() const { return rows * cols; }
    void cellXY(int cell, double* x, double* y) const {
        const int c = cell - 1;
        *x = x1 - (c % cols) * colPitch;
        *y = y1 + (c / cols) * rowPitch;
    }
    // The cell whose centre lies within tol of (x, y), 0 if none.
    int cellAt(double x, double y, double tol) const {
        if (cols < 1 || rows < 1) return 0;
        const long col = std::lround((x1 - x) / (colPitch != 0 ? colPitch : 1));
        const long row = std::lround((y - y1) / (rowPitch != 0 ? rowPitch : 1));
        if (col < 0 || col >= cols || row < 0 || row >= rows) return 0;
        const int cell = int(row * cols + col + 1);
        double cx, cy;
        cellXY(cell, &cx, &cy);
        return std::hypot(x - cx, y - cy) <= tol ? cell : 0;
    }
};

struct WorkLayout {
    TrayGrid plate{460, 60, 3, 4, 12, 15};        // labels presented by the feeder
    TrayGrid product{300, 220, 4, 5, 20, 20};     // finished-product tray at the assembly position
    TrayGrid ngTray{160, 340, 2, 5, 20, 20};      // NG products
    double nozzleDx = 40, nozzleDy = 0;           // the nozzle sees the world at axis + this
    double sensorDx = -35, sensorDy = 0;          // height sensor spot
    double gripperDx = 0, gripperDy = 60;         // NG gripper
    double codeDy = 12;                           // each product's QR code beside its barrel
    double lowerCamX = 420, lowerCamY = 140;      // lower camera centre
    double binX = 370, binY = 60, binRadius = 25; // label NG box opening
    // Heights as Z (nozzle lift cylinder down) and NG Z positions.
    double plateZ = 40, barrelZ = 38, lowerCamZ = 30, upperCamZ = 3;
    double pickZTol = 0.5, focusTol = 2.0;
    double ngPickZ = 45, ngPutZ = 40, ngZTol = 1.0;
    double labelThickness = 0.5;
    // The calibration plate's nest, as the upper camera sees it: its reference mark shows
    // while the plate is away. The lowered nozzle touches a plate in the nest at plateRestZ.
    double nestX = 480, nestY = 140, nestAngle = 0;
    double plateRestZ = 35;
    // Q at which the nozzle's flat runs along the lower camera's image columns.
    double nozzleZeroDeg = 0;
};

// The calibration plate: a glass plate whose cross mark both cameras see.
struct CalibPlate {
    double x = 480, y = 140, angle = 0; // its mark, where it lies
};

struct Label {
    int id = 0;
    double x = 0, y = 0, angle = 0; // where it lies, degrees counter-clockwise
    bool bad = false;               // torn or misprinted: the label photo finds it NG
};

struct Barrel {
    bool present = false;
    double x = 0, y = 0, angle = 0;
    double height = 0;    // deviation of the top from nominal, mm (what the sensor reads)
    std::string code;     // printed QR code
    bool codeBad = false; // unreadable code
    bool bad = false;     // damaged: the barrel photo finds it NG
    bool labelled = false;
    Label label; // where its label was put
};

} // namespace sim
