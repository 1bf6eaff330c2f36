#pragma once
// A pie chart of a few labelled, coloured slices with a legend.
#include <QList>
#include <QtCharts/QChartView>

namespace QtCharts {
class QChart;
class QPieSeries;
class QPieSlice;
} // namespace QtCharts

class HMChart : public QtCharts::QChartView {
    Q_OBJECT
public:
    explicit HMChart(QWidget* parent = nullptr);

    // A new chart with n slices, each labelled "A" with value 0.1.
    void setSliceCount(int n);
    int sliceCount() const { return m_slices.size(); }
    // Indexes at or beyond the slice count are ignored.
    void setSliceColor(int i, const QString& colourName);
    void setSliceLabel(int i, const QString& label);
    void setSliceValue(int i, double value);
    void setLegendLabel(int i, const QString& label);

    QString sliceLabel(int i) const;
    double sliceValue(int i) const;
    QColor sliceColor(int i) const;
    QString legendLabel(int i) const;

private:
    bool has(int i) const { return i >= 0 && i < m_slices.size(); }

    QList<QtCharts::QPieSlice*> m_slices;
    QtCharts::QPieSeries* m_series = nullptr;
    QtCharts::QChart* m_chart = nullptr;
};
