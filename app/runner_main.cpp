// tavrin-runner: headless production on the virtual machine (see the README).
#include "runner/ProductionRunner.h"

#include <QApplication>
#include <QJsonDocument>
#include <cstdio>

namespace {
int usage(const QString& why) {
    std::fprintf(stderr,
                 "%s\nusage: tavrin-runner --trays N | --products N | --hours H [--seed S] [--faults FILE] "
                 "[--json] [--mes] [--images]\n",
                 qPrintable(why));
    return 2;
}
} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int trays = 0, products = 0;
    double hours = 0;
    uint seed = 1;
    bool json = false, images = false, mes = false;
    QString faults;
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
        } else {
            return usage(QString("unknown argument \"%1\"").arg(a));
        }
        if (!ok) return usage(QString("%1 needs a number or a file").arg(a));
    }
    if (trays < 0 || products < 0 || hours < 0) return usage("counts and hours must not be negative");
    if (trays == 0 && products == 0 && hours == 0) return usage("say how much to produce");

    ProductionRunner runner(seed, images);
    QString error;
    if (!faults.isEmpty() && !runner.loadFaults(faults, &error)) return usage(error);
    bool up = runner.powerUp(&error) && (!mes || runner.useMes(&error)) && runner.resetAndHome(&error) &&
              runner.start(&error);
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
