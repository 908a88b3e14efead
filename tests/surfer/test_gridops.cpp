// GridConvert, GridBlank, GridExtract, GridTransform and GridMath on files, in both forms.
#include "core/error.h"
#include "core/textform.h"
#include "formats/xyzdump.h"
#include "surfer/gridblank.h"
#include "surfertest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace surfertest;
using surfer::Named;
using surfer::Positional;
using surfer::omitted;
using trelvik::formats::SurferGridFormat;
using trelvik::formats::detectSurferGridFormat;
using trelvik::formats::readSurferGrid;

namespace {
std::string zoneLine(double a, double b) { return trelvik::text::PrintLine().num(a).num(b).str(); }

// A closed outline in the print-zone layout.
std::string zoneBln(const std::vector<std::pair<double, double>>& pts, int flag) {
    std::string s = zoneLine(static_cast<double>(pts.size() + 1), flag) + "\r\n";
    for (auto [x, y] : pts) s += zoneLine(x, y) + "\r\n";
    s += zoneLine(pts[0].first, pts[0].second) + "\r\n";
    return s;
}

// Even-odd ray casting, the per-node test the scanline fill must agree with.
bool insidePolygon(const std::vector<std::pair<double, double>>& p, double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        const auto [xi, yi] = p[i];
        const auto [xj, yj] = p[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}
} // namespace

TEST(GridConvert, WritesEveryFormatByVersionCodeAndNormalisesBlanks) {
    trelvik::testing::TempFolder dir;
    Grid g = makeGrid(3, 2, 0, 1, 10, 10.25, [](double x, double y) { return x + y; });
    g.at(1, 0) = 1e38;  // blank by threshold, written as the exact blank value
    const auto in = saveGrid(dir, "g.grd", g, SurferGridFormat::Ascii);
    auto app8 = v8();
    auto app6 = v6();
    app8->call("GridConvert", Named{{"InGrid", in}, {"OutGrid", dir.path("t.dat")}, {"OutFmt", 4}});
    const auto pts = trelvik::formats::readXyzDump(dir.path("t.dat"));
    ASSERT_EQ(pts.size(), 6u);
    EXPECT_DOUBLE_EQ(pts[1].x, 0.5);
    EXPECT_DOUBLE_EQ(pts[1].z, trelvik::kBlank);
    EXPECT_DOUBLE_EQ(pts[3].y, 10.25);
    EXPECT_DOUBLE_EQ(pts[5].z, 11.25);

    const std::pair<long, SurferGridFormat> codes8[] = {
        {1, SurferGridFormat::Binary6}, {2, SurferGridFormat::Ascii}, {3, SurferGridFormat::Binary7}};
    for (auto [code, fmt] : codes8) {
        const auto out = dir.path("o" + std::to_string(code) + ".grd");
        app8->call("GridConvert", Positional{in, out, code});
        EXPECT_EQ(detectSurferGridFormat(out), fmt) << code;
        EXPECT_EQ(readSurferGrid(out).z[1], trelvik::kBlank);
    }
    app8->call("GridConvert", Positional{in, dir.path("none.grd")});
    EXPECT_EQ(detectSurferGridFormat(dir.path("none.grd")), SurferGridFormat::Binary7);
    app6->call("GridConvert", Positional{in, dir.path("six.grd"), 1});
    EXPECT_EQ(detectSurferGridFormat(dir.path("six.grd")), SurferGridFormat::Binary6);
    app6->call("GridConvert", Positional{in, dir.path("six.dat"), 3});
    EXPECT_EQ(dir.read("six.dat"), dir.read("t.dat"));
}

TEST(GridBlank, SquareOutlineKeepsOrBlanksItsInsideWithEdgeNodesInside) {
    trelvik::testing::TempFolder dir;
    const auto in = saveGrid(dir, "g.grd", makeGrid(11, 11, 0, 10, 0, 10, [](double x, double y) { return x * y; }));
    const std::vector<std::pair<double, double>> sq{{2, 2}, {2, 6}, {6, 6}, {6, 2}};
    dir.write("out.bln", zoneBln(sq, 0));
    dir.write("in.bln", zoneBln(sq, 1));
    // Literal header and comma layout, as some writers emit them.
    dir.write("lit.bln", "5,0\r\n2,2\r\n2,6\r\n6,6\r\n6,2\r\n2,2\r\n");
    dir.write("lit2.bln", "2, 0\r\n2,2\r\n6,6\r\n");  // an open two-point "outline": its edge alone

    auto app6 = v6();
    auto app8 = v8();
    app6->call("GridBlank", Positional{in, dir.path("out.bln"), dir.path("b6.grd"), 1});
    app8->call("GridBlank", Named{{"InGrid", in}, {"BlankFile", dir.path("out.bln")}, {"OutGrid", dir.path("b8.grd")}});
    app8->call("GridBlank", Positional{in, dir.path("in.bln"), dir.path("i8.grd")});
    app8->call("GridBlank", Positional{in, dir.path("lit.bln"), dir.path("l8.grd")});
    app8->call("GridBlank", Positional{in, dir.path("lit2.bln"), dir.path("d8.grd")});
    EXPECT_EQ(detectSurferGridFormat(dir.path("b6.grd")), SurferGridFormat::Binary6);
    const Grid b6 = readSurferGrid(dir.path("b6.grd")), b8 = readSurferGrid(dir.path("b8.grd"));
    const Grid i8 = readSurferGrid(dir.path("i8.grd")), l8 = readSurferGrid(dir.path("l8.grd"));
    const Grid d8 = readSurferGrid(dir.path("d8.grd"));
    int kept = 0;
    for (int j = 0; j < 11; ++j)
        for (int i = 0; i < 11; ++i) {
            const bool in = i >= 2 && i <= 6 && j >= 2 && j <= 6;
            kept += !b8.blank(i, j);
            EXPECT_EQ(b8.blank(i, j), !in) << i << "," << j;
            EXPECT_EQ(i8.blank(i, j), in) << i << "," << j;
            EXPECT_EQ(b6.z, b8.z);
            EXPECT_EQ(l8.blank(i, j), !in);
            EXPECT_EQ(d8.blank(i, j), !(i == j && i >= 2 && i <= 6));
        }
    EXPECT_EQ(kept, 25);
    EXPECT_DOUBLE_EQ(b8.at(3, 4), 12.0);
}

TEST(GridBlank, ScanlineFillAgreesWithPerNodeEvenOddTestOnRandomOutlines) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    for (int trial = 0; trial < 20; ++trial) {
        Grid g = makeGrid(61, 47, -3, 3, -2.3, 2.3, [](double x, double y) { return x - y; });
        const Grid orig = g;
        // A star-shaped outline, self-crossing on odd trials, vertices off the lattice.
        std::vector<std::pair<double, double>> p;
        const int n = 5 + trial * 3;
        for (int k = 0; k < n; ++k) {
            const double a = 2 * M_PI * (trial % 2 ? 3.0 * k : k) / n + 0.01234;
            const double r = 0.5 + 2.2 * u(rng);
            p.emplace_back(r * std::cos(a) + 1e-7, r * std::sin(a) + 3e-7);
        }
        surfer::BlnSection s;
        s.flag = trial % 3 == 0 ? 1 : 0;
        for (auto [x, y] : p) s.x.push_back(x), s.y.push_back(y);
        s.x.push_back(p[0].first);
        s.y.push_back(p[0].second);
        surfer::blankGrid(g, {s});
        for (int j = 0; j < g.rows; ++j)
            for (int i = 0; i < g.cols; ++i) {
                const bool in = insidePolygon(p, orig.x(i), orig.y(j));
                ASSERT_EQ(g.blank(i, j), s.flag == 1 ? in : !in) << "trial " << trial << " node " << i << "," << j;
            }
    }
}

