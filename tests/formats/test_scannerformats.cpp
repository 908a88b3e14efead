// Scanner point formats: point text, Alicona text, ASCII STL and Avizo surface; what every
// reader refuses.
#include "core/error.h"
#include "core/textform.h"
#include "formats/alicona.h"
#include "formats/digitisefile.h"
#include "formats/dumplattice.h"
#include "formats/tiffdem.h"
#include "formats/tifftext.h"
#include "formats/xyzdump.h"
#include "formats/avizosurf.h"
#include "formats/pointtext.h"
#include "formats/stlascii.h"
#include "formats/surfergrid.h"
#include "formats/xyzpointfile.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

using namespace trelvik;
using namespace trelvik::formats;

namespace {

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

bool has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

} // namespace

TEST(PointText, ReadsEveryRenderingAndLineEnd) {
    const PointList pts = parsePointText("1,2,3\r\n.25 -.5\t1E-05\n4, 5 ,6\r7\n8\n9\n\n", "a.txt");
    ASSERT_EQ(pts.size(), 4u);
    EXPECT_EQ(pts[1].x, 0.25);
    EXPECT_EQ(pts[1].y, -0.5);
    EXPECT_EQ(pts[1].z, 1e-5);
    EXPECT_EQ(pts[2].z, 6);
    EXPECT_EQ(pts[3].x, 7);  // a point wrapped over three lines
    EXPECT_EQ(pts[3].z, 9);
    EXPECT_TRUE(has(errorOf([] { parsePointText("1,2,3\r\n4,x,6\r\n", "b.txt"); }), "b.txt: line 2"));
    EXPECT_TRUE(has(errorOf([] { parsePointText("1,2,3\r\n4,5\r\n", "c.txt"); }), "c.txt: line 2"));
    EXPECT_TRUE(has(errorOf([] { parsePointText("1,2,nan\r\n", "d.txt"); }), "d.txt: line 1"));
    EXPECT_TRUE(has(errorOf([] { readPointText("/no/such/file.txt"); }), "/no/such/file.txt"));
    // A short item is quoted whole; a huge one only by its start, cut between characters.
    const std::string said = " is not a number (a point is three numbers x, y, z)";
    EXPECT_EQ(errorOf([] { parsePointText("1,2,3\r\n4,x,6\r\n", "b.txt"); }), "b.txt: line 2: \"x\"" + said);
    std::string start = "x";
    for (int i = 0; i < 19; ++i) start += "\xC3\xA9";  // é: the 40th byte begins the 20th
    std::string huge = "1,2,3\r\n" + start;
    for (int i = 0; i < 500000; ++i) huge += "\xC3\xA9";
    EXPECT_EQ(errorOf([&] { parsePointText(huge, "e.txt"); }), "e.txt: line 2: \"" + start + "...\"" + said);
}

// A pipe no one writes to, a link to an endless device, a file larger than any scan and
// (where the test may make one) another user's link to one of the user's files are
// refused by every reader, with a message naming the file, before anything is read.
TEST(PointText, EveryReaderRefusesAPipeADeviceAHugeFileAndAnotherUsersLink) {
    trelvik::testing::TempFolder t;
    const std::string pipe = t.path("pipe.dat"), zero = t.path("zero.dat"), huge = t.path("huge.dat");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", zero);
    t.write("huge.dat", "");
    std::filesystem::resize_file(huge, std::uintmax_t{64} << 30);
    std::vector<std::pair<std::string, std::string>> inputs = {
        {huge, "larger than the 2 GiB"}, {zero, "it is a device"}, {pipe, "it is a pipe"}};
    const std::string theirs = t.path("theirs.dat");
    std::filesystem::create_symlink(t.write("mine.dat", "1,2,3\r\n"), theirs);
    if (::geteuid() == 0 && ::lchown(theirs.c_str(), 65534, 65534) == 0)
        inputs.emplace_back(theirs, "a link of another user");
    const std::pair<const char*, std::function<void(const std::string&)>> readers[] = {
        {"grid", [](const std::string& p) { readSurferGrid(p); }},
        {"point text", [](const std::string& p) { readPointText(p); }},
        {"xyz", [](const std::string& p) { readXyzPointFile(p); }},
        {"digitise", [](const std::string& p) { readDigitisePoints(p); }},
        {"xyz lattice", [](const std::string& p) { readDumpLattice(p); }},
        {"xyz dump", [](const std::string& p) { readXyzDump(p); }},
        {"stl", [](const std::string& p) { readAsciiStlVertices(p); }},
        {"tiff", [](const std::string& p) { readTiffFloatImage(p); }},
        {"tiff text", [](const std::string& p) { readTiffGreyMatrix(p); }},
    };
    for (const auto& [reader, read] : readers)
        for (const auto& [file, why] : inputs) {
            const std::string e = errorOf([&] { read(file); });
            EXPECT_TRUE(has(e, "\"" + file + "\"") && has(e, why)) << reader << ": " << e;
        }
}

