// "MesConfig.ini", the MES page's settings file.
#include "FuzzSupport.h"
#include "production/MesConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList refused;
    const MesConfig::Settings s = MesConfig::parse(fuzz::bytes(data, size), &refused);
    for (const QString* v : {&s.inUrl, &s.outUrl, &s.macId, &s.stationId})
        fuzz::require(v->size() <= int(size), "values come from the file");
    fuzz::require(refused.size() <= int(size) / 8, "a refused value is named once per line holding it");
    for (const QString& why : refused) fuzz::require(why.startsWith("/MES/"), "a refusal names its key");
    return 0;
}
