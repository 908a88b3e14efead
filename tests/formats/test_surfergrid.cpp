#include "formats/surfergrid.h"
#include "formats/surfergrid_detail.h"
#include "formats/xyzdump.h"

#include "core/error.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <sstream>

using namespace trelvik;
using namespace trelvik::formats;
using trelvik::testing::TempFolder;

namespace {

const SurferGridFormat kAllFormats[] = {SurferGridFormat::Ascii, SurferGridFormat::Binary6,
                                        SurferGridFormat::Binary7};

// A 5 x 4 grid with negative, fractional and blank nodes, on a lattice that does not
// start at 0 (so column/row mix-ups and transposition show).
Grid sampleGrid() {
    Grid g(5, 4, -2.0, 0.0, 10.0, 10.75);
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c) g.at(c, r) = 0.125 * c - 1.5 * r + 0.001 * c * r;
    g.at(0, 0) = kBlank;
    g.at(4, 3) = kBlank;
    g.at(2, 1) = -7.25;
    return g;
}

double tolerance(SurferGridFormat f) { return f == SurferGridFormat::Binary6 ? 1e-6 : 1e-12; }

void expectSameGrid(const Grid& a, const Grid& b, double tol) {
    ASSERT_EQ(a.cols, b.cols);
    ASSERT_EQ(a.rows, b.rows);
    for (double d : {a.xMin - b.xMin, a.xMax - b.xMax, a.yMin - b.yMin, a.yMax - b.yMax}) EXPECT_NEAR(d, 0, 1e-12);
    for (std::size_t i = 0; i < a.z.size(); ++i)
        EXPECT_NEAR(a.z[i] >= 1e37 ? kBlank : a.z[i], b.z[i], a.z[i] >= 1e37 ? 0 : tol) << "node " << i;
}

template <class T>
void put(std::string& s, T v) {
    char b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    s.append(b, sizeof v);
}

bool haveGdal() { return std::system("gdalinfo --version >/dev/null 2>&1") == 0; }

// GDAL's XYZ export: one "x y z" line per node, whatever the row order.
std::map<std::pair<double, double>, double> gdalNodes(const TempFolder& tmp, const std::string& grid) {
    std::string xyz = tmp.path("gdal_out.xyz");
    std::string cmd = "gdal_translate -q -of XYZ '" + grid + "' '" + xyz + "' 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::map<std::pair<double, double>, double> nodes;
    std::istringstream in(tmp.read("gdal_out.xyz"));
    double x, y, z;
    while (in >> x >> y >> z) nodes[{std::round(x * 1e6) / 1e6, std::round(y * 1e6) / 1e6}] = z;
    return nodes;
}

} // namespace

TEST(SurferGrid, EachFormatRoundTripsAndIsDetected) {
    TempFolder tmp;
    const Grid g = sampleGrid();
    const char* names[] = {"a.grd", "b6.grd", "b7.grd"};
    for (int i = 0; i < 3; ++i) {
        std::string p = tmp.path(names[i]);
        writeSurferGrid(p, g, kAllFormats[i]);
        EXPECT_EQ(detectSurferGridFormat(p), kAllFormats[i]);
        expectSameGrid(g, readSurferGrid(p), tolerance(kAllFormats[i]));
    }
    EXPECT_EQ(tmp.fileCount(), 3u);  // no temporary files left behind
}

TEST(SurferGrid, AsciiLayoutByHand) {
    TempFolder tmp;
    // Rows run from the least y up; the header's z range is ignored on reading.
    std::string p = tmp.write("hand.grd",
                              "DSAA\n3 2\n0 1\n10 10.25\n-99 99\n1 2 3\n4 5 1.70141E+38\n");
    Grid g = readSurferGrid(p);
    ASSERT_EQ(g.cols, 3);
    ASSERT_EQ(g.rows, 2);
    EXPECT_DOUBLE_EQ(g.xSpacing(), 0.5);
    EXPECT_DOUBLE_EQ(g.ySpacing(), 0.25);
    EXPECT_EQ(g.at(2, 0), 3.0);
    EXPECT_EQ(g.at(0, 1), 4.0);
    EXPECT_TRUE(g.blank(2, 1));

    // Written: header z range over the non-blank nodes only, CR LF lines.
    writeSurferGrid(tmp.path("out.grd"), g, SurferGridFormat::Ascii);
    EXPECT_EQ(tmp.read("out.grd").substr(0, 38), "DSAA\r\n3 2\r\n0 1\r\n10 10.25\r\n1 5\r\n1 2 3\r\n");
}

