#include "csvview/renderprocessed.h"

#include <cmath>

namespace trelvik::csvview {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kRad = kPi / 180.0;

// Upper bounds of the sectors after the first, and their colours; the first sector
// (north) takes 0 up to its upper bound and everything above the last bound.
struct Sectors {
    int count;
    const std::uint32_t* colours;  // count entries, north first
};

constexpr std::uint32_t kEight[8] = {rgb(255, 255, 0), rgb(0, 255, 255), rgb(0, 0, 255),  rgb(0, 255, 0),
                                     rgb(0, 103, 52),  rgb(255, 0, 255), rgb(255, 0, 0), rgb(103, 52, 52)};
constexpr std::uint32_t kFour[4] = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 0)};

// Sector number 1..n of an orientation in [0, 360], 0 when it lies outside.
int sectorOf(double v, int n) {
    if (!(v >= 0) || v > 360) return 0;
    const double width = 360.0 / n;
    const double half = width / 2;
    if (v <= half || v > 360 - half) return 1;
    for (int k = 2; k <= n; ++k) {
        const double upper = half + (k - 1) * width;
        if (v <= upper) return k;
    }
    return 1;
}

} // namespace

std::uint32_t orientationColour(double orientation, double classes) {
    if (orientation == -1) return rgb(128, 128, 128);
    const int n = classes == 8 ? 8 : classes == 4 ? 4 : 0;
    if (n == 0) return kBlack;
    const int k = sectorOf(orientation, n);
    if (k == 0) return kBlack;
    return n == 8 ? kEight[k - 1] : kFour[k - 1];
}

namespace {

// The light's fixed terms, worked out once per picture.
struct ShadeModel {
    double cosZ, sinZ, azimuth, exponent, weight;
    bool wholeExponent;
    int power;
    explicit ShadeModel(const ShadeSettings& s)
        : cosZ(std::cos((90.0 - s.elevation) * kRad)), sinZ(std::sin((90.0 - s.elevation) * kRad)),
          azimuth(s.azimuth * kRad), exponent(s.exponent), weight(s.weight),
          wholeExponent(s.exponent == std::floor(s.exponent) && std::fabs(s.exponent) <= 64),
          power(wholeExponent ? static_cast<int>(s.exponent) : 0) {}

    double level(double gradient, double orientationDeg, bool orientationVoid) const {
        // Slope angle S = atan(gradient): cos S and sin S straight from the gradient.
        const double hyp = std::sqrt(1.0 + gradient * gradient);
        const double cosS = 1.0 / hyp, sinS = gradient / hyp;
        const double A = orientationVoid ? 0.0 : orientationDeg * kRad;
        const double L = cosZ * cosS + sinZ * sinS * std::cos(A - azimuth);
        const double base = 2.0 * L * cosS - cosZ;
        double R;
        if (wholeExponent) {
            R = 1.0;
            for (int k = 0; k < (power < 0 ? -power : power); ++k) R *= base;
            if (power < 0) R = 1.0 / R;
        } else if (base < 0) {
            R = 0;  // no real power: the reflected light is taken as absent
        } else {
            R = std::pow(base, exponent);
        }
        const double g = 255.0 * (weight * L + (1.0 - weight) * R);
        return g > 0 ? g : 0.0;
    }
};

} // namespace

double shadeLevel(double gradient, double orientationDeg, bool orientationVoid, const ShadeSettings& s) {
    return ShadeModel(s).level(gradient, orientationDeg, orientationVoid);
}

