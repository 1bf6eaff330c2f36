// The event log: what the machine and the operator do leaves exactly one line each in
// the day's log file and on the log tab, and an idle machine leaves none. The history
// and log views follow their newest line unless the operator has scrolled up.
#include "BannerRig.h"

#include "app/MachineStateBanner.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "sim/MesEmulator.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>

using namespace bannertest;

namespace {

// Lines written since a mark.
struct Mark {
    int at = logLines().size();
    QStringList since() const { return logLines().mid(at); }
};

int count(const QStringList& lines, const QString& part) {
    int n = 0;
    for (const QString& l : lines)
        if (l.contains(part)) ++n;
    return n;
}

#define ONE_LINE(lines, part)                                                                                \
    QVERIFY2(count(lines, part) == 1,                                                                        \
             qPrintable(QString("%1 x%2:\n%3").arg(part).arg(count(lines, part)).arg(lines.join('\n'))))

void press(ProductionRunner& r, int button) {
    r.plant().panel().clickButton(button, 100000);
    r.clock.runFor(0.4);
}

} // namespace

class EventLogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QDir(Paths::tableDir()).removeRecursively(); }

    // A homed machine standing for a minute, and a running one waiting a minute for a
    // tray that does not come, write nothing.
    void quietWhileNothingHappens() {
        auto r = powered();
        QVERIFY(homed(*r));
        r->clock.runFor(1.0);
        QApplication::processEvents();
        const QTextBrowser* view = child<QTextBrowser>(*r, "textBrowser_3");
        const QString shown = view->toPlainText();
        Mark idle;
        r->clock.runFor(60.0);
        QApplication::processEvents();
        QCOMPARE(idle.since(), QStringList());
        QCOMPARE(view->toPlainText(), shown);
        QVERIFY(!shown.isEmpty()); // the view does show the log
    }

    // Reset, homing, start, pause, e-stop, doors, alarms, modes, end of production: one
    // line each, in the file and on the log tab.
    void eachEventWritesOneLine() {
        auto r = powered();
        Mark m;
        press(*r, Panel::ResetButton);
        QVERIFY(r->clock.runUntil([] { return waitOperator == 1; }, 40.0));
        r->clock.runFor(0.3);
        QStringList lines = m.since();
        ONE_LINE(lines, "复位");
        ONE_LINE(lines, "回原点开始");
        ONE_LINE(lines, "回原点完成");
        QCOMPARE(lines.size(), 3);

        m = Mark();
        QVERIFY(started(*r));
        click(*r, "pushButton_31");
        lines = m.since();
        ONE_LINE(lines, "启动：自动运行");
        ONE_LINE(lines, "暂停");
        QCOMPARE(lines.size(), 2);

        QVERIFY(started(*r));
        m = Mark();
        r->plant().panel().setEstopPressed(true);
        r->clock.runFor(0.5);
        r->plant().panel().setEstopPressed(false);
        r->clock.runFor(0.5);
        lines = m.since();
        ONE_LINE(lines, "急停按下");
        ONE_LINE(lines, "停止：急停");
        ONE_LINE(lines, "急停释放");
        QCOMPARE(lines.size(), 3);

        m = Mark();
        r->plant().panel().setDoorOpen(1, true);
        r->clock.runFor(0.5);
        r->plant().panel().setDoorOpen(1, false);
        r->clock.runFor(0.5);
        lines = m.since();
        ONE_LINE(lines, "安全门打开：后门");
        ONE_LINE(lines, "安全门关闭：后门");
        QCOMPARE(lines.size(), 2);

        m = Mark();
        alarmFlags[17] = 1;
        r->clock.runFor(0.5);
        click(*r, "pushButton_33"); // alarm clear
        r->clock.runFor(0.3);
        lines = m.since();
        ONE_LINE(lines, "报警 [77]：标签拍照报警");
        ONE_LINE(lines, "报警解除 [77]：标签拍照报警");
        QCOMPARE(lines.size(), 2);

        m = Mark();
        click(*r, "pushButton_5");
        click(*r, "pushButton_5");
        child<QComboBox>(*r, "comboBox_3")->setCurrentIndex(1);
        r->clock.runFor(0.3);
        child<QComboBox>(*r, "comboBox_3")->setCurrentIndex(0);
        r->clock.runFor(0.3);
        lines = m.since();
        ONE_LINE(lines, "切换到手动模式");
        ONE_LINE(lines, "切换到自动模式");
        ONE_LINE(lines, "工作模式：空跑模式");
        ONE_LINE(lines, "工作模式：工作模式");
        QCOMPARE(lines.size(), 4);

        m = Mark();
        QVERIFY(started(*r));
        QVERIFY(r->clock.runUntil([] { return gr[1] >= 2; }, 120.0));
        click(*r, "pushButton_15");
        QVERIFY(r->clock.runUntil([] { return waitOperator == 1; }, 120.0));
        r->clock.runFor(0.3);
        lines = m.since();
        ONE_LINE(lines, "启动：自动运行");
        ONE_LINE(lines, "结束生产：完成当前产品后停止");
        ONE_LINE(lines, "停止：结束生产");
        ONE_LINE(lines, "复位");
        ONE_LINE(lines, "回原点完成");

        // On the log tab as well.
        QApplication::processEvents();
        const QString tab = child<QTextBrowser>(*r, "textBrowser_3")->toPlainText();
        for (const char* text : {"复位", "急停按下", "安全门打开：后门", "报警 [77]：标签拍照报警",
                                 "切换到手动模式", "结束生产：完成当前产品后停止"})
            QVERIFY2(tab.contains(text), text);
    }

    // A save writes one line; a save that fails writes one line naming the failure and
    // no success.
    void parameterSavesAndTheirFailures() {
        auto r = powered();
        Mark m;
        click(*r, "pushButton_63");
        QStringList lines = m.since();
        ONE_LINE(lines, "参数已保存：配方 demo");
        QCOMPARE(lines.size(), 1);

        r->clock.runFor(1.2); // the button is back
        m = Mark();
        AtomicFile::failNextWriteForTest(AtomicFile::Stage::Data);
        click(*r, "pushButton_63");
        lines = m.since();
        QVERIFY2(count(lines, "保存失败") == 1, qPrintable(lines.join('\n')));
        QCOMPARE(count(lines, "参数已保存"), 0);
        QCOMPARE(lines.size(), 1);
    }

    // A recipe switch is one line.
    void recipeSwitch() {
        auto r = powered();
        kzct::RecipeValues v;
        for (double x : gd) v.gd.push_back(x);
        for (double x : gf) v.gf.push_back(x);
        for (double x : gr) v.gr.push_back(x);
        QVERIFY(kzct::writeRecipe("B", v));
        Mark m;
        QListWidget list;
        list.addItem("B");
        list.setCurrentRow(0);
        QVERIFY(peifangselecte(&list));
        r->window->S_xuanzhepeifang();
        const QStringList lines = m.since();
        ONE_LINE(lines, "recipe \"B\" is current");
        QVERIFY(kzct::setCurrentRecipeName("demo"));
    }

    // A MES that does not answer: one line for the failure.
    void mesFailure() {
        auto r = powered();
        QString error;
        QVERIFY2(r->useMes(&error), qPrintable(error));
        r->mes()->setMode(sim::MesEmulator::Mode::Silent);
        QVERIFY(homed(*r));
        QVERIFY(started(*r));
        Mark m;
        QVERIFY(r->clock.runUntil([] { return alarmFlags[43] == 1; }, 90.0));
        r->clock.runFor(0.5);
        const QStringList lines = m.since();
        ONE_LINE(lines, "报警 [111]：MES入站发送失败");
        ONE_LINE(lines, "停止：报警");
    }

    // A homing that cannot finish says why, in the log and, once the alarm is gone, on
    // the banner.
    void homingAbortIsExplained() {
        auto r = powered();
        Mark m;
        // X stops searching as soon as the X, Y and Q homing has begun.
        bool injected = false;
        r->clock.addPeriodic("servo", 5000, [&] {
            if (injected || stepA != 1003) return;
            r->plant().setServoAlarm(0, true);
            injected = true;
        });
        press(*r, Panel::ResetButton);
        QVERIFY(injected);
        QVERIFY2(seenWithin(
                     *r, [] { return stepA < 1000; }, 60.0),
                 qPrintable(state()));
        r->clock.runFor(0.3);
        const QStringList lines = m.since();
        ONE_LINE(lines, "回原点开始");
        ONE_LINE(lines, "回原点中止：X、Y、Q轴回原点超时");
        ONE_LINE(lines, "报警 [20]：取料X轴报警");
        QCOMPARE(count(lines, "回原点完成"), 0);
        QCOMPARE(banner(*r).kind, BannerKind::Alarm);
        r->plant().setServoAlarm(0, false);
        click(*r, "pushButton_33");
        const BannerState& b = banner(*r);
        QCOMPARE(b.kind, BannerKind::NotHomed);
        QVERIFY2(b.text.contains("上次回原点中止：X、Y、Q轴回原点超时"), qPrintable(b.text));
    }

    // The history and the log tab follow the newest line unless scrolled up.
    void viewsFollowUnlessScrolledUp() {
        auto r = powered();
        MainWindow1* w = r->window.get();
        w->resize(1920, 1080);
        w->show();
        QTabWidget* tabs = child<QTabWidget>(*r, "tabWidget");
        QTextBrowser* history = child<QTextBrowser>(*r, "textBrowser_2");
        QTextBrowser* log = child<QTextBrowser>(*r, "textBrowser_3");
        auto alarmsComeAndGo = [&](int times) {
            for (int i = 0; i < times; ++i) {
                alarmFlags[17] = 1;
                r->clock.runFor(0.2);
                alarmFlags[17] = 0;
                r->clock.runFor(0.2);
            }
            QApplication::processEvents();
        };
        for (QTextBrowser* view : {history, log}) {
            tabs->setCurrentWidget(view->parentWidget());
            alarmsComeAndGo(40);
            QScrollBar* bar = view->verticalScrollBar();
            QVERIFY(bar->maximum() > 0);
            QCOMPARE(bar->value(), bar->maximum());
            bar->setValue(0);
            alarmsComeAndGo(3);
            QCOMPARE(bar->value(), 0);
            bar->setValue(bar->maximum());
            alarmsComeAndGo(3);
            QCOMPARE(bar->value(), bar->maximum());
        }
        w->hide();
    }
};

QTEST_MAIN(EventLogTest)
#include "tst_eventlog.moc"
