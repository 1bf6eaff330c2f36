#include "app/DataSetup.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString error = DataSetup::ensure();
    if (!error.isEmpty()) QMessageBox::warning(nullptr, "Tavrin", error);
    Platform::start();
    if (QWidget* panel = Platform::companionWindow()) panel->show();
    const int rc = app.exec();
    Platform::stop();
    return rc;
}
