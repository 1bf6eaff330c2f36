#include "gcallfun.h"

#include <QCoreApplication>

gcallfun* gcallfun::GetInstance() {
    static gcallfun* instance = new gcallfun; // lives to the end of the process
    return instance;
}

gcallfun::gcallfun() {
    // First use may come from a worker thread; the hub belongs with the GUI.
    if (QCoreApplication* app = QCoreApplication::instance()) moveToThread(app->thread());
}
