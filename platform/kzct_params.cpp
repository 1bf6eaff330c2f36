// The parameter arrays and their files, one folder per recipe.
#include "kzct.h"

#include "AtomicFile.h"
#include "KZLOG.h"
#include "Paths.h"
#include "kzct_internal.h"
#include "kzct_records.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMutex>
#include <QRegularExpression>

#include <cmath>
#include <vector>

volatile double gd[kGdSize];
volatile double gf[kGfSize];
volatile double gr[kGrSize];
volatile bool eerv[kEervSize];

namespace {

const char* const kParameterFileName = "Parameters.ini";
const char* const kRunDataFileName = "RunData.ini";

struct Section {
    const char* name;
    volatile double* values;
    int size;
};

const Section kGdSection{"gd", gd, kGdSize};
const Section kGfSection{"gf", gf, kGfSize};
const Section kGrSection{"gr", gr, kGrSize};

QMutex problemsMutex;
QStringList problems;
QList<kzct::LoadDamage> damages;
kzct::RunDataRecords records; // under problemsMutex
const char* const kRecordsSection = "records";

// Shortest text that reads back to the same double, so 2.0 stays 2.0 and 0.1 stays 0.1.
QString numberText(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

struct Block {
    const char* name;
    std::vector<double> values;
};

Block snapshot(const Section& s) {
    Block b{s.name, std::vector<double>(size_t(s.size))};
    for (int i = 0; i < s.size; ++i) b.values[size_t(i)] = s.values[i];
    return b;
}

// The last line tells a whole file from one cut short: it counts the entries above it.
const char* const kEndMarker = "; end of file: %1 entries";

QByteArray render(const QString& title, const std::vector<Block>& blocks,
                  const kzct::RunDataRecords* notes = nullptr) {
    QByteArray out;
    out += "; " + title.toUtf8() + "\n";
    out += "; index=value, one entry per line\n";
    qulonglong entries = 0;
    for (const Block& b : blocks) {
        out += "\n[";
        out += b.name;
        out += "]\n";
        for (size_t i = 0; i < b.values.size(); ++i) {
            if (!std::isfinite(b.values[i]))
                KZLOG::CLog::Warn(QString("kzct: %1[%2] holds %3; written as such")
                                      .arg(b.name)
                                      .arg(i)
                                      .arg(numberText(b.values[i])));
            out += QByteArray::number(qulonglong(i)) + "=" + numberText(b.values[i]).toLatin1() + "\n";
            ++entries;
        }
    }
    if (notes && notes->known) {
        out += QByteArray("\n[") + kRecordsSection + "]\n";
        out += QByteArray("open=") + (notes->open ? "1" : "0") + "\n";
        ++entries;
        if (notes->assembledCell > 0) {
            out += "assembled=" + QByteArray::number(notes->assembledCell) + "\n";
            ++entries;
        }
        if (notes->trayFinished) {
            out += "finished=1\n";
            ++entries;
        }
        for (auto it = notes->rows.begin(); it != notes->rows.end(); ++it) {
            out += it.key().toUtf8() + "=" + QByteArray::number(it.value()) + "\n";
            ++entries;
        }
    }
    out += "\n" + QString(kEndMarker).arg(entries).toLatin1() + "\n";
    return out;
}

struct FileCheck {
    int entries = 0;  // distinct entries applied
    int expected = 0; // entries the sections hold
    int unreadable = 0;
    bool endMarker = false;
};

// Applies every readable entry of path to the sections; the others keep their values.
// Returns false when the file cannot be read at all.
void loadText(const QByteArray& text, const QString& fileName, const std::vector<Section>& sections,
              QStringList* skipped, FileCheck* check, kzct::RunDataRecords* notes = nullptr) {
    const QList<QByteArray> lines = text.split('\n');
    static const QRegularExpression endLine(
        QRegularExpression::anchoredPattern(QString(kEndMarker).arg("(\\d+)")));
    std::vector<std::vector<bool>> seen;
    for (const Section& s : sections) {
        seen.emplace_back(size_t(s.size), false);
        check->expected += s.size;
    }
    int declared = -1;
    const Section* current = nullptr;
    std::vector<bool>* currentSeen = nullptr;
    bool inUnknownSection = false;
    bool inRecords = false;
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = QString::fromUtf8(lines[n]).trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (line.startsWith(';')) {
            const QRegularExpressionMatch end = endLine.match(line);
            if (end.hasMatch()) declared = end.captured(1).toInt();
            continue;
        }
        auto skip = [&](const QString& why) {
            ++check->unreadable;
            skipped->append(QString("%1:%2: %3 (%4)").arg(fileName).arg(n + 1).arg(line.left(80), why));
        };
        if (line.startsWith('[')) {
            current = nullptr;
            inUnknownSection = true;
            inRecords = false;
            if (!line.endsWith(']')) {
                skip("broken section header");
                continue;
            }
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (notes && name == QLatin1String(kRecordsSection)) {
                inUnknownSection = false;
                inRecords = true;
                notes->known = true;
                continue;
            }
            for (size_t k = 0; k < sections.size(); ++k) {
                if (name == QLatin1String(sections[k].name)) {
                    current = &sections[k];
                    currentSeen = &seen[k];
                }
            }
            if (current)
                inUnknownSection = false;
            else
                skip("unknown section");
            continue;
        }
        if (inUnknownSection) continue; // already reported at its header
        if (inRecords) {
            const int eq = line.indexOf('=');
            bool okCount = false;
            const int count = eq > 0 ? line.mid(eq + 1).trimmed().toInt(&okCount) : -1;
            if (!okCount || count < 0) {
                skip("not a file name with a number of rows");
            } else if (line.left(eq).trimmed() == "open") {
                notes->open = count != 0;
            } else if (line.left(eq).trimmed() == "assembled") {
                notes->assembledCell = count;
            } else if (line.left(eq).trimmed() == "finished") {
                notes->trayFinished = count != 0;
            } else {
                notes->rows.insert(line.left(eq).trimmed(), count);
            }
            continue;
        }
        if (!current) {
            skip("entry outside a section");
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq < 0) {
            skip("no '='");
            continue;
        }
        bool okIndex = false, okValue = false;
        const int index = line.left(eq).trimmed().toInt(&okIndex);
        const double value = QLocale::c().toDouble(line.mid(eq + 1).trimmed(), &okValue);
        if (!okIndex) {
            skip("index is not a number");
        } else if (index < 0 || index >= current->size) {
            skip(QString("index outside 0..%1").arg(current->size - 1));
        } else if (!okValue) {
            skip("value is not a number");
        } else {
            if (!std::isfinite(value))
                KZLOG::CLog::Warn(QString("kzct: %1: %2[%3] holds %4")
                                      .arg(fileName, current->name)
                                      .arg(index)
                                      .arg(numberText(value)));
            current->values[index] = value;
            if (!(*currentSeen)[size_t(index)]) ++check->entries;
            (*currentSeen)[size_t(index)] = true;
        }
    }
    check->endMarker = declared >= 0;
}

bool load(const QString& path, const std::vector<Section>& sections, QStringList* skipped, FileCheck* check,
          kzct::RunDataRecords* notes = nullptr) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    loadText(file.readAll(), QFileInfo(path).fileName(), sections, skipped, check, notes);
    return true;
}

