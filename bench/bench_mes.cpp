// MES in-station round trip to the loopback emulator (the cycle waits on it for
// every product) and the height link's reply latency.
//   bench_mes [requests=1000] [heightReplies=1000]
#include "platform/kzct.h"
#include "production/MesConfig.h"
#include "production/MesData.h"
#include "production/MesMessages.h"
#include "production/kzhttp.h"
#include "sim/HeightSensor.h"
#include "sim/MesEmulator.h"
#include "vision/HeightValues.h"
#include "vision/TcpBase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
void summary(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s n=%zu  median %.3f ms  p99 %.3f ms  worst %.3f ms\n", what, ms.size(),
                ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back());
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int requests = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int replies = argc > 2 ? std::max(1, atoi(argv[2])) : 1000;

    sim::MesEmulator mes;
    if (!mes.start(0)) return 1;
    mesInUrl = mes.inUrl();
    mesMacId = "BENCH";
    mesStationId = "GW01";
    productCode = "P0001";
    kzhttp http;
    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < requests; ++i) {
        t.start();
        mesIn(http);
        ms.push_back(t.nsecsElapsed() / 1e6);
        if (mesInResult != 1) {
            std::fprintf(stderr, "request %d failed: %s\n", i, qPrintable(mesInError));
            return 1;
        }
    }
    summary("MES in-station round trip", ms);

    sim::HeightSensor sensor;
    if (!sensor.start(0)) return 1;
    sensor.setSource([] { return 1.2345; });
    gd[23] = 0;
    TcpBase link;
    link.connectTo("127.0.0.1", sensor.port());
    t.start();
    while (!link.isConnected() && t.elapsed() < 5000) app.processEvents(QEventLoop::WaitForMoreEvents, 10);
    ms.clear();
    for (int i = 0; i < replies; ++i) {
        const int64_t before = heightLastGoodUs();
        t.start();
        link.send("%01#RMD**\r");
        while (heightLastGoodUs() == before && t.elapsed() < 5000)
            app.processEvents(QEventLoop::WaitForMoreEvents);
        ms.push_back(t.nsecsElapsed() / 1e6);
        // The program clock has microseconds: let it move between two replies.
        while (t.nsecsElapsed() < 2000) {
        }
    }
    summary("height request to parsed reply", ms);
    return 0;
}
