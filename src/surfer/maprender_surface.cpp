// 3-D surface view: projection of a heights lattice and its z-buffered rendering
// (see maprender.h).
#include "surfer/maprender.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace surfer {

namespace {
constexpr double kDeg = std::numbers::pi / 180.0;
}

SurfaceProjector::SurfaceProjector(const trelvik::Grid& grid, int width, int height, const SurfaceView& view) {
    const double zLo = grid.zMin(), zHi = grid.zMax();
    if (width <= 0 || height <= 0 || grid.cols < 2 || grid.rows < 2 || trelvik::isBlank(zLo)) return;
    cx = (grid.xMin + grid.xMax) / 2;
    cy = (grid.yMin + grid.yMax) / 2;
    cz = (zLo + zHi) / 2;
    sxy = view.xyUnitsPerInch > 0 ? view.xyUnitsPerInch : 1;
    sz = view.zUnitsPerInch > 0 ? view.zUnitsPerInch : 1;
    cr = std::cos(view.rotation * kDeg);
    sr = std::sin(view.rotation * kDeg);
    ct = std::cos(view.tilt * kDeg);
    st = std::sin(view.tilt * kDeg);
    perspective = view.projection == Projection::Perspective;
    const double hx = (grid.xMax - grid.xMin) / 2 / sxy, hy = (grid.yMax - grid.yMin) / 2 / sxy;
    const double hz = (zHi - zLo) / 2 / sz;
    // The eye stands well outside the box so perspective stays gentle.
    dist = 4 * std::sqrt(hx * hx + hy * hy + hz * hz) + 1e-9;

    double bx0 = std::numeric_limits<double>::max(), bx1 = -bx0, by0 = bx0, by1 = -bx0;
    for (int k = 0; k < 8; ++k) {
        const double x = (k & 1) ? grid.xMax : grid.xMin;
        const double y = (k & 2) ? grid.yMax : grid.yMin;
        const double z = (k & 4) ? zHi : zLo;
        double X, Y, d;
        viewCoords(x, y, z, X, Y, d);
        bx0 = std::min(bx0, X);
        bx1 = std::max(bx1, X);
        by0 = std::min(by0, Y);
        by1 = std::max(by1, Y);
    }
    const double w = bx1 - bx0, h = by1 - by0;
    if (!(w > 0) && !(h > 0)) return;
    scale = std::min(w > 0 ? width / w : std::numeric_limits<double>::max(),
                     h > 0 ? height / h : std::numeric_limits<double>::max());
    offX = (width - scale * w) / 2 - scale * bx0;
    offY = (height - scale * h) / 2 + scale * by1;
    valid = true;
}

void SurfaceProjector::viewCoords(double x, double y, double z, double& X, double& Y, double& depth) const {
    const double wx = (x - cx) / sxy, wy = (y - cy) / sxy, wz = (z - cz) / sz;
    const double u = wx * cr - wy * sr;
    const double v = wx * sr + wy * cr;
    X = u;
    Y = v * st + wz * ct;
    depth = v * ct - wz * st;  // grows away from the eye
    if (perspective) {
        const double f = dist / (dist + depth);
        X *= f;
        Y *= f;
    }
}

void SurfaceProjector::project(double x, double y, double z, double& px, double& py) const {
    double X, Y, d;
    viewCoords(x, y, z, X, Y, d);
    px = offX + scale * X;
    py = offY - scale * Y;
}

namespace {
struct Vertex {
    float px, py, depth;
    double wx, wy, wz;  // page-inch coordinates for the normal
    double z;
    bool ok;
};

// Colour per pixel: the ramp at the interpolated height (t in 0..255), dimmed by the
// triangle's shade (k, 0..256).
void fillTriangle(RgbImage& img, std::vector<float>& zbuf, const Vertex& a, const Vertex& b, const Vertex& c,
                  const std::uint32_t* ramp, double ta, double tb, double tc, unsigned k) {
    const double area = (b.px - a.px) * (c.py - a.py) - (b.py - a.py) * (c.px - a.px);
    if (area == 0) return;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.px, b.px, c.px}))));
    const int x1 = std::min(img.width - 1, static_cast<int>(std::ceil(std::max({a.px, b.px, c.px}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.py, b.py, c.py}))));
    const int y1 = std::min(img.height - 1, static_cast<int>(std::ceil(std::max({a.py, b.py, c.py}))));
    const double inv = 1.0 / area;
    const double eps = -1e-7;  // shared edges are covered from both sides: no cracks
    for (int y = y0; y <= y1; ++y) {
        const double sy = y + 0.5;
        for (int x = x0; x <= x1; ++x) {
            const double sx = x + 0.5;
            const double w0 = ((b.px - sx) * (c.py - sy) - (b.py - sy) * (c.px - sx)) * inv;
            const double w1 = ((c.px - sx) * (a.py - sy) - (c.py - sy) * (a.px - sx)) * inv;
            const double w2 = 1.0 - w0 - w1;
            if (w0 < eps || w1 < eps || w2 < eps) continue;
            const float d = static_cast<float>(w0 * a.depth + w1 * b.depth + w2 * c.depth);
            float& slot = zbuf[static_cast<std::size_t>(y) * img.width + x];
            if (d < slot) {
                slot = d;
                const int t = std::clamp(static_cast<int>(w0 * ta + w1 * tb + w2 * tc + 0.5), 0, 255);
                const std::uint32_t base = ramp[t];
                const unsigned r = (((base >> 16) & 0xFF) * k) >> 8, g = (((base >> 8) & 0xFF) * k) >> 8,
                               bl = ((base & 0xFF) * k) >> 8;
                img.pixels[static_cast<std::size_t>(y) * img.width + x] = 0xFF000000u | (r << 16) | (g << 8) | bl;
            }
        }
    }
}
} // namespace

