#pragma once
// Every destination of the machine as a named move. Mode 0 starts the motion
// and returns 0; mode 1 starts nothing and returns 1 once every axis of the
// move stands at its target.

// Path mode of the tray cells: 1 serpentine ("S型路径"), 0 row by row.
extern volatile int trayPathMode;
// X and Y targets of the last started corrected assembly move.
extern double lastAssembleXY[2];

// A stop (door, e-stop, limit) halts the axes mid-move: a start sends the working axes
// on to the targets they were given, so the interrupted step goes on. A reset forgets them.
void resumeInterruptedMoves();
void forgetMoveOrders();

int trayDone(int k);
int labelPlateDone();
// X and Y of a 1-based cell of tray 0, 1 or 2 counted from a taught start point.
void cellFromStart(double startX, double startY, double cell, int tray, double* x, double* y);

int moveZSafeLift(int mode);
int moveZSafe(int mode);
int moveNgZSafe(int mode);
bool zParkedOk();
int moveLabelPhotoXY(int mode, double cell);
int moveLabelPhotoZ(int mode);
int moveLabelPickXYQ(int mode, double cell);
int moveLabelCellXY(int mode, double cell);
int moveLabelPickZ(int mode);
int moveLowCamXY(int mode);
int moveLowCamZ(int mode);
int moveAssembleQ(int mode);
int moveAssembleXY(int mode, double cell);
int moveAssembleCellXY(int mode, double cell);
int moveAssembleZ(int mode);
int moveBarrelPhotoXY(int mode, double cell);
int moveBarrelPhotoZ(int mode);
int moveQrPhotoXY(int mode, double cell);
int moveQrPhotoZ(int mode);
int moveHeightXY(int mode, double cell);
int moveHeightZ(int mode);
int moveNgPickXY(int mode, double cell);
int moveNgPickZ(int mode);
int moveNgPutXY(int mode, double cell);
int moveNgPutZ(int mode);
int moveNgPhotoXY(int mode, double cell);
int moveNgPhotoZ(int mode);
int moveLabelBinXY(int mode);
int moveLabelBinZ(int mode);

// Targets of the corrected moves, as the moves compute them.
void labelPickTarget(double cell, double* x, double* y, double* q);
double assembleAngle();
void assembleTarget(double cell, double* x, double* y);
