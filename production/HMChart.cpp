#include "HMChart.h"

#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>

using namespace QtCharts;

HMChart::HMChart(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
}

void HMChart::setSliceCount(int n) {
    m_slices.clear();
    m_series = new QPieSeries;
    for (int i = 0; i < n; ++i) {
        QPieSlice* slice = m_series->append("A", 0.1);
        slice->setLabelVisible(true);
        m_slices << slice;
    }
    m_chart = new QChart;
    m_chart->addSeries(m_series);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    QChart* old = chart();
    setChart(m_chart); // the view owns the new chart; the old one goes
    if (old) delete old;
}

void HMChart::setSliceColor(int i, const QString& colourName) {
    if (has(i)) m_slices[i]->setColor(QColor(colourName));
}

void HMChart::setSliceLabel(int i, const QString& label) {
    if (has(i)) m_slices[i]->setLabel(label);
}

void HMChart::setSliceValue(int i, double value) {
    if (has(i)) m_slices[i]->setValue(value);
}

void HMChart::setLegendLabel(int i, const QString& label) {
    if (!m_chart || !has(i)) return;
    const QList<QLegendMarker*> markers = m_chart->legend()->markers(m_series);
    if (i < markers.size()) markers[i]->setLabel(label);
}

QString HMChart::sliceLabel(int i) const {
    return has(i) ? m_slices[i]->label() : QString();
}

double HMChart::sliceValue(int i) const {
    return has(i) ? m_slices[i]->value() : 0.0;
}

QColor HMChart::sliceColor(int i) const {
    return has(i) ? m_slices[i]->color() : QColor();
}

QString HMChart::legendLabel(int i) const {
    if (!m_chart || !has(i)) return QString();
    const QList<QLegendMarker*> markers = m_chart->legend()->markers(m_series);
    return i < markers.size() ? markers[i]->label() : QString();
}