RgbImage renderSurface(const trelvik::Grid& grid, int width, int height, const SurfaceView& view) {
    RgbImage img(std::max(width, 0), std::max(height, 0));
    const SurfaceProjector proj(grid, width, height, view);
    if (!proj.valid) return img;
    const double zLo = grid.zMin(), zHi = grid.zMax();
    const double span = zHi > zLo ? zHi - zLo : 0.0;

    // Thin the lattice to about one node per pixel of the image's longer side.
    const int longest = std::max(grid.cols, grid.rows) - 1;
    const int step = std::max(1, static_cast<int>(std::ceil(longest / (std::max(width, height) * 1.0))));
    std::vector<int> ci, ri;
    for (int c = 0; c < grid.cols - 1; c += step) ci.push_back(c);
    ci.push_back(grid.cols - 1);
    for (int r = 0; r < grid.rows - 1; r += step) ri.push_back(r);
    ri.push_back(grid.rows - 1);

    std::vector<Vertex> verts(ci.size() * ri.size());
    for (std::size_t j = 0; j < ri.size(); ++j)
        for (std::size_t i = 0; i < ci.size(); ++i) {
            Vertex& v = verts[j * ci.size() + i];
            const double x = grid.x(ci[i]), y = grid.y(ri[j]), z = grid.at(ci[i], ri[j]);
            v.ok = !trelvik::isBlank(z);
            if (!v.ok) continue;
            double X, Y, d, px, py;
            proj.viewCoords(x, y, z, X, Y, d);
            proj.project(x, y, z, px, py);
            v.px = static_cast<float>(px);
            v.py = static_cast<float>(py);
            v.depth = static_cast<float>(d);
            v.wx = x / proj.sxy;
            v.wy = y / proj.sxy;
            v.wz = z / proj.sz;
            v.z = z;
        }

    const double lx = std::cos(view.lightZenith * kDeg) * std::cos(view.lightAzimuth * kDeg);
    const double ly = std::cos(view.lightZenith * kDeg) * std::sin(view.lightAzimuth * kDeg);
    const double lz = std::sin(view.lightZenith * kDeg);
    std::vector<float> zbuf(img.pixels.size(), std::numeric_limits<float>::max());
    std::uint32_t ramp[256];
    for (int k = 0; k < 256; ++k) ramp[k] = rampColour(k / 255.0);
    auto tOf = [&](const Vertex& v) { return span > 0 ? (v.z - zLo) / span * 255.0 : 127.5; };
    // Lambert shade of the triangle, a quarter of it ambient, as a factor out of 256.
    auto shadeOf = [&](const Vertex& a, const Vertex& b, const Vertex& c) {
        const double ux = b.wx - a.wx, uy = b.wy - a.wy, uz = b.wz - a.wz;
        const double vx = c.wx - a.wx, vy = c.wy - a.wy, vz = c.wz - a.wz;
        double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        if (nz < 0) nx = -nx, ny = -ny, nz = -nz;
        const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
        const double lambert = len > 0 ? std::max(0.0, (nx * lx + ny * ly + nz * lz) / len) : 1.0;
        return static_cast<unsigned>((0.25 + 0.75 * lambert) * 256.0);
    };
    auto fill = [&](const Vertex& a, const Vertex& b, const Vertex& c) {
        fillTriangle(img, zbuf, a, b, c, ramp, tOf(a), tOf(b), tOf(c), shadeOf(a, b, c));
    };
    for (std::size_t j = 0; j + 1 < ri.size(); ++j)
        for (std::size_t i = 0; i + 1 < ci.size(); ++i) {
            const Vertex& v00 = verts[j * ci.size() + i];
            const Vertex& v10 = verts[j * ci.size() + i + 1];
            const Vertex& v01 = verts[(j + 1) * ci.size() + i];
            const Vertex& v11 = verts[(j + 1) * ci.size() + i + 1];
            if (v00.ok && v10.ok && v11.ok) fill(v00, v10, v11);
            if (v00.ok && v11.ok && v01.ok) fill(v00, v11, v01);
        }
    return img;
}

} // namespace surfer
