// Start-up of the real program on the virtual machine (offscreen): time from process
// start to the main window shown, and resident memory once it is up.
// Usage: bench_startup [runs]   (default 5; the first run also prepares a fresh data root)
#include "app/SingleInstance.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
struct Sample {
    double outsideMs = -1; // QProcess::start to the ready file
    double insideMs = -1;  // the program's own figure since its process started
    long rssKb = -1;
};

bool runOnce(const QString& program, const QString& root, Sample* out) {
    const QString ready = root + "/ready";
    QFile::remove(ready);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TAVRIN_DATA", root);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TAVRIN_READY_FILE", ready);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(program, QStringList());
    while (!QFile::exists(ready) && t.elapsed() < 30000 && p.state() != QProcess::NotRunning)
        clk::sleepUs(500);
    out->outsideMs = t.nsecsElapsed() / 1e6;
    const bool ok = QFile::exists(ready);
    if (ok) {
        QSettings s(ready, QSettings::IniFormat);
        out->insideMs = s.value("shown_ms").toDouble();
        out->rssKb = s.value("rss_kb").toLongLong();
    }
    p.kill();
    p.waitForFinished(10000);
    // The kill leaves the single-instance mark behind; take it away.
    SingleInstance cleanup(SingleInstance::keyFor(root));
    cleanup.acquire();
    cleanup.release();
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QString program = QCoreApplication::applicationDirPath() + "/../tavrin";
    if (!QFile::exists(program)) {
        std::fprintf(stderr, "bench_startup: %s not found\n", qPrintable(program));
        return 1;
    }
    QTemporaryDir root;
    std::vector<Sample> samples;
    for (int i = 0; i < runs; ++i) {
        Sample s;
        if (!runOnce(program, root.path(), &s)) {
            std::fprintf(stderr, "bench_startup: run %d did not show its window\n", i + 1);
            return 1;
        }
        std::printf("run %d%s: shown after %.0f ms (from launch %.0f ms), resident %.1f MB\n", i + 1,
                    i == 0 ? " (fresh data root)" : "", s.insideMs, s.outsideMs, s.rssKb / 1024.0);
        samples.push_back(s);
    }
    auto median = [&](auto field) {
        std::vector<double> v;
        for (const Sample& s : samples) v.push_back(field(s));
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double shown = median([](const Sample& s) { return s.outsideMs; });
    const double rss = median([](const Sample& s) { return s.rssKb / 1024.0; });
    std::printf(
        "median: window shown %.0f ms after launch (target < 1500), resident %.1f MB (target < 150)\n", shown,
        rss);
    return shown < 1500 && rss < 150 ? 0 : 2;
}
