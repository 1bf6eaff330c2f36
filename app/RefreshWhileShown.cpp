#include "RefreshWhileShown.h"

#include "app/ClockTimer.h"

#include <QEvent>
#include <QWidget>

namespace {
class ShownFilter : public QObject {
public:
    ShownFilter(QWidget* page, ClockTimer* timer, int intervalMs, std::function<void()> refresh)
        : QObject(page), m_timer(timer), m_intervalMs(intervalMs), m_refresh(std::move(refresh)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            m_refresh();
            m_timer->start(m_intervalMs);
        } else if (event->type() == QEvent::Hide) {
            m_timer->stop();
        }
        return false;
    }

private:
    ClockTimer* m_timer;
    int m_intervalMs;
    std::function<void()> m_refresh;
};
} // namespace

void refreshWhileShown(QWidget* page, ClockTimer* timer, int intervalMs, std::function<void()> refresh) {
    page->installEventFilter(new ShownFilter(page, timer, intervalMs, std::move(refresh)));
    if (page->isVisible()) {
        refresh();
        timer->start(intervalMs);
    }
}
