// Prepares the data root for the program: folders, card file, demo recipe.
#include "app/DataSetup.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // The card configuration ships as a resource of a static library.
    Q_INIT_RESOURCE(config);
    QCoreApplication app(argc, argv);
    const QString error = DataSetup::ensure();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "tavrin-setup: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("Tavrin data root: %s\n", qPrintable(Paths::root()));
    return 0;
}
