// The machine status page on a real SQLite file: the recorded state intervals of
// a period as two pies (counts and durations), the quick period buttons on the
// program clock in local time, and the periods the main window's recorder wrote.
#include "MachineState.h"

#include "app/MachineData.h"
#include "app/MainCycle.h"
#include "pages/MachineStatus.h"
#include "platform/Clock.h"
#include "production/DateTimeEdit.h"
#include "production/HMChart.h"
#include "production/MachineStateStore.h"
#include "sequences/CycleData.h"
#include "sim/Lockstep.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>
#include <ctime>
#include <memory>

namespace {

const char* const kKinds[5] = {"standby", "run", "stop", "home", "error"};
const char* const kLegends[5] = {"待料", "运行", "停止", "复位", "异常"};

qint64 local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms)).toMSecsSinceEpoch();
}

// A row as the recorder writes it: the interval [start, end], counted by its end.
void addRow(const QString& kind, qint64 startMs, qint64 endMs) {
    MachineStateStore::instance().addPeriod(kind, startMs, endMs);
}

QStringList labels(HMChart* chart) {
    QStringList out;
    for (int k = 0; k < 5; ++k) out << chart->sliceLabel(k);
    return out;
}

QStringList expectLabels(const QList<int>& shares) {
    QStringList out;
    for (int k = 0; k < 5; ++k) out << QString("%1:%2%").arg(QString::fromUtf8(kLegends[k])).arg(shares[k]);
    return out;
}

// The page on a virtual clock standing at the given local time.
struct Page {
    Lockstep clock;
    std::unique_ptr<MachineStatus> page;
    explicit Page(qint64 nowMs) : clock(nowMs) {
        clock.install();
        page = std::make_unique<MachineStatus>();
    }
    void press(const char* button) {
        auto* b = page->findChild<QPushButton*>(button);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    HMChart* counts() { return page->chart(0); }
    HMChart* durations() { return page->chart(1); }
};

// With TAVRIN_SHOTS set, a picture of the widget goes there for a person to look at.
void shot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("TAVRIN_SHOTS");
    if (dir.isEmpty()) return;
    w->resize(1700, 900);
    w->show();
    QApplication::processEvents();
    w->grab().save(dir + "/" + name + ".png");
}

} // namespace

