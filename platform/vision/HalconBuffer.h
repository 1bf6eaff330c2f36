#pragma once
// Drawing settings of one image view: the part of the window that shows the image
// and the line width of its marks. Reached through QHalconWindow::GetHalconBuffer().
#include <QRect>
#include <functional>

namespace KZCV {
namespace ImageControl {

class HalconBuffer {
public:
    // row, column of the top-left corner, then width and height, in window pixels.
    void SetWindowExtents(int row, int column, int width, int height);
    void SetLineWidth(double width);
    QRect extents() const { return m_extents; }
    double lineWidth() const { return m_lineWidth; }
    // Called after every change so that the view can repaint.
    void setChanged(std::function<void()> fn) { m_changed = std::move(fn); }

private:
    QRect m_extents; // empty: the whole window
    double m_lineWidth = 1.0;
    std::function<void()> m_changed;
};

} // namespace ImageControl
} // namespace KZCV
