#include "DateTimeWidget.h"

#include "ButtonDay.h"
#include "TimeScrollBar.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
enum Page { CalendarPage, YearsPage, TimePage };

const char* const kStyle = R"(
DateTimeWidget { background: white; }
ButtonDay { border: none; border-radius: 15px; color: #303030; }
ButtonDay[type="no-current-month-day"] { color: #b0b0b0; }
ButtonDay[type="weekend"] { color: #d0452f; }
ButtonDay[type="current-day"] { color: #1f5fbf; font-weight: bold; border: 1px solid #1f5fbf; }
ButtonDay[type="select-day"] { color: white; background: #1f5fbf; }
ButtonDay:hover { background: #e6f0ff; }
)";
} // namespace

QDateTime DateTimeWidget::now() {
    return QDateTime::fromMSecsSinceEpoch(clk::wallMs());
}

QVector<DateTimeWidget::DayCell> DateTimeWidget::monthCells(const QDate& anyDayOfMonth, const QDate& today,
                                                            const QDate& selected) {
    const QDate first(anyDayOfMonth.year(), anyDayOfMonth.month(), 1);
    // Monday 1 .. Sunday 7: a month starting on Sunday opens with a whole row of the last one.
    const int lead = first.dayOfWeek();
    QVector<DayCell> cells(42);
    for (int i = 0; i < 42; ++i) {
        DayCell& cell = cells[i];
        cell.date = first.addDays(i - lead);
        if (cell.date.month() != first.month()) {
            cell.types = ButtonDay::NoCurrentMonthDay;
            continue;
        }
        const int column = i % 7;
        cell.types = (column == 0 || column == 6) ? ButtonDay::Weekend : ButtonDay::Workday;
        if (cell.date == today) cell.types |= ButtonDay::CurrentDay;
        if (cell.date == selected) cell.types |= ButtonDay::SelectDay;
    }
    return cells;
}

DateTimeWidget::DateTimeWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(kStyle);
    const QDateTime current = now();
    m_date = current.date();
    m_time = QTime(current.time().hour(), current.time().minute(), current.time().second());
    m_month = QDate(m_date.year(), m_date.month(), 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    buildHeader(layout);
    m_pages = new QStackedWidget;
    m_pages->addWidget(buildCalendarPage());
    m_pages->addWidget(buildYearsPage());
    m_pages->addWidget(buildTimePage());
    layout->addWidget(m_pages);
    buildBottom(layout);
    refresh();
}

void DateTimeWidget::buildHeader(QVBoxLayout* layout) {
    m_header = new QLabel;
    m_header->setObjectName("labelDate");
    m_header->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_header);

    auto* row = new QHBoxLayout;
    auto* previous = new QPushButton("<");
    previous->setObjectName("prevMonth");
    m_monthButton = new QPushButton;
    m_monthButton->setObjectName("month");
    m_yearButton = new QPushButton;
    m_yearButton->setObjectName("year");
    auto* next = new QPushButton(">");
    next->setObjectName("nextMonth");
    m_timeButton = new QPushButton;
    m_timeButton->setObjectName("time");
    for (QPushButton* b : {previous, m_monthButton, m_yearButton, next, m_timeButton}) row->addWidget(b);
    layout->addLayout(row);

    connect(previous, &QPushButton::clicked, this, [this] {
        m_month = m_month.addMonths(-1);
        showMonth();
    });
    connect(next, &QPushButton::clicked, this, [this] {
        m_month = m_month.addMonths(1);
        showMonth();
    });
    connect(m_monthButton, &QPushButton::clicked, this, &DateTimeWidget::showMonth);
    connect(m_yearButton, &QPushButton::clicked, this, &DateTimeWidget::showYears);
    connect(m_timeButton, &QPushButton::clicked, this, &DateTimeWidget::showTime);
}

QWidget* DateTimeWidget::buildCalendarPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setSpacing(2);
    static const char* const names[7] = {
        QT_TRANSLATE_NOOP("DateTimeWidget", "日"), QT_TRANSLATE_NOOP("DateTimeWidget", "一"),
        QT_TRANSLATE_NOOP("DateTimeWidget", "二"), QT_TRANSLATE_NOOP("DateTimeWidget", "三"),
        QT_TRANSLATE_NOOP("DateTimeWidget", "四"), QT_TRANSLATE_NOOP("DateTimeWidget", "五"),
        QT_TRANSLATE_NOOP("DateTimeWidget", "六")};
    for (int c = 0; c < 7; ++c) {
        auto* head = new QLabel(QCoreApplication::translate("DateTimeWidget", names[c]));
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, c);
    }
    for (int id = 1; id <= 42; ++id) {
        auto* day = new ButtonDay(id);
        m_days << day;
        grid->addWidget(day, 1 + (id - 1) / 7, (id - 1) % 7);
        connect(day, &QPushButton::clicked, this, &DateTimeWidget::onDayClicked);
    }
    return page;
}

QWidget* DateTimeWidget::buildYearsPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < 20; ++i) {
        auto* year = new QPushButton;
        m_years << year;
        grid->addWidget(year, i / 4, i % 4);
        connect(year, &QPushButton::clicked, this, &DateTimeWidget::onYearClicked);
    }
    return page;
}

