// The parameter arrays and their files, one folder per recipe.
#include "kzct.h"

#include "AtomicFile.h"
#include "KZLOG.h"
#include "Paths.h"
#include "kzct_internal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMutex>

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

QByteArray render(const QString& title, const std::vector<Block>& blocks) {
    QByteArray out;
    out += "; " + title.toUtf8() + "\n";
    out += "; index=value, one entry per line\n";
    for (const Block& b : blocks) {
        out += "\n[";
        out += b.name;
        out += "]\n";
        for (size_t i = 0; i < b.values.size(); ++i)
            out += QByteArray::number(qulonglong(i)) + "=" + numberText(b.values[i]).toLatin1() + "\n";
    }
    return out;
}

// Applies every readable entry of path to the sections; the others keep their values.
// Returns false when the file cannot be read at all.
bool load(const QString& path, const std::vector<Section>& sections, QStringList* skipped) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QString fileName = QFileInfo(path).fileName();
    const QList<QByteArray> lines = file.readAll().split('\n');
    const Section* current = nullptr;
    bool inUnknownSection = false;
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = QString::fromUtf8(lines[n]).trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        auto skip = [&](const QString& why) {
            skipped->append(QString("%1:%2: %3 (%4)").arg(fileName).arg(n + 1).arg(line.left(80), why));
        };
        if (line.startsWith('[')) {
            current = nullptr;
            inUnknownSection = true;
            if (!line.endsWith(']')) {
                skip("broken section header");
                continue;
            }
            const QString name = line.mid(1, line.size() - 2).trimmed();
            for (const Section& s : sections) {
                if (name == QLatin1String(s.name)) current = &s;
            }
            if (current)
                inUnknownSection = false;
            else
                skip("unknown section");
            continue;
        }
        if (inUnknownSection) continue; // already reported at its header
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
        } else if (!okValue || !std::isfinite(value)) {
            skip("value is not a number");
        } else {
            current->values[index] = value;
        }
    }
    return true;
}

bool save(const QString& path, const QString& title, const std::vector<Block>& blocks) {
    QString error;
    if (AtomicFile::write(path, render(title, blocks), &error)) return true;
    KZLOG::CLog::Error(QString("kzct: %1").arg(error));
    return false;
}

void setProblems(const QStringList& list) {
    QMutexLocker lock(&problemsMutex);
    problems = list;
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
    return QString::fromUtf8(file.readLine()).trimmed();
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
    bool ok = true;
    const QString params = parameterFile(name);
    if (!load(params, {kGdSection, kGfSection}, &skipped)) {
        KZLOG::CLog::Error(QString("kzct: cannot read %1; parameters kept").arg(params));
        ok = false;
    }
    const QString run = runDataFile(name);
    if (!load(run, {kGrSection}, &skipped)) {
        KZLOG::CLog::Warn(QString("kzct: cannot read %1; run data kept").arg(run));
        ok = false;
    }
    for (const QString& s : skipped) KZLOG::CLog::Warn(QString("kzct: unreadable entry skipped: %1").arg(s));
    if (ok && skipped.isEmpty()) KZLOG::CLog::Info(QString("kzct: recipe \"%1\" loaded").arg(name));
    setProblems(skipped);
    return ok;
}

bool saveParameters(const QString& name) {
    return save(parameterFile(name), QString("Tavrin parameters of recipe %1").arg(name),
                {snapshot(kGdSection), snapshot(kGfSection)});
}

bool saveRunData(const QString& name) {
    return save(runDataFile(name), QString("Tavrin run data of recipe %1").arg(name), {snapshot(kGrSection)});
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

void resetLibraryState() {
    resetCylinders();
    resetTimers();
    resetAlarmList();
    for (auto& e : eerv) e = false;
}

} // namespace kzct