// A number below the smallest double is 0 in both point readers, as in the grid dump;
// a huge one keeps its sign.
TEST(PointText, NumbersBeyondDoubleRangeReadAsZeroOrTheLargestValue) {
    const std::string text = "-1E-400,1e-400,2\r\n-1e400 1e400 3\r\n";
    for (const PointList& pts : {parsePointText(text, "a.txt"), parseXyzPoints(text, "a.xyz")}) {
        ASSERT_EQ(pts.size(), 2u);
        EXPECT_EQ(pts[0].x, 0.0);
        EXPECT_FALSE(std::signbit(pts[0].x));
        EXPECT_EQ(pts[0].y, 0.0);
        EXPECT_EQ(pts[1].x, -1.7e308);
        EXPECT_EQ(pts[1].y, 1.7e308);
    }
}

// Texts of some megabytes are read in blocks on several threads: the points, and the
// refusal met first in file order with its line number, are those of one pass, from
// memory and from a file, with points wrapped over lines and blocks.
TEST(PointText, LargeTextsReadInBlocksAsInOnePass) {
    constexpr int kPoints = 60000;  // about 4 MB each way, several blocks
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-50, 50);
    PointList want;
    std::vector<std::string> lines, wrapped;  // one point a line; x y, then z, a line each
    const char* ends[3] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < kPoints; ++i) {
        want.push_back({u(rng), u(rng), u(rng)});
        char xy[64], z[32];
        std::snprintf(xy, sizeof xy, "%.17g %.17g", want.back().x, want.back().y);
        std::snprintf(z, sizeof z, "%.17g", want.back().z);
        lines.push_back(std::string(xy) + "," + z + (i % 2 ? "\r\n" : "\n"));
        wrapped.push_back(xy + std::string(ends[i % 3]) + z + ends[(i + 1) % 3]);
    }
    auto join = [](const std::vector<std::string>& parts) {
        std::string all;
        for (const std::string& s : parts) all += s;
        return all;
    };
    auto same = [&](const PointList& got) {
        return got.size() == want.size() && std::memcmp(got.data(), want.data(), want.size() * sizeof(PointXYZ)) == 0;
    };
    trelvik::testing::TempFolder t;
    EXPECT_TRUE(same(parseXyzPoints(join(lines), "a.xyz")));
    EXPECT_TRUE(same(readXyzPointFile(t.write("a.xyz", join(lines)))));
    EXPECT_TRUE(same(parsePointText(join(wrapped), "a.txt")));
    EXPECT_TRUE(same(readPointText(t.write("a.txt", join(wrapped)))));

    // Point i is on line i + 1, or begins on line 2 i + 1 when wrapped.
    const std::string said = " is not a number (a point is three numbers x, y, z)";
    lines[kPoints - 1000] = "1 2 x\n";
    wrapped[kPoints - 1000] = "1 2\nx\n";
    const std::string lateXyz = t.write("late.xyz", join(lines)), late = t.write("late.txt", join(wrapped));
    EXPECT_EQ(errorOf([&] { readXyzPointFile(lateXyz); }), lateXyz + ": line 59001 does not hold three numbers");
    EXPECT_EQ(errorOf([&] { readPointText(late); }), late + ": line 118002: \"x\"" + said);
    // Reading ends with the last point wanted, before the refused item.
    EXPECT_EQ(parsePointText(join(wrapped), "late.txt", 1, kPoints - 1000).size(), std::size_t{kPoints - 1000});
    lines[100] = "1 2\n";
    wrapped[100] = "1,2,3x\r\n";
    EXPECT_EQ(errorOf([&] { parseXyzPoints(join(lines), "b.xyz"); }), "b.xyz: line 101 does not hold three numbers");
    EXPECT_EQ(errorOf([&] { readPointText(t.write("b.txt", join(wrapped))); }),
              t.path("b.txt") + ": line 201: \"3x\"" + said);
    wrapped = {"1 2 3\r\n4\n", std::string(3 << 20, ' ') + "\r5\r\n"};  // the last point spans blocks
    EXPECT_EQ(errorOf([&] { parsePointText(join(wrapped), "c.txt"); }),
              "c.txt: line 2: the last point has only 2 of its three numbers");
}

