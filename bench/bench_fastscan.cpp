// The fast scan in the running program on the virtual machine: main window and
// panel up, every thread running in real time. Reports the distribution of the
// pass period and of the pass's own work time.
//   bench_fastscan [seconds]   (default 55 s: over 10 000 passes)
#include "app/DataSetup.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p / 100.0 * double(v.size() - 1) + 0.5));
    return v[i];
}

void report(const char* what, const std::vector<double>& v, const char* unit) {
    std::printf("%-10s median %7.3f  p99 %7.3f  p99.9 %7.3f  max %7.3f %s\n", what, percentile(v, 50),
                percentile(v, 99), percentile(v, 99.9), *std::max_element(v.begin(), v.end()), unit);
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    if (qEnvironmentVariableIsEmpty("TAVRIN_DATA")) qputenv("TAVRIN_DATA", data.path().toLocal8Bit());
    Q_INIT_RESOURCE(config);
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 55.0;
    if (!DataSetup::ensure().isEmpty()) return 1;
    Prompt::setHandler([](const Prompt::Shown&) { return false; });
    Platform::start();
    int rc = 0;
    {
        MainWindow1 window;
        window.taskFast().recordTimings(size_t(seconds * 1000.0 / 4.0) + 1000);
        window.show();
        if (QWidget* panel = Platform::companionWindow()) panel->show();
        QTimer::singleShot(int(seconds * 1000), &app, [&] {
            window.close();
            app.quit();
        });
        app.exec();
        const auto timings = window.taskFast().timings();
        if (timings.size() < 2) {
            std::printf("no passes recorded\n");
            rc = 1;
        } else {
            std::vector<double> periodMs, workUs;
            for (size_t i = 1; i < timings.size(); ++i)
                periodMs.push_back((timings[i].startUs - timings[i - 1].startUs) / 1000.0);
            for (const auto& t : timings) workUs.push_back(double(t.workUs));
            std::printf("fast scan: %zu passes in %.1f s\n", timings.size(), seconds);
            report("period", periodMs, "ms");
            report("work", workUs, "us");
        }
    }
    Platform::stop();
    return rc;
}
