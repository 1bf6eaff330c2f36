// tavrin-runner: headless production on the virtual machine (see the README).
#include "platform/AtomicFile.h"
#include "runner/FaultCampaign.h"
#include "runner/PlantJournal.h"
#include "runner/ProductionRunner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

namespace {
int usage(const QString& why) {
    std::fprintf(
        stderr,
        "%s\nusage: tavrin-runner --trays N | --products N | --hours H [--seed S] [--faults FILE] "
        "[--json] [--mes] [--images] [--random-faults [RATE]] [--plant FILE]\n"
        "       tavrin-runner --fault-matrix FILE.md [--only FAULT,...] [--phases PHASE,...] [--seed S]\n"
        "       tavrin-runner --matrix-merge FILE.md PART.md.cells...\n",
        qPrintable(why));
    return 2;
}
// The plant's own faults of the fault runs: one barrel per tray the barrel photo finds
// NG, so that every tray has NG handling.
const QJsonObject kCampaignFaults{{"badBarrels", QJsonArray{3}}};
// Faults per machine hour of a shift when none is given: a few stops an hour, as a
// line that runs well still sees them.
constexpr double kDefaultFaultRate = 4.0;

int runShift(double hours, double rate, uint seed, bool mes, bool json) {
    ProductionRunner runner(seed);
    QString error;
    if (!runner.applyFaults(kCampaignFaults, &error) || !runner.powerUp(&error) ||
        (mes && !runner.useMes(&error)) || !runner.resetAndHome(&error) || !runner.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QElapsedTimer wall;
    wall.start();
    FaultCampaign campaign(runner);
    QJsonObject report = campaign.runShift(hours, rate, seed);
    report["wallSeconds"] = wall.elapsed() / 1000.0;
    if (json)
        std::printf("%s\n", QJsonDocument(report).toJson(QJsonDocument::Compact).constData());
    else
        std::printf("%swall time %.1f s\n", qPrintable(FaultCampaign::shiftText(report)),
                    wall.elapsed() / 1000.0);
    return report["violations"].toArray().isEmpty() ? 0 : 3;
}

QString matrixHeader(uint seed, double machineS, const QString& wall, const QString& parts) {
    return QString(
               "# Fault matrix\n\nWritten by `tavrin-runner --fault-matrix` (seed %1): every fault of the "
               "virtual "
               "machine struck at every phase of the cycle, one cell after the other on a machine in "
               "machine "
               "time, with MES on and barrel 3 of every tray NG (so that every tray has NG handling). Each "
               "cell "
               "waits for its phase, injects the fault, holds it until the cycle stops (at most 20 s), "
               "checks for "
               "2 s after a 0.5 s run-down that no axis starts a move (a move under way may end), repairs "
               "the "
               "cause, presses \"报警清除\" (reset and homing when the axes lost their home) and start, "
               "clears any "
               "further stop the same way (a cycle that waits 60 s without moving on is stopped, reset and "
               "started), and checks the next finished tray against the plant's record of every cell: labels "
               "placed once, none lost, no product left without a label, the counters gr[21] and gr[22], the "
               "CSV "
               "rows and the MES in- and out-station requests agreeing with the products.\n\n%4Machine time "
               "%2 "
               "s, wall time %3.\n")
        .arg(seed)
        .arg(machineS, 0, 'f', 0)
        .arg(wall)
        .arg(parts);
}

// Builds the document from the cell files of several runs (the matrix split over processes).
int mergeMatrix(const QString& file, const QStringList& parts) {
    QList<CellOutcome> cells;
    double longest = 0, summed = 0;
    for (const QString& part : parts) {
        QFile f(part);
        if (!f.open(QIODevice::ReadOnly)) return usage(QString("cannot read %1").arg(part));
        for (const QByteArray& line : f.readAll().split('\n')) {
            if (line.trimmed().isEmpty()) continue;
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            if (o.contains("wallSeconds")) {
                longest = std::max(longest, o["wallSeconds"].toDouble());
                summed += o["wallSeconds"].toDouble();
                continue;
            }
            cells << FaultCampaign::cellFromJson(o);
        }
    }
    double machine = 0;
    for (const CellOutcome& c : cells) machine += c.seconds;
    const QString header = matrixHeader(
        1, machine,
        QString("%1 s in the longest process, %2 s summed over all")
            .arg(longest, 0, 'f', 0)
            .arg(summed, 0, 'f', 0),
        QString("The cells ran in %1 processes, each on a fresh machine (`scripts/fault-matrix.sh` runs one "
                "process per fault), so that a machine one fault leaves broken holds up only that fault's "
                "later phases.\n\n")
            .arg(parts.size()));
    QString why;
    if (!AtomicFile::write(file, FaultCampaign::matrixMarkdown(cells, faultCatalog(), header).toUtf8(), &why))
        return usage(QString("cannot write %1: %2").arg(file, why));
    return 0;
}

int runMatrix(const QString& file, const QStringList& only, const QStringList& phaseNames, uint seed) {
    QList<CyclePhase> phases;
    for (const QString& n : phaseNames) {
        CyclePhase p;
        if (!phaseFromName(n, &p)) return usage(QString("unknown phase \"%1\"").arg(n));
        phases << p;
    }
    if (phases.isEmpty())
        for (int i = 0; i < kPhaseCount; ++i) phases << CyclePhase(i);
    const QList<FaultKind> catalog = faultCatalog();
    QList<FaultKind> chosen;
    for (const FaultKind& f : catalog)
        if (only.isEmpty() || only.contains(f.id)) chosen << f;
    if (chosen.isEmpty()) return usage("no fault chosen");
    ProductionRunner runner(seed);
    QString error;
    if (!runner.applyFaults(kCampaignFaults, &error) || !runner.powerUp(&error) || !runner.useMes(&error) ||
        !runner.resetAndHome(&error) || !runner.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QElapsedTimer wall;
    wall.start();
    FaultCampaign campaign(runner);
    QList<CellOutcome> cells;
    // A line per cell as it is done, for a merge of runs split over processes.
    QFile cellLog(file + ".cells");
    if (!cellLog.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return usage(QString("cannot write %1.cells").arg(file));
    for (const FaultKind& f : chosen)
        for (CyclePhase p : phases) {
            cells << campaign.runCell(f, p);
            cellLog.write(
                QJsonDocument(FaultCampaign::cellToJson(cells.last())).toJson(QJsonDocument::Compact) + "\n");
            cellLog.flush();
            std::fprintf(stderr, "%s at %s: %s\n", qPrintable(f.id), qPrintable(phaseName(p)),
                         cells.last().kind != CellOutcome::Struck      ? "not struck"
                         : cells.last().held() && cells.last().resumed ? "held"
                                                                       : "see the table");
        }
    cellLog.write(
        QJsonDocument(QJsonObject{{"wallSeconds", wall.elapsed() / 1000.0}}).toJson(QJsonDocument::Compact));
    cellLog.close();
    const QString header = matrixHeader(seed, runner.clock.nowUs() * 1e-6,
                                        QString("%1 s").arg(wall.elapsed() / 1000.0, 0, 'f', 0), QString());
    QString why;
    if (!AtomicFile::write(file, FaultCampaign::matrixMarkdown(cells, chosen, header).toUtf8(), &why))
        return usage(QString("cannot write %1: %2").arg(file, why));
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(TAVRIN_VERSION);
    if (app.arguments().contains("--version")) {
        std::printf("tavrin-runner %s\n", TAVRIN_VERSION);
        return 0;
    }
    int trays = 0, products = 0;
    double hours = 0;
    uint seed = 1;
    bool json = false, images = false, mes = false;
    QString faults, matrix, plantFile;
    double rate = -1;
    QStringList only, phases, merge;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](bool* ok) -> QString {
            *ok = i + 1 < args.size();
            return *ok ? args[++i] : QString();
        };
        bool ok = true;
        if (a == "--json") {
            json = true;
        } else if (a == "--mes") {
            mes = true;
        } else if (a == "--images") {
            images = true;
        } else if (a == "--trays") {
            trays = value(&ok).toInt(&ok);
        } else if (a == "--products") {
            products = value(&ok).toInt(&ok);
        } else if (a == "--hours") {
            hours = value(&ok).toDouble(&ok);
        } else if (a == "--seed") {
            seed = value(&ok).toUInt(&ok);
        } else if (a == "--faults") {
            faults = value(&ok);
        } else if (a == "--plant") {
            plantFile = value(&ok);
        } else if (a == "--fault-matrix") {
            matrix = value(&ok);
        } else if (a == "--list-faults") {
            for (const FaultKind& f : faultCatalog())
                std::printf("%s\t%s\n", qPrintable(f.id), qPrintable(f.what));
            return 0;
        } else if (a == "--matrix-merge") {
            merge = args.mid(i + 1);
            i = args.size();
        } else if (a == "--only") {
            only = value(&ok).split(',', Qt::SkipEmptyParts);
        } else if (a == "--phases") {
            phases = value(&ok).split(',', Qt::SkipEmptyParts);
        } else if (a == "--random-faults") {
            const bool given = i + 1 < args.size() && !args[i + 1].startsWith("--");
            rate = given ? value(&ok).toDouble(&ok) : kDefaultFaultRate;
        } else {
            return usage(QString("unknown argument \"%1\"").arg(a));
        }
        if (!ok) return usage(QString("%1 needs a number or a file").arg(a));
    }
    if (trays < 0 || products < 0 || hours < 0) return usage("counts and hours must not be negative");
    if (merge.size() >= 2) return mergeMatrix(merge[0], merge.mid(1));
    if (!matrix.isEmpty()) return runMatrix(matrix, only, phases, seed);
    if (trays == 0 && products == 0 && hours == 0) return usage("say how much to produce");
    if (rate >= 0 && hours <= 0) return usage("--random-faults needs --hours");
    if (rate >= 0) return runShift(hours, rate, seed, mes, json);

    ProductionRunner runner(seed, images);
    QString error;
    if (!faults.isEmpty() && !runner.loadFaults(faults, &error)) return usage(error);
    // The machine's trays outlive the program: a run on the same file finds them as
    // the last one left them.
    std::unique_ptr<PlantJournal> journal;
    if (!plantFile.isEmpty()) {
        journal = std::make_unique<PlantJournal>(runner, plantFile);
        if (!journal->restore(&error)) return usage(error);
    }
    bool up = runner.powerUp(&error);
    if (up && journal) runner.clock.addPeriodic("plant", 10000, [&journal] { journal->watch(); });
    up = up && (!mes || runner.useMes(&error)) && runner.resetAndHome(&error) && runner.start(&error);
    if (up) {
        // For whoever watches the run (the crash test): the machine is producing now.
        std::fprintf(stderr, "producing\n");
        std::fflush(stderr);
        // Without a time limit: generous for the work asked, so a stuck run still ends.
        const double limit = hours > 0 ? hours * 3600.0 : 600.0 + 60.0 * (products + 40.0 * trays);
        runner.produce(products, trays, limit);
        runner.shutdown();
    }
    QJsonObject s = runner.summary();
    if (!up) s["end"] = error;
    if (json)
        std::printf("%s\n", QJsonDocument(s).toJson(QJsonDocument::Compact).constData());
    else
        std::printf("%s", qPrintable(ProductionRunner::summaryText(s)));
    return up ? 0 : 1;
}