TEST(AliconaText, CountFromTheBracesAndPointsFromLineTwo) {
    EXPECT_EQ(aliconaHeaderCount("Points { 2500 }", "a"), 2500);
    EXPECT_EQ(aliconaHeaderCount("Points {2500}", "a"), 2500);
    EXPECT_TRUE(has(errorOf([] { aliconaHeaderCount("Points 2500", "h.txt"); }), "h.txt: line 1"));
    EXPECT_TRUE(has(errorOf([] { aliconaHeaderCount("Points {x}", "h.txt"); }), "h.txt: line 1"));

    trelvik::testing::TempFolder tmp;
    const auto f = tmp.write("al.txt", "Alicona export {3}\r\n0,0,1\r\n0.1 0 2\r\n0.2,0,3\r\n9,9,9\r\n");
    const PointList pts = readAliconaText(f);
    ASSERT_EQ(pts.size(), 3u);
    EXPECT_EQ(pts[1].x, 0.1);
    EXPECT_EQ(pts[2].z, 3);
    const auto shortFile = tmp.write("short.txt", "{ 4 }\n0,0,1\n1,1,1\n");
    EXPECT_TRUE(has(errorOf([&] { readAliconaText(shortFile); }), "announces 4 points"));
    const auto badLine = tmp.write("bad.txt", "{ 2 }\n0,0,1\n1,?,1\n");
    EXPECT_TRUE(has(errorOf([&] { readAliconaText(badLine); }), "bad.txt: line 3"));
}

TEST(AsciiStl, VertexLinesOnlyInFileOrderWithAnyLineEnds) {
    const std::string facet =
        "  facet normal 0 0 1\n    outer loop\n      vertex 0 0 0\n      vertex  1 0 0.5\n"
        "\tvertex 0 1 1E-1\n    endloop\n  endfacet\n";
    const std::string stl = "solid s\n" + facet + "endsolid s\n";
    for (const std::string& text : {stl, std::string(stl).replace(stl.find('\n'), 1, "\r\n")}) {
        const PointList v = parseAsciiStlVertices(text, "t.stl");
        ASSERT_EQ(v.size(), 3u);
        EXPECT_EQ(v[1].x, 1);
        EXPECT_EQ(v[1].z, 0.5);
        EXPECT_EQ(v[2].z, 0.1);
    }
    std::string cr = stl;
    for (char& c : cr)
        if (c == '\n') c = '\r';
    EXPECT_EQ(parseAsciiStlVertices(cr, "t.stl").size(), 3u);
    EXPECT_TRUE(has(errorOf([] { parseAsciiStlVertices("solid\nvertex 1 2\nendsolid\n", "v.stl"); }), "v.stl: line 2"));
    EXPECT_TRUE(has(errorOf([] { parseAsciiStlVertices("solid\nendsolid\n", "e.stl"); }), "no vertex lines"));
}

