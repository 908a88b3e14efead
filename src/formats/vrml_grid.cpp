// The conversion window's VRML grid files (declared in vrml.h).
#include "formats/vrml.h"

#include "core/error.h"
#include "core/textform.h"
#include "formats/chunkwriter.h"
#include "formats/numberforms.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace trelvik::formats {

namespace {

constexpr double kBlankAbove = 1e38;

// Trim(Str(Round(v, d))).
std::string T(double v, int d = 3) {
    char buf[kGeneralNumberMax + 2];
    return std::string(buf, writeStrDigits(buf, v, d));
}
// Str(Round(v, 3)): a blank before a number that is not negative.
std::string S(double v) {
    const std::string t = T(v);
    return t[0] == '-' ? t : " " + t;
}
std::string C4(double v) {
    char buf[kGeneralNumberMax + 2];
    return std::string(buf, writeRoundedGeneral(buf, v, 4));
}
std::string printed(double v) {
    char buf[kGeneralNumberMax + 3];
    return std::string(buf, writePrintForm(buf, v, -1));
}

struct Extent {
    double zmin = 1000000, zmax = -1000000;
};

Extent heightExtent(const DumpLattice& g) {
    Extent e;
    for (double z : g.z) {
        if (z < e.zmin) e.zmin = z;
        if (z < kBlankAbove && z > e.zmax) e.zmax = z;
    }
    return e;
}

void writeHead(ChunkWriter& w, const DumpLattice& g, const VrmlGridFile& o, const Extent& e) {
    const double s = o.scale;
    const double xint = std::abs(g.x[1] - g.x[0]);
    const double yint = std::abs(g.y[1] - g.y[0]);
    const double XLen = (g.ncols - 1) * xint * s, YLen = (g.nrows - 1) * yint * s;
    const double ZLen = (e.zmax - e.zmin) * s;
    const double D = XLen > YLen ? XLen : YLen;

    w.line("#VRML V2.0 utf8");
    w.line("# VRML of " + o.source);
    w.line("");
    w.line("NavigationInfo {");
    w.line("  type [ \"EXAMINE\",");
    w.line("    \"ANY\" ]");
    w.line("}");
    if (!o.vantorel) {
        for (const char* l : {"", "Background {", "  skyColor [ 1 1 1, 1 1 1, 1 1 1 ]", "  skyAngle [ 1.309, 1.571 ]",
                              "  groundColor [ 1 1 1, 1 1 1 ]", "  groundAngle 1.57 }", "", "DirectionalLight {",
                              "  direction 1 0 0", "  intensity 0.5 }"})
            w.line(l);
    }
    const std::string xc = T(XLen / 2), yc = T(YLen / 2), zc = T(e.zmin * s + ZLen / 2);
    const std::string top = T(e.zmax * s + 8 * s), bottom = T(e.zmin * s - 8 * s);
    const std::string right = T(D + XLen), front = T(D + YLen), minusD = T(-D);
    struct View {
        const char* name;
        std::string a, b, c;
        const char* orientation;
    };
    const View views[] = {
        {"Start", S(XLen / 2 + 8 * s), S((e.zmax + 8) * s), S(YLen / 2 + 8 * s), "  orientation -0.7 0.65 0.3 1.2 }"},
        {"Occlusal", xc, top, yc, "  orientation 1 0 0 -1.570796 }"},
        {"Front", xc, zc, front, "  orientation 0 0 1 0 }"},
        {"Right", right, zc, yc, "  orientation 0 1 0 1.570796 }"},
        {"Back", xc, zc, minusD, "  orientation 0 1 0 3.141592 }"},
        {"Left", minusD, zc, yc, "  orientation 0 1 0 -1.570796 }"},
        {"Bottom", xc, bottom, yc, "  orientation 1 0 0 1.570796 }"},
    };
    for (const View& v : views) {
        w.line("");
        w.line("Viewpoint {");
        w.line(std::string("  description \"") + v.name + "\"");
        w.line("  position " + v.a + " " + v.b + " " + v.c);
        w.line(v.orientation);
    }
    const std::string st = text::CStr(s);
    for (const std::string& l :
         {std::string(""), std::string("Transform {"), "  scale " + st + " " + st + " " + st, std::string("  children ["),
          std::string("    Shape {"), std::string("      appearance Appearance {"), std::string("        material Material {"),
          std::string("          diffuseColor 0 0.25 1.0"), std::string("          shininess 0.2 }"), std::string("      }")})
        w.line(l);
}

void writeElevationGrid(ChunkWriter& w, const DumpLattice& g, const Extent& e) {
    w.line("      geometry ElevationGrid {");
    w.line("        xDimension " + printed(g.ncols + 2));
    w.line("        zDimension " + printed(g.nrows + 2));
    w.line("        xSpacing " + C4(std::abs(g.x[1] - g.x[0])));
    w.line("        zSpacing " + C4(std::abs(g.y[1] - g.y[0])));
    w.line("        solid FALSE");
    w.line("        creaseAngle 30");
    w.line("        height [");
    char ring[kGeneralNumberMax + 3];
    const std::string_view border(ring, static_cast<std::size_t>(writePrintForm(ring, e.zmin, 4) - ring));
    const std::size_t lineRoom = (static_cast<std::size_t>(g.ncols) + 2) * (kGeneralNumberMax + 3) + 2;
    for (int j = 0; j <= g.nrows + 1; ++j) {
        char* p = w.room(lineRoom);
        if (j == 0 || j == g.nrows + 1) {
            for (int k = 0; k < g.ncols + 2; ++k) p = std::copy(border.begin(), border.end(), p);
        } else {
            p = std::copy(border.begin(), border.end(), p);
            const double* row = g.z.data() + static_cast<std::size_t>(j - 1) * g.ncols;
            for (int k = 0; k < g.ncols; ++k) {
                const double z = row[k];
                p = z > kBlankAbove ? std::copy(border.begin(), border.end(), p) : writePrintForm(p, z, 4);
            }
            p = std::copy(border.begin(), border.end(), p);
        }
        *p++ = '\r';
        *p++ = '\n';
        w.done(p);
    }
}

void faceSetHead(ChunkWriter& w) {
    for (const char* l : {"      geometry IndexedFaceSet {", "        creaseAngle 30", "        solid FALSE",
                          "        coord Coordinate {", "          point ["})
        w.line(l);
}

void faceSetMiddle(ChunkWriter& w) {
    for (const char* l : {"          ]", "        }", "        colorIndex [ ]", "        coordIndex ["}) w.line(l);
}

// The points of the face set: every node (blank ones at zmin) or, with surfaceOnly, the
// nodes below 1E+38. The x and y texts of a node repeat along its column and row.
void writePoints(ChunkWriter& w, const DumpLattice& g, double zmin, bool surfaceOnly) {
    std::vector<std::string> xText(static_cast<std::size_t>(g.ncols));
    char num[kGeneralNumberMax + 2];
    for (int c = 0; c < g.ncols; ++c) xText[c].assign(num, writeStrDigits(num, g.x[c], 4));
    for (int r = 0; r < g.nrows; ++r) {
        char yText[kGeneralNumberMax + 2];
        const std::size_t yLen = static_cast<std::size_t>(writeStrDigits(yText, g.y[r], 4) - yText);
        const double* row = g.z.data() + static_cast<std::size_t>(r) * g.ncols;
        for (int c = 0; c < g.ncols; ++c) {
            double z = row[c];
            if (surfaceOnly ? !(z < kBlankAbove) : z > kBlankAbove) {
                if (surfaceOnly) continue;
                z = zmin;
            }
            char* p = w.room(12 + 3 * (kGeneralNumberMax + 2) + 4);
            p = std::fill_n(p, 12, ' ');
            p = std::copy(xText[c].begin(), xText[c].end(), p);
            *p++ = ' ';
            p = writeStrDigits(p, z, 4);
            *p++ = ' ';
            p = std::copy(yText, yText + yLen, p);
            *p++ = ',';
            *p++ = '\r';
            *p++ = '\n';
            w.done(p);
        }
    }
}

inline char* writeIndex(char* p, long long v) { return std::to_chars(p, p + 24, v).ptr; }

inline void triangle(ChunkWriter& w, long long a, long long b, long long c) {
    char* p = w.room(10 + 3 * 24 + 12);
    p = std::fill_n(p, 10, ' ');
    p = writeIndex(p, a);
    *p++ = ',';
    *p++ = ' ';
    p = writeIndex(p, b);
    *p++ = ',';
    *p++ = ' ';
    p = writeIndex(p, c);
    for (char ch : {',', ' ', '-', '1', ',', '\r', '\n'}) *p++ = ch;
    w.done(p);
}

void writeAllTriangles(ChunkWriter& w, const DumpLattice& g) {
    const long long n = g.ncols;
    for (long long r = 0; r + 1 < g.nrows; ++r)
        for (long long c = 0; c + 1 < g.ncols; ++c) {
            const long long a = r * n + c;
            triangle(w, a, a + 1, a + n);
            triangle(w, a + 1, a + n + 1, a + n);
        }
}

// Vertex numbers of the surface variant: the data nodes numbered from 0 in dump order,
// -1 for a blank node.
std::vector<std::int64_t> vertexIndex(const DumpLattice& g) {
    std::vector<std::int64_t> v(g.z.size(), -1);
    std::int64_t next = 0;
    for (std::size_t i = 0; i < g.z.size(); ++i)
        if (g.z[i] < kBlankAbove) v[i] = next++;
    return v;
}

void writeSurfaceTriangles(ChunkWriter& w, const DumpLattice& g, const std::vector<std::int64_t>& vi) {
    const std::size_t n = static_cast<std::size_t>(g.ncols);
    auto at = [&](int c, int r) { return vi[static_cast<std::size_t>(r) * n + static_cast<std::size_t>(c)]; };
    for (int r = 0; r + 1 < g.nrows; ++r)
        for (int c = 0; c + 1 < g.ncols; ++c) {
            const auto A = at(c, r), B = at(c + 1, r), C = at(c, r + 1), D = at(c + 1, r + 1);
            const bool a = A >= 0, b = B >= 0, cc = C >= 0, d = D >= 0;
            if (a && b && cc) triangle(w, B, A, C);
            if (b && cc && d) triangle(w, B, C, D);
            if (a && cc && d && !b) triangle(w, A, C, D);
            if (a && b && d && !cc) triangle(w, A, D, B);
            // Around an interior blank node: close the hole it leaves.
            if (c == 0 || r == 0 || A >= 0) continue;
            const auto W = at(c - 1, r), E = at(c + 1, r), S = at(c, r - 1), N = at(c, r + 1);
            const auto SW = at(c - 1, r - 1), SE = at(c + 1, r - 1), NW = at(c - 1, r + 1), NE = at(c + 1, r + 1);
            const bool w_ = W >= 0, e_ = E >= 0, s_ = S >= 0, n_ = N >= 0;
            const bool sw = SW >= 0, se = SE >= 0, nw = NW >= 0, ne = NE >= 0;
            if (w_ && n_ && e_) triangle(w, W, N, E);
            if (n_ && e_ && s_) triangle(w, N, E, S);
            if (e_ && s_ && w_) triangle(w, E, S, W);
            if (s_ && w_ && n_) triangle(w, S, W, N);
            if (s_ && ne && e_ && se && !n_) triangle(w, S, NE, E);
            if (n_ && ne && e_ && se && !s_) triangle(w, N, E, SE);
            if (s_ && nw && w_ && sw && !n_) triangle(w, S, W, NW);
            if (n_ && nw && w_ && sw && !s_) triangle(w, N, SW, W);
            if (w_ && ne && n_ && nw && !e_) triangle(w, N, NE, W);
            if (e_ && ne && n_ && nw && !w_) triangle(w, NW, N, E);
            if (s_ && sw && w_ && se && !e_) triangle(w, SE, S, W);
            if (s_ && sw && e_ && se && !w_) triangle(w, S, SW, E);
        }
}

} // namespace

