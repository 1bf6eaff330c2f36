#include "PlacementRecord.h"

#include <algorithm>
#include <cmath>

namespace sim {

double Placement::error() const {
    return std::hypot(dx, dy);
}

double PlacementRecord::meanError() const {
    if (m_items.empty()) return 0.0;
    double sum = 0;
    for (const Placement& p : m_items) sum += p.error();
    return sum / double(m_items.size());
}

double PlacementRecord::worstError() const {
    double worst = 0;
    for (const Placement& p : m_items) worst = std::max(worst, p.error());
    return worst;
}

} // namespace sim
