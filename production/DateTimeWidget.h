#pragma once
// Calendar-and-clock picker: a month of days, a page of years and three wheels
// for the time; "confirm" hands over the chosen date and time.
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVector>
#include <QWidget>

class ButtonDay;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class TimeScrollBar;

class DateTimeWidget : public QWidget {
    Q_OBJECT
public:
    // One of the 42 cells of a month page (6 rows of 7, Sunday first).
    struct DayCell {
        QDate date;
        int types = 0; // ButtonDay::Type bits
    };
    static QVector<DayCell> monthCells(const QDate& anyDayOfMonth, const QDate& today, const QDate& selected);

    explicit DateTimeWidget(QWidget* parent = nullptr);

    void setDateTime(const QDateTime& dateTime);
    QDateTime dateTime() const { return QDateTime(m_date, m_time); }
    QDate date() const { return m_date; }
    QTime time() const { return m_time; }
    // Now on the program clock (virtual in tests).
    static QDateTime now();

    ButtonDay* dayButton(int id) const { return m_days.value(id - 1); }
    TimeScrollBar* hourWheel() const { return m_wheels[0]; }
    TimeScrollBar* minuteWheel() const { return m_wheels[1]; }
    TimeScrollBar* secondWheel() const { return m_wheels[2]; }
    int page() const;

signals:
    void signal_dateTime(const QDateTime& dateTime);
    void signal_cancel();

private slots:
    void onDayClicked();
    void onYearClicked();
    void onWheelChanged();

private:
    void buildHeader(class QVBoxLayout* layout);
    QWidget* buildCalendarPage();
    QWidget* buildYearsPage();
    QWidget* buildTimePage();
    void buildBottom(class QVBoxLayout* layout);
    void showMonth();
    void showYears();
    void showTime();
    void refresh();

    QDate m_date;
    QTime m_time;
    QDate m_month; // first day of the month shown
    int m_firstYear = 0;
    QStackedWidget* m_pages = nullptr;
    QLabel* m_header = nullptr;
    QPushButton* m_monthButton = nullptr;
    QPushButton* m_yearButton = nullptr;
    QPushButton* m_timeButton = nullptr;
    QLineEdit* m_timeField = nullptr;
    QVector<ButtonDay*> m_days;
    QVector<QPushButton*> m_years;
    TimeScrollBar* m_wheels[3] = {};
};