class TestMachineStatus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Eight hours east of UTC: a midnight taken in UTC would be off by 8 h.
        qputenv("TZ", "Asia/Shanghai");
        tzset();
        MachineStateStore::instance().reopen();
        QVERIFY(MachineStateStore::instance().isOpen());
    }
    void init() {
        QVERIFY(MachineStateStore::instance().waitWritten(5000));
        QSqlQuery q(QSqlDatabase::database());
        q.exec("delete from Table_S1");
    }

    void builtWithEqualZeroSlicesAndTheTimeNow() {
        Page p(local(2024, 1, 31, 15, 30, 12));
        QCOMPARE(p.page->startField()->currentText(), QString("2024-01-31 15:30:12"));
        QCOMPARE(p.page->endField()->currentText(), QString("2024-01-31 15:30:12"));
        const char* colours[5] = {"#fffacd", "#7cfc00", "#dcdcdc", "#ffd400", "#ef4136"};
        for (int c = 0; c < 2; ++c) {
            HMChart* chart = p.page->chart(c);
            QCOMPARE(chart->sliceCount(), 5);
            QCOMPARE(labels(chart), expectLabels({0, 0, 0, 0, 0}));
            for (int k = 0; k < 5; ++k) {
                QCOMPARE(chart->sliceValue(k), 0.2);
                QCOMPARE(chart->sliceColor(k).name(), QString(colours[k]));
                QCOMPARE(chart->legendLabel(k), QString::fromUtf8(kLegends[k]));
            }
            // Before the form's own column.
            QCOMPARE(p.page->findChild<QHBoxLayout*>("horizontalLayout")->itemAt(c)->widget(), chart);
        }
    }

    void onlyRunIntervalsGiveRunningAHundredPercent() {
        const qint64 now = local(2024, 1, 31, 15, 0);
        const qint64 midnight = local(2024, 1, 31);
        addRow("run", midnight + 1000, midnight + 61000);
        addRow("run", now - 7200000, now - 3600000);
        addRow("stop", midnight - 5000, midnight - 1); // ended before the period
        addRow("error", now - 10000, now + 60000);     // ends after it
        Page p(now);
        p.press("pushButton_2"); // 今天
        QCOMPARE(p.page->periodStart(), midnight);
        for (HMChart* chart : {p.counts(), p.durations()}) {
            QCOMPARE(labels(chart), expectLabels({0, 100, 0, 0, 0}));
            QCOMPARE(chart->sliceValue(1), 100.0);
            QCOMPARE(chart->sliceValue(2), 0.0);
            QCOMPARE(chart->legendLabel(1), QString("运行")); // the legend keeps its name
        }
    }

    void quickButtonsStartAtLocalMidnight_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<qint64>("start");
        QTest::newRow("今天") << "pushButton_2" << local(2024, 1, 31);
        QTest::newRow("近3天") << "pushButton_3" << local(2024, 1, 29);
        QTest::newRow("近7天") << "pushButton_4" << local(2024, 1, 25);
        QTest::newRow("近30天") << "pushButton_5" << local(2024, 1, 2);
    }
    void quickButtonsStartAtLocalMidnight() {
        QFETCH(QString, button);
        QFETCH(qint64, start);
        const qint64 now = local(2024, 1, 31, 9, 45, 30, 250);
        // One millisecond before the start falls out, the start itself is in.
        addRow("stop", start - 60000, start - 1);
        addRow("home", start - 5000, start);
        addRow("standby", now - 1000, now);
        Page p(now);
        // The end field was set when the page was built; the period still runs to now.
        p.clock.runFor(3600);
        const qint64 later = now + 3600000;
        addRow("run", later - 1000, later);
        p.press(qPrintable(button));
        QCOMPARE(p.page->periodStart(), start);
        QCOMPARE(p.page->startField()->currentText(),
                 QDateTime::fromMSecsSinceEpoch(start).toString("yyyy-MM-dd hh:mm:ss"));
        QCOMPARE(p.page->endField()->currentText(), QString("2024-01-31 10:45:30"));
        QCOMPARE(labels(p.counts()), expectLabels({33, 33, 0, 33, 0}));
    }

    void anIntervalThatStartedBeforeCountsWhole() {
        const qint64 now = local(2024, 3, 10, 12, 0);
        const qint64 midnight = local(2024, 3, 10);
        addRow("run", midnight - 7200000, midnight + 3600000); // 3 h, 1 h of it today
        addRow("stop", midnight + 3600000, midnight + 7200000);
        Page p(now);
        p.press("pushButton_2");
        QCOMPARE(labels(p.counts()), expectLabels({0, 50, 50, 0, 0}));
        QCOMPARE(labels(p.durations()), expectLabels({0, 75, 25, 0, 0}));
        QCOMPARE(p.durations()->sliceValue(1), 75.0);
        shot(p.page.get(), "machinestatus");
    }

    void theQueryButtonTakesBothFields() {
        const qint64 now = local(2024, 5, 20, 18, 0);
        addRow("error", local(2024, 5, 1, 8), local(2024, 5, 1, 9));
        addRow("home", local(2024, 5, 2, 8), local(2024, 5, 2, 8, 0, 30));
        addRow("run", local(2024, 5, 3, 8), local(2024, 5, 3, 9));
        Page p(now);
        p.page->startField()->setEditText("2024-05-01 00:00:00");
        p.page->endField()->setEditText("2024-05-03 08:30:00");
        p.press("pushButton");
        QCOMPARE(p.page->periodStart(), local(2024, 5, 1));
        QCOMPARE(p.page->periodEnd(), local(2024, 5, 3, 8, 30));
        QCOMPARE(labels(p.counts()), expectLabels({0, 0, 0, 50, 50}));
        // 3600 s and 30 s.
        QCOMPARE(labels(p.durations()), expectLabels({0, 0, 0, 1, 99}));
    }

    void anEmptyPeriodShowsZeroEverywhere() {
        const qint64 now = local(2024, 1, 31, 15, 0);
        addRow("run", local(2024, 1, 31, 10), local(2024, 1, 31, 11));
        Page p(now);
        p.press("pushButton_2");
        QCOMPARE(labels(p.counts()), expectLabels({0, 100, 0, 0, 0}));
        p.page->startField()->setEditText("2023-01-01 00:00:00");
        p.page->endField()->setEditText("2023-12-31 00:00:00");
        p.press("pushButton");
        for (HMChart* chart : {p.counts(), p.durations()}) {
            QCOMPARE(labels(chart), expectLabels({0, 0, 0, 0, 0}));
            for (int k = 0; k < 5; ++k) QCOMPARE(chart->sliceValue(k), 0.2);
        }
    }

    void unreadableOrReversedFieldsAreRefusedWithAMessage() {
        const qint64 now = local(2024, 1, 31, 15, 0);
        addRow("run", local(2024, 1, 31, 10), local(2024, 1, 31, 11));
        Page p(now);
        p.press("pushButton_2");
        p.page->startField()->setEditText("2024-13-01 00:00");
        p.press("pushButton");
        QVERIFY(p.page->hint().contains("yyyy-MM-dd hh:mm:ss"));
        QCOMPARE(p.page->periodStart(), local(2024, 1, 31)); // nothing re-ran
        QCOMPARE(labels(p.counts()), expectLabels({0, 100, 0, 0, 0}));
        p.page->startField()->setEditText("2024-02-01 00:00:00");
        p.page->endField()->setEditText("2024-01-01 00:00:00");
        p.press("pushButton");
        QCOMPARE(p.page->hint(), QString("开始时间须早于结束时间"));
        QCOMPARE(labels(p.counts()), expectLabels({0, 100, 0, 0, 0}));
        p.press("pushButton_3");
        QCOMPARE(p.page->hint(), QString());
    }

    // The periods the main window's tick closed are on the page at the next press.
    void theRecordersPeriodsReachThePage() {
        resetMachineData();
        Page p(local(2024, 1, 31, 10, 0));
        MainCycle window;
        window.ask = [](const QString&, const QString&) { return false; };
        p.clock.addPeriodic("tick100", 100000, [&window] { window.tick100ms(); });
        inImg[25] = 1;        // a tray at the assembly position: no waiting for material
        p.clock.runFor(1.95); // stopped 2 s: the ticks at 0 s and 2 s open and close it
        runA = 1;
        p.clock.runFor(6.0); // running 6 s
        runA = 0;
        p.clock.runFor(1.0); // stopped again, still open
        p.press("pushButton_2");
        QCOMPARE(labels(p.counts()), expectLabels({0, 50, 50, 0, 0}));
        QCOMPARE(labels(p.durations()), expectLabels({0, 75, 25, 0, 0}));
    }
};

QTEST_MAIN(TestMachineStatus)
#include "tst_machinestatus.moc"