TEST(SurferGrid, DamagedFilesThrowNamingTheFile) {
    TempFolder tmp;
    const Grid g = sampleGrid();
    // Every truncation of every format must be refused cleanly, never half-read.
    for (SurferGridFormat f : kAllFormats) {
        writeSurferGrid(tmp.path("whole.grd"), g, f);
        const std::string whole = tmp.read("whole.grd");
        // ASCII text cut after the final height's first digit still parses as a shorter
        // number; stop before the last height there.
        std::size_t upTo = f == SurferGridFormat::Ascii ? whole.rfind("1.70141e+38") : whole.size();
        for (std::size_t len = 0; len < upTo; ++len) {
            std::string p = tmp.write("cut.grd", whole.substr(0, len));
            try {
                readSurferGrid(p);
                ADD_FAILURE() << "format " << int(f) << " cut at " << len << " was read";
            } catch (const Error& e) {
                EXPECT_NE(std::string(e.what()).find(p), std::string::npos) << e.what();
            }
        }
    }

    const std::string bad[] = {
        "",                                                    // empty
        "DSAB\n2 2\n0 1\n0 1\n0 0\n1 2 3 4\n",                 // unknown tag
        "DSAA\n1 2\n0 1\n0 1\n0 0\n1 2\n",                     // one column
        "DSAA\n2 2\n0 1\n0 1\n0 0\n1 2 x 4\n",                 // not a number
        "DSAA\n2 2\n1 1\n0 1\n0 0\n1 2 3 4\n",                 // empty x range
        "DSAA\n2.5 2\n0 1\n0 1\n0 0\n1 2 3 4\n",               // fractional count
        "DSAA\n100000 100000\n0 1\n0 1\n0 0\n1 2 3 4\n",       // absurd for its size
        "DSAA\n2 2\n0 1\n0 1\n0 0\n1 2 3 -1e999\n",            // beyond any height
    };
    for (const std::string& text : bad) {
        std::string p = tmp.write("bad.grd", text);
        EXPECT_THROW(readSurferGrid(p), Error) << text;
    }

    // Binary headers with impossible counts or section sizes.
    std::string b6 = "DSBB";
    put<std::int16_t>(b6, -5);
    put<std::int16_t>(b6, 3);
    for (int i = 0; i < 6; ++i) put<double>(b6, i);
    EXPECT_THROW(readSurferGrid(tmp.write("b6.grd", b6)), Error);

    std::string b7 = "DSRB";
    put<std::int32_t>(b7, 4);
    put<std::int32_t>(b7, 1);
    b7 += "GRID";
    put<std::int32_t>(b7, -72);
    EXPECT_THROW(readSurferGrid(tmp.write("b7.grd", b7)), Error);
    // Raw bytes where a section tag should be are not quoted as a section name.
    std::string junk = "DSRB";
    put<std::int32_t>(junk, 4);
    put<std::int32_t>(junk, 1);
    junk += "age-";
    put<std::int32_t>(junk, 1 << 30);
    try {
        readSurferGrid(tmp.write("junk.grd", junk));
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()).find("age-"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("is not a Surfer grid"), std::string::npos) << e.what();
    }

    EXPECT_THROW(readSurferGrid(tmp.path("missing.grd")), Error);
    EXPECT_THROW(detectSurferGridFormat(tmp.write("text.grd", "hello")), Error);
}

TEST(SurferGrid, Binary7SkipsUnknownSectionsAndHonoursItsBlankValue) {
    TempFolder tmp;
    std::string b = "DSRB";
    put<std::int32_t>(b, 4);
    put<std::int32_t>(b, 2);  // version 2: only heights equal to the blank value are blank
    b += "GRID";
    put<std::int32_t>(b, 72);
    put<std::int32_t>(b, 2);  // rows
    put<std::int32_t>(b, 2);  // columns
    for (double v : {5.0, 6.0, 0.5, 2.0, 1.0, 4.0, 0.0, -999.0}) put<double>(b, v);
    b += "FLTI";  // a section this reader does not know
    put<std::int32_t>(b, 3);
    b += "xyz";
    b += "DATA";
    put<std::int32_t>(b, 32);
    for (double v : {1.0, -999.0, -1000.0, 4.0}) put<double>(b, v);
    Grid g = readSurferGrid(tmp.write("v2.grd", b));
    EXPECT_DOUBLE_EQ(g.xMax, 5.5);
    EXPECT_DOUBLE_EQ(g.yMax, 8.0);
    EXPECT_TRUE(g.blank(1, 0));
    EXPECT_EQ(g.at(0, 1), -1000.0);
    EXPECT_EQ(g.at(1, 1), 4.0);
}

