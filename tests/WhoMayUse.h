#pragma once
// Who may use what on a parameter page, the same rule on every page: fields,
// switches and teach buttons in manual mode to a logged-in user; GO, photo, test
// and start buttons in manual mode at any level.
#include "app/MachineData.h"

#include <QStringList>
#include <QWidget>
#include <QtTest>
#include <functional>

struct Access {
    double manual;
    int level;
    bool edit;
    bool command;
};

// Mode and level each changed alone from a user who may do everything.
const Access kAccessCases[] = {{1.0, 1, true, true},   {1.0, 3, true, true},   {1.0, 0, false, true},
                               {0.0, 1, false, false}, {0.0, 3, false, false}, {0.0, 0, false, false}};

inline QString describe(const Access& a) {
    return QString("%1 mode, level %2").arg(a.manual == 1.0 ? "manual" : "automatic").arg(a.level);
}

// For every case: sets mode and level, lets the page refresh itself and checks the
// named widgets as the operator finds them. alsoCheck covers what else a page ties
// to the case.
inline void checkWhoMayUse(QWidget* page, const std::function<void()>& refreshed, const QStringList& editing,
                           const QStringList& commands,
                           const std::function<void(const Access&)>& alsoCheck = {}) {
    for (const Access& a : kAccessCases) {
        manualMode = a.manual;
        userLevel = a.level;
        refreshed();
        const auto expect = [&](const QStringList& names, bool enabled) {
            for (const QString& name : names) {
                QWidget* w = page->findChild<QWidget*>(name);
                QVERIFY2(w, qPrintable("no widget " + name));
                QVERIFY2(
                    w->isEnabled() == enabled,
                    qPrintable(QString("%1 %2 in %3").arg(name, enabled ? "locked" : "usable", describe(a))));
            }
        };
        expect(editing, a.edit);
        if (QTest::currentTestFailed()) return;
        expect(commands, a.command);
        if (QTest::currentTestFailed()) return;
        if (alsoCheck) alsoCheck(a);
        if (QTest::currentTestFailed()) return;
    }
}

inline QStringList numbered(const char* prefix, int first, int last) {
    QStringList names;
    for (int i = first; i <= last; ++i) names << QString("%1%2").arg(prefix).arg(i);
    return names;
}
