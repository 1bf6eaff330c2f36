#pragma once
// Image view of the vision library: shows the last image of its task, scaled into
// the window, with the task's overlay texts, regions and found marks.
//
// The program binds a view with setTaskIndex(task, zoom), connects
// gcallfun::signalRepaintcvview to readimgastask, and sets redraw = 1 to have the view
// fetch its task's current image again (within 200 ms).
#include "platform/vision/HalconBuffer.h"
#include "platform/vision/TaskRecord.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <atomic>

namespace KZCV {
namespace ImageControl {

class QHalconWindow : public QWidget {
    Q_OBJECT
public:
    // The two numbers are the window's initial image size; 0 takes the widget's size.
    explicit QHalconWindow(QWidget* parent = nullptr, long width = 0, long height = 0);

    HalconBuffer* GetHalconBuffer() { return &m_buffer; }
    void SetWindowExtents(int row, int column, int width, int height) {
        m_buffer.SetWindowExtents(row, column, width, height);
    }
    void SetLineWidth(double width) { m_buffer.SetLineWidth(width); }

    // zoom: image pixels to window pixels; 0 fits the image into the window. An image
    // that would not fit at zoom is fitted.
    void setTaskIndex(int task, double zoom);
    int taskIndex() const { return m_task; }
    double zoom() const { return m_zoom; }
    // The record the view shows now.
    const TaskRecord& shown() const { return m_shown; }

    // 1: fetch the task's image again at the next check.
    std::atomic<int> redraw{0};

public slots:
    void readimgastask(int task, QStringList texts);
    // The periodic check of redraw; also called by the view's own 200 ms timer.
    void checkRedraw();

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    void reload();
    QRectF imageRect() const;

    HalconBuffer m_buffer;
    TaskRecord m_shown;
    QStringList m_texts;
    int m_task = -1;
    double m_zoom = 0.0;
    QSize m_hint;
    QTimer m_redrawTimer;
};

} // namespace ImageControl
} // namespace KZCV
