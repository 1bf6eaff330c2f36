#include "ScreenTour.h"

#include "app/ClockTimer.h"
#include "app/MachineData.h"
#include "platform/AtomicFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QPointer>
#include <QTabWidget>
#include <functional>
#include <vector>

namespace {

struct Step {
    int afterMs;
    std::function<void()> act;
};

class Tour {
public:
    Tour(QWidget* window, QWidget* panel, const QString& dir)
        : m_window(window), m_panel(panel), m_dir(dir) {}

    void shoot(QWidget* w, const QString& name) {
        if (!w) return;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (w->grab().save(&buffer, "PNG")) AtomicFile::write(m_dir + "/" + name + ".png", png);
    }
    void shootWindow(const QString& name) { shoot(m_window, name); }
    void shootPanel(const QString& name) { shoot(m_panel, name); }

    // Answers whatever modal box stands (the start-up MES question, say) with its default.
    static void closeModals() {
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* d = qobject_cast<QDialog*>(modal))
                d->reject();
            else
                modal->close();
            QApplication::processEvents();
        }
    }

    void click(const char* name) {
        if (auto* b = m_window->findChild<QAbstractButton*>(name)) b->click();
    }

    void showPage(int index) {
        if (auto* tabs = m_window->findChild<QTabWidget*>("tabWidget_2")) tabs->setCurrentIndex(index);
    }
    QString pageName(int index) const {
        auto* tabs = m_window->findChild<QTabWidget*>("tabWidget_2");
        QWidget* page = tabs ? tabs->widget(index) : nullptr;
        return page ? page->metaObject()->className() : QString::number(index);
    }
    int pageCount() const {
        auto* tabs = m_window->findChild<QTabWidget*>("tabWidget_2");
        return tabs ? tabs->count() : 0;
    }

    void run(std::vector<Step> steps, size_t at = 0) {
        if (at >= steps.size()) return;
        const int wait = steps[at].afterMs;
        ClockTimer::singleShot(wait, m_window, [this, steps = std::move(steps), at]() mutable {
            closeModals();
            steps[at].act();
            run(std::move(steps), at + 1);
        });
    }

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_panel;
    QString m_dir;
};

} // namespace

namespace ScreenTour {

void start(QWidget* mainWindow, QWidget* panel) {
    const QString dir = qEnvironmentVariable("TAVRIN_TOUR_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    auto* tour = new Tour(mainWindow, panel, dir);
    std::vector<Step> steps;
    steps.push_back({2500, [tour] {
                         tour->shootWindow("run-not-homed");
                         tour->shootPanel("vm-panel");
                     }});
    steps.push_back({500, [tour] { tour->click("pushButton_4"); }}); // reset
    steps.push_back({9000, [tour] { tour->shootWindow("run-homed"); }});
    steps.push_back({500, [tour] {
                         if (manualMode == 1.0) tour->click("pushButton_5"); // to automatic
                     }});
    steps.push_back({500, [tour] { tour->click("pushButton_3"); }}); // start
    steps.push_back({1500, [] {}}); // answers the start's MES question with No
    steps.push_back({30000, [tour] {
                         tour->shootWindow("run-running");
                         tour->shootPanel("vm-panel-running");
                     }});
    steps.push_back({500, [tour] { tour->click("pushButton_31"); }}); // pause
    steps.push_back({500, [tour] {
                         if (manualMode == 0.0) tour->click("pushButton_5"); // back to manual
                     }});
    for (int i = 1; i < tour->pageCount(); ++i) {
        steps.push_back({300, [tour, i] { tour->showPage(i); }});
        steps.push_back({700, [tour, i] { tour->shootWindow("page-" + tour->pageName(i).toLower()); }});
    }
    steps.push_back({300, [tour] { tour->showPage(0); }});
    steps.push_back({500, [] { QApplication::quit(); }});
    tour->run(std::move(steps));
}

} // namespace ScreenTour
