// The calendar-and-clock picker behind the status page's date-time fields: the
// month page's 42 day cells, their style types, the years page, the time wheels
// dragged with the mouse, and the field that opens the picker.
#include "production/ButtonDay.h"
#include "production/DateTimeEdit.h"
#include "production/DateTimeWidget.h"
#include "production/TimeScrollBar.h"
#include "sim/Lockstep.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

qint64 local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s)).toMSecsSinceEpoch();
}

void mouse(QWidget* w, QEvent::Type type, int y) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(20, y), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Press, move by dy in steps, release; returns the largest offset seen while dragging.
int drag(TimeScrollBar* bar, int dy) {
    const int y0 = bar->height() / 2;
    mouse(bar, QEvent::MouseButtonPress, y0);
    int widest = 0;
    const int steps = 4;
    for (int i = 1; i <= steps; ++i) {
        mouse(bar, QEvent::MouseMove, y0 + dy * i / steps);
        widest = qMax(widest, qAbs(bar->offset()));
    }
    mouse(bar, QEvent::MouseButtonRelease, y0 + dy);
    return widest;
}

QString type(ButtonDay* b) {
    return b->property("type").toString();
}

void click(QWidget* parent, const char* name) {
    auto* b = parent->findChild<QPushButton*>(name);
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton);
}

// With TAVRIN_SHOTS set, a picture of the widget goes there for a person to look at.
void shot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("TAVRIN_SHOTS");
    if (dir.isEmpty()) return;
    QApplication::processEvents();
    w->grab().save(dir + "/" + name + ".png");
}

} // namespace

class TestDateTimePicker : public QObject {
    Q_OBJECT

private slots:
    void aMonthStartingOnSundayOpensWithAWholeWeekBefore() {
        Lockstep clock(local(2024, 9, 15, 10, 0));
        clock.install();
        DateTimeWidget w;
        w.setDateTime(QDateTime::fromMSecsSinceEpoch(local(2024, 9, 10, 8, 0)));
        // 1 September 2024 is a Sunday.
        for (int id = 1; id <= 7; ++id) {
            QCOMPARE(w.dayButton(id)->data().toInt(), 24 + id);
            QCOMPARE(type(w.dayButton(id)), QString("no-current-month-day"));
        }
        QCOMPARE(w.dayButton(8)->text(), QString("1"));
        QCOMPARE(type(w.dayButton(8)), QString("weekend"));  // Sunday column
        QCOMPARE(type(w.dayButton(9)), QString("workday"));  // Monday
        QCOMPARE(type(w.dayButton(14)), QString("weekend")); // Saturday
        QCOMPARE(type(w.dayButton(17)), QString("select-day"));
        QCOMPARE(type(w.dayButton(22)), QString("current-day"));
        QCOMPARE(w.dayButton(37)->data().toInt(), 30);
        QCOMPARE(w.dayButton(38)->data().toInt(), 1); // October from here
        QCOMPARE(type(w.dayButton(38)), QString("no-current-month-day"));
        QCOMPARE(w.dayButton(42)->data().toInt(), 5);
        QCOMPARE(w.dayButton(1)->size(), QSize(30, 30));

        // January 2024 starts on a Monday: one day of December before it.
        const QVector<DateTimeWidget::DayCell> jan =
            DateTimeWidget::monthCells(QDate(2024, 1, 20), QDate(2024, 9, 15), QDate());
        QCOMPARE(jan[0].date, QDate(2023, 12, 31));
        QCOMPARE(jan[1].date, QDate(2024, 1, 1));
        QCOMPARE(jan[41].date, QDate(2024, 2, 10));
    }

    void choosingADayRestylesOldAndNew() {
        Lockstep clock(local(2024, 9, 15, 10, 0));
        clock.install();
        DateTimeWidget w;
        w.setDateTime(QDateTime::fromMSecsSinceEpoch(local(2024, 9, 10, 8, 0)));
        QTest::mouseClick(w.dayButton(27), Qt::LeftButton); // Friday 20th
        QCOMPARE(w.date(), QDate(2024, 9, 20));
        QCOMPARE(type(w.dayButton(27)), QString("select-day"));
        QCOMPARE(type(w.dayButton(17)), QString("workday"));
        QCOMPARE(w.findChild<QLabel*>("labelDate")->text(), QString("2024/09/20"));
        // A grey day of the next month moves there.
        QTest::mouseClick(w.dayButton(40), Qt::LeftButton);
        QCOMPARE(w.date(), QDate(2024, 10, 3));
        QCOMPARE(w.dayButton(1)->data().toInt(), 29); // October 2024 starts on a Tuesday
        QCOMPARE(type(w.dayButton(5)), QString("select-day"));
        click(&w, "prevMonth");
        QCOMPARE(w.dayButton(8)->text(), QString("1")); // September again
        QCOMPARE(w.findChild<QPushButton*>("month")->text(), QString("9月"));
        click(&w, "nextMonth");
        click(&w, "nextMonth");
        QCOMPARE(w.findChild<QPushButton*>("month")->text(), QString("11月"));
        QCOMPARE(w.dayButton(6)->text(), QString("1")); // November 2024 starts on a Friday
        QCOMPARE(w.date(), QDate(2024, 10, 3));         // paging changes no choice
        click(&w, "today");
        QCOMPARE(w.date(), QDate(2024, 9, 15));
        QCOMPARE(type(w.dayButton(22)), QString("select-day"));
    }

