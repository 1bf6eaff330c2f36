#include "Language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

static void initTranslationResource() {
    Q_INIT_RESOURCE(translations);
}

namespace {
QTranslator* installed = nullptr;
}

namespace Language {

bool install(QCoreApplication& app) {
    uninstall(app);
    // Only English is offered; every other locale, and C, keeps the Chinese texts.
    if (QLocale().language() != QLocale::English) return false;
    initTranslationResource();
    auto* translator = new QTranslator(&app);
    if (!translator->load(":/i18n/tavrin_en.qm")) {
        delete translator;
        return false;
    }
    app.installTranslator(translator);
    installed = translator;
    return true;
}

void uninstall(QCoreApplication& app) {
    if (!installed) return;
    app.removeTranslator(installed);
    delete installed;
    installed = nullptr;
}

} // namespace Language
