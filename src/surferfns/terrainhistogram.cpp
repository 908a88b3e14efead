#include "surferfns/terrainhistogram.h"

#include "core/grid.h"
#include "core/textform.h"

#include <cmath>

namespace trelvik::surffns {

namespace {

void quotedPair(std::string& out, const std::string& a, const std::string& b) {
    out += '"';
    out += a;
    out += "\",\"";
    out += b;
    out += "\"\r\n";
}

void table(std::string& out, const std::vector<std::int64_t>& counts, double width) {
    quotedPair(out, "Bin", "Frequency");
    for (std::size_t k = 0; k < counts.size(); ++k)
        quotedPair(out, text::CStr(static_cast<double>(k) * width), std::to_string(counts[k]));
    out += "\r\n";
}

} // namespace

std::vector<std::int64_t> TerrainClassCounts(const std::vector<double>& values, double width, double range,
                                             bool circular) {
    const long long classes = std::llround(range / width);
    std::vector<std::int64_t> counts(static_cast<std::size_t>(classes), 0);
    const double half = width / 2;
    for (const double z : values) {
        const double t = std::floor((z + half) / width);
        if (!(t >= 0) || t > static_cast<double>(classes)) continue;  // outside every class (or NaN)
        long long k = static_cast<long long>(t) + 1;
        if (k == classes + 1) {
            // The top half-class: north again for aspect; still the steepest class for
            // slope, which never wraps round to flat.
            k = circular ? 1 : classes;
        }
        ++counts[static_cast<std::size_t>(k - 1)];
    }
    return counts;
}

std::string TerrainResultsText(TerrainKind kind, const std::vector<double>& values) {
    std::string out;
    if (kind == TerrainKind::Aspect) {
        double w = kTerrainClassWidth;
        for (int pass = 0; pass < 4; ++pass, w *= 2) table(out, TerrainClassCounts(values, w, 360, true), w);
        return out;
    }
    table(out, TerrainClassCounts(values, kTerrainClassWidth, 90, false), kTerrainClassWidth);
    if (values.size() < 2) return out;
    const double n = static_cast<double>(values.size());
    double sum = 0;
    for (const double z : values) sum += z;
    const double mean = sum / n;
    double squares = 0;
    for (const double z : values) squares += (z - mean) * (z - mean);
    const double sd = std::sqrt(squares / (n - 1));
    quotedPair(out, "Mean Slope", "SD Slope");
    quotedPair(out, text::CStr(mean), text::CStr(sd));
    out += "\r\n";
    return out;
}

std::vector<double> ReadTerrainValues(const std::string& xyzPath) {
    const PointList points = formats::readXyzDump(xyzPath);
    std::vector<double> values;
    values.reserve(points.size());
    for (const PointXYZ& p : points)
        if (!isBlank(p.z)) values.push_back(p.z);
    return values;
}

} // namespace trelvik::surffns