QWidget* DateTimeWidget::buildTimePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_timeField = new QLineEdit;
    m_timeField->setObjectName("timeEdit");
    m_timeField->setReadOnly(true);
    m_timeField->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_timeField);
    auto* wheels = new QHBoxLayout;
    static const int maxima[3] = {23, 59, 59};
    for (int i = 0; i < 3; ++i) {
        m_wheels[i] = new TimeScrollBar;
        m_wheels[i]->setRange(0, maxima[i]);
        wheels->addWidget(m_wheels[i]);
        connect(m_wheels[i], &TimeScrollBar::signal_valueChanged, this, &DateTimeWidget::onWheelChanged);
    }
    layout->addLayout(wheels);
    return page;
}

void DateTimeWidget::buildBottom(QVBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    auto* today = new QPushButton(QCoreApplication::translate("DateTimeWidget", "今天"));
    today->setObjectName("today");
    auto* nowButton = new QPushButton(QCoreApplication::translate("DateTimeWidget", "此刻"));
    nowButton->setObjectName("now");
    auto* cancel = new QPushButton(QCoreApplication::translate("DateTimeWidget", "取消"));
    cancel->setObjectName("cancel");
    auto* confirm = new QPushButton(QCoreApplication::translate("DateTimeWidget", "确定"));
    confirm->setObjectName("confirm");
    for (QPushButton* b : {today, nowButton, cancel, confirm}) row->addWidget(b);
    layout->addLayout(row);

    connect(today, &QPushButton::clicked, this, [this] {
        m_date = now().date();
        m_month = QDate(m_date.year(), m_date.month(), 1);
        showMonth();
    });
    connect(nowButton, &QPushButton::clicked, this, [this] {
        const QTime t = now().time();
        m_time = QTime(t.hour(), t.minute(), t.second());
        refresh();
    });
    connect(cancel, &QPushButton::clicked, this, &DateTimeWidget::signal_cancel);
    connect(confirm, &QPushButton::clicked, this, [this] { emit signal_dateTime(dateTime()); });
}

void DateTimeWidget::setDateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid()) return;
    m_date = dateTime.date();
    const QTime t = dateTime.time();
    m_time = QTime(t.hour(), t.minute(), t.second());
    m_month = QDate(m_date.year(), m_date.month(), 1);
    showMonth();
}

int DateTimeWidget::page() const {
    return m_pages->currentIndex();
}

void DateTimeWidget::showMonth() {
    m_pages->setCurrentIndex(CalendarPage);
    refresh();
}

void DateTimeWidget::showYears() {
    m_firstYear = m_month.year() - m_month.year() % 20;
    m_pages->setCurrentIndex(YearsPage);
    refresh();
}

void DateTimeWidget::showTime() {
    m_pages->setCurrentIndex(TimePage);
    refresh();
}

void DateTimeWidget::onDayClicked() {
    auto* day = qobject_cast<ButtonDay*>(sender());
    if (!day) return;
    const QVector<DayCell> cells = monthCells(m_month, now().date(), m_date);
    m_date = cells[day->id() - 1].date;
    m_month = QDate(m_date.year(), m_date.month(), 1);
    refresh();
}

void DateTimeWidget::onYearClicked() {
    auto* year = qobject_cast<QPushButton*>(sender());
    if (!year) return;
    const int y = year->text().toInt();
    // The 29th of February of a leap year becomes the 28th.
    const int dayOfMonth = qMin(m_date.day(), QDate(y, m_date.month(), 1).daysInMonth());
    m_date = QDate(y, m_date.month(), dayOfMonth);
    m_month = QDate(y, m_date.month(), 1);
    showMonth();
}

void DateTimeWidget::onWheelChanged() {
    m_time = QTime(m_wheels[0]->value(), m_wheels[1]->value(), m_wheels[2]->value());
    m_timeField->setText(m_time.toString("HH:mm:ss"));
    m_timeButton->setText(m_time.toString("HH:mm:ss"));
}

void DateTimeWidget::refresh() {
    m_header->setText(m_date.toString("yyyy/MM/dd"));
    m_monthButton->setText(
        QString(QCoreApplication::translate("DateTimeWidget", "%1月")).arg(m_month.month()));
    m_yearButton->setText(QString(QCoreApplication::translate("DateTimeWidget", "%1年")).arg(m_month.year()));
    const QVector<DayCell> cells = monthCells(m_month, now().date(), m_date);
    for (int i = 0; i < 42; ++i) {
        m_days[i]->setData(cells[i].date.day());
        m_days[i]->setTypes(cells[i].types);
    }
    for (int i = 0; i < m_years.size(); ++i) m_years[i]->setText(QString::number(m_firstYear + i));
    const QSignalBlocker b0(m_wheels[0]), b1(m_wheels[1]), b2(m_wheels[2]);
    m_wheels[0]->setValue(m_time.hour());
    m_wheels[1]->setValue(m_time.minute());
    m_wheels[2]->setValue(m_time.second());
    m_timeField->setText(m_time.toString("HH:mm:ss"));
    m_timeButton->setText(m_time.toString("HH:mm:ss"));
}
