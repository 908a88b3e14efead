// Polynomial regression: the least-squares polynomial surface through the data points.
// The fit works in centred and scaled coordinates (u = (x - mean x) / spread) so that the
// normal equations stay well conditioned far from the origin; the coefficients are then
// expanded back into the data's own x and y for the report.
#include "surfer/griddataalgorithms.h"
#include "surfer/griddataparallel.h"

#include "core/error.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>

namespace surfer {

namespace {

struct Basis {
    std::vector<std::pair<int, int>> powers;  // (x power, y power) per term
    int maxX = 0, maxY = 0;
};

Basis makeBasis(int maxX, int maxY, int maxTotal) {
    Basis b;
    b.maxX = maxX;
    b.maxY = maxY;
    for (int t = 0; t <= maxTotal; ++t)
        for (int i = std::min(t, maxX); i >= 0; --i)
            if (t - i <= maxY) b.powers.emplace_back(i, t - i);
    return b;
}

// Values of every term at (u, v), written to out (size = number of terms).
inline void evalBasis(const Basis& b, double u, double v, double* up, double* vp, double* out) {
    up[0] = vp[0] = 1;
    for (int i = 1; i <= b.maxX; ++i) up[i] = up[i - 1] * u;
    for (int j = 1; j <= b.maxY; ++j) vp[j] = vp[j - 1] * v;
    for (std::size_t k = 0; k < b.powers.size(); ++k) out[k] = up[b.powers[k].first] * vp[b.powers[k].second];
}

double binomial(int n, int k) {
    double r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

struct Frame {
    double xm = 0, ym = 0, sx = 1, sy = 1;
};

struct Solved {
    Basis basis;
    Frame frame;
    Eigen::VectorXd beta;  // coefficients in u, v
    PolynomialFit fit;
};

Solved solve(const trelvik::PointList& points, int maxX, int maxY, int maxTotal, const std::string& file) {
    if (maxX < 0 || maxY < 0 || maxTotal < 0 || maxX > 10 || maxY > 10 || maxTotal > 10)
        throw trelvik::Error("GridData: regression orders must lie between 0 and 10 for data file " + file);
    Solved s;
    s.basis = makeBasis(maxX, maxY, maxTotal);
    const auto t = static_cast<Eigen::Index>(s.basis.powers.size());
    if (static_cast<Eigen::Index>(points.size()) < t)
        throw trelvik::Error("GridData: polynomial regression of these orders needs at least " + std::to_string(t) +
                             " data points; data file " + file + " has " + std::to_string(points.size()));

    Frame& f = s.frame;
    for (const auto& p : points) {
        f.xm += p.x;
        f.ym += p.y;
    }
    f.xm /= static_cast<double>(points.size());
    f.ym /= static_cast<double>(points.size());
    double ax = 0, ay = 0;
    for (const auto& p : points) {
        ax = std::max(ax, std::fabs(p.x - f.xm));
        ay = std::max(ay, std::fabs(p.y - f.ym));
    }
    f.sx = ax > 0 ? ax : 1;
    f.sy = ay > 0 ? ay : 1;

    // Normal equations summed in fixed chunks, chunk sums added in order: the same
    // rounding whatever the machine. A second sweep over the residuals refines the
    // solution (one step of iterative refinement), which wins back the digits the
    // normal equations lose, so an exact plane comes out to the last digit or two.
    constexpr std::size_t kChunk = 1 << 16;
    const std::size_t chunks = (points.size() + kChunk - 1) / kChunk;
    std::vector<Eigen::MatrixXd> ata(chunks, Eigen::MatrixXd::Zero(t, t));
    std::vector<Eigen::VectorXd> atz(chunks, Eigen::VectorXd::Zero(t));
    s.beta = Eigen::VectorXd::Zero(t);
    auto sweep = [&](bool withMatrix) {
        detail::forEachRowBlock(static_cast<int>(chunks), [&](int c0, int c1) {
            std::vector<double> up(static_cast<std::size_t>(maxX + 1)), vp(static_cast<std::size_t>(maxY + 1)),
                phi(static_cast<std::size_t>(t));
            for (int c = c0; c < c1; ++c) {
                Eigen::MatrixXd& m = ata[static_cast<std::size_t>(c)];
                Eigen::VectorXd& v = atz[static_cast<std::size_t>(c)];
                v.setZero();
                const std::size_t end = std::min(points.size(), (static_cast<std::size_t>(c) + 1) * kChunk);
                for (std::size_t i = static_cast<std::size_t>(c) * kChunk; i < end; ++i) {
                    const auto& p = points[i];
                    evalBasis(s.basis, (p.x - f.xm) / f.sx, (p.y - f.ym) / f.sy, up.data(), vp.data(), phi.data());
                    double r = p.z;
                    for (Eigen::Index k = 0; k < t; ++k) r -= s.beta(k) * phi[static_cast<std::size_t>(k)];
                    for (Eigen::Index a = 0; a < t; ++a) {
                        const double pa = phi[static_cast<std::size_t>(a)];
                        v(a) += pa * r;
                        if (withMatrix)
                            for (Eigen::Index b = a; b < t; ++b) m(a, b) += pa * phi[static_cast<std::size_t>(b)];
                    }
                }
            }
        }, 1);
    };
    sweep(true);
    Eigen::MatrixXd m = Eigen::MatrixXd::Zero(t, t);
    Eigen::VectorXd v = Eigen::VectorXd::Zero(t);
    for (std::size_t c = 0; c < chunks; ++c) {
        m += ata[c];
        v += atz[c];
    }
    m.triangularView<Eigen::StrictlyLower>() = m.transpose().triangularView<Eigen::StrictlyLower>();
    Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(m);
    qr.setThreshold(1e-12);
    if (qr.rank() < t)
        throw trelvik::Error("GridData: the data points of " + file +
                             " do not determine a regression surface of these orders (too few distinct positions)");
    s.beta = qr.solve(v);
    sweep(false);
    v.setZero();
    for (std::size_t c = 0; c < chunks; ++c) v += atz[c];
    s.beta += qr.solve(v);

    // Expand beta * u^p v^q into powers of the data's own x and y.
    Eigen::MatrixXd raw = Eigen::MatrixXd::Zero(maxX + 1, maxY + 1);
    for (Eigen::Index k = 0; k < t; ++k) {
        const auto [p, q] = s.basis.powers[static_cast<std::size_t>(k)];
        const double scale = s.beta(k) / (std::pow(f.sx, p) * std::pow(f.sy, q));
        for (int a = 0; a <= p; ++a)
            for (int b = 0; b <= q; ++b)
                raw(a, b) += scale * binomial(p, a) * std::pow(-f.xm, p - a) * binomial(q, b) * std::pow(-f.ym, q - b);
    }
    for (const auto& [p, q] : s.basis.powers) s.fit.terms.push_back({p, q, raw(p, q)});
    s.fit.C = raw(0, 0);
    s.fit.A = maxX >= 1 && maxTotal >= 1 ? raw(1, 0) : 0;
    s.fit.B = maxY >= 1 && maxTotal >= 1 ? raw(0, 1) : 0;

    std::vector<double> up(static_cast<std::size_t>(maxX + 1)), vp(static_cast<std::size_t>(maxY + 1)),
        phi(static_cast<std::size_t>(t));
    double rss = 0;
    for (const auto& p : points) {
        evalBasis(s.basis, (p.x - f.xm) / f.sx, (p.y - f.ym) / f.sy, up.data(), vp.data(), phi.data());
        double z = 0;
        for (Eigen::Index k = 0; k < t; ++k) z += s.beta(k) * phi[static_cast<std::size_t>(k)];
        rss += (p.z - z) * (p.z - z);
    }
    s.fit.residualSumOfSquares = rss;
    return s;
}

} // namespace

PolynomialFit fitPolynomial(const trelvik::PointList& points, int maxXOrder, int maxYOrder, int maxTotalOrder,
                            const std::string& dataFile) {
    return solve(points, maxXOrder, maxYOrder, maxTotalOrder, dataFile).fit;
}

PolynomialFit gridPolynomialRegression(const trelvik::PointList& points, trelvik::Grid& grid, int maxXOrder,
                                       int maxYOrder, int maxTotalOrder, const std::string& dataFile) {
    const Solved s = solve(points, maxXOrder, maxYOrder, maxTotalOrder, dataFile);
    const auto t = s.beta.size();
    detail::forEachRowBlock(grid.rows, [&](int r0, int r1) {
        std::vector<double> up(static_cast<std::size_t>(maxXOrder + 1)), vp(static_cast<std::size_t>(maxYOrder + 1)),
            phi(static_cast<std::size_t>(t));
        for (int r = r0; r < r1; ++r) {
            const double v = (grid.y(r) - s.frame.ym) / s.frame.sy;
            for (int c = 0; c < grid.cols; ++c) {
                evalBasis(s.basis, (grid.x(c) - s.frame.xm) / s.frame.sx, v, up.data(), vp.data(), phi.data());
                double z = 0;
                for (Eigen::Index k = 0; k < t; ++k) z += s.beta(k) * phi[static_cast<std::size_t>(k)];
                grid.at(c, r) = z;
            }
        }
    });
    return s.fit;
}

} // namespace surfer