ProcessedPicture renderProcessedGrid(const ProcessedRenderInput& in) {
    ProcessedPicture pic;
    const LatticeGrid& grid = *in.processed;
    const int cols = grid.cols > 0 ? grid.cols : 0, rows = grid.rows > 0 ? grid.rows : 0;
    pic.cols = cols;
    pic.rows = rows;
    pic.buffer.reset(cols + kPictureMargin, rows + kPictureMargin, kClearColour);
    pic.level.assign(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows), 0.0);
    if (cols == 0 || rows == 0) return pic;

    double lowest = 1e16, highest = -1e16;
    for (const GridCell& c : grid.cells) {
        if (isVoid(c.z)) continue;
        if (c.z < lowest) lowest = c.z;
        if (c.z > highest) highest = c.z;
    }
    pic.hasCells = lowest <= highest;
    pic.lowest = pic.hasCells ? lowest : 0;
    pic.highest = pic.hasCells ? highest : 0;

    enum class Rule { Shade, Slope, Angular, Aspect, Nothing, Grey, Contour };
    Rule rule;
    if (in.slopeResultsReady) {
        if (in.procMode == "ShadedRelief")
            rule = (in.slope && in.orient && in.shadeSlope) ? Rule::Shade : Rule::Nothing;
        else if (in.procMode == "Slope")
            rule = Rule::Slope;
        else if (in.procMode == "Angular")
            rule = Rule::Angular;
        else if (in.procMode == "Aspect")
            rule = Rule::Aspect;
        else
            rule = Rule::Nothing;
    } else {
        rule = in.procMode == "Contour" ? Rule::Contour : Rule::Grey;
    }

    const double range = pic.highest - pic.lowest;
    const ShadeModel shade(in.shade);
    const bool sameSize = [&] {
        auto fits = [&](const LatticeGrid* g) { return g && g->cols == cols && g->rows == rows; };
        return fits(in.slope) && fits(in.orient) && fits(in.shadeSlope);
    }();
    if (rule == Rule::Shade && !sameSize) rule = Rule::Nothing;

    for (int y = 0; y < rows; ++y) {
        const int r = rows - y;
        std::uint32_t* px = &pic.buffer.pixels[static_cast<std::size_t>(y) * pic.buffer.width];
        double* lv = &pic.level[static_cast<std::size_t>(y) * cols];
        for (int c = 1; c <= cols; ++c) {
            const double z = grid.z(c, r);
            std::uint32_t& out = px[c - 1];
            double& level = lv[c - 1];
            if (rule == Rule::Shade) {
                const double slopeZ = in.shadeSlope->z(c, r);
                const double gradient = in.slope->z(c, r);
                if ((isVoid(z) && isVoid(slopeZ)) || isVoid(gradient)) {
                    out = kBlack;
                    continue;
                }
                const double o = in.orient->z(c, r);
                level = shade.level(gradient, o, isVoid(o));
                out = greyPixel(level);
                continue;
            }
            if (isVoid(z)) {
                out = kBlack;
                continue;
            }
            switch (rule) {
            case Rule::Slope: {
                level = highest > 0 ? z / highest * 255.0 : 0.0;
                // A slope typed as the minimum comes back from tan/atan a rounding step off;
                // it still counts as at the minimum.
                const bool low = in.useMinSlope && std::atan(z) / kRad <= in.minSlope + 1e-9;
                out = low ? rgb(channel(255.0 - level), 0, 0) : rgb(0, channel(level), 0);
                break;
            }
            case Rule::Angular:
                level = z < 89 ? 0.0 : (z - 89) * 255.0;
                out = rgb(0, channel(level), 0);
                break;
            case Rule::Aspect: {
                const int n = in.aspectNoCat == 8 ? 8 : in.aspectNoCat == 4 ? 4 : 0;
                level = n ? sectorOf(z, n) : 0;
                out = orientationColour(z, in.aspectNoCat);
                break;
            }
            case Rule::Contour: {
                const double p = range != 0 ? (z - pic.lowest) / range : 0.0;
                if (highest == 0)
                    level = 255.0;  // one band only: the top of the scale
                else
                    level = (p + 1.0 / highest) / (1.0 + 1.0 / highest) * 255.0;
                out = greyPixel(level);
                break;
            }
            case Rule::Grey:
                level = range != 0 ? (z - pic.lowest) / range * 255.0 : 0.0;
                out = greyPixel(level);
                break;
            default:
                break;  // nothing drawn for the cell
            }
        }
    }
    return pic;
}

std::optional<std::string> processedImageName(const ProcessedImageNaming& n) {
    if (n.slopeRunning) {
        if (!n.saveSlopeImage) return std::nullopt;
        std::string name;
        if (n.aspectChosen)
            name = n.stem + "-asp" + n.aspectNoCatText;
        else if (n.slopeChosen)
            name = n.stem + "-sl" + n.slopeNoCatText;
        else
            return std::nullopt;
        if (n.useMinSlope) name += "_" + n.minSlopeText;
        return name + ".bmp";
    }
    if (n.contourRun && n.saveContourImage) {
        if (n.contourByXy) return n.stem + "-con" + n.contourFactorText + ".bmp";
        if (n.contourByRange) return n.stem + "-cor" + n.contourRangeText + ".bmp";
    }
    return std::nullopt;
}

} // namespace trelvik::csvview
