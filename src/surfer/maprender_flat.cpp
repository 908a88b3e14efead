// Flat map images (relief shading and the colour image) and the shared scales.
#include "surfer/maprender.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace surfer {

namespace {
constexpr double kDeg = std::numbers::pi / 180.0;

// Where each pixel column (or row) falls in the grid: the cell index and the fraction
// across it. Computed once per image side so the pixel loop does no divisions.
struct Sample {
    int cell;
    double f;
};
std::vector<Sample> samples(int pixels, int nodes, bool reversed) {
    std::vector<Sample> out(static_cast<std::size_t>(pixels));
    for (int i = 0; i < pixels; ++i) {
        double t = (i + 0.5) / pixels;
        if (reversed) t = 1.0 - t;
        double g = t * (nodes - 1);
        int c = std::clamp(static_cast<int>(g), 0, nodes - 2);
        out[static_cast<std::size_t>(i)] = {c, g - c};
    }
    return out;
}

struct Corners {
    double z00, z10, z01, z11;
    bool ok;
};
inline Corners corners(const trelvik::Grid& g, int c, int r) {
    const double* row0 = g.z.data() + static_cast<std::size_t>(r) * g.cols + c;
    const double* row1 = row0 + g.cols;
    Corners k{row0[0], row0[1], row1[0], row1[1], true};
    k.ok = !(trelvik::isBlank(k.z00) || trelvik::isBlank(k.z10) || trelvik::isBlank(k.z01) ||
             trelvik::isBlank(k.z11));
    return k;
}

inline int clampByte(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

// Fills each pixel of a flat map whose cell has no blank corner with
// colour(corners, fx, fy), fx and fy the pixel centre's place across its cell.
template <class Colour>
RgbImage flatImage(const trelvik::Grid& grid, int width, int height, Colour colour) {
    RgbImage img(width, height);
    const auto cols = samples(width, grid.cols, false);
    const auto rows = samples(height, grid.rows, true);
    for (int j = 0; j < height; ++j) {
        const auto [r, fy] = rows[static_cast<std::size_t>(j)];
        std::uint32_t* out = img.pixels.data() + static_cast<std::size_t>(j) * width;
        for (int i = 0; i < width; ++i) {
            const auto [c, fx] = cols[static_cast<std::size_t>(i)];
            const Corners k = corners(grid, c, r);
            if (k.ok) out[i] = colour(k, fx, fy);
        }
    }
    return img;
}
} // namespace

double niceStep(double rough) {
    if (!(rough > 0) || !std::isfinite(rough)) return 1.0;
    const double p = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= rough * (1 - 1e-12)) return m * p;
    return 10 * p;
}

std::vector<double> contourLevels(double zMin, double zMax, int about) {
    std::vector<double> out;
    if (!std::isfinite(zMin) || !std::isfinite(zMax) || !(zMax > zMin) || about < 1) return out;
    const double step = niceStep((zMax - zMin) / about);
    const double first = std::ceil(zMin / step - 1e-9);
    for (double k = first;; k += 1) {
        double level = k * step;
        if (level > zMax + step * 1e-9) break;
        // Multiples of a decimal step carry binary noise; round them to the step's digits.
        const double digits = std::pow(10.0, std::max(0.0, -std::floor(std::log10(step)) + 1));
        level = std::round(level * digits) / digits;
        out.push_back(level);
    }
    return out;
}

std::uint32_t rampColour(double t) {
    // Stops: blue, cyan, green, yellow, red.
    static const int stops[5][3] = {{30, 40, 200}, {0, 190, 230}, {40, 190, 60}, {240, 220, 40}, {210, 40, 30}};
    if (!(t > 0)) t = 0;
    if (t > 1) t = 1;
    const double s = t * 4;
    const int i = std::min(static_cast<int>(s), 3);
    const double f = s - i;
    return opaque(clampByte(stops[i][0] + (stops[i + 1][0] - stops[i][0]) * f),
                  clampByte(stops[i][1] + (stops[i + 1][1] - stops[i][1]) * f),
                  clampByte(stops[i][2] + (stops[i + 1][2] - stops[i][2]) * f));
}

RgbImage renderRelief(const trelvik::Grid& grid, int width, int height, double hAngle, double vAngle) {
    RgbImage img(std::max(width, 0), std::max(height, 0));
    if (grid.cols < 2 || grid.rows < 2 || width <= 0 || height <= 0) return img;
    const double dx = grid.xSpacing(), dy = grid.ySpacing();
    if (!(dx > 0) || !(dy > 0)) return img;
    const double lx = std::cos(vAngle * kDeg) * std::cos(hAngle * kDeg);
    const double ly = std::cos(vAngle * kDeg) * std::sin(hAngle * kDeg);
    const double lz = std::sin(vAngle * kDeg);
    return flatImage(grid, width, height, [=](const Corners& k, double fx, double fy) {
        // Gradient of the cell's bilinear surface at the sample point.
        const double gx = ((k.z10 - k.z00) * (1 - fy) + (k.z11 - k.z01) * fy) / dx;
        const double gy = ((k.z01 - k.z00) * (1 - fx) + (k.z11 - k.z10) * fx) / dy;
        const double shade = (-gx * lx - gy * ly + lz) / std::sqrt(gx * gx + gy * gy + 1);
        const int v = clampByte(255.0 * std::max(0.0, shade));
        return opaque(v, v, v);
    });
}

RgbImage renderColourImage(const trelvik::Grid& grid, int width, int height) {
    RgbImage img(std::max(width, 0), std::max(height, 0));
    if (grid.cols < 2 || grid.rows < 2 || width <= 0 || height <= 0) return img;
    const double zLo = grid.zMin(), zHi = grid.zMax();
    if (trelvik::isBlank(zLo)) return img;
    const double span = zHi > zLo ? zHi - zLo : 0.0;
    // A 256-entry table keeps the ramp's arithmetic out of the pixel loop.
    std::uint32_t table[256];
    for (int k = 0; k < 256; ++k) table[k] = rampColour(k / 255.0);
    return flatImage(grid, width, height, [&](const Corners& k, double fx, double fy) {
        const double z = (k.z00 * (1 - fx) + k.z10 * fx) * (1 - fy) + (k.z01 * (1 - fx) + k.z11 * fx) * fy;
        const double t = span > 0 ? (z - zLo) / span : 0.5;
        return table[std::clamp(static_cast<int>(t * 255.0 + 0.5), 0, 255)];
    });
}

} // namespace surfer
