// The number-row writers: rows of random values (huge, tiny, negative, subnormal, blank)
// written through each parallel writer of many rows (XYZ dump, shifted XYZ, DXF faces,
// rotated points in commas and in print zones, point files, tables of 1 to 9 columns)
// must give the text of the same rows formatted one number at a time. A writer has no
// damaged input to refuse: any exception, any difference is a finding.
#include "conversion/gridtodat.h"
#include "core/grid.h"
#include "core/points.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "formats/dumplattice.h"
#include "formats/dxf.h"
#include "formats/numberrows.h"
#include "formats/xyzdump.h"
#include "formats/xyzpointfile.h"
#include "planes/rotatepoints.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace trelvik;

namespace {

// Takes bytes off the front of the input; zeros once it is used up.
struct Bytes {
    const std::uint8_t* p;
    std::size_t left;
    std::uint64_t take(std::size_t n) {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < n; ++i) {
            v = (v << 8) | (left ? *p : 0);
            if (left) ++p, --left;
        }
        return v;
    }
};

// One value of a class chosen by the input.
double value(Bytes& in) {
    const auto kind = in.take(1) % 8;
    const auto bits = in.take(8);
    const double sign = (bits & 1) ? -1.0 : 1.0;
    double v = 0;
    switch (kind) {
    case 0: std::memcpy(&v, &bits, sizeof v); break;                              // any bits
    case 1: v = sign * (1 + bits % 9) * std::pow(10.0, 250 + (bits >> 8) % 59); break;  // huge
    case 2: v = sign * (1 + bits % 9) * std::pow(10.0, -300 - double((bits >> 8) % 8)); break;  // tiny
    case 3: {                                                                   // subnormal
        const std::uint64_t sub = bits & 0x800FFFFFFFFFFFFFULL;
        std::memcpy(&v, &sub, sizeof v);
        break;
    }
    case 4: v = kBlank; break;
    case 5: v = sign * static_cast<double>(bits % 2000001) / 1000.0; break;  // halves and thousandths
    case 6: v = sign * static_cast<double>(bits % 100000000000000000ULL); break;  // up to 17 digits
    default: v = sign * static_cast<double>(bits % 1000) * 0.0005; break;
    }
    return std::isfinite(v) ? v : 0.0;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void mustMatch(const std::string& path, const std::string& expected, const char* writer) {
    if (fileText(path) != expected) {
        std::fprintf(stderr, "%s: the parallel text differs from one number at a time\n", writer);
        std::abort();
    }
}

std::string printForm(double v) { return text::Str(text::Round(v, 3)) + " "; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static PrivateFolder folder("fuzzrows");
    Bytes in{data, size};
    // Up to some 1500 nodes: several parallel blocks of the writers with long rows (DXF
    // faces, shifted XYZ of huge values); the room of every row is checked in any case.
    const int cols = 2 + static_cast<int>(in.take(1) % 30);
    const int rows = 2 + static_cast<int>(in.take(2) % 1500) / cols;
    std::vector<double> pool(1 + in.take(1) % 48);
    for (double& v : pool) v = value(in);
    auto at = [&](std::size_t i) { return pool[(i * 7 + i / pool.size()) % pool.size()]; };

    // XYZ dump of a grid: x and y from the lattice, every node, blanks at the blank value.
    const double x0 = value(in), y0 = value(in);
    double x1 = x0 + std::fabs(value(in)), y1 = y0 + std::fabs(value(in));
    if (!std::isfinite(x1)) x1 = x0;
    if (!std::isfinite(y1)) y1 = y0;
    Grid g(cols, rows, x0, x1, y0, y1);
    for (std::size_t i = 0; i < g.z.size(); ++i) g.z[i] = at(i);
    std::string expected;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            expected += text::CStr(g.x(c)) + " " + text::CStr(g.y(r)) + " " +
                        text::CStr(g.blank(c, r) ? kBlank : g.at(c, r)) + "\r\n";
    const std::string dump = folder.file("dump.xyz");
    formats::writeXyzDump(dump, g);
    mustMatch(dump, expected, "XYZ dump");

    // The values as that text reads back, for the writers that start from it.
    const PointList nodes = formats::readXyzDump(dump);

    // Shifted XYZ: data nodes shifted by the least x, y (all nodes) and least data z.
    double xmin = nodes[0].x, ymin = nodes[0].y, zmin = 0;
    bool anyData = false;
    for (const PointXYZ& p : nodes) {
        xmin = std::min(xmin, p.x);
        ymin = std::min(ymin, p.y);
        if (p.z < kBlankThreshold && (!anyData || p.z < zmin)) zmin = p.z, anyData = true;
    }
    expected.clear();
    for (const PointXYZ& p : nodes)
        if (p.z < kBlankThreshold)
            expected += text::Format(p.x - xmin, "0.0##") + "\t" + text::Format(p.y - ymin, "0.0##") + "\t" +
                        text::Format(p.z - zmin, "0.0##") + "\r\n";
    const std::string shifted = folder.file("shifted.xyz");
    conversion::WriteShiftedXyz(dump, shifted);
    mustMatch(shifted, expected, "shifted XYZ");

    // Rotated points (turned by the identity), in commas and in print zones.
    const planes::Mat3 turn = planes::Mat3::Identity();
    std::string comma, zones;
    for (const PointXYZ& p : nodes) {
        if (p.z > 1.7e38) continue;
        const Eigen::Vector3d q = turn * Eigen::Vector3d(p.x, p.y, p.z);
        comma += text::WriteLine().num(q.x()).num(q.y()).num(q.z()).str() + "\r\n";
        zones += text::PrintLine().num(q.x()).num(q.y()).num(q.z()).str() + "\r\n";
    }
    const std::string rotated = folder.file("rotated.dat");
    planes::RotatePointFile(dump, rotated, turn, planes::PointLayout::Comma);
    mustMatch(rotated, comma, "rotated points");
    planes::RotatePointFile(dump, rotated, turn, planes::PointLayout::PrintZones);
    mustMatch(rotated, zones, "rotated points in print zones");

    // Point file and tables of any width, with and without the VRML point lines' comma.
    PointList points;
    for (std::size_t i = 0; i < g.z.size(); ++i) points.push_back({at(i), at(i + 1), at(i + 2)});
    expected.clear();
    for (const PointXYZ& p : points) expected += text::WriteLine().num(p.x).num(p.y).num(p.z).str() + "\r\n";
    const std::string pointFile = folder.file("points.txt");
    formats::writeXyzPointFile(pointFile, points);
    mustMatch(pointFile, expected, "point file");
    const int width = 1 + static_cast<int>(in.take(1) % 9);
    const bool vrmlComma = in.take(1) & 1;
    expected.clear();
    for (std::size_t r = 0; r < g.z.size(); ++r) {
        text::WriteLine line;
        for (int c = 0; c < width; ++c) line.num(at(r * width + c));
        expected += line.str() + (vrmlComma ? ",\r\n" : "\r\n");
    }
    const std::string table = folder.file("table.csv");
    formats::writeNumberRowsFile(
        table, g.z.size(), width, [&](std::size_t r, double* v) {
            for (int c = 0; c < width; ++c) v[c] = at(r * width + c);
        },
        ',', vrmlComma ? "," : "");
    mustMatch(table, expected, "number rows");

    // DXF faces: two faces a cell, blank nodes at the lowest data height.
    formats::DumpLattice d;
    d.ncols = cols;
    d.nrows = rows;
    for (int c = 0; c < cols; ++c) d.x.push_back(g.x(c));
    for (int r = 0; r < rows; ++r) d.y.push_back(g.y(r));
    d.z = g.z;
    const double fill = formats::dxfFillHeight(d);
    std::vector<std::string> xs, ys, zs;
    for (double x : d.x) xs.push_back(printForm(x));
    for (double y : d.y) ys.push_back(printForm(y));
    for (double z : d.z) zs.push_back(printForm(isBlank(z) ? fill : z));
    auto node = [&](int c, int r, int k) {
        const std::string slot = std::to_string(k);
        return "1" + slot + "\r\n" + xs[c] + "\r\n2" + slot + "\r\n" + ys[r] + "\r\n3" + slot + "\r\n" +
               zs[static_cast<std::size_t>(r) * cols + c] + "\r\n";
    };
    expected = "999\r\nDXF file f; created by Trelvik; QOX\r\n0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\n";
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < cols; ++c) {
            expected += "3DFACE\r\n8\r\nOBJECT\r\n" + node(c, r + 1, 0) + node(c, r, 1) + node(c + 1, r + 1, 2) +
                        node(c + 1, r + 1, 3) + "0\r\n";
            expected += "3DFACE\r\n8\r\nOBJECT\r\n" + node(c, r, 0) + node(c + 1, r, 1) + node(c + 1, r + 1, 2) +
                        node(c + 1, r + 1, 3) + "0\r\n";
        }
    expected += "ENDSEC\r\n0\r\nEOF\r\n";
    const std::string dxf = folder.file("faces.dxf");
    formats::writeDxfFaces(dxf, d, "f");
    mustMatch(dxf, expected, "DXF faces");
    return 0;
}
