// "MesConfig.ini", the MES page's settings file.
#include "FuzzSupport.h"
#include "production/MesConfig.h"

#include <QGuiApplication>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The program reads this file with its application running, and the settings
// library may build image types from a value: without one they abort.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int n = 1;
    static char* args[] = {(*argc > 0 ? (*argv)[0] : const_cast<char*>("fuzz_mesconfig")), nullptr};
    // Kept to the end: the platform plugin frees its screens only with it.
    static QGuiApplication* app = new QGuiApplication(n, args);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The settings library reads the file itself, so the input goes through one
    // file in memory. Its cache keeps a file by name until the size or the time
    // changes: each input gets a time of its own, so one cache entry serves all.
    static const QByteArray path = (fuzz::scratchRoot() + "/Config/MesConfig.ini").toLocal8Bit();
    static time_t stamp = 1;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) return 0;
    const bool written = ::write(fd, data, size) == ssize_t(size);
    const timespec times[2] = {{stamp, 0}, {stamp, 0}};
    ++stamp;
    const bool stamped = ::futimens(fd, times) == 0;
    ::close(fd);
    if (!written || !stamped) return 0;
    MesConfig::loadFrom(QString::fromLocal8Bit(path));
    fuzz::require(mesInUrl.size() <= int(size) && mesOutUrl.size() <= int(size), "values come from the file");
    return 0;
}