// Keeps the damaged file beside it under a name no save uses, once per content.
QString keepCopy(const QString& path) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return QString();
    const QByteArray content = in.readAll();
    for (int n = 0; n < 100; ++n) {
        const QString copy = path + ".damaged" + (n ? QString(".%1").arg(n) : QString());
        QFile existing(copy);
        if (existing.exists()) {
            if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) return copy;
            continue;
        }
        QString error;
        if (AtomicFile::write(copy, content, &error)) return copy;
        KZLOG::CLog::Error(QString("kzct: cannot keep a copy of the damaged %1: %2").arg(path, error));
        return QString();
    }
    return QString();
}

void checkWhole(const QString& path, const FileCheck& check, QList<kzct::LoadDamage>* damage) {
    const int missing = check.expected - check.entries;
    if (missing <= 0 && check.unreadable == 0) return;
    kzct::LoadDamage d;
    d.file = path;
    d.missing = qMax(0, missing);
    d.unreadable = check.unreadable;
    d.cut = !check.endMarker;
    d.copy = keepCopy(path);
    KZLOG::CLog::Warn(QString("kzct: %1 is incomplete: %2 of %3 entries missing, %4 lines unreadable%5; the "
                              "missing entries keep their values%6")
                          .arg(path)
                          .arg(d.missing)
                          .arg(check.expected)
                          .arg(d.unreadable)
                          .arg(d.cut ? ", no end line (cut short or an older file)" : "")
                          .arg(d.copy.isEmpty() ? QString() : ", copy kept as " + d.copy));
    damage->append(d);
}

