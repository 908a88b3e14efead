#include "csvview/contourbands.h"

#include "core/textform.h"

#include <cmath>

namespace trelvik::csvview {

bool ContourBands(const LatticeGrid& working, double xstep, double zmin, double zmax, const ContourOptions& opts,
                  LatticeGrid& bands, Prompt& prompt) {
    BusyScope busy(prompt);
    // The band grid keeps the cells' x and y so that coordinates read from it are real.
    bands = LatticeGrid::sameNodes(working, 0.0);
    if (opts.scaleByXyInterval) {
        const double f = opts.factor;
        if (!(f > 0)) {
            prompt.message("", "Value must be >0");
            return false;
        }
        const double s = xstep;
        const double base = std::floor(zmin / s);
        for (std::size_t k = 0; k < working.cells.size(); ++k) {
            const double z = working.cells[k].z;
            bands.cells[k].z = isVoid(z) ? kVoidHeight : std::floor((std::floor(z / s) - base) / f);
        }
    } else if (opts.scaleByRange) {
        const double kCount = opts.bandCount;
        if (!(kCount > 1)) {
            prompt.message("", "Value must be >1");
            return false;
        }
        const double h = (zmax - zmin) / (kCount - 1);
        for (std::size_t k = 0; k < working.cells.size(); ++k) {
            const double z = working.cells[k].z;
            if (isVoid(z)) bands.cells[k].z = kVoidHeight;
            else bands.cells[k].z = h > 0 ? text::Round((z - zmin) / h) : 0.0;  // a flat grid is one band
        }
    } else {
        for (std::size_t k = 0; k < working.cells.size(); ++k)
            if (isVoid(working.cells[k].z)) bands.cells[k].z = kVoidHeight;
    }
    return true;
}

HeightDiversity ShannonHeight(const LatticeGrid& working, double xstep, double zmin) {
    HeightDiversity d;
    d.processed = LatticeGrid::sameNodes(working, 0.0);
    const double w = xstep;
    const double lo = w * std::floor(zmin / w);
    std::vector<long> runSizes;
    for (int r = 1; r <= working.rows; ++r) {
        bool rowStarted = false;
        double prev = 0;
        for (int c = 1; c <= working.cols; ++c) {
            const std::size_t k = working.index(c, r);
            const double z = working.cells[k].z;
            if (r == 1 || r == working.rows || c == 1 || c == working.cols || isVoid(z)) {
                d.processed.cells[k].z = kVoidHeight;
                continue;  // an empty cell does not end the run
            }
            const double cls = std::floor((z - lo) / w) + 1;
            if (!rowStarted || cls != prev) runSizes.push_back(0);
            rowStarted = true;
            ++runSizes.back();
            ++d.counted;
            prev = cls;
        }
    }
    d.runs = static_cast<long>(runSizes.size());
    if (d.counted > 0) {
        double sum = 0;
        for (long n : runSizes) {
            const double p = static_cast<double>(n) / static_cast<double>(d.counted);
            sum += p * p;
        }
        d.index = 1.0 / sum;
        d.hasValue = true;
    }
    return d;
}

} // namespace trelvik::csvview
