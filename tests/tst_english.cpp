// The English user interface: an English locale leaves no Chinese text on any
// screen, every other locale keeps the Chinese texts as they are, and what goes
// into files stays Chinese in every language.
#include "TestSupport.h"

#include "app/AlarmTable.h"
#include "app/Language.h"
#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "platform/kzct.h"
#include "production/MesData.h"
#include "sim/VmPanel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>
#include <qcustomplot.h>

namespace {

MainWindow1::Options drivenByTest() {
    MainWindow1::Options o;
    o.startWorkers = false;
    o.startTicks = false;
    o.startHousekeeping = false;
    return o;
}

bool chinese(const QString& text) {
    static const QRegularExpression han("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]");
    return han.match(text).hasMatch();
}

QString where(const QWidget* w) {
    QString path;
    for (const QObject* o = w; o; o = o->parent())
        if (!o->objectName().isEmpty()) path = o->objectName() + (path.isEmpty() ? "" : "/" + path);
    return path;
}

void headerTexts(const QAbstractItemView* view, QStringList* out) {
    const QAbstractItemModel* m = view->model();
    if (!m) return;
    for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        const int n = o == Qt::Horizontal ? m->columnCount() : m->rowCount();
        for (int i = 0; i < n; ++i)
            *out << m->headerData(i, o).toString() << m->headerData(i, o, Qt::ToolTipRole).toString();
    }
}

// Every text a widget shows or offers: captions, titles, tool tips, headers, items.
// Text views (logs, alarm history) hold records and are left out; line edits hold values.
QStringList shownTexts(QWidget* w) {
    QStringList t;
    t << w->toolTip();
    if (w->isWindow()) t << w->windowTitle();
    if (auto* l = qobject_cast<QLabel*>(w)) t << l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) t << b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) t << g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w)) t << e->placeholderText();
    if (auto* c = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < c->count(); ++i) t << c->itemText(i);
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
        for (int i = 0; i < tabs->count(); ++i) t << tabs->tabText(i) << tabs->tabToolTip(i);
    if (auto* table = qobject_cast<QTableWidget*>(w)) {
        headerTexts(table, &t);
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c)
                if (QTableWidgetItem* item = table->item(r, c)) t << item->text() << item->toolTip();
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
        headerTexts(view, &t);
    }
    if (auto* plot = qobject_cast<QCustomPlot*>(w)) {
        t << plot->xAxis->label() << plot->yAxis->label() << plot->yAxis2->label();
        for (int i = 0; i < plot->graphCount(); ++i) t << plot->graph(i)->name();
    }
    return t;
}

QStringList untranslated(QWidget* root) {
    QStringList found;
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        if (qobject_cast<QTextEdit*>(w)) continue;
        for (const QString& text : shownTexts(w))
            if (chinese(text)) found << QString("%1: \"%2\"").arg(where(w), text);
    }
    found.removeDuplicates();
    return found;
}

} // namespace

class TestEnglish : public QObject {
    Q_OBJECT
    QList<Prompt::Shown> shown;

    void useLocale(const QLocale& locale) {
        QLocale::setDefault(locale);
        Language::install(*QCoreApplication::instance());
    }

private slots:
    void initTestCase() {
        Prompt::setHandler([this](const Prompt::Shown& s) {
            shown << s;
            return false;
        });
    }
    void cleanup() { useLocale(QLocale::c()); }

    void englishLocaleLeavesNoChineseOnAnyScreen() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(Language::install(*QCoreApplication::instance()));
        SimRig rig;
        auto window = std::make_unique<MainWindow1>(nullptr, drivenByTest());
        VmPanel panel(rig.plant());
        window->tick100ms(); // the banner and the views take their texts
        QStringList missing = untranslated(window.get()) + untranslated(&panel);
        // Windows the main window opens on demand are its children too; check them by name.
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != window.get() && top != &panel) missing += untranslated(top);
        missing.removeDuplicates();
        for (const QString& m : missing) qWarning("no English text: %s", qPrintable(m));
        QVERIFY2(missing.isEmpty(), qPrintable(QString("%1 texts without English").arg(missing.size())));
        // A sample of what the operator reads, so a translation file that maps every text to
        // an empty or a wrong string is caught too.
        QVERIFY(window->findChild<QLabel*>("label_255"));
        QCOMPARE(window->findChild<QLabel*>("label_255")->text(), QString("Not homed"));
        QVERIFY2(window->findChild<QLabel*>("label_banner")->text().startsWith("No motion card"),
                 qPrintable(window->findChild<QLabel*>("label_banner")->text()));
        auto* pages = window->findChild<QTabWidget*>("tabWidget_2");
        QVERIFY(pages);
        QStringList pageTitles;
        for (int i = 0; i < pages->count(); ++i) pageTitles << pages->tabText(i);
        QVERIFY2(pageTitles.contains("Positions") && pageTitles.contains("Belt lines"),
                 qPrintable(pageTitles.join(',')));
    }

    // Texts that are not on a screen at start (messages, alarm texts) must have English too.
    void everyCollectedTextHasAnEnglishTranslation() {
        const QString path = QFINDTESTDATA("../translations/tavrin_en.ts");
        QVERIFY(!path.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString source;
        QStringList missing;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                ++messages;
                const bool unfinished = xml.attributes().value("type") == QLatin1String("unfinished");
                const QString text = xml.readElementText();
                if (unfinished || text.isEmpty() || chinese(text)) missing << source;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages > 600);
        QVERIFY2(missing.isEmpty(), qPrintable("no English for: " + missing.join(" | ")));
    }

    void otherLocalesKeepTheChineseTexts() {
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::Chinese, QLocale::China)}) {
            QLocale::setDefault(locale);
            QVERIFY(!Language::install(*QCoreApplication::instance()));
            SimRig rig;
            MainWindow1 window(nullptr, drivenByTest());
            QCOMPARE(window.findChild<QLabel*>("label_255")->text(), QString("回原点未完成"));
            const auto tabs = window.findChildren<QTabWidget*>();
            QStringList tabTexts;
            for (QTabWidget* t : tabs)
                for (int i = 0; i < t->count(); ++i) tabTexts << t->tabText(i);
            QVERIFY2(tabTexts.contains("位置设置") && tabTexts.contains("轴手动"),
                     qPrintable(tabTexts.join(',')));
        }
    }

    void alarmsShowInEnglishButTheHistoryFileKeepsTheirText() {
        useLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        SimRig rig;
        QFile::remove(kzct::alarmHistoryFile());
        QTextBrowser history, current;
        estopOk = 0;
        mesOutError = "404";
        alarmFlags[41] = 1;
        showAlarmTable(&history, &current, CameraState{true, true});
        QCoreApplication::processEvents();
        QVERIFY2(current.toPlainText().contains("Emergency stop pressed"), qPrintable(current.toPlainText()));
        QVERIFY(current.toPlainText().contains("MES check-out send failed, error code=404"));
        QVERIFY(!chinese(current.toPlainText()));
        QVERIFY(history.toPlainText().contains("Emergency stop pressed"));
        QFile file(kzct::alarmHistoryFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString recorded = QString::fromUtf8(file.readAll());
        QVERIFY2(recorded.contains("急停按下"), qPrintable(recorded));
        QVERIFY(recorded.contains("MES出站发送失败，错误码=404"));
        QVERIFY(!recorded.contains("Emergency"));
        estopOk = 1;
        alarmFlags[41] = 0;
    }
};

QTEST_MAIN(TestEnglish)
#include "tst_english.moc"
