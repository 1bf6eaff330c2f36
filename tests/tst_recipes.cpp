// Recipe management through the real dialog on the virtual machine: create, copy,
// rename, delete and switch recipes, the enabling rule, unsafe names, and what the
// main window reloads after a switch.
#include "ModalAnswers.h"
#include "TestSupport.h"
#include "WindowChild.h"

#include "app/DataSetup.h"
#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "platform/vision/CVMainWindow.h"
#include "recipes/Peifang1.h"

#include <QComboBox>
#include <QDirIterator>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

namespace {

// The parameter pages reuse the form designer's names: a page's widget is not the window's.
template <class T> T* child(QObject* parent, const char* name) {
    T* w = windowChild<T>(parent, name);
    if (!w) qWarning("no widget %s", name);
    return w;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

// Every file and folder below the data root except the logs, with the content of files.
QMap<QString, QByteArray> snapshotOfRoot() {
    QMap<QString, QByteArray> out;
    QDirIterator it(Paths::root(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // Logs, the card's debug file and the state database are written all the time.
        if (path.startsWith(Paths::logDir()) || path.endsWith("DMCerr.txt") || path.contains(".db")) continue;
        out.insert(path, it.fileInfo().isFile() ? readAll(path) : QByteArray("<dir>"));
    }
    return out;
}

// A recipe that differs from the demo in values the main window and the machine use.
void writeRecipeB() {
    kzct::RecipeValues v;
    v.gd.assign(kGdSize, 0.0);
    v.gf.assign(kGfSize, 0.0);
    v.gr.assign(kGrSize, 0.0);
    v.gd[7] = 2.0;
    v.gd[399] = 77.0;
    v.gf[650] = 1.5;
    v.gr[0] = 5.0;
    v.gr[60] = 9.0;
    QVERIFY(kzct::writeRecipe("B", v));
    writeFile(kzct::recipeDir("B") + "/vision/notes.txt", "taught on line 3\n");
}

MainWindow1::Options drivenByTest() {
    MainWindow1::Options o;
    o.startWorkers = false;
    o.startTicks = false;
    o.startHousekeeping = false;
    return o;
}

const char* const kGuarded[] = {"listWidget",   "pushButton_2", "pushButton_3", "pushButton_4",
                                "pushButton_5", "pushButton_6", "lineEdit_2"};

} // namespace

class TestRecipes : public QObject {
    Q_OBJECT
    std::unique_ptr<SimRig> rig;
    std::unique_ptr<MainWindow1> w;
    std::unique_ptr<ModalAnswers> answers;
    QPointer<Peifang1> dialog;
    QList<Prompt::Shown> shown;

    QListWidget* list() { return child<QListWidget>(dialog, "listWidget"); }
    QStringList names() {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i) out << list()->item(i)->text();
        return out;
    }
    void clickRow(const QString& name) {
        const QList<QListWidgetItem*> found = list()->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(found[0]).center());
    }
    void click(const char* button) { QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton); }
    void typeNewName(const QString& text) {
        QLineEdit* e = child<QLineEdit>(dialog, "lineEdit_2");
        e->clear();
        QTest::keyClicks(e, text);
    }
    QString nameFile() { return QString::fromUtf8(readAll(kzct::projectNameFile())).trimmed(); }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(config);
        Prompt::setHandler([this](const Prompt::Shown& s) {
            shown << s;
            return false;
        });
    }
    void init() {
        shown.clear();
        QDir(Paths::recipesDir()).removeRecursively();
        QFile::remove(kzct::projectNameFile());
        QCOMPARE(DataSetup::ensure(), QString());
        QCOMPARE(nameFile(), QString("demo"));
        writeRecipeB();
        rig = std::make_unique<SimRig>();
        w = std::make_unique<MainWindow1>(nullptr, drivenByTest());
        w->show();
        manualMode = 1.0;
        userLevel = 1;
        answers = std::make_unique<ModalAnswers>();
        child<QPushButton>(w.get(), "pushButton_28")->click();
        dialog = w->findChild<Peifang1*>();
        QVERIFY(dialog);
        rig->runFor(0.1);
    }
    void cleanup() {
        QVERIFY2(answers->allUsed(), "a dialog that should have asked did not");
        QCOMPARE(answers->unexpected, 0);
        answers.reset();
        w.reset();
        rig.reset();
        manualMode = 0.0;
        userLevel = 0;
    }

    void formAsOpened() {
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->parentWidget(), w.get());
        QCOMPARE(dialog->windowTitle(), QString("配方管理"));
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(child<QLabel>(dialog, "label_3")->text(), QString("demo"));
        QCOMPARE(names(), QStringList({"B", "demo"}));
        const QStringList texts{"返回", "设为当前配方", "新建配方", "复制配方", "删除配方", "配方名修改"};
        const char* buttons[] = {"pushButton",   "pushButton_2", "pushButton_3",
                                 "pushButton_4", "pushButton_5", "pushButton_6"};
        for (int i = 0; i < 6; ++i) QCOMPARE(child<QPushButton>(dialog, buttons[i])->text(), texts[i]);
        // A row clicked fills both name fields.
        clickRow("B");
        QCOMPARE(child<QLineEdit>(dialog, "lineEdit")->text(), QString("B"));
        QCOMPARE(child<QLineEdit>(dialog, "lineEdit_2")->text(), QString("B"));
        click("pushButton");
        QVERIFY(!dialog || !dialog->isVisible());
    }

    void controlsFollowModeAndLevel_data() {
        QTest::addColumn<double>("manual");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("manual, technician") << 1.0 << 1 << true;
        QTest::newRow("manual, system") << 1.0 << 3 << true;
        QTest::newRow("manual, nobody") << 1.0 << 0 << false;
        QTest::newRow("automatic, technician") << 0.0 << 1 << false;
        QTest::newRow("automatic, nobody") << 0.0 << 0 << false;
    }
    void controlsFollowModeAndLevel() {
        QFETCH(double, manual);
        QFETCH(int, level);
        QFETCH(bool, enabled);
        for (const char* name : kGuarded) QVERIFY(child<QWidget>(dialog, name)->isEnabled());
        manualMode = manual;
        userLevel = level;
        rig->runFor(0.1);
        for (const char* name : kGuarded) QCOMPARE(child<QWidget>(dialog, name)->isEnabled(), enabled);
        QVERIFY(child<QWidget>(dialog, "lineEdit")->isEnabled());
        QVERIFY(child<QWidget>(dialog, "pushButton")->isEnabled());
        // A disabled button does nothing when clicked.
        answers->typeText("X");
        click("pushButton_3");
        QCOMPARE(QFileInfo(kzct::recipeDir("X")).isDir(), enabled);
        if (!enabled) answers = std::make_unique<ModalAnswers>();
        // Opened while not allowed: disabled from the start.
        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialog);
        child<QPushButton>(w.get(), "pushButton_28")->click();
        dialog = w->findChild<Peifang1*>();
        for (const char* name : kGuarded) QCOMPARE(child<QWidget>(dialog, name)->isEnabled(), enabled);
    }

    void createStartsFromTheCurrentRecipe() {
        answers->typeText("新配方");
        click("pushButton_3");
        QCOMPARE(answers->texts, QStringList({"新建配方"}));
        QCOMPARE(names(), QStringList({"B", "demo", "新配方"}));
        QCOMPARE(readAll(kzct::parameterFile("新配方")), readAll(kzct::parameterFile("demo")));
        QCOMPARE(readAll(kzct::runDataFile("新配方")), readAll(kzct::runDataFile("demo")));
        QCOMPARE(nameFile(), QString("demo"));
        // Cancelled: nothing is made; a name taken: refused.
        answers->cancel();
        click("pushButton_3");
        answers->typeText("b");
        answers->ok();
        click("pushButton_3");
        QCOMPARE(answers->texts.last(), QString("配方“b”已存在。"));
        QCOMPARE(names(), QStringList({"B", "demo", "新配方"}));
    }

    void copyTakesEveryFileOfTheSelectedRecipe() {
        answers->ok();
        click("pushButton_4");
        QCOMPARE(answers->texts, QStringList({"请先选择要复制的配方。"}));
        clickRow("B");
        answers->typeText("C");
        click("pushButton_4");
        QCOMPARE(names(), QStringList({"B", "C", "demo"}));
        for (const QString& f :
             {QString("Parameters.ini"), QString("RunData.ini"), QString("vision/notes.txt")}) {
            QVERIFY(!readAll(kzct::recipeDir("B") + "/" + f).isEmpty());
            QCOMPARE(readAll(kzct::recipeDir("C") + "/" + f), readAll(kzct::recipeDir("B") + "/" + f));
        }
        QVERIFY(QDir(Paths::recipesDir())
                    .entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot)
                    .size() == 3);
        // A copy that fails half-way leaves no part of itself behind.
        answers->texts.clear();
        clickRow("B");
        answers->typeText("D");
        answers->ok();
        AtomicFile::interruptNextWriteForTest();
        click("pushButton_4");
        QCOMPARE(answers->texts.size(), 2);
        QVERIFY(answers->texts[1].startsWith("配方“D”创建失败"));
        QCOMPARE(QDir(Paths::recipesDir()).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"B", "C", "demo"}));
        QCOMPARE(names(), QStringList({"B", "C", "demo"}));
    }

    void renameAndItsRefusals() {
        clickRow("B");
        typeNewName("B2");
        click("pushButton_6");
        QCOMPARE(names(), QStringList({"B2", "demo"}));
        QVERIFY(!QFileInfo(kzct::recipeDir("B")).exists());
        QVERIFY(QFileInfo(kzct::parameterFile("B2")).isFile());
        QCOMPARE(nameFile(), QString("demo"));

        const auto before = snapshotOfRoot();
        const QStringList bad{"", "demo", "DEMO", "B2", "../evil", "..", "a/b", "..\\x", " lead", "/tmp/abs"};
        for (const QString& name : bad) {
            clickRow("B2");
            typeNewName(name);
            answers->ok();
            click("pushButton_6");
            QVERIFY2(answers->allUsed(), qPrintable(name));
        }
        QCOMPARE(answers->texts.size(), bad.size());
        QCOMPARE(answers->texts[1], QString("配方“demo”已存在。"));
        QCOMPARE(answers->texts[4], QString("配方名不能含有“..”。"));
        QCOMPARE(snapshotOfRoot(), before);
        // An old name from outside the recipe folders is refused too.
        child<QLineEdit>(dialog, "lineEdit")->setText("../Config");
        typeNewName("stolen");
        answers->ok();
        click("pushButton_6");
        QCOMPARE(snapshotOfRoot(), before);
        QCOMPARE(names(), QStringList({"B2", "demo"}));
    }

    void renamingTheCurrentRecipeKeepsItCurrent() {
        gd[399] = 5.0; // edited, not saved
        clickRow("demo");
        typeNewName("demo2");
        click("pushButton_6");
        QCOMPARE(nameFile(), QString("demo2"));
        QCOMPARE(child<QLabel>(dialog, "label_3")->text(), QString("demo2"));
        QCOMPARE(w->windowTitle(), QString("Tavrin    当前配方：demo2    当前用户：技术员"));
        QCOMPARE(currentRecipe, QString("demo2"));
        QCOMPARE(gd[399], 5.0); // a rename reloads nothing
        inivartofile();
        QVERIFY(readAll(kzct::parameterFile("demo2")).contains("\n399=5\n"));
        QVERIFY(!QFileInfo(kzct::recipeDir("demo")).exists());
        gd[399] = 0.0;
    }

    void deleteAsksAndRefusesTheCurrentRecipe() {
        clickRow("B");
        answers->press(QMessageBox::No);
        click("pushButton_5");
        QCOMPARE(answers->texts, QStringList({"确定删除配方“B”吗？"}));
        QVERIFY(QFileInfo(kzct::recipeDir("B")).isDir());

        clickRow("B");
        answers->press(QMessageBox::Yes);
        click("pushButton_5");
        QVERIFY(!QFileInfo(kzct::recipeDir("B")).exists());
        QCOMPARE(names(), QStringList({"demo"}));

        answers->texts.clear();
        clickRow("demo");
        answers->ok();
        click("pushButton_5");
        QCOMPARE(answers->texts, QStringList({"不能删除当前配方“demo”。"}));
        QVERIFY(QFileInfo(kzct::parameterFile("demo")).isFile());

        // The last recipe stays even when the name file names another.
        QVERIFY(kzct::setCurrentRecipeName("gone"));
        answers->texts.clear();
        clickRow("demo");
        answers->ok();
        click("pushButton_5");
        QCOMPARE(answers->texts, QStringList({"不能删除最后一个配方。"}));
        QVERIFY(QFileInfo(kzct::parameterFile("demo")).isFile());
    }

    void unsafeNewNamesWriteNothing() {
        const auto before = snapshotOfRoot();
        const QStringList bad{"../evil", "..", "../../tmp/x", "a/b", "a\\b", "/tmp/abs", "x:y", ""};
        for (const QString& name : bad) {
            answers->typeText(name);
            answers->ok();
            click("pushButton_3");
            clickRow("B");
            answers->typeText(name);
            answers->ok();
            click("pushButton_4");
        }
        QVERIFY(answers->allUsed());
        QCOMPARE(snapshotOfRoot(), before);
        QVERIFY(!QFileInfo(Paths::root() + "/evil").exists());
        QCOMPARE(names(), QStringList({"B", "demo"}));
    }

    void switchReloadsEverything() {
        gr[60] = 3.0; // the demo's counter, not yet saved
        QStringList atRefresh;
        const QMetaObject::Connection watch = connect(w.get(), &MainWindow1::m_sigrefdata, this, [&] {
            atRefresh << w->windowTitle() << QString::number(gd[399]);
        });
        QSignalSpy chosen(dialog.data(), &Peifang1::S_xuanzhepeifang);
        bool visibleBeforeSixSeconds = false, guardedWhileSwitching = false;
        answers->then([&](QDialog* notice) {
            guardedWhileSwitching = !child<QWidget>(dialog, "pushButton_2")->isEnabled();
            rig->runFor(5.9);
            visibleBeforeSixSeconds = notice->isVisible();
            rig->runFor(0.2);
        });
        clickRow("B");
        click("pushButton_2");
        QCOMPARE(answers->texts, QStringList({"切换配方中。。。"}));
        QVERIFY(guardedWhileSwitching);
        QVERIFY(visibleBeforeSixSeconds);
        QCOMPARE(chosen.count(), 1);
        disconnect(watch);

        QCOMPARE(nameFile(), QString("B"));
        QCOMPARE(w->windowTitle(), QString("Tavrin    当前配方：B    当前用户：技术员"));
        QCOMPARE(currentRecipe, QString("B"));
        QCOMPARE(child<QLabel>(dialog, "label_3")->text(), QString("B"));
        // Title and arrays were new when the pages were told to reload.
        QCOMPARE(atRefresh, QStringList({"Tavrin    当前配方：B    当前用户：技术员", "77"}));
        QCOMPARE(gd[399], 77.0);
        QCOMPARE(gf[650], 1.5);
        QCOMPARE(gr[60], 9.0);
        QCOMPARE(child<QComboBox>(w.get(), "comboBox")->currentIndex(), 2);
        QCOMPARE(child<QDoubleSpinBox>(w.get(), "doubleSpinBox_100")->value(), 5.0);
        QVERIFY(w->visionWindow()->message().contains(Paths::recipesDir() + "/B/vision"));
        // The recipe left behind keeps its counters.
        QVERIFY(readAll(kzct::runDataFile("demo")).contains("\n60=3\n"));
        for (const char* name : kGuarded) QVERIFY(child<QWidget>(dialog, name)->isEnabled());
    }

    void switchWithoutChangeReloadsNothing() {
        QSignalSpy chosen(dialog.data(), &Peifang1::S_xuanzhepeifang);
        QSignalSpy refreshed(w.get(), &MainWindow1::m_sigrefdata);
        auto sixSeconds = [this](QDialog*) { rig->runFor(6.0); };
        // Nothing selected: the library says so, the notice still stays six seconds.
        answers->ok();
        answers->then(sixSeconds);
        const double t0 = rig->nowS();
        click("pushButton_2");
        QCOMPARE(answers->texts, QStringList({"请先选择配方。", "切换配方中。。。"}));
        QVERIFY(rig->nowS() - t0 >= 6.0);
        // The current recipe again, and a recipe without its parameter file.
        clickRow("demo");
        answers->then(sixSeconds);
        click("pushButton_2");
        writeFile(kzct::recipeDir("empty") + "/vision/x.ini", "x");
        list()->clear();
        peifangini(list(), child<QLabel>(dialog, "label_3"));
        clickRow("empty");
        answers->ok();
        answers->then(sixSeconds);
        click("pushButton_2");
        // A recipe removed from the disk behind the list's back.
        QVERIFY(QDir(kzct::recipeDir("B")).removeRecursively());
        clickRow("B");
        answers->ok();
        answers->then(sixSeconds);
        click("pushButton_2");
        QCOMPARE(answers->texts.size(), 7);
        QCOMPARE(answers->texts[3], QString("配方“empty”没有参数文件。"));
        QCOMPARE(answers->texts[5], QString("配方“B”不存在。"));
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(refreshed.count(), 0);
        QCOMPARE(nameFile(), QString("demo"));
        QCOMPARE(names(), QStringList({"demo", "empty"}));
    }
};

QTEST_MAIN(TestRecipes)
#include "tst_recipes.moc"
