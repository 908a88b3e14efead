#include "formats/xyzdump.h"

#include "core/error.h"
#include "core/textform.h"
#include "formats/fastnumber.h"
#include "formats/surfergrid.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using namespace trelvik;
using namespace trelvik::formats;
using trelvik::testing::TempFolder;

namespace {
std::string fast(double v) {
    char buf[kGeneralNumberMax];
    return std::string(buf, writeGeneralNumber(buf, v));
}
}  // namespace

// The fast writer must give the shared general form exactly; CStr is the oracle.
TEST(FastNumber, SameTextAsCStr) {
    const double edges[] = {0.0, -0.0, 1.0, -1.0, 0.5, 0.1 + 0.2, 1e-4, 9.99999999999999e-5, 1e-5, 1e15,
                            999999999999999.0, 999999999999999.5, 1e15 - 0.5, 123456789012345678.0,
                            kBlank, -kBlank, DBL_MAX, DBL_MIN, 4.9e-324, 1e100, 1e-100, 2.5, 0.125,
                            1.70141e38, 0.30000000000000004, 100.0, 1234.5678, -0.000123456789012345678};
    for (double v : edges) EXPECT_EQ(fast(v), text::CStr(v)) << v;

    std::mt19937_64 gen(20240611);
    std::uniform_real_distribution<double> mant(1.0, 10.0);
    std::uniform_int_distribution<int> ex(-30, 30), wide(-320, 308), digits(1, 17);
    for (int i = 0; i < 200000; ++i) {
        double v = mant(gen) * std::pow(10.0, i % 10 == 0 ? wide(gen) : ex(gen));
        if (i % 3 == 0) v = -v;
        if (i % 7 == 0) {  // short decimals, where rounding and trailing zeros matter most
            double scale = std::pow(10.0, digits(gen) - 8);
            v = std::round(v * scale) / scale;
        }
        ASSERT_EQ(fast(v), text::CStr(v)) << v;
    }
    // Bit patterns straight from the generator reach every exponent and mantissa.
    for (int i = 0; i < 100000; ++i) {
        std::uint64_t bits = gen();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        ASSERT_EQ(fast(v), text::CStr(v)) << v;
    }
}

TEST(XyzDump, WrittenByteForByte) {
    TempFolder tmp;
    Grid g(3, 2, 0.0, 1.0, 10.0, 10.25);
    g.z = {1, 2, 3, 4, 5.5e-7, kBlank};
    writeXyzDump(tmp.path("t1temp.dat"), g);
    EXPECT_EQ(tmp.read("t1temp.dat"),
              "0 10 1\r\n0.5 10 2\r\n1 10 3\r\n0 10.25 4\r\n0.5 10.25 5.5E-07\r\n1 10.25 1.70141E+38\r\n");
    EXPECT_EQ(tmp.fileCount(), 1u);
}

TEST(XyzDump, LargeGridRoundTripsInNodeOrder) {
    TempFolder tmp;
    // Big enough to cross the writer's buffer many times over.
    Grid g(700, 300, -12.3, 45.6, 7.0, 9.99);
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-50, 50);
    for (double& z : g.z) z = u(gen);
    g.at(0, 0) = g.at(699, 299) = g.at(350, 150) = kBlank;
    writeXyzDump(tmp.path("big.dat"), g);
    PointList pts = readXyzDump(tmp.path("big.dat"));
    ASSERT_EQ(pts.size(), g.z.size());
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c) {
            const PointXYZ& p = pts[static_cast<std::size_t>(r) * g.cols + c];
            ASSERT_NEAR(p.x, g.x(c), 1e-12);
            ASSERT_NEAR(p.y, g.y(r), 1e-12);
            if (g.blank(c, r))
                ASSERT_EQ(p.z, kBlank);
            else
                ASSERT_NEAR(p.z, g.at(c, r), 1e-13 * 50);
        }
}

