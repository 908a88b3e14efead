// The plane formula line: writer, the one tolerant reader, and the file helpers.
#include "core/error.h"
#include "planes/planeformula.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik::planes;
using trelvik::testing::TempFolder;

TEST(PlaneFormula, WritesTheLineLayout) {
    EXPECT_EQ(PlaneFormulaLine(2.5, -0.1, 0.25), "z(x,y) = 2.5 + -0.1y + 0.25x");
    EXPECT_EQ(PlaneFormulaLine(5, 0, 0), "z(x,y) = 5 + 0y + 0x");
    EXPECT_EQ(PlaneFormulaLine(1.5e20, 1.5e-5, -123456789.012345), "z(x,y) = 1.5E+20 + 1.5E-05y + -123456789.012345x");
}

TEST(PlaneFormula, ReadsLinesThatFixedPositionReadingsGotWrong) {
    struct Case {
        const char* line;
        double C, B, A;
    } cases[] = {
        {"z(x,y) = 2.5 + -0.1y + 0.25x", 2.5, -0.1, 0.25},
        {"z(x,y) = 12.25 + -0.625y + 1.5x", 12.25, -0.625, 1.5},
        {"z(x,y) = 1.5 + -0.25y + 0.125x", 1.5, -0.25, 0.125},
        {"z(x,y) = 123.456789012345 + 0.5y + -2x", 123.456789012345, 0.5, -2},
        {"z(x,y) = 5 + 0y + 0x", 5, 0, 0},
        {"z(x,y) = 1.5E+20 + 2E-07y + -3.25E+15x", 1.5e20, 2e-7, -3.25e15},
        {"z(x,y) = 5 + 0.25y + -0.5x\r\n", 5, 0.25, -0.5},
        // What other writers produce: blanks, minus operators, stars, another order.
        {"  Z(x, y)=1-0.5*Y+2*X", 1, -0.5, 2},
        {"z(x,y) = 0.25x - 3 + - -1y", -3, 1, 0.25},
        {"z(x,y) = 4 + 2x", 4, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto p = tryParsePlaneFormula(c.line);
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(p->C, c.C);
        EXPECT_EQ(p->B, c.B);
        EXPECT_EQ(p->A, c.A);
    }
}

TEST(PlaneFormula, RefusesLinesThatAreNotPlaneFormulas) {
    for (const char* line : {"", "   ", "0", "Gridding Report", "z(x,y) =", "z(x,y) = 1 + 2y + 3x + 4x",
                             "z(x,y) = 1 + 2y 3x", "z(x,y) = 1 + 2z", "z(x,y) = 1 + 2*", "y = 1 + 2x",
                             "z(x,y) = inf + 0y + 0x", "z(x,y) = 1 + 2y + 3x trailing", "z(x,y) = 1 + + "}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(tryParsePlaneFormula(line).has_value());
    }
    try {
        ParsePlaneFormula("Gridding Report", "C:/data/T1planeform.txt");
        FAIL();
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("C:/data/T1planeform.txt"), std::string::npos);
    }
}

TEST(PlaneFormula, RoundTripsEveryFormTheWriterProduces) {
    const double values[] = {0, 1, -1, 0.1, -0.1, 2.5, 1.0 / 3, -2.0 / 7, 123456789012345.0, -98765.4321012345, 0.000123456789012345,
                             1.5e20, -1.5e20, 1.5e-20, 9.87654321098765e-5, 1e15, 1e-4, 12345.6789,
                             1e300, -1e-300};
    for (double c : values)
        for (double a : {values[3], values[7], values[10], values[13]}) {
            const double b = -c / 3;
            const std::string line = PlaneFormulaLine(c, b, a);
            SCOPED_TRACE(line);
            const auto p = tryParsePlaneFormula(line);
            ASSERT_TRUE(p.has_value());
            // The text holds 15 significant digits; reading it back and writing again is stable,
            // and values of 15 digits or fewer come back exactly.
            EXPECT_EQ(PlaneFormulaLine(*p), line);
            EXPECT_NEAR(p->C, c, std::fabs(c) * 1e-14);
            EXPECT_NEAR(p->B, b, std::fabs(b) * 1e-14);
            EXPECT_NEAR(p->A, a, std::fabs(a) * 1e-14);
        }
    for (double v : {0.1, -0.1, 2.5, 123456789012345.0, -98765.4321012345, 1.5e20, -1.5e-20, 9.87654321098765e-5}) {
        const auto p = tryParsePlaneFormula(PlaneFormulaLine(v, v, v));
        ASSERT_TRUE(p.has_value());
        EXPECT_EQ(*p, (PlaneCoefficients{v, v, v}));
    }
}

TEST(PlaneFormula, FilesAreReadByTheirFirstLineAndReplacedWhole) {
    TempFolder dir;
    const std::string f = dir.path("T1planeform.txt");
    WritePlaneFormulaFile(f, {2.5, -0.1, 0.25});
    EXPECT_EQ(dir.read("T1planeform.txt"), "z(x,y) = 2.5 + -0.1y + 0.25x\r\n");
    EXPECT_EQ(ReadPlaneFormulaFile(f), (PlaneCoefficients{2.5, -0.1, 0.25}));

    WritePlaneFormulaText(f, "z(x,y) = 1 + 2y + 3x\r\nsecond line");
    EXPECT_EQ(dir.read("T1planeform.txt"), "z(x,y) = 1 + 2y + 3x\r\n");
    EXPECT_EQ(dir.fileCount(), 1u);

    dir.write("bad.txt", "not a formula\r\nz(x,y) = 1 + 2y + 3x\r\n");
    EXPECT_THROW(ReadPlaneFormulaFile(dir.path("bad.txt")), trelvik::Error);
    try {
        ReadPlaneFormulaFile(dir.path("missing.txt"));
        FAIL();
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("missing.txt"), std::string::npos);
    }
}

// The largest double rounds to 15 digits above itself; such a plane is refused rather
// than written as a file no tool reads back, and the old file stays.
TEST(PlaneFormula, APlaneThatWouldNotReadBackIsNotWritten) {
    TempFolder dir;
    const std::string f = dir.path("T1planeform.txt");
    WritePlaneFormulaFile(f, {1, 2, 3});
    const double big = 1.7976931348623157e308;
    for (const PlaneCoefficients& p : {PlaneCoefficients{big, 0, 0}, PlaneCoefficients{0, -big, 0},
                                       PlaneCoefficients{0, 0, std::nan("")}}) {
        try {
            WritePlaneFormulaFile(f, p);
            ADD_FAILURE() << PlaneFormulaLine(p);
        } catch (const trelvik::Error& e) {
            EXPECT_NE(std::string(e.what()).find("T1planeform.txt"), std::string::npos);
            EXPECT_NE(std::string(e.what()).find("not a finite number"), std::string::npos);
        }
    }
    EXPECT_EQ(dir.read("T1planeform.txt"), "z(x,y) = 1 + 2y + 3x\r\n");
    EXPECT_EQ(dir.fileCount(), 1u);
    // The largest value that rounds within range still goes through.
    WritePlaneFormulaFile(f, {1.79769313486231e308, 0, 0});
    EXPECT_EQ(ReadPlaneFormulaFile(f).C, 1.79769313486231e308);
}

TEST(PlaneFormula, NormalAndHeight) {
    const PlaneCoefficients p{5, 0.25, -0.5};
    EXPECT_EQ(p.normal(), (std::array<double, 3>{0.5, -0.25, 1}));
    EXPECT_DOUBLE_EQ(p.height(2, 4), 5 + 1 - 1);
}