// The Surfer 7 writer streams its heights and the reader reads them straight into the
// grid: the bytes written must be those laid out by hand, and a file read from disk the
// grid that the in-memory parser makes of the same bytes (sections, blanks, reversed axes).
TEST(SurferGrid, Binary7StreamedBytesAndDirectReadMatchTheWholeFileForms) {
    TempFolder tmp;
    Grid g(300, 41, -3.5, 11.0, 2.0, 4.0, 0.0);  // more heights than one write piece
    for (std::size_t i = 0; i < g.z.size(); ++i) g.z[i] = std::sin(0.37 * static_cast<double>(i)) * 1e3 - 0.5;
    g.z[0] = kBlank;
    g.z[7] = std::nan("");
    g.z[9000] = 3e37;
    g.z[12299] = -0.0;
    auto byHand = [](const Grid& g) {
        std::string b = "DSRB";
        put<std::int32_t>(b, 4);
        put<std::int32_t>(b, 1);
        b += "GRID";
        put<std::int32_t>(b, 72);
        put<std::int32_t>(b, g.rows);
        put<std::int32_t>(b, g.cols);
        for (double v : {g.xMin, g.yMin, g.xSpacing(), g.ySpacing(), g.zMin(), g.zMax(), 0.0, kBlank}) put<double>(b, v);
        b += "DATA";
        put<std::int32_t>(b, static_cast<std::int32_t>(g.z.size() * 8));
        for (double z : g.z) put<double>(b, isBlank(z) ? kBlank : z);
        return b;
    };
    const std::string want = byHand(g);
    writeSurferGrid(tmp.path("w.grd"), g, SurferGridFormat::Binary7);
    EXPECT_EQ(tmp.read("w.grd"), want);
    Grid clean = g;  // every blank already the blank value: the heights go out as they stand
    clean.z[7] = clean.z[9000] = kBlank;
    writeSurferGrid(tmp.path("clean.grd"), clean, SurferGridFormat::Binary7);
    EXPECT_EQ(tmp.read("clean.grd"), byHand(clean));

    // Version 2, a fault section before the heights, y stored from the top down.
    std::string b = "DSRB";
    put<std::int32_t>(b, 4);
    put<std::int32_t>(b, 2);
    b += "GRID";
    put<std::int32_t>(b, 80);  // longer than the fields this reader takes
    put<std::int32_t>(b, 3);
    put<std::int32_t>(b, 2);
    for (double v : {1.0, 9.0, 0.5, -2.0, 0.0, 0.0, 0.0, -1.0, 77.0}) put<double>(b, v);
    b += "FLTI";
    put<std::int32_t>(b, 5);
    b += "abcde";
    b += "DATA";
    put<std::int32_t>(b, 48);
    for (double v : {1.0, -1.0, 2e38, 4.0, std::nan(""), 6.0}) put<double>(b, v);
    const Grid fromFile = readSurferGrid(tmp.write("v2.grd", b));
    const Grid inMemory = detail::parseBinary7(b, "v2.grd");
    EXPECT_EQ(fromFile.cols, inMemory.cols);
    EXPECT_EQ(fromFile.rows, inMemory.rows);
    EXPECT_EQ(std::memcmp(&fromFile.xMin, &inMemory.xMin, sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(&fromFile.yMax, &inMemory.yMax, sizeof(double)), 0);
    ASSERT_EQ(fromFile.z.size(), inMemory.z.size());
    EXPECT_EQ(std::memcmp(fromFile.z.data(), inMemory.z.data(), fromFile.z.size() * sizeof(double)), 0);
    EXPECT_TRUE(fromFile.blank(1, 2));  // the blank value -1, stored first as the top row
    const Grid back = readSurferGrid(tmp.path("w.grd"));
    const Grid backInMemory = detail::parseBinary7(want, "w.grd");
    EXPECT_EQ(std::memcmp(back.z.data(), backInMemory.z.data(), back.z.size() * sizeof(double)), 0);
    EXPECT_EQ(back.xMax, backInMemory.xMax);

    b.resize(b.size() - 4);  // a height cut short
    EXPECT_THROW(readSurferGrid(tmp.write("cut.grd", b)), Error);
}

TEST(SurferGrid, FailedWriteLeavesTheOldFileIntact) {
    TempFolder tmp;
    std::string p = tmp.path("keep.grd");
    writeSurferGrid(p, sampleGrid(), SurferGridFormat::Binary7);
    const std::string before = tmp.read("keep.grd");

    Grid tooWide(40000, 2, 0, 1, 0, 1, 0.0);  // beyond the Surfer 6 binary int16 counts
    EXPECT_THROW(writeSurferGrid(p, tooWide, SurferGridFormat::Binary6), Error);
    Grid broken = sampleGrid();
    broken.z.pop_back();
    EXPECT_THROW(writeSurferGrid(p, broken, SurferGridFormat::Ascii), Error);
    EXPECT_EQ(tmp.read("keep.grd"), before);
    EXPECT_EQ(tmp.fileCount(), 1u);

    EXPECT_THROW(writeSurferGrid(tmp.path("no_such_folder/x.grd"), sampleGrid(), SurferGridFormat::Ascii), Error);

    // A good write replaces the file.
    Grid other = sampleGrid();
    other.at(1, 1) = 42.0;
    writeSurferGrid(p, other, SurferGridFormat::Ascii);
    EXPECT_EQ(readSurferGrid(p).at(1, 1), 42.0);
}

// An independent reader: GDAL's Golden Software drivers must see the same lattice,
// extents, heights and blanks as we wrote, and GDAL's own grids must read here.
TEST(SurferGrid, AgreesWithGdal) {
    if (!haveGdal()) GTEST_SKIP() << "gdalinfo not installed";
    TempFolder tmp;
    const Grid g = sampleGrid();
    const char* drivers[] = {"GSAG", "GSBG", "GS7BG"};
    for (int i = 0; i < 3; ++i) {
        std::string p = tmp.path(std::string("ours_") + drivers[i] + ".grd");
        writeSurferGrid(p, g, kAllFormats[i]);

        std::string info = tmp.path("info.txt");
        ASSERT_EQ(std::system(("gdalinfo -stats '" + p + "' > '" + info + "' 2>&1").c_str()), 0);
        std::string text = tmp.read("info.txt");
        EXPECT_NE(text.find(std::string("Driver: ") + drivers[i]), std::string::npos) << text;
        EXPECT_NE(text.find("Size is 5, 4"), std::string::npos) << text;
        EXPECT_NE(text.find("Minimum=-7.250"), std::string::npos) << text;
        EXPECT_NE(text.find("Maximum=0.500"), std::string::npos) << text;

        auto nodes = gdalNodes(tmp, p);
        ASSERT_EQ(nodes.size(), 20u);
        for (int r = 0; r < g.rows; ++r)
            for (int c = 0; c < g.cols; ++c) {
                auto it = nodes.find({std::round(g.x(c) * 1e6) / 1e6, std::round(g.y(r) * 1e6) / 1e6});
                ASSERT_NE(it, nodes.end()) << drivers[i] << " node " << c << "," << r;
                if (g.blank(c, r))
                    EXPECT_GE(it->second, 1e37) << drivers[i];
                else
                    // GDAL's XYZ export passes heights through single precision.
                    EXPECT_NEAR(it->second, g.at(c, r), 1e-6) << drivers[i];
            }
        std::filesystem::remove(p + ".aux.xml");
    }

    // GDAL rebuilds each format from our XYZ dump alone. From rows listed by ascending y
    // it makes grids whose first stored row is the greatest y (reversed y range, negative
    // y spacing); they must read the right way up.
    Grid lattice(4, 3, 100, 101.5, -3, -2.5);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) lattice.at(c, r) = c - 2.0 * r;
    lattice.at(3, 2) = kBlank;
    writeXyzDump(tmp.path("src.xyz"), lattice);
    const std::string src = tmp.path("src.xyz");
    for (int i = 0; i < 3; ++i) {
        std::string out = tmp.path(std::string("gdal_") + drivers[i] + ".grd");
        ASSERT_EQ(std::system(("gdal_translate -q -of " + std::string(drivers[i]) + " '" + src + "' '" + out + "' 2>&1").c_str()), 0);
        Grid r = readSurferGrid(out);
        ASSERT_EQ(r.cols, 4);
        ASSERT_EQ(r.rows, 3);
        EXPECT_NEAR(r.xMin, 100.0, 1e-9);
        EXPECT_NEAR(r.xMax, 101.5, 1e-9);
        EXPECT_NEAR(r.yMin, -3.0, 1e-9);
        EXPECT_NEAR(r.yMax, -2.5, 1e-9);
        EXPECT_EQ(r.at(1, 2), 1 - 4.0) << drivers[i];
        EXPECT_EQ(r.at(3, 0), 3.0) << drivers[i];
        EXPECT_TRUE(r.blank(3, 2)) << drivers[i];
    }
}
