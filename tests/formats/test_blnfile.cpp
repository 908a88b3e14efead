#include "formats/blnfile.h"
#include "formats/digitisefile.h"

#include "core/error.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace trelvik;
using namespace trelvik::formats;
using trelvik::testing::TempFolder;

namespace {
std::string spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
}  // namespace

// Print zones counted by hand: every item after the first starts in column 15.
TEST(BlnFile, ZoneLayoutByteForByte) {
    BlnSection s = closedOutline({{12.5, 3.25}, {-1, 0.5}, {0, -0.25}}, 1);
    std::string text = formatBlnFile({s}, BlnLayout::Zone);
    std::string expected =
        " 4" + spaces(12) + "1\r\n" +              // count 4 (3 points + closing), flag bare in column 15
        " 12.5" + spaces(9) + " 3.25 \r\n" +       // number: blank, digits, blank; padded to column 15
        "-1" + spaces(12) + " .5 \r\n" +           // minus sign in place of the blank; no zero before .5
        " 0" + spaces(12) + "-.25 \r\n" +
        " 12.5" + spaces(9) + " 3.25 \r\n";        // closed: the first point again
    EXPECT_EQ(text, expected);

    // The worked example of a header of 12 with flag 0: "0" lands in column 15.
    BlnSection twelve = openLine(PointXYList(12, PointXY{1, 2}), 0);
    EXPECT_EQ(formatBlnFile({twelve}, BlnLayout::Zone).substr(0, 17), " 12" + spaces(11) + "0\r\n");
}

TEST(BlnFile, CommaLayoutAndLiteralHeaders) {
    // A 0.02-sided square from the corner (1.2, 3.4): sums such as 3.4 + 0.02 must come
    // out in the 15-digit general form, not as 3.4199999999999999.
    const double x0 = 1.2, y0 = 3.4, s = 0.02;
    BlnSection square;
    square.literalHeader = "5,0";
    square.vertices = {{x0, y0}, {x0, y0 + s}, {x0 + s, y0 + s}, {x0 + s, y0}, {x0, y0}};
    EXPECT_EQ(formatBlnFile({square}, BlnLayout::Comma),
              "5,0\r\n1.2,3.4\r\n1.2,3.42\r\n1.22,3.42\r\n1.22,3.4\r\n1.2,3.4\r\n");

    BlnSection rake;
    rake.literalHeader = "2, 0";
    rake.vertices = {{1, 2}, {-3.5, 4}};
    EXPECT_EQ(formatBlnFile({rake}, BlnLayout::Zone), "2, 0\r\n 1" + spaces(12) + " 2 \r\n-3.5" + spaces(10) + " 4 \r\n");

    // Two closed areas, each on its own first point.
    std::string two = formatBlnFile({closedOutline({{0, 0}, {1, 0}, {1, 1}}, 1), closedOutline({{5, 5}, {6, 5}}, 1)},
                                    BlnLayout::Comma);
    EXPECT_EQ(two, "4,1\r\n0,0\r\n1,0\r\n1,1\r\n0,0\r\n3,1\r\n5,5\r\n6,5\r\n5,5\r\n");

    // Nonsense a caller could hand in is refused, not written.
    BlnSection wrongHeader = square;
    wrongHeader.literalHeader = "4,0";
    EXPECT_THROW(formatBlnFile({wrongHeader}, BlnLayout::Comma), Error);
    EXPECT_THROW(formatBlnFile({closedOutline({}, 0)}, BlnLayout::Zone), Error);
}

TEST(BlnFile, ReaderTakesEveryWrittenFormAndRefusesDamage) {
    TempFolder tmp;
    std::vector<BlnSection> sections = {closedOutline({{12.5, -3.25}, {0.5, 7}, {-100, 1e-5}}, 0),
                                        openLine({{1, 2}, {3, 4}}, 1)};
    for (BlnLayout layout : {BlnLayout::Zone, BlnLayout::Comma}) {
        std::string p = tmp.path("round.bln");
        writeBlnFile(p, sections, layout);
        auto back = readBlnFile(p);
        ASSERT_EQ(back.size(), 2u);
        EXPECT_EQ(back[0].flag, 0);
        EXPECT_EQ(back[0].vertices, sections[0].vertices);
        EXPECT_EQ(back[1].flag, 1);
        EXPECT_EQ(back[1].vertices, sections[1].vertices);
    }
    auto lit = readBlnFile(tmp.write("lit.bln", "5,0\n0,0\n0,1\n1,1\n1,0\n0,0\n\n2, 0\r\n 1   2 \r\n3 , 4\r\n"));
    ASSERT_EQ(lit.size(), 2u);
    EXPECT_EQ(lit[0].vertices.size(), 5u);
    EXPECT_EQ(lit[1].vertices[1], (PointXY{3, 4}));

    for (const char* bad : {"", "3,0\n1,1\n2,2\n", "0,0\n", "2.5,0\n1,1\n2,2\n", "2\n1,1\n2,2\n", "2,0\n1,1\nx,2\n",
                            // a flag beyond what an int holds, and coordinates that are no numbers
                            "3 3333333330\n0,0\n0,1\n1,1\n", "2,0\nnan,1\n2,2\n", "2,0\n1,inf\n2,2\n",
                            "2,0.5\n1,1\n2,2\n"}) {
        std::string p = tmp.write("bad.bln", bad);
        try {
            readBlnFile(p);
            ADD_FAILURE() << "read: " << bad;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(p), std::string::npos);
        }
    }
}