TEST(AsciiStl, BinaryFilesAreNamedAsSuch) {
    std::string bin(84 + 50 * 2, '\0');
    std::memcpy(bin.data(), "solid binary header that looks like text", 40);
    const std::uint32_t n = 2;
    std::memcpy(bin.data() + 80, &n, 4);
    EXPECT_TRUE(looksLikeBinaryStl(bin));
    EXPECT_EQ(errorOf([&] { parseAsciiStlVertices(bin, "b.stl"); }), "b.stl: binary STL is not supported; save as ASCII STL");
    EXPECT_FALSE(looksLikeBinaryStl("solid s\nendsolid s\n"));
}

TEST(AsciiStl, DistinctVerticesFirstKeptInBinOrder) {
    // A closed octahedron: 8 facets, 24 vertex lines, 6 distinct vertices.
    const PointXYZ c[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    PointList lines;
    for (int sx : {0, 1})
        for (int sy : {2, 3})
            for (int sz : {4, 5}) {
                lines.push_back(c[sx]);
                lines.push_back(c[sy]);
                lines.push_back(c[sz]);
            }
    const PointList d = distinctVertices(lines);
    ASSERT_EQ(d.size(), 6u);
    // Bin columns outermost: x = -1 first, then the four at x = 0 by bin row (y), then x = 1.
    EXPECT_EQ(d[0].x, -1);
    EXPECT_EQ(d[1].y, -1);
    EXPECT_EQ(d[2].z, 1);  // (0, 0, 1) met before (0, 0, -1) in file order, same bin
    EXPECT_EQ(d[3].z, -1);
    EXPECT_EQ(d[4].y, 1);
    EXPECT_EQ(d[5].x, 1);
    // Vertices differing only in z both stay; a zero y range is fine.
    const PointList flat = distinctVertices({{0, 0, 1}, {0, 0, 2}, {0, 0, 1}, {1, 0, 0}});
    EXPECT_EQ(flat.size(), 3u);
}

// Parsing in pieces on several threads and finding repeats by shards must give what one
// pass in file order gives: the same vertices in the same order, the same line in an
// error, and the first occurrence of each repeat kept (checked against a plain set).
TEST(AsciiStl, PiecewiseParseAndDistinctVerticesMatchOneSerialPass) {
    std::string text = "solid s\r\n";
    const char* ends[3] = {"\r\n", "\n", "\r"};
    PointList facets;
    for (int f = 0; f < 6000; ++f) {
        const char* e = ends[f % 3];
        text += std::string("  facet normal 0 0 1") + e + "    outer loop" + e;
        for (int k = 0; k < 3; ++k) {
            // Vertices on a coarse lattice, so most recur; -0 and 0 are one vertex.
            const int i = (f * 7 + k * 13) % 50, j = (f / 3 + k * 5) % 40;
            const double x = i == 0 ? -0.0 : 0.25 * i - 3, y = 0.125 * j, z = std::sin(i * 0.3 + j);
            char line[128];
            std::snprintf(line, sizeof line, "\tvertex %.17g %.17g %.17g%s", x, y, z, e);
            text += line;
            facets.push_back({x, y, z});
        }
        text += std::string("    endloop") + e + "  endfacet" + e;
    }
    text += "endsolid s";
    const PointList whole = parseAsciiStlVertices(text, "s.stl", text.size() + 1);
    const PointList pieces = parseAsciiStlVertices(text, "s.stl", 4096);
    ASSERT_EQ(whole.size(), facets.size());
    ASSERT_EQ(pieces.size(), whole.size());
    EXPECT_EQ(std::memcmp(pieces.data(), whole.data(), whole.size() * sizeof(PointXYZ)), 0);

    trelvik::testing::TempFolder tmp;
    const PointList fromFile = readAsciiStlVertices(tmp.write("s.stl", text));  // read in pieces too
    ASSERT_EQ(fromFile.size(), whole.size());
    EXPECT_EQ(std::memcmp(fromFile.data(), whole.data(), whole.size() * sizeof(PointXYZ)), 0);

    std::string bad = text;
    bad.insert(bad.size() * 3 / 4, "\nvertex 1 2\n");
    const std::string badPath = tmp.write("b.stl", bad);
    const std::string want = errorOf([&] { parseAsciiStlVertices(bad, badPath, bad.size() + 1); });
    EXPECT_TRUE(has(want, "b.stl: line "));
    EXPECT_EQ(errorOf([&] { parseAsciiStlVertices(bad, badPath, 4096); }), want);
    EXPECT_EQ(errorOf([&] { readAsciiStlVertices(badPath); }), want);

    // The reference: first occurrences through a set, then a stable sort by bin.
    auto key = [](double v) { return v == 0 ? 0.0 : v; };
    std::set<std::tuple<double, double, double>> seen;
    PointList firsts;
    for (const PointXYZ& p : whole)
        if (seen.insert({key(p.x), key(p.y), key(p.z)}).second) firsts.push_back(p);
    double xmin = whole[0].x, xmax = xmin, ymin = whole[0].y, ymax = ymin;
    for (const PointXYZ& p : whole) {
        xmin = std::min(xmin, p.x), xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y), ymax = std::max(ymax, p.y);
    }
    auto bin = [](double d, double size) {
        const double c = std::floor(text::Round(d, 8) / size) + 1;
        return c < 1 ? 1 : c > 1000 ? 1000 : static_cast<int>(c);
    };
    std::stable_sort(firsts.begin(), firsts.end(), [&](const PointXYZ& a, const PointXYZ& b) {
        const int ka = (bin(a.x - xmin, (xmax - xmin) / 1000) - 1) * 1000 + bin(a.y - ymin, (ymax - ymin) / 1000);
        const int kb = (bin(b.x - xmin, (xmax - xmin) / 1000) - 1) * 1000 + bin(b.y - ymin, (ymax - ymin) / 1000);
        return ka < kb;
    });
    const PointList distinct = distinctVertices(pieces);
    ASSERT_EQ(distinct.size(), firsts.size());
    EXPECT_EQ(std::memcmp(distinct.data(), firsts.data(), firsts.size() * sizeof(PointXYZ)), 0);
}