    void theYearsPageKeepsTheDayInTheMonth() {
        Lockstep clock(local(2024, 9, 15, 10, 0));
        clock.install();
        DateTimeWidget w;
        w.setDateTime(QDateTime::fromMSecsSinceEpoch(local(2024, 2, 29, 8, 0)));
        click(&w, "year");
        QCOMPARE(w.page(), 1);
        QList<QPushButton*> years;
        for (QPushButton* b : w.findChildren<QPushButton*>())
            if (b->text().size() == 4 && b->text().toInt() > 1900) years << b;
        QCOMPARE(years.size(), 20);
        QPushButton* y2025 = nullptr;
        for (QPushButton* b : years)
            if (b->text() == "2025") y2025 = b;
        QVERIFY(y2025);
        QTest::mouseClick(y2025, Qt::LeftButton);
        QCOMPARE(w.page(), 0);
        QCOMPARE(w.date(), QDate(2025, 2, 28));
    }

    void aWheelStepsOnlyForHalfAValueOrMore() {
        TimeScrollBar bar;
        bar.setRange(0, 59);
        bar.resize(40, 150); // five values of 30 px
        bar.setValue(30);
        QCOMPARE(bar.step(), 30);
        QSignalSpy changed(&bar, &TimeScrollBar::signal_valueChanged);

        QCOMPARE(drag(&bar, 14), 14); // less than half: snaps back
        QCOMPARE(bar.value(), 30);
        QCOMPARE(bar.offset(), 0);
        QCOMPARE(changed.count(), 0);
        drag(&bar, -14);
        QCOMPARE(bar.value(), 30);
        QCOMPARE(changed.count(), 0);

        drag(&bar, 15); // half a value down: the smaller one comes to the middle
        QCOMPARE(bar.value(), 29);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.last().at(0).toInt(), 29);
        drag(&bar, -20);
        QCOMPARE(bar.value(), 30);

        QCOMPARE(drag(&bar, -200), 30); // a long drag moves one value at most
        QCOMPARE(bar.value(), 31);
        QCOMPARE(changed.count(), 3);
    }

    void aWheelStopsAtItsEnds() {
        TimeScrollBar bar;
        bar.setRange(0, 23);
        bar.resize(40, 150);
        bar.setValue(0);
        QSignalSpy changed(&bar, &TimeScrollBar::signal_valueChanged);
        QCOMPARE(drag(&bar, 40), 0);
        QCOMPARE(bar.value(), 0);
        bar.setValue(23);
        QCOMPARE(drag(&bar, -40), 0);
        QCOMPARE(bar.value(), 23);
        QCOMPARE(drag(&bar, 40), 30);
        QCOMPARE(bar.value(), 22);
        QCOMPARE(changed.count(), 2);
    }

    void theFieldTakesWhatIsConfirmedAndKeepsItsTextOnCancel() {
        Lockstep clock(local(2024, 9, 15, 10, 20, 5));
        clock.install();
        QWidget window;
        auto* edit = new DateTimeEdit(&window);
        window.show();
        edit->setDateTime(QDateTime::fromMSecsSinceEpoch(local(2024, 9, 10, 8, 0, 0)));
        QCOMPARE(edit->currentText(), QString("2024-09-10 08:00:00"));

        edit->showPopup();
        QVERIFY(edit->popupVisible());
        DateTimeWidget* w = edit->picker();
        QCOMPARE(w->date(), QDate(2024, 9, 10));
        QTest::mouseClick(w->dayButton(27), Qt::LeftButton); // the 20th
        shot(w, "picker-calendar");
        click(w, "time");
        QCOMPARE(w->page(), 2);
        shot(w, "picker-time");
        w->hourWheel()->resize(40, 150);
        drag(w->hourWheel(), -20);
        QCOMPARE(w->findChild<QLineEdit*>("timeEdit")->text(), QString("09:00:00"));
        click(w, "confirm");
        QVERIFY(!edit->popupVisible());
        QCOMPARE(edit->currentText(), QString("2024-09-20 09:00:00"));
        QCOMPARE(edit->dateTime(), QDateTime::fromMSecsSinceEpoch(local(2024, 9, 20, 9, 0, 0)));

        edit->showPopup();
        QTest::mouseClick(edit->picker()->dayButton(8), Qt::LeftButton);
        click(edit->picker(), "now");
        QCOMPARE(edit->picker()->time(), QTime(10, 20, 5));
        click(edit->picker(), "cancel");
        QVERIFY(!edit->popupVisible());
        QCOMPARE(edit->currentText(), QString("2024-09-20 09:00:00"));

        edit->setEditText("not a date");
        QVERIFY(!edit->dateTime().isValid());
        edit->showPopup(); // an unreadable text opens on now
        QCOMPARE(edit->picker()->date(), QDate(2024, 9, 15));
        edit->hidePopup();
    }
};

QTEST_MAIN(TestDateTimePicker)
#include "tst_datetimepicker.moc"