void writeVrmlGridFile(const std::string& path, const DumpLattice& g, const VrmlGridFile& o) {
    if (g.ncols < 2 || g.nrows < 2 || g.z.size() != static_cast<std::size_t>(g.ncols) * g.nrows)
        throw Error("Cannot write the VRML file " + path + ": the grid needs at least two rows and two columns.");
    const Extent e = heightExtent(g);
    ChunkWriter w(path);
    writeHead(w, g, o, e);
    switch (o.geometry) {
    case VrmlGeometry::ElevationGrid:
        writeElevationGrid(w, g, e);
        break;
    case VrmlGeometry::Polygons:
        faceSetHead(w);
        writePoints(w, g, e.zmin, false);
        faceSetMiddle(w);
        writeAllTriangles(w, g);
        break;
    case VrmlGeometry::PolygonsSurface: {
        faceSetHead(w);
        writePoints(w, g, e.zmin, true);
        faceSetMiddle(w);
        writeSurfaceTriangles(w, g, vertexIndex(g));
        break;
    }
    }
    for (const char* l : {"        ]", "      }", "    }", "  ]", "}"}) w.line(l);
    w.commit();
}

} // namespace trelvik::formats

namespace trelvik::formats {

void writeVrmlHeightList(const std::string& path, const VrmlHeightList& f) {
    if (f.ncols < 1 || f.nrows < 1 || f.heights.size() != static_cast<std::size_t>(f.ncols) * f.nrows)
        throw Error("Cannot write the VRML file " + path + ": " + std::to_string(f.heights.size()) +
                    " heights for a grid of " + std::to_string(f.ncols) + " x " + std::to_string(f.nrows));
    ChunkWriter w(path);
    for (const char* l :
         {"#VRML V2.0 utf8"})
        w.line(l);
    w.line("# VRML of " + f.source);
    for (const char* l :
         {"", "NavigationInfo {", "  type [    \"EXAMINE\",", "    \"ANY\" ] }", "", "Background {", "  skyColor [",
          "    1 1 1,", "    1 1 1,", "    1 1 1 ]", "  skyAngle [", "    1.309, 1.571 ]", "  groundColor [",
          "    1 1 1,", "    1 1 1 ]", "  groundAngle 1.57 }", "", "DirectionalLight {", "  direction 1 0 0",
          "  intensity 0.5 }", "", "Transform {", "   scale 0.01 0.01 0.01", "   children [", "      Shape {",
          "         appearance Appearance {", "            material Material {",
          "               diffuseColor 0 0.25 1.0", "               shininess 0.2 } }",
          "         geometry ElevationGrid {"})
        w.line(l);
    w.line("            xDimension " + printed(f.ncols));
    w.line("            zDimension " + printed(f.nrows));
    w.line("            xSpacing " + printed(f.xSpacing));
    w.line("            zSpacing " + printed(f.zSpacing));
    w.line("            creaseAngle 30");
    w.line("            height [");
    for (int r = 0; r < f.nrows; ++r) {
        const double* row = f.heights.data() + static_cast<std::size_t>(r) * f.ncols;
        for (int c = 0; c < f.ncols; ++c) {
            char* p = w.room(kGeneralNumberMax + 6);
            p = writePrintForm(p, row[c], -1);
            *p++ = '\r';
            *p++ = '\n';
            w.done(p);
        }
        w.line("");
    }
    w.line("            ] } } ] }");
    w.commit();
}

} // namespace trelvik::formats