TEST(AvizoSurface, VerticesAfterTheCountLine) {
    trelvik::testing::TempFolder tmp;
    const std::string body =
        "# HyperSurface 0.1 ASCII\n\nParameters {\n    Materials { }\n}\n\n"
        "Vertices  3\n  1.5 -2 0.25\n  0 0\n 1\n2 2 2\nNBranchingPoints 0\nPatches 1\nTriangles 1\n1 2 3\n";
    for (const std::string& ends : {std::string("\n"), std::string("\r\n")}) {
        std::string t = body;
        if (ends != "\n")
            for (std::size_t p = 0; (p = t.find('\n', p)) != std::string::npos; p += 2) t.replace(p, 1, "\r\n");
        const PointList v = readAvizoSurfaceVertices(tmp.write("a.surf", t));
        ASSERT_EQ(v.size(), 3u);
        EXPECT_EQ(v[0].x, 1.5);
        EXPECT_EQ(v[0].z, 0.25);
        EXPECT_EQ(v[1].z, 1);  // a vertex wrapped over two lines
        EXPECT_EQ(v[2].y, 2);
    }
    // Not recognised: leading blanks or lower case.
    EXPECT_TRUE(has(errorOf([&] { readAvizoSurfaceVertices(tmp.write("b.surf", " Vertices 1\n0 0 0\n")); }),
                    "no vertex list"));
    EXPECT_TRUE(has(errorOf([&] { readAvizoSurfaceVertices(tmp.write("c.surf", "vertices 1\n0 0 0\n")); }),
                    "no vertex list"));
    EXPECT_TRUE(has(errorOf([&] { readAvizoSurfaceVertices(tmp.write("d.surf", "Vertices 3\n0 0 0\n1 1 1\n")); }),
                    "announces 3 vertices"));
}

// Any one character may separate the keyword from the count.
TEST(AvizoSurface, AnySeparatorCharacterBeforeTheCount) {
    trelvik::testing::TempFolder tmp;
    for (const char* head : {"Vertices:2", "Vertices\t2", "Vertices=  2"}) {
        const PointList v = readAvizoSurfaceVertices(tmp.write("a.surf", std::string(head) + "\n1 2 3\n4 5 6\n"));
        ASSERT_EQ(v.size(), 2u) << head;
        EXPECT_EQ(v[1].z, 6) << head;
    }
}
