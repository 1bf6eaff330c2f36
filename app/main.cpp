// Program entry: one copy per machine, the operator style, the main window.
#include "app/DataSetup.h"
#include "app/Language.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "app/ScreenTour.h"
#include "app/SignalClose.h"
#include "app/SingleInstance.h"
#include "app/StartupProbe.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QDesktopWidget>

namespace {
const char* const kStyleSheet =
    "QPushButton:hover{background-color:rgb(85, 170, 255); color: white;}"
    "QPushButton:pressed{background-color:rgb(191, 255, 191);color: black;border-style: inset;}"
    "QPushButton:checked{background-color:rgb(127,255,0);color: black;border-style: inset;}";

// The machine's panel goes to the right of the main window when the desktop has room.
void placeBeside(QWidget* panel, const QWidget* window) {
    const QRect desktop = QApplication::desktop()->availableGeometry(window);
    const QRect frame = window->frameGeometry();
    if (frame.right() + 1 + panel->width() <= desktop.right() + 1)
        panel->move(frame.right() + 1, frame.top());
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(TAVRIN_VERSION);
    Language::install(app);
    SingleInstance instance;
    if (!instance.acquire()) return -1;
    app.setStyleSheet(kStyleSheet);

    // The card configuration ships as a resource of a static library.
    Q_INIT_RESOURCE(config);
    const QString setupError = DataSetup::ensure();
    if (!setupError.isEmpty()) Prompt::warning(nullptr, "Tavrin", setupError);
    Platform::start();

    auto* window = new MainWindow1;
    window->show();
    if (QWidget* panel = Platform::companionWindow()) {
        // Closing the main window ends the program even while the panel is open.
        panel->setAttribute(Qt::WA_QuitOnClose, false);
        placeBeside(panel, window);
        panel->show();
    }
    StartupProbe::arm(window);
    ScreenTour::start(window, Platform::companionWindow());
    // Told to end by the system: save the run data and stop as a close does, without asking.
    SignalClose onSignal([window] {
        window->closeWithoutQuestion();
        QApplication::quit();
    });

    const int result = app.exec();
    window->close();
    // The machine is down: no clock callback may reach it any more.
    SystemClock::stopTimers();
    delete window;
    instance.release();
    Platform::stop();
    return result;
}
