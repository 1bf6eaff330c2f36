#pragma once
// Where the program keeps its files. One data root (TAVRIN_DATA) stands for
// both the program folder of the machine PC and its data drive, so that
// several copies can run side by side.
#include <QString>

namespace Paths {
// The data root: $TAVRIN_DATA, else $XDG_DATA_HOME/tavrin, else ~/.local/share/tavrin.
QString root();
// Folder the program's own files live below ("/Config/...", logs, recipes).
QString programDir();
// Stands for the machine PC's data drive "D:" ("D:/data/img/" is dataDrive() + "/data/img/").
QString dataDrive();
QString configDir();  // programDir() + "/Config"
QString recipesDir(); // one folder per recipe
QString logDir();
QString imageDir(); // dataDrive() + "/data/img"
QString tableDir(); // dataDrive() + "/data/TableData"
// Creates the folders above when missing; returns false when the root is not writable.
bool ensureFolders();
} // namespace Paths