TEST(GridBlank, SeveralSectionsBlankEachInsideAndBadFilesLeaveTheOutputAlone) {
    trelvik::testing::TempFolder dir;
    const auto in = saveGrid(dir, "g.grd", makeGrid(11, 11, 0, 10, 0, 10, [](double, double) { return 1.0; }));
    dir.write("m.bln", zoneBln({{1, 1}, {1, 3}, {3, 3}, {3, 1}}, 1) + "\r\n" + zoneBln({{7, 7}, {7, 9}, {9, 9}, {9, 7}}, 1));
    auto app = v8();
    app->call("GridBlank", Named{{"InGrid", in}, {"BlankFile", dir.path("m.bln")}, {"OutGrid", dir.path("u.grd")},
                                 {"OutFmt", 4}});
    const auto pts = trelvik::formats::readXyzDump(dir.path("u.grd"));
    int blanks = 0;
    for (const auto& q : pts) blanks += q.z >= 1e37;
    EXPECT_EQ(blanks, 18);

    dir.write("keep.grd", "old");
    dir.write("short.bln", "5,0\r\n1,1\r\n1,3\r\n");
    dir.write("junk.bln", "five,0\r\n");
    dir.write("flag.bln", "2,7\r\n1,1\r\n2,2\r\n");
    for (const char* bad : {"short.bln", "junk.bln", "flag.bln", "absent.bln"}) {
        EXPECT_THROW(app->call("GridBlank", Positional{in, dir.path(bad), dir.path("keep.grd")}), trelvik::Error) << bad;
        EXPECT_EQ(dir.read("keep.grd"), "old");
    }
}

