#pragma once
// Shared between the parts of the machine function library; not for the program.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace kzct {
void resetCylinders();
void resetTimers();
void resetAlarmList();
// Called by a cylinder follow-up or check after it read valves and sensors and before
// it decides; lets a test put a command exactly there.
void setCylinderReadHook(std::function<void(int k)> hook);

// What one parameter or run-data file's text gave when applied to the arrays.
struct LoadCheck {
    int entries = 0;  // distinct entries applied
    int expected = 0; // entries the sections hold
    int unreadable = 0;
    bool endMarker = false;
    QStringList skipped;
};
LoadCheck applyFileText(const QByteArray& text, const QString& fileName, bool runData);
// The recipe name a "ProjectName.set" line gives; empty (and why) when it is refused.
QString recipeNameFromText(const QByteArray& firstLine, QString* refused = nullptr);
} // namespace kzct
