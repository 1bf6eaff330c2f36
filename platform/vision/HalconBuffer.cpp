#include "HalconBuffer.h"

namespace KZCV {
namespace ImageControl {

void HalconBuffer::SetWindowExtents(int row, int column, int width, int height) {
    m_extents = QRect(column, row, qMax(0, width), qMax(0, height));
    if (m_changed) m_changed();
}

void HalconBuffer::SetLineWidth(double width) {
    m_lineWidth = qBound(0.5, width, 20.0);
    if (m_changed) m_changed();
}

} // namespace ImageControl
} // namespace KZCV
