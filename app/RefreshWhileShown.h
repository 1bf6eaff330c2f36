#pragma once
// A page's refresh timer that runs only while the page is on screen: hidden pages
// (the other tabs, a closed dialog, a machine without a screen) cost nothing, and a
// page shows fresh values the moment it appears.
#include <functional>

class ClockTimer;
class QWidget;

void refreshWhileShown(QWidget* page, ClockTimer* timer, int intervalMs, std::function<void()> refresh);
