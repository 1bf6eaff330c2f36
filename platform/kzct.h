#pragma once
// Machine function library of the machine maker: cylinders, microsecond timers,
// blocking delay, tray cells, alarm list, parameter files and recipe folders,
// and the process-wide parameter arrays.
#include "LTDMC.h"

#include <QString>

class QTextBrowser;

constexpr int kGdSize = 400;
constexpr int kGfSize = 700;
constexpr int kGrSize = 64;
constexpr int kEervSize = 32;
constexpr int kTimerCount = 64;
constexpr int kCylinderCount = 16;

extern volatile double gd[kGdSize]; // switches, modes, compensations, limits
extern volatile double gf[kGfSize]; // speeds, times, heights, tray geometry, taught positions
extern volatile double gr[kGrSize]; // run data: tray cells and counters
extern volatile bool eerv[kEervSize]; // cylinder error flags

// Outputs: "on" is the logical state; the library drives the card's active-low level.
// node 0 with bus 0 is the card itself, bus 1 a CAN node 1..3.
short singleout(WORD card, WORD node, WORD bus, WORD bit, WORD on, WORD reserved);
// state 1: valve A on and B off; state 0: A off and B on.
short doubleout(WORD card, WORD bus, WORD nodeA, WORD bitA, WORD nodeB, WORD bitB, WORD state);

// Sensor and valve arguments are I/O image numbers (0..15 card, 16..63 CAN nodes 1..3).
// Times in seconds: t1/t2 settle time after the sensor of the valve-off/valve-on
// position, t3/t4 time after which a position without a working sensor counts as reached.
// query 0 follows the cylinder; any other query returns 1 once cylinder k is done.
short single1done(int query, int sensA, int sensB, int valve, double t1, double t2, double t3, double t4,
                  int r1, int r2, int k);
short double1done(int query, int sensA, int sensB, int valveA, int valveB, double t1, double t2, double t3,
                  double t4, int r1, int r2, int k);
// Sets eerv[k] when the commanded position is still missing limitMs after the command.
short single2err(int sensA, int sensB, int valve, int limitMs, int k);
short double2err(int sensA, int sensB, int valveA, int valveB, int limitMs, int k);
short resetqigandone(int k);

// Numbered microsecond timers shared program-wide (0..kTimerCount-1).
void usTstart(int n, double us);
// 1 once timer n's time has run out (and stays 1 until restarted).
int usTout(int n);
// Blocking wait through the program clock; returns early when *stopFlag becomes non-zero.
void delay(double us, volatile unsigned char* stopFlag);

// Position of a 1-based tray cell. pathMode 0 row by row, 1 serpentine.
void getlpxy(double x0, double y0, int cell, int rows, int cols, double rowPitch, double colPitch, double* x,
             double* y, int pathMode);

// Alarm list: text shown in current while active, every rise logged to history and the history file.
void adderrshow(QTextBrowser* history, QTextBrowser* current, const QString& text, bool active, int code,
                int level);
void clearerrshow(QTextBrowser* current);
void readerrfile(QTextBrowser* history);

void invbool(volatile bool* flag);
void invbool(volatile unsigned char* flag);

// Parameter files of the current recipe.
void inifiletovar();
void inivartofile();
void iniRUNvartofile();