TEST(XyzDump, ReaderSeparatorsAndDamage) {
    TempFolder tmp;
    PointList pts = readXyzDump(tmp.write("mixed.dat", "1 2 3\n\n4,5,6\r\n\t7\t8\t9\t10\n-1e-3 , +2 , 1.70141E+38\n  \n"));
    ASSERT_EQ(pts.size(), 4u);
    EXPECT_EQ(pts[2].z, 9.0);
    EXPECT_EQ(pts[3].x, -0.001);
    EXPECT_EQ(pts[3].y, 2.0);
    EXPECT_EQ(pts[3].z, kBlank);

    for (const char* bad : {"1 2 3\n4 5\n", "1 2 3\n4 5 x\n", "1 2 3x\n"}) {
        std::string p = tmp.write("bad.dat", bad);
        try {
            readXyzDump(p);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(p), std::string::npos);
            EXPECT_NE(std::string(e.what()).find("line"), std::string::npos);
        }
    }
    EXPECT_THROW(readXyzDump(tmp.path("none.dat")), Error);
}

// The scanner hands over each number's own text and its line, across block boundaries,
// for a line longer than a block and for a last line without a line end.
TEST(XyzDump, ScannerKeepsTextsAndLineNumbers) {
    TempFolder tmp;
    std::string text;
    std::vector<std::array<std::string, 3>> want;
    std::vector<std::size_t> wantLine;
    std::size_t line = 0;
    std::mt19937 gen(11);
    std::uniform_int_distribution<int> pick(0, 5);
    const char* forms[] = {"1.70141E+38", "+2.5", "-0.000125", "1E-05", "123456.789012345", "7"};
    const char* seps[] = {" ", "\t", ",", " , ", "  ", ",\t"};
    // More than one block of the scanner, so lines are parsed in pieces and blocks.
    while (text.size() < 10000000) {
        ++line;
        if (line % 97 == 0) {
            text += line % 2 ? " \t,\r\n" : "\n";  // separators only: skipped, yet counted
            continue;
        }
        std::array<std::string, 3> rec = {forms[pick(gen)], forms[pick(gen)], forms[pick(gen)]};
        text += seps[pick(gen)] + rec[0] + seps[pick(gen)] + rec[1] + seps[pick(gen)] + rec[2];
        if (line == 5000) text += " " + std::string(3 << 20, '9');  // ignored after the third number
        text += line % 3 ? "\r\n" : "\n";
        want.push_back(rec);
        wantLine.push_back(line);
    }
    text += "4 5 6";
    want.push_back({"4", "5", "6"});
    wantLine.push_back(line + 1);

    std::size_t n = 0;
    scanXyzDump(tmp.write("texts.dat", text), [&](const XyzRecord& r) {
        ASSERT_LT(n, want.size());
        EXPECT_EQ(r.xText, want[n][0]);
        EXPECT_EQ(r.yText, want[n][1]);
        EXPECT_EQ(r.zText, want[n][2]);
        EXPECT_EQ(r.z, std::strtod(want[n][2].c_str(), nullptr));
        EXPECT_EQ(r.line, wantLine[n]);
        ++n;
    });
    EXPECT_EQ(n, want.size());
    try {  // a damaged line far in: its number counted over every piece before it
        scanXyzDump(tmp.write("late.dat", text + "\n7 8 nine\n1 2 3\n"), [](const XyzRecord&) {});
        ADD_FAILURE();
    } catch (const XyzLineError& e) {
        EXPECT_EQ(e.line(), line + 2);
    }

    // Beyond double range: tiny reads as 0, huge as the blank height or its negative.
    PointList far = readXyzDump(tmp.write("far.dat", "1e-400 -1e400 1e400\n"));
    ASSERT_EQ(far.size(), 1u);
    EXPECT_EQ(far[0].x, 0.0);
    EXPECT_EQ(far[0].y, -kBlank);
    EXPECT_EQ(far[0].z, kBlank);

    const std::string bad = tmp.write("bad.dat", "1 2 3\r\n\r\n4 5 6\r\n7 8 nine\r\n");
    try {
        scanXyzDump(bad, [](const XyzRecord&) {});
        ADD_FAILURE();
    } catch (const XyzLineError& e) {
        EXPECT_EQ(e.line(), 4u);
        EXPECT_EQ(std::string(e.what()), "The XYZ file " + bad + " has no x, y and z on line 4: \"7 8 nine\".");
    }
}
