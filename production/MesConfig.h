#pragma once
// The MES settings: the two addresses, the machine id and the station group id,
// kept in "/Config/MesConfig.ini" below the program folder.
#include <QString>
#include <QStringList>

extern QString mesInUrl;     // "/MES/INurl"
extern QString mesOutUrl;    // "/MES/OTurl"
extern QString mesMacId;     // "/MES/macID"
extern QString mesStationId; // "/MES/StationID"

namespace MesConfig {
QString path();
// Reads the file into the globals; a missing file or key reads as empty.
void load();
void loadFrom(const QString& file);

struct Settings {
    QString inUrl, outUrl, macId, stationId;
};
// The settings a file's content gives, read as the settings library writes them.
// Values are text: one the library would turn into a stored object reads as empty
// and is named, with the reason, in *refused.
Settings parse(const QByteArray& content, QStringList* refused = nullptr);
// Writes the globals to the file through the atomic writer.
bool save(QString* error = nullptr);
// Writes the given settings to path when no file is there yet.
bool writeIfAbsent(const QString& path, const QString& inUrl, const QString& outUrl, const QString& macId,
                   const QString& stationId, QString* error = nullptr);
} // namespace MesConfig