TEST(BlnFile, ToothStripsFollowTheBorders) {
    const PointXYList b1 = {{0, 6}, {10, 5}};
    const PointXYList b2 = {{0, 3}, {4, 2.5}, {10, 2}};
    auto strips = toothStrips({b1, b2}, 3, 0, 10, 0, 8, "borders.dat");
    ASSERT_EQ(strips.size(), 3u);
    EXPECT_EQ(strips[0].vertices, (PointXYList{{0, 8}, {0, 6}, {10, 5}, {10, 8}, {0, 8}}));             // n1 + 3
    EXPECT_EQ(strips[1].vertices, (PointXYList{{0, 6}, {10, 5}, {10, 2}, {4, 2.5}, {0, 3}, {0, 6}}));   // n1 + n2 + 1
    EXPECT_EQ(strips[2].vertices, (PointXYList{{0, 0}, {0, 3}, {4, 2.5}, {10, 2}, {10, 0}, {0, 0}}));   // n2 + 3
    for (const auto& s : strips) EXPECT_EQ(s.flag, 0);

    // One tooth: the strip from the top edge along whatever points there are.
    EXPECT_EQ(toothStrips({b2}, 1, 0, 10, 0, 8, "b").at(0).vertices.size(), 6u);
    // Too few or empty borders, or no tooth: a message, not a broken outline.
    EXPECT_THROW(toothStrips({b1}, 3, 0, 10, 0, 8, "b"), Error);
    EXPECT_THROW(toothStrips({b1, {}}, 3, 0, 10, 0, 8, "b"), Error);
    EXPECT_THROW(toothStrips({b1}, 0, 0, 10, 0, 8, "b"), Error);
}

TEST(DigitiseFile, GroupsSeparatorsAndTolerantLines) {
    TempFolder tmp;
    auto groups = readDigitiseGroups(tmp.write("digit.dat", "1,2\r\n-1\r\n3,4\r\n5,6\r\n"));
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0], (PointXYList{{1, 2}}));
    EXPECT_EQ(groups[1], (PointXYList{{3, 4}, {5, 6}}));

    // Blanks, tabs, a stray third value and empty lines (also trailing ones) neither add
    // points nor shift the ones after them.
    auto pts = readDigitisePoints(tmp.write("d2.dat", "  1.5   -2.5\n\n3\t4\t99\n 5 , 6 \n-1\n7E-1,8\n\n\n"));
    EXPECT_EQ(pts, (PointXYList{{1.5, -2.5}, {3, 4}, {5, 6}, {0.7, 8}}));

    // Separators at the ends keep the group numbering of the "-1" lines.
    EXPECT_EQ(readDigitiseGroups(tmp.write("d3.dat", "1,1\n-1\n")).size(), 2u);

    for (const char* bad : {"", "\r\n\r\n", "1,2\nabc\n", "1,2\n3\n", "-1\n"}) {
        std::string p = tmp.write("bad.dat", bad);
        try {
            readDigitiseGroups(p);
            ADD_FAILURE() << "read: " << bad;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(p), std::string::npos);
        }
    }
    EXPECT_THROW(readDigitisePoints(tmp.path("missing.dat")), Error);
}

TEST(DigitiseFile, CoordinatesThatAreNoNumbersAreRefusedWithTheirLine) {
    TempFolder tmp;
    for (const char* bad : {"1,2\nnan,3\n", "1,2\n4,-inf\n", "1,2\ninf 1\n"}) {
        const std::string p = tmp.write("digit.dat", bad);
        try {
            readDigitiseGroups(p);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
        }
    }
}

TEST(DigitiseFile, WrittenFileReadsBackUnchanged) {
    TempFolder tmp;
    std::vector<PointXYList> groups = {{{0.1, 0.2}, {1e-7, -3}}, {{12345.678, 9}}};
    writeDigitiseFile(tmp.path("digit.dat"), groups);
    EXPECT_EQ(tmp.read("digit.dat"), "0.1,0.2\r\n1E-07,-3\r\n-1\r\n12345.678,9\r\n");
    EXPECT_EQ(readDigitiseGroups(tmp.path("digit.dat")), groups);
    EXPECT_EQ(tmp.fileCount(), 1u);
}
