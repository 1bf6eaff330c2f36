#include "StartupProbe.h"

#include "app/ClockTimer.h"
#include "platform/AtomicFile.h"

#include <QBuffer>
#include <QFile>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <unistd.h>

namespace StartupProbe {

double msSinceProcessStart() {
    QFile stat("/proc/self/stat");
    QFile uptime("/proc/uptime");
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly)) return -1;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which may itself hold spaces: field 22 is the start time.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20) return -1;
    const double startTicks = fields.at(19).toDouble();
    const double upSecs = uptime.readAll().split(' ').value(0).toDouble();
    return (upSecs - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

long residentKb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

namespace {
void saveShot(QWidget* window, const QString& path) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (window->grab().save(&buffer, "PNG")) AtomicFile::write(path, png);
}
} // namespace

void arm(QWidget* mainWindow) {
    const QString readyFile = qEnvironmentVariable("TAVRIN_READY_FILE");
    const QString screenshot = qEnvironmentVariable("TAVRIN_SCREENSHOT");
    if (readyFile.isEmpty() && screenshot.isEmpty()) return;
    QPointer<QWidget> window(mainWindow);
    // A later picture shows the machine after its first ticks (alarm table from 5 s on).
    const int shotDelayMs = qEnvironmentVariableIntValue("TAVRIN_SCREENSHOT_DELAY_MS");
    if (!screenshot.isEmpty() && shotDelayMs > 0)
        ClockTimer::singleShot(shotDelayMs, mainWindow, [window, screenshot] {
            if (window) saveShot(window, screenshot);
        });
    // Runs once the event loop has taken the show events.
    ClockTimer::singleShot(0, mainWindow, [window, readyFile, screenshot, shotDelayMs] {
        if (!window) return;
        if (!screenshot.isEmpty() && shotDelayMs <= 0) saveShot(window, screenshot);
        if (!readyFile.isEmpty())
            AtomicFile::write(
                readyFile,
                QString("shown_ms=%1\nrss_kb=%2\n").arg(msSinceProcessStart()).arg(residentKb()).toUtf8());
    });
}

} // namespace StartupProbe
