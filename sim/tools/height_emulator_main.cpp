// The height sensor emulator on its own: tavrin-height-emulator [--port N] [--height MM] [--mode NAME]
#include "sim/HeightSensor.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Laser height sensor emulator on loopback (\"%01#RMD**\\r\")");
    parser.addHelpOption();
    parser.addOption({"port", "port to listen on (0: any free port)", "port", "4196"});
    parser.addOption({"height", "height under the head in mm", "mm", "0"});
    parser.addOption({"mode", "normal, garbled, split, doubled, silent, garbage, nolineend, closemidreply",
                      "mode", "normal"});
    parser.process(app);
    const QStringList modes = {"normal", "garbled", "split",     "doubled",
                               "silent", "garbage", "nolineend", "closemidreply"};
    const int mode = modes.indexOf(parser.value("mode").toLower());
    bool portOk = false, heightOk = false;
    const uint port = parser.value("port").toUInt(&portOk);
    const double mm = parser.value("height").toDouble(&heightOk);
    if (mode < 0 || !portOk || port > 65535 || !heightOk) {
        std::fprintf(stderr, "tavrin-height-emulator: bad --mode, --port or --height\n");
        return 2;
    }
    sim::HeightSensor sensor;
    sensor.setMode(sim::HeightSensor::Mode(mode));
    sensor.setSource([mm] { return mm; });
    if (!sensor.start(quint16(port))) {
        std::fprintf(stderr, "tavrin-height-emulator: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    std::printf("Height sensor emulator on 127.0.0.1:%u\n", unsigned(sensor.port()));
    std::fflush(stdout);
    return app.exec();
}