TEST(GridExtract, RowAndColumnRangesInBothArgumentOrders) {
    trelvik::testing::TempFolder dir;
    // z = 10 * column + row, both counted from 1.
    const auto in = saveGrid(dir, "g.grd", makeGrid(5, 4, 0, 4, 0, 3, [](double x, double y) { return 10 * (x + 1) + y + 1; }));
    auto app6 = v6();
    auto app8 = v8();
    // rows 2..4 every 2nd, columns 1..5 every 2nd
    app6->call("GridExtract", Positional{in, 2, 1, 4, 5, 2, 2, dir.path("e6.grd")});
    app8->call("GridExtract", Positional{in, 2, 4, 2, 1, 5, 2, dir.path("e8.grd")});
    app8->call("GridExtract", Named{{"InGrid", in}, {"r1", 2}, {"r2", -1}, {"rFreq", 2}, {"c1", -1}, {"c2", -1},
                                    {"cFreq", 2}, {"OutGrid", dir.path("en.grd")}});
    for (const char* name : {"e6.grd", "e8.grd", "en.grd"}) {
        const Grid e = readSurferGrid(dir.path(name));
        ASSERT_EQ(e.cols, 3) << name;
        ASSERT_EQ(e.rows, 2) << name;
        EXPECT_DOUBLE_EQ(e.xMin, 0);
        EXPECT_DOUBLE_EQ(e.xMax, 4);
        EXPECT_DOUBLE_EQ(e.yMin, 1);
        EXPECT_DOUBLE_EQ(e.yMax, 3);
        EXPECT_DOUBLE_EQ(e.at(0, 0), 12);
        EXPECT_DOUBLE_EQ(e.at(2, 1), 54);
    }
    EXPECT_THROW(app8->call("GridExtract", Positional{in, 0, 4, 1, 1, 5, 1, dir.path("x.grd")}), trelvik::Error);
    EXPECT_THROW(app8->call("GridExtract", Positional{in, 3, 2, 1, 1, 5, 1, dir.path("x.grd")}), trelvik::Error);
    EXPECT_THROW(app8->call("GridExtract", Positional{in, 1, 9, 1, 1, 5, 1, dir.path("x.grd")}), trelvik::Error);
}

