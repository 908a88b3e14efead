// Multi-tooth files: teeth found from their marker lines, parameters and points read
// by line, faults reported with their line numbers, and splitting into parts.
#include "core/error.h"
#include "formats/multitoothfile.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <string>

using trelvik::Error;
using trelvik::formats::MultiToothFile;
using trelvik::testing::TempFolder;

namespace {

// One tooth: two header lines (parameter 11 second on the first, 1..10 on the
// second, all tooth * 100 + i) and an n x n lattice from (1, 1).
std::string tooth(int t, int n, bool marker = true) {
    std::string s = "0," + std::to_string(t * 100 + 11) + "\r\n";
    for (int i = 1; i <= 10; ++i) s += std::to_string(t * 100 + i) + (i < 10 ? "," : "\r\n");
    for (int y = 1; y <= n; ++y)
        for (int x = 1; x <= n; ++x) s += std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(-0.1 * (x + y + t)) + "\r\n";
    if (marker) s += "666\r\n";
    return s;
}

std::string errorOf(const std::string& path) {
    try {
        MultiToothFile f(path);
        for (long t = 1; t <= f.toothCount(); ++t) f.tooth(t);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(MultiToothFile, TeethParametersAndPointsByMarkers) {
    TempFolder tmp;
    // Tooth 2 has three points only (passed over); tooth 3 has no marker line.
    std::string two = "5,211\r\n201,202,203,204,205,206,207,208,209,210\r\n1,1,1\r\n2,1,1\r\n1,2,1\r\n666\r\n";
    const std::string path = tmp.write("m.csv", tooth(1, 3) + two + tooth(3, 2, false) + "\r\n");
    const MultiToothFile f(path);
    ASSERT_EQ(f.toothCount(), 3);
    EXPECT_EQ(f.marker(1), 12);
    EXPECT_EQ(f.marker(2), 18);
    EXPECT_EQ(f.marker(3), 25);  // one past the last line
    const auto t1 = f.tooth(1);
    EXPECT_EQ(t1.params[0], 101);
    EXPECT_EQ(t1.params[9], 110);
    EXPECT_EQ(t1.params[10], 111);
    ASSERT_EQ(t1.points.size(), 9u);
    EXPECT_EQ(t1.points[4].x, 2);
    EXPECT_NEAR(t1.points[4].z, -0.5, 1e-12);
    const auto t2 = f.tooth(2);
    EXPECT_TRUE(t2.passedOver);
    EXPECT_TRUE(t2.points.empty());
    EXPECT_EQ(t2.params[10], 211);
    const auto t3 = f.tooth(3);
    EXPECT_EQ(t3.firstLine, 19);
    EXPECT_EQ(t3.points.size(), 4u);

    // A height holding the digits 666 ends a tooth there.
    const std::string p2 = tmp.write("six.csv", "0,1\r\n1,2,3,4,5,6,7,8,9,10\r\n1,1,0.5\r\n2,1,0.666\r\n1,2,1\r\n"
                                                 "0,2\r\n1,2,3,4,5,6,7,8,9,10\r\n");
    EXPECT_EQ(MultiToothFile(p2).toothCount(), 2);
    // ... and a marker too close to the next is reported, not read as numbers.
    EXPECT_NE(errorOf(tmp.write("six2.csv", "0,1\r\n1,2,3,4,5,6,7,8,9,10\r\n1,1,0.5\r\n2,1,0.666\r\n1,2,1\r\n"))
                  .find("end of the file"),
              std::string::npos);
}

TEST(MultiToothFile, FaultsNameTheFileAndLine) {
    TempFolder tmp;
    EXPECT_NE(errorOf(tmp.write("empty.csv", "")).find("empty"), std::string::npos);
    EXPECT_NE(errorOf(tmp.write("blank.csv", "\r\n\r\n")).find("empty"), std::string::npos);
    // A marker right after one header line leaves no room for the second.
    const std::string close = errorOf(tmp.write("close.csv", tooth(1, 2) + "0,1\r\n666\r\n"));
    EXPECT_NE(close.find("line 9"), std::string::npos) << close;
    EXPECT_NE(close.find("close.csv"), std::string::npos);
    // A point line with two numbers: reported at its line, not read across lines.
    std::string bad = tooth(1, 2);
    bad.replace(bad.find("2,1,"), 4, "2;1,");
    const std::string e1 = errorOf(tmp.write("bad.csv", bad));
    EXPECT_NE(e1.find("line 4"), std::string::npos) << e1;
    std::string shortHeader = tooth(1, 2);
    shortHeader.replace(shortHeader.find(",110"), 4, "");
    EXPECT_NE(errorOf(tmp.write("hdr.csv", shortHeader)).find("line 2"), std::string::npos);
    EXPECT_NE(errorOf(tmp.path("missing.csv")).find("missing.csv"), std::string::npos);
}

TEST(MultiToothFile, SplitsIntoReadablePartsOfMaxTeeth) {
    TempFolder tmp;
    std::string all;
    for (int t = 1; t <= 25; ++t) all += tooth(t, 2);
    const MultiToothFile f(tmp.write("big.csv", all));
    const auto parts = f.split(10, tmp.path("big"));
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0], tmp.path("big-1.csv"));
    const long expected[3] = {10, 10, 5};
    for (int p = 0; p < 3; ++p) {
        const MultiToothFile part(parts[p]);
        EXPECT_EQ(part.toothCount(), expected[p]);
        EXPECT_EQ(part.tooth(1).params[10], (p * 10 + 1) * 100 + 11);
        EXPECT_EQ(part.tooth(expected[p]).points.size(), 4u);
    }
    // Part 1 ends without the marker of its tenth tooth; the concatenation with the
    // dropped markers restored is the file itself.
    const std::string p1 = tmp.read("big-1.csv");
    EXPECT_EQ(p1.substr(p1.size() - 15), "2,2,-1.400000\r\n");
    EXPECT_EQ(tmp.read("big-1.csv") + "666\r\n" + tmp.read("big-2.csv") + "666\r\n" + tmp.read("big-3.csv"), all);
}
