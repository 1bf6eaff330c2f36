#pragma once
// Where every label ended up relative to its barrel: the placement error of each
// product, as the machine's own measurement would show it.
#include <string>
#include <vector>

namespace sim {

struct Placement {
    int tray = 0; // running number of the product tray
    int cell = 0;
    std::string code;
    int labelId = 0;
    double dx = 0, dy = 0; // label centre minus barrel centre, mm
    double dAngle = 0;     // label angle minus barrel angle, degrees
    double error() const;
};

class PlacementRecord {
public:
    void add(const Placement& p) { m_items.push_back(p); }
    const std::vector<Placement>& items() const { return m_items; }
    int count() const { return int(m_items.size()); }
    // Over every placement so far; 0 without any.
    double meanError() const;
    double worstError() const;
    void clear() { m_items.clear(); }

private:
    std::vector<Placement> m_items;
};

} // namespace sim