TEST(GridTransform, MirrorsRotationsAndOffset) {
    trelvik::testing::TempFolder dir;
    auto f = [](double x, double y) { return x + 10 * y; };
    const auto in = saveGrid(dir, "g.grd", makeGrid(4, 3, 0, 3, 0, 2, f));
    auto app6 = v6();
    auto app8 = v8();
    app8->call("GridTransform", Named{{"InGrid", in}, {"Operation", 4}, {"OutGrid", dir.path("mx.grd")}});
    app8->call("GridTransform", Named{{"InGrid", in}, {"Operation", 5}, {"OutGrid", dir.path("my.grd")}, {"OutFmt", 4}});
    // Version 6 counts its operations from 0: its 4 is the named form's 5.
    app6->call("GridTransform", Positional{in, 4, omitted, omitted, omitted, omitted, omitted, dir.path("my6.dat"), 3});
    EXPECT_EQ(dir.read("my.grd"), dir.read("my6.dat"));
    app8->call("GridTransform", Named{{"InGrid", in}, {"Operation", 3}, {"Rotation", -90}, {"OutGrid", dir.path("r90.grd")}});
    app8->call("GridTransform", Named{{"InGrid", in}, {"Operation", 3}, {"Rotation", 180}, {"OutGrid", dir.path("r180.grd")}});
    app8->call("GridTransform", Named{{"InGrid", in}, {"Operation", 1}, {"XOffset", -1.5}, {"YOffset", 2.0},
                                      {"OutGrid", dir.path("off.grd")}});

    const Grid mx = readSurferGrid(dir.path("mx.grd"));
    EXPECT_DOUBLE_EQ(mx.at(0, 2), f(3, 2));
    EXPECT_DOUBLE_EQ(mx.xMax, 3);
    const auto my = trelvik::formats::readXyzDump(dir.path("my.grd"));
    EXPECT_DOUBLE_EQ(my[0].z, f(0, 2));

    // Clockwise quarter turn kept at the lower-left corner: z'(x', y') = f(3 - y', x').
    const Grid r = readSurferGrid(dir.path("r90.grd"));
    ASSERT_EQ(r.cols, 3);
    ASSERT_EQ(r.rows, 4);
    EXPECT_DOUBLE_EQ(r.xMax, 2);
    EXPECT_DOUBLE_EQ(r.yMax, 3);
    for (int j = 0; j < r.rows; ++j)
        for (int i = 0; i < r.cols; ++i) EXPECT_DOUBLE_EQ(r.at(i, j), f(3 - r.y(j), r.x(i)));
    const Grid h = readSurferGrid(dir.path("r180.grd"));
    for (int j = 0; j < h.rows; ++j)
        for (int i = 0; i < h.cols; ++i) EXPECT_DOUBLE_EQ(h.at(i, j), f(3 - h.x(i), 2 - h.y(j)));
    const Grid o = readSurferGrid(dir.path("off.grd"));
    EXPECT_DOUBLE_EQ(o.xMin, -1.5);
    EXPECT_DOUBLE_EQ(o.yMax, 4);
    EXPECT_THROW(app8->call("GridTransform", Named{{"InGrid", in}, {"Operation", 3}, {"Rotation", 45},
                                                   {"OutGrid", dir.path("x.grd")}}), trelvik::Error);
    EXPECT_THROW(app8->call("GridTransform", Positional{in, 9, omitted, omitted, omitted, omitted, omitted,
                                                        dir.path("x.grd")}), trelvik::Error);
}