bool save(const QString& path, const QString& title, const std::vector<Block>& blocks,
          const kzct::RunDataRecords* notes = nullptr) {
    QString error;
    if (AtomicFile::write(path, render(title, blocks, notes), &error)) return true;
    // The program's failure handler logs it; one line per failure.
    if (!AtomicFile::hasFailureHandler()) KZLOG::CLog::Error(QString("kzct: %1").arg(error));
    return false;
}

void setProblems(const QStringList& list, const QList<kzct::LoadDamage>& damage = {}) {
    QMutexLocker lock(&problemsMutex);
    problems = list;
    damages = damage;
}

QString currentOrComplain(const char* what) {
    const QString name = kzct::currentRecipeName();
    if (name.isEmpty())
        KZLOG::CLog::Error(QString("kzct: no current recipe in %1; %2").arg(kzct::projectNameFile(), what));
    return name;
}

} // namespace

void inifiletovar() {
    const QString name = currentOrComplain("parameters not loaded, values kept");
    if (name.isEmpty()) {
        setProblems({});
        return;
    }
    kzct::loadRecipe(name);
}

void inivartofile() {
    const QString name = currentOrComplain("parameters not saved");
    if (!name.isEmpty()) kzct::saveParameters(name);
}

void iniRUNvartofile() {
    const QString name = currentOrComplain("run data not saved");
    if (!name.isEmpty()) kzct::saveRunData(name);
}

