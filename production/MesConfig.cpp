#include "MesConfig.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

QString mesInUrl;
QString mesOutUrl;
QString mesMacId;
QString mesStationId;

namespace {
// QSettings does the INI quoting; the atomic writer puts the result in place.
bool writeIni(const QString& path, const QString& inUrl, const QString& outUrl, const QString& macId,
              const QString& stationId, QString* error) {
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        if (error) *error = QStringLiteral("cannot create a temporary folder");
        return false;
    }
    const QString draft = scratch.filePath("MesConfig.ini");
    {
        QSettings ini(draft, QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        ini.setValue("/MES/INurl", inUrl);
        ini.setValue("/MES/OTurl", outUrl);
        ini.setValue("/MES/macID", macId);
        ini.setValue("/MES/StationID", stationId);
        ini.sync();
        if (ini.status() != QSettings::NoError) {
            if (error) *error = QStringLiteral("cannot write %1").arg(draft);
            return false;
        }
    }
    QFile file(draft);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("cannot read %1").arg(draft);
        return false;
    }
    return AtomicFile::write(path, file.readAll(), error);
}
} // namespace

namespace MesConfig {

QString path() {
    return Paths::programDir() + "/Config/MesConfig.ini";
}

void load() {
    loadFrom(path());
}

void loadFrom(const QString& file) {
    QSettings ini(file, QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    mesInUrl = ini.value("/MES/INurl").toString();
    mesOutUrl = ini.value("/MES/OTurl").toString();
    mesMacId = ini.value("/MES/macID").toString();
    mesStationId = ini.value("/MES/StationID").toString();
}

bool save(QString* error) {
    return writeIni(path(), mesInUrl, mesOutUrl, mesMacId, mesStationId, error);
}

bool writeIfAbsent(const QString& path, const QString& inUrl, const QString& outUrl, const QString& macId,
                   const QString& stationId, QString* error) {
    if (QFile::exists(path)) return true;
    return writeIni(path, inUrl, outUrl, macId, stationId, error);
}

} // namespace MesConfig