TEST(GridMath, ExpressionIdentitiesBlanksAndLattices) {
    trelvik::testing::TempFolder dir;
    auto fa = [](double x, double y) { return x + 2 * y - 1; };
    Grid A = makeGrid(6, 5, 0, 1, 0, 2, fa);
    A.at(2, 3) = trelvik::kBlank;
    const auto a = saveGrid(dir, "a.grd", A);
    const auto b = saveGrid(dir, "b.grd", makeGrid(6, 5, 0, 1, 0, 2, [](double x, double) { return 3 - x; }));
    const auto other = saveGrid(dir, "o.grd", makeGrid(6, 5, 0, 1.5, 0, 2, [](double, double) { return 0.0; }));
    auto app = v8();
    auto run = [&](const std::string& fn, bool useB = false) {
        const auto out = dir.path("c.grd");
        if (useB) app->call("GridMath", Named{{"Function", fn}, {"InGridA", a}, {"InGridB", b}, {"OutGridC", out}});
        else app->call("GridMath", Named{{"Function", fn}, {"InGridA", a}, {"OutGridC", out}});
        return readSurferGrid(out);
    };
    struct Case { const char* fn; bool useB; std::function<double(double, double)> want; };
    const Case cases[] = {
        {"C = A - -0.5", false, [](double x, double) { return x + 0.5; }},
        {"C = A +-.1", false, [](double x, double) { return x - 0.1; }},
        {"C=2-A +0.25", false, [](double x, double) { return 2.25 - x; }},
        {"C = -A^2", false, [](double x, double) { return -x * x; }},
        {"C = 2^-1 * A", false, [](double x, double) { return x / 2; }},
        {"C=max(A,B)", true, [](double x, double y) { return std::max(x, y); }},
        {"c = MIN(a, b)", true, [](double x, double y) { return std::min(x, y); }},
        {"C = (A+B)^2 - A^2 - 2*A*B", true, [](double, double y) { return y * y; }},
        {"C = ln(exp(A)) + log10(1E+02) - 2", false, [](double x, double) { return x; }},
        {"C = sin(A)^2 + cos(A)^2 + abs(-sqrt(4)) + 0*tan(A)", false, [](double, double) { return 3.0; }},
        {"C = atan(1)*4 - acos(-1) + asin(0) + 2.5e-3 + 0*A", false, [](double, double) { return 2.5e-3; }},
    };
    const Grid B = readSurferGrid(b);
    for (const auto& c : cases) {
        const Grid C = run(c.fn, c.useB);
        for (std::size_t k = 0; k < C.z.size(); ++k) {
            if (trelvik::isBlank(A.z[k])) {
                EXPECT_TRUE(trelvik::isBlank(C.z[k])) << c.fn;  // a blank operand gives a blank
                continue;
            }
            EXPECT_NEAR(C.z[k], c.want(A.z[k], B.z[k]), 1e-12) << c.fn << " node " << k;
        }
    }
    // Division by zero and undefined values give blanks, not infinities.
    const Grid inv = run("C=1/A");
    EXPECT_TRUE(trelvik::isBlank(inv.at(0, 1)));  // A = 0 + 1 - 1
    EXPECT_TRUE(trelvik::isBlank(inv.at(5, 0)));  // A = 1 + 0 - 1
    EXPECT_DOUBLE_EQ(inv.at(0, 2), 1.0);
    EXPECT_TRUE(trelvik::isBlank(run("C = 0/A + 0*B", true).at(0, 1)));  // 0/0
    const Grid root = run("C = sqrt(A)");
    EXPECT_TRUE(trelvik::isBlank(root.at(0, 0)));  // A = -1
    for (const char* bad : {"C = A +", "A + 1", "C = foo(A)", "C = (A", "C = 1..2", "C = max(A)", "C = A B"})
        EXPECT_THROW(run(bad), trelvik::Error) << bad;
    // Deep nesting is refused with a message instead of exhausting the stack.
    EXPECT_THROW(run("C=" + std::string(5000, '(') + "A" + std::string(5000, ')')), trelvik::Error);
    EXPECT_THROW(run("C=" + std::string(100000, '-') + "A"), trelvik::Error);
    EXPECT_EQ(run("C=" + std::string(100, '(') + "A" + std::string(100, ')')).z, A.z);
    EXPECT_THROW(app->call("GridMath", Named{{"Function", "C=A-B"}, {"InGridA", a}, {"InGridB", other},
                                             {"OutGridC", dir.path("x.grd")}}), trelvik::Error);
    EXPECT_THROW(app->call("GridMath", Named{{"Function", "C=A-B"}, {"InGridA", a}, {"OutGridC", dir.path("x.grd")}}),
                 trelvik::Error);
    // Version 6: grids first, the format code 4th, the function last.
    auto app6 = v6();
    app6->call("GridMath", Positional{a, b, dir.path("d6.grd"), 1, "C=A-B"});
    app6->call("GridMath", Positional{a, omitted, dir.path("copy.grd"), omitted, "C=A"});
    EXPECT_EQ(detectSurferGridFormat(dir.path("d6.grd")), SurferGridFormat::Binary6);
    EXPECT_DOUBLE_EQ(readSurferGrid(dir.path("d6.grd")).at(5, 4), fa(1, 2) - 2);
    EXPECT_EQ(readSurferGrid(dir.path("copy.grd")).z, A.z);
}
