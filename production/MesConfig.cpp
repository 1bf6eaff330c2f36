#include "MesConfig.h"

#include "platform/AtomicFile.h"
#include "platform/KZLOG.h"
#include "platform/Paths.h"

#include <QFile>
#include <QPair>
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
// Nothing sane is this large; a bigger file is damaged.
constexpr qint64 kMaxFileSize = 64 * 1024;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One value as the settings library escapes it: quotes, backslash escapes, and an
// unquoted comma making a list, which reads as no text.
QString unescapeValue(const QByteArray& raw, bool* isList) {
    QString out;
    QByteArray run; // plain bytes, decoded together as UTF-8
    auto flush = [&] {
        out += QString::fromUtf8(run);
        run.clear();
    };
    int chop = 0; // trailing blanks are dropped unless quoted
    bool inQuotes = false, quoted = false;
    *isList = false;
    const int n = raw.size();
    int i = 0;
    while (i < n && (raw[i] == ' ' || raw[i] == '\t')) ++i;
    while (i < n) {
        const char c = raw[i++];
        if (c == '"') {
            flush();
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                while (i < n && (raw[i] == ' ' || raw[i] == '\t')) ++i;
            continue;
        }
        if (c == ',' && !inQuotes) {
            *isList = true;
            run.append(c);
            continue;
        }
        if (c != '\\') {
            run.append(c);
            continue;
        }
        if (i >= n) break;
        flush();
        const char e = raw[i++];
        static const char kCodes[] = "a\ab\bf\fn\nr\rt\tv\v\"\"?\?''\\\\";
        const char* code = nullptr;
        for (const char* k = kCodes; *k; k += 2)
            if (*k == e) code = k;
        if (code) {
            out += QChar(code[1]);
        } else if (e == 'x' || e == 'X') {
            uint v = 0;
            while (i < n && hexDigit(raw[i]) >= 0) v = (v << 4) | uint(hexDigit(raw[i++]));
            out += QChar(ushort(v));
        } else if (e >= '0' && e <= '7') {
            uint v = uint(e - '0');
            while (i < n && raw[i] >= '0' && raw[i] <= '7') v = (v << 3) | uint(raw[i++] - '0');
            out += QChar(ushort(v));
        } else if (e == '\n' || e == '\r') {
            if (i < n && (raw[i] == '\n' || raw[i] == '\r') && raw[i] != e) ++i;
        }
        chop = out.size();
    }
    flush();
    if (!quoted) {
        int end = out.size();
        while (end > chop && (out[end - 1] == ' ' || out[end - 1] == '\t')) --end;
        out.truncate(end);
    }
    return out;
}

// What the settings library makes of a text beginning with '@': text for the escaped
// forms, anything else is a stored object (reading one builds whatever the file
// describes, and a damaged one stops the program), refused.
bool textOf(const QString& value, QString* text) {
    if (!value.startsWith('@')) {
        *text = value;
        return true;
    }
    if (value.startsWith("@@")) {
        *text = value.mid(1);
        return true;
    }
    if (!value.endsWith(')')) {
        *text = value;
        return true;
    }
    for (const char* form : {"@String(", "@ByteArray("}) {
        const int len = int(qstrlen(form));
        if (value.startsWith(QLatin1String(form))) {
            *text = value.mid(len, value.size() - len - 1);
            return true;
        }
    }
    text->clear();
    return false;
}

// The logical lines of the file: a line goes on past a backslash at its end and
// inside quotes; ';' starts a comment.
QList<QByteArray> iniLines(const QByteArray& content) {
    QList<QByteArray> lines;
    QByteArray line;
    bool inQuotes = false, comment = false;
    for (int i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\n' || c == '\r') {
            if (inQuotes && !comment) {
                line.append(c);
                continue;
            }
            lines.append(line);
            line.clear();
            comment = false;
            continue;
        }
        if (comment) continue;
        if (c == '\\' && i + 1 < content.size()) {
            line.append(c);
            line.append(content[++i]);
            if ((content[i] == '\n' || content[i] == '\r') && i + 1 < content.size() &&
                (content[i + 1] == '\n' || content[i + 1] == '\r') && content[i + 1] != content[i])
                line.append(content[++i]);
            continue;
        }
        if (c == '"') inQuotes = !inQuotes;
        if (c == ';' && !inQuotes) {
            comment = true;
            continue;
        }
        line.append(c);
    }
    lines.append(line);
    return lines;
}

} // namespace

namespace MesConfig {

Settings parse(const QByteArray& content, QStringList* refused) {
    Settings s;
    const QPair<const char*, QString*> keys[] = {
        {"INurl", &s.inUrl}, {"OTurl", &s.outUrl}, {"macID", &s.macId}, {"StationID", &s.stationId}};
    QByteArray text = content;
    if (text.startsWith("\xef\xbb\xbf")) text.remove(0, 3);
    bool inMes = false;
    for (const QByteArray& line : iniLines(text)) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            const int close = trimmed.indexOf(']');
            inMes = close > 0 && trimmed.mid(1, close - 1).trimmed() == "MES";
            continue;
        }
        const int eq = line.indexOf('=');
        if (!inMes || eq < 0) continue;
        const QByteArray key = line.left(eq).trimmed();
        for (const auto& k : keys) {
            if (key != k.first) continue;
            bool isList = false;
            const QString value = unescapeValue(line.mid(eq + 1), &isList);
            if (isList) {
                k.second->clear(); // a list of texts is not one text
            } else if (!textOf(value, k.second) && refused) {
                QString shown = value.left(40);
                for (QChar& c : shown)
                    if (c.unicode() < 0x20) c = '?'; // the log shows one line
                refused->append(QString("/MES/%1: \"%2\" is a stored object, not text")
                                    .arg(QLatin1String(k.first), shown));
            }
        }
    }
    return s;
}

QString path() {
    return Paths::programDir() + "/Config/MesConfig.ini";
}

void load() {
    loadFrom(path());
}

void loadFrom(const QString& file) {
    QByteArray content;
    QFile f(file);
    if (f.open(QIODevice::ReadOnly)) {
        if (f.size() > kMaxFileSize)
            KZLOG::CLog::Warn(QString("%1 is larger than %2 bytes, damaged; MES settings read as empty")
                                  .arg(file)
                                  .arg(kMaxFileSize));
        else
            content = f.readAll();
    }
    QStringList refused;
    const Settings s = parse(content, &refused);
    for (const QString& why : refused) KZLOG::CLog::Warn(QString("%1: %2; read as empty").arg(file, why));
    mesInUrl = s.inUrl;
    mesOutUrl = s.outUrl;
    mesMacId = s.macId;
    mesStationId = s.stationId;
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
