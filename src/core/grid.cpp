#include "core/grid.h"

namespace trelvik {

bool Grid::hasHeight() const {
    for (double v : z)
        if (!isBlank(v)) return true;
    return false;
}

double Grid::zMin() const {
    double m = kBlank;
    bool any = false;
    for (double v : z)
        if (!isBlank(v) && (!any || v < m)) { m = v; any = true; }
    return m;
}

double Grid::zMax() const {
    double m = kBlank;
    bool any = false;
    for (double v : z)
        if (!isBlank(v) && (!any || v > m)) { m = v; any = true; }
    return m;
}

} // namespace trelvik
