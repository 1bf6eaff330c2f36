#pragma once
// Machine function library of the machine maker: cylinders, microsecond timers,
// blocking delay, tray cells, alarm list, parameter files and recipe folders,
// and the process-wide parameter arrays.
#include "LTDMC.h"

#include <QString>
#include <QStringList>

#include <vector>

class QTextBrowser;
class QListWidget;
class QLabel;

constexpr int kGdSize = 400;
constexpr int kGfSize = 700;
constexpr int kGrSize = 64;
constexpr int kEervSize = 32;
constexpr int kTimerCount = 64;
constexpr int kCylinderCount = 16;

extern volatile double gd[kGdSize];   // switches, modes, compensations, limits
extern volatile double gf[kGfSize];   // speeds, times, heights, tray geometry, taught positions
extern volatile double gr[kGrSize];   // run data: tray cells and counters
extern volatile bool eerv[kEervSize]; // cylinder error flags

// Outputs: "on" is the logical state; the library drives the card's active-low level.
// node 0 with bus 0 is the card itself, bus 1 a CAN node 1..3.
short singleout(WORD card, WORD node, WORD bus, WORD bit, WORD on, WORD reserved);
// state 0: valve A on and B off; state 1: A off and B on.
short doubleout(WORD card, WORD bus, WORD nodeA, WORD bitA, WORD nodeB, WORD bitB, WORD state);

// Sensor and valve arguments are I/O image numbers (0..15 card, 16..63 CAN nodes 1..3);
// a sensor number outside 0..63 (e.g. -1) means the position has no sensor.
// A single cylinder goes to position A with its valve off and to B with it on; a
// double cylinder goes to A with valve A on (B off) and to B with valve B on (A off).
// sensA and sensB report A and B. Times in seconds:
//   t1/t2 settle time: the sensor of A/B must have been on (and the other sensor off)
//         this long;
//   t3/t4 travel time: A/B counts reached no earlier than this after the command;
//         for a position without a sensor this alone decides.
// r1, r2 are reserved. query 0 follows the cylinder (every 10 ms); any other query
// returns 1 once cylinder k has reached the position its valves command. Done stays
// set until the valves command the other position or resetqigandone(k).
// Double valves with both outputs off (or both on) keep the last commanded position.
short single1done(int query, int sensA, int sensB, int valve, double t1, double t2, double t3, double t4,
                  int r1, int r2, int k);
short double1done(int query, int sensA, int sensB, int valveA, int valveB, double t1, double t2, double t3,
                  double t4, int r1, int r2, int k);
// Sets eerv[k] when the commanded position is still missing limitMs after the command;
// clears it when the position is there or a new command is younger than limitMs.
short single2err(int sensA, int sensB, int valve, int limitMs, int k);
short double2err(int sensA, int sensB, int valveA, int valveB, int limitMs, int k);
short resetqigandone(int k);

// Numbered microsecond timers shared program-wide (0..kTimerCount-1).
void usTstart(int n, double us);
// 1 once timer n's time has run out (and stays 1 until restarted). A timer that was
// never started, and any number outside the range, counts as run out.
int usTout(int n);
// Blocking wait through the program clock; returns early when *stopFlag becomes non-zero.
void delay(double us, volatile unsigned char* stopFlag);

// Position of a 1-based tray cell: cell 1 at (x0, y0); along a row X changes by
// colPitch per column, from row to row Y changes by rowPitch. pathMode 0 numbers
// every row in the same direction, 1 runs every second row backwards (serpentine).
// A cell outside 1..rows*cols is clamped to the nearest valid cell; rows or cols
// below 1 give (x0, y0).
void getlpxy(double x0, double y0, int cell, int rows, int cols, double rowPitch, double colPitch, double* x,
             double* y, int pathMode);

// Alarm list, keyed by code. current shows every active message (level 2 alarm in
// red, 3 status line in blue) and is rebuilt only when the set changes; every rise
// is appended to history and to the alarm history file (kzct::alarmHistoryFile()).
// Views may be nullptr; views are only touched on their own (GUI) thread.
void adderrshow(QTextBrowser* history, QTextBrowser* current, const QString& text, bool active, int code,
                int level);
void clearerrshow(QTextBrowser* current);
// Grows with every change of the list, by any caller.
quint64 alarmListVersion();
void readerrfile(QTextBrowser* history);

void invbool(volatile bool* flag);
void invbool(volatile unsigned char* flag);

// Parameter files of the current recipe. Loading applies every readable entry and
// logs the unreadable ones and the missing ones; it writes only the copy of a damaged
// file. Saving replaces a file as a whole.
void inifiletovar();
void inivartofile();
void iniRUNvartofile();

// Recipe management over the recipe folders; every name passes isValidRecipeName.
// The functions ask for names and confirmations and show their refusals themselves.
// peifangini adds every recipe name to list and shows the current one in current.
void peifangini(QListWidget* list, QLabel* current);
// A new recipe, named by the operator, starts as a copy of the current recipe's files.
void peifangnew(QListWidget* list);
// Copies the recipe selected in list under a new name.
void peifangcopy(QListWidget* list);
// Deletes the selected recipe after confirmation; never the current or the last one.
void peifangdelete(QListWidget* list);
// Renames a recipe folder; renaming the current recipe rewrites the name file.
void peifangrename(QString oldName, QString newName);
// Makes the selected recipe current (its run data kept, the name file written).
// True when the current recipe changed.
bool peifangselecte(QListWidget* list);

// Recipe storage: one folder per recipe below Paths::recipesDir(), holding
// Parameters.ini (sections [gd] and [gf]) and RunData.ini (section [gr]).
namespace kzct {
QString projectNameFile(); // Paths::configDir() + "/ProjectName.set"
// First line of the name file, trimmed; empty when missing or when it could name a
// folder outside the recipes.
QString currentRecipeName();
// Writes the name file (atomically). False when it cannot be written.
bool setCurrentRecipeName(const QString& name);
QString recipeDir(const QString& name);
QString parameterFile(const QString& name);
QString runDataFile(const QString& name);
// Names of the recipe folders, sorted.
QStringList recipeNames();
// Empty when name can be a recipe folder, else why not.
QString checkRecipeName(const QString& name);
// Explicit variants of the three calls above for one recipe; false on failure
// (the reason is logged).
bool loadRecipe(const QString& name);
bool saveParameters(const QString& name);
bool saveRunData(const QString& name);
// Writes both files of a recipe from the given values instead of the arrays (missing
// entries are 0); the arrays are not touched.
struct RecipeValues {
    std::vector<double> gd, gf, gr;
};
bool writeRecipe(const QString& name, const RecipeValues& values);
// Entries skipped by the last load as "file:line: text"; empty when all were read.
QStringList lastLoadProblems();
// A file of the last load that did not hold every entry: the missing ones kept
// whatever the arrays held. A copy of the file as it was is kept beside it.
struct LoadDamage {
    QString file;
    int missing = 0;    // entries not in the file
    int unreadable = 0; // lines skipped
    bool cut = false;   // no end line: cut short, or written before files had one
    QString copy;       // the kept copy (empty when it could not be written)
};
QList<LoadDamage> lastLoadDamage();
QString alarmHistoryFile();
// An alarm text as the views show it: in the operator's language, values kept.
QString alarmDisplayText(int code, const QString& text);
// Forgets cylinder and timer states and the alarm list (tests, start-up).
void resetLibraryState();
} // namespace kzct
