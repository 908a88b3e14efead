// Triangulation with linear interpolation: the Delaunay triangulation of the data points,
// each node interpolated linearly within the triangle that holds it.
#include "surfer/griddataalgorithms.h"
#include "surfer/griddataparallel.h"

#include "core/error.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <utility>
#include <vector>

namespace surfer {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<double, Kernel>;
using Tds = CGAL::Triangulation_data_structure_2<VertexBase>;
using Delaunay = CGAL::Delaunay_triangulation_2<Kernel, Tds>;

} // namespace

void gridTriangulation(const trelvik::PointList& points, trelvik::Grid& grid, const std::string& dataFile) {
    if (points.size() < 3)
        throw trelvik::Error("GridData: triangulation needs at least 3 data points; data file " + dataFile + " has " +
                             std::to_string(points.size()));
    std::vector<std::pair<Kernel::Point_2, double>> input;
    input.reserve(points.size());
    for (const auto& p : points) input.emplace_back(Kernel::Point_2(p.x, p.y), p.z);
    Delaunay dt;
    dt.insert(input.begin(), input.end());
    if (dt.dimension() < 2)
        throw trelvik::Error("GridData: the data points of " + dataFile + " lie on one line and cannot be triangulated");

    // Each search starts from the face found for the node before it; a row starts from
    // the face of the previous row's first node. A node outside the hull leaves the
    // search at the hull face nearest to it, so the blank margins of an outlined tooth
    // cost short walks instead of one across the whole triangulation per node.
    auto finiteNear = [&](Delaunay::Face_handle f) {
        if (f == Delaunay::Face_handle() || !dt.is_infinite(f)) return f;
        return f->neighbor(f->index(dt.infinite_vertex()));
    };
    detail::forEachRowBlock(grid.rows, [&](int r0, int r1) {
        Delaunay::Face_handle hint, rowStart;
        for (int r = r0; r < r1; ++r) {
            const double y = grid.y(r);
            hint = rowStart;
            for (int c = 0; c < grid.cols; ++c) {
                const double x = grid.x(c);
                Delaunay::Locate_type lt;
                int li;
                const Kernel::Point_2 q(x, y);
                Delaunay::Face_handle f = dt.locate(q, lt, li, hint);
                hint = finiteNear(f);
                if (c == 0) rowStart = hint;
                if (lt == Delaunay::VERTEX) {
                    grid.at(c, r) = f->vertex(li)->info();
                    continue;
                }
                // A node on the hull's boundary may come back with the outer face.
                if (lt == Delaunay::EDGE && dt.is_infinite(f)) f = f->neighbor(li);
                if (lt == Delaunay::OUTSIDE_CONVEX_HULL || lt == Delaunay::OUTSIDE_AFFINE_HULL || dt.is_infinite(f)) {
                    grid.at(c, r) = trelvik::kBlank;
                    continue;
                }
                const auto& p0 = f->vertex(0)->point();
                const auto& p1 = f->vertex(1)->point();
                const auto& p2 = f->vertex(2)->point();
                // Barycentric weights of the node within the triangle.
                const double det = (p1.x() - p0.x()) * (p2.y() - p0.y()) - (p2.x() - p0.x()) * (p1.y() - p0.y());
                const double w1 = ((x - p0.x()) * (p2.y() - p0.y()) - (p2.x() - p0.x()) * (y - p0.y())) / det;
                const double w2 = ((p1.x() - p0.x()) * (y - p0.y()) - (x - p0.x()) * (p1.y() - p0.y())) / det;
                const double w0 = 1.0 - w1 - w2;
                grid.at(c, r) = w0 * f->vertex(0)->info() + w1 * f->vertex(1)->info() + w2 * f->vertex(2)->info();
            }
        }
    });
}

} // namespace surfer