namespace kzct {

QString projectNameFile() {
    return Paths::configDir() + "/ProjectName.set";
}

QString currentRecipeName() {
    QFile file(projectNameFile());
    if (!file.open(QIODevice::ReadOnly)) return QString();
    QString why;
    const QString name = recipeNameFromText(file.readLine(), &why);
    if (!why.isEmpty())
        KZLOG::CLog::Error(QString("kzct: recipe name in %1 refused: %2").arg(projectNameFile(), why));
    return name;
}

QString recipeNameFromText(const QByteArray& firstLine, QString* refused) {
    const QString name = QString::fromUtf8(firstLine).trimmed();
    // The name becomes a folder that files are written to: never one outside the recipes.
    const QString why = checkRecipeName(name);
    if (why.isEmpty()) return name;
    if (refused) *refused = QString("\"%1\": %2").arg(name.left(80), why);
    return QString();
}

LoadCheck applyFileText(const QByteArray& text, const QString& fileName, bool runData) {
    QStringList skipped;
    FileCheck check;
    kzct::RunDataRecords notes;
    if (runData)
        loadText(text, fileName, {kGrSection}, &skipped, &check, &notes);
    else
        loadText(text, fileName, {kGdSection, kGfSection}, &skipped, &check);
    return LoadCheck{check.entries, check.expected, check.unreadable, check.endMarker, skipped};
}

bool setCurrentRecipeName(const QString& name) {
    QString error;
    if (AtomicFile::write(projectNameFile(), name.toUtf8() + "\n", &error)) return true;
    KZLOG::CLog::Error(QString("kzct: %1").arg(error));
    return false;
}

QString recipeDir(const QString& name) {
    return Paths::recipesDir() + "/" + name;
}
QString parameterFile(const QString& name) {
    return recipeDir(name) + "/" + kParameterFileName;
}
QString runDataFile(const QString& name) {
    return recipeDir(name) + "/" + kRunDataFileName;
}

QStringList recipeNames() {
    return QDir(Paths::recipesDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QString checkRecipeName(const QString& name) {
    if (name.trimmed().isEmpty()) return "the name is empty";
    if (name != name.trimmed()) return "the name begins or ends with a blank";
    if (name == "." || name == "..") return "the name is not allowed";
    if (name.size() > 64) return "the name is longer than 64 characters";
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QString("/\\:*?\"<>|").contains(c))
            return QString("the name contains the character '%1'").arg(c);
    }
    return QString();
}

bool loadRecipe(const QString& name) {
    if (!QFileInfo(recipeDir(name)).isDir()) {
        KZLOG::CLog::Error(
            QString("kzct: recipe \"%1\" not found in %2; values kept").arg(name, Paths::recipesDir()));
        setProblems({});
        return false;
    }
    QStringList skipped;
    QList<LoadDamage> damage;
    bool ok = true;
    const QString params = parameterFile(name);
    FileCheck paramsCheck;
    if (!load(params, {kGdSection, kGfSection}, &skipped, &paramsCheck)) {
        KZLOG::CLog::Error(QString("kzct: cannot read %1; parameters kept").arg(params));
        ok = false;
    }
    const QString run = runDataFile(name);
    FileCheck runCheck;
    RunDataRecords notes;
    if (!load(run, {kGrSection}, &skipped, &runCheck, &notes)) {
        KZLOG::CLog::Warn(QString("kzct: cannot read %1; run data kept").arg(run));
        ok = false;
    }
    for (const QString& s : skipped) KZLOG::CLog::Warn(QString("kzct: unreadable entry skipped: %1").arg(s));
    if (QFileInfo::exists(params)) checkWhole(params, paramsCheck, &damage);
    if (QFileInfo::exists(run)) checkWhole(run, runCheck, &damage);
    if (ok && skipped.isEmpty() && damage.isEmpty())
        KZLOG::CLog::Info(QString("kzct: recipe \"%1\" loaded").arg(name));
    setProblems(skipped, damage);
    QMutexLocker lock(&problemsMutex);
    records = notes;
    return ok;
}

bool saveParameters(const QString& name) {
    return save(parameterFile(name), QString("Tavrin parameters of recipe %1").arg(name),
                {snapshot(kGdSection), snapshot(kGfSection)});
}

bool saveRunData(const QString& name) {
    return saveRunDataValues(name, snapshot(kGrSection).values);
}

bool saveRunDataValues(const QString& name, const std::vector<double>& values) {
    std::vector<double> v = values;
    v.resize(size_t(kGrSize), 0.0);
    const RunDataRecords notes = runDataRecords();
    return save(runDataFile(name), QString("Tavrin run data of recipe %1").arg(name), {Block{"gr", v}},
                &notes);
}

void setRunDataRecords(const RunDataRecords& r) {
    QMutexLocker lock(&problemsMutex);
    records = r;
    records.known = true;
}

RunDataRecords runDataRecords() {
    QMutexLocker lock(&problemsMutex);
    return records;
}

bool writeRecipe(const QString& name, const RecipeValues& values) {
    auto sized = [](std::vector<double> v, int size) {
        v.resize(size_t(size), 0.0);
        return v;
    };
    return save(parameterFile(name), QString("Tavrin parameters of recipe %1").arg(name),
                {Block{"gd", sized(values.gd, kGdSize)}, Block{"gf", sized(values.gf, kGfSize)}}) &&
           save(runDataFile(name), QString("Tavrin run data of recipe %1").arg(name),
                {Block{"gr", sized(values.gr, kGrSize)}});
}

QStringList lastLoadProblems() {
    QMutexLocker lock(&problemsMutex);
    return problems;
}

QList<LoadDamage> lastLoadDamage() {
    QMutexLocker lock(&problemsMutex);
    return damages;
}

void resetLibraryState() {
    resetCylinders();
    resetTimers();
    resetAlarmList();
    for (auto& e : eerv) e = false;
}

} // namespace kzct
