// The MES emulator on its own: tavrin-mes-emulator [--port N] [--mode NAME]
#include "sim/MesEmulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("MES emulator on loopback: POST /mes/in and /mes/out");
    parser.addHelpOption();
    parser.addOption({"port", "port to listen on (0: any free port)", "port", "48080"});
    parser.addOption(
        {"mode",
         "answer, refuse, notjson, httperror, closehalfway, silent, huge, badutf8, jsonarray, emptyobject",
         "mode", "answer"});
    parser.process(app);
    const QStringList modes = {"answer", "refuse", "notjson", "httperror", "closehalfway",
                               "silent", "huge",   "badutf8", "jsonarray", "emptyobject"};
    const int mode = modes.indexOf(parser.value("mode").toLower());
    bool ok = false;
    const uint port = parser.value("port").toUInt(&ok);
    if (mode < 0 || !ok || port > 65535) {
        std::fprintf(stderr, "tavrin-mes-emulator: bad --mode or --port\n");
        return 2;
    }
    sim::MesEmulator mes;
    mes.setMode(sim::MesEmulator::Mode(mode));
    if (!mes.start(quint16(port))) {
        std::fprintf(stderr, "tavrin-mes-emulator: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    std::printf("MES emulator: in %s  out %s\n", qPrintable(mes.inUrl()), qPrintable(mes.outUrl()));
    std::fflush(stdout);
    return app.exec();
}
