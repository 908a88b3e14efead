// Per-tooth statistics and sorting on a generated two-tooth file: hand-worked
// surface areas and volumes, void cells left out, the threshold, the table written,
// and sorting with "Show sorted".
#include "csvview/toothstats.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik;
using namespace trelvik::csvview;
using csvtest::TempDir;

namespace {

// Tooth t on the 3 x 3 lattice 1..3 with file heights -slope * (x - 1): after the
// reader's negation and re-zeroing its heights are slope * (x - 1), in a 5 x 5 grid
// whose outer ring is void.
std::string toothText(int t, double slope) {
    std::string s = "0," + std::to_string(t * 100 + 11) + "\r\n1,2,3,4,5,6,7,8,9,10\r\n";
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x) s += std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(-slope * (x - 1)) + "\r\n";
    return s + "666\r\n";
}

struct Fixture {
    TempDir tmp;
    MultiToothStore store;
    ScriptedPrompt prompt;
    Fixture() {
        csvtest::writeText(tmp.path("two.csv"), toothText(1, 1.0) + toothText(2, 0.5));
        MultiToothReadOptions o;
        o.folder = tmp.folder();
        o.fileName = "two.csv";
        ReadMultiToothFile(o, store, prompt, noProgress());
    }
};

} // namespace

TEST(ToothStats, HandWorkedTableSkipsVoidCells) {
    Fixture f;
    ASSERT_EQ(f.store.toothCount, 2);
    ToothStatsOptions o;
    o.maxHt = o.sa = o.vol = o.saVolRat = true;
    ToothStatsTable table;
    const std::string out = f.tmp.path("testcalc.csv");
    CalcStatsAllTeeth(o, f.store, out, table, noProgress());
    // Tooth 1: four unit squares rising 1 per step in x, each sqrt(2); heights 3 x (0 + 1 + 2).
    // Tooth 2: rising 0.5, each sqrt(1.25); heights 3 x (0 + 0.5 + 1).
    EXPECT_EQ(csvtest::readText(out),
              "\"ToothNo\",\"MaxHt\",\"TotalSA\",\"TotalVol\",\"TotalSAVolRat\",\r\n"
              "\"1\",2,5.65685424949238,9,0.628539361054709,\r\n"
              "\"2\",1,4.47213595499958,4.5,0.993807989999907,\r\n");
    EXPECT_TRUE(table.available);

    // Threshold 2.5: every square of tooth 1 lies below it (its void corners aside), so
    // neither area nor volume is left, and the ratio has no value.
    o.threshold = ThresholdRule::Abs;
    o.absText = "2.5";
    CalcStatsAllTeeth(o, f.store, out, table, noProgress());
    EXPECT_NE(csvtest::readText(out).find("\"1\",2,0,0,,\r\n"), std::string::npos);
    // Threshold 1.5 drops the squares between heights 0 and 1 only.
    o.absText = "1.5";
    EXPECT_NEAR(toothSurface(f.store.grids[0], 1.5, true).sa, 2 * std::sqrt(2.0), 1e-12);
    // Without SA the threshold plays no part in the volume.
    EXPECT_EQ(toothSurface(f.store.grids[0], 2.5, false).vol, 9);

    ToothStatsOptions only;
    only.maxHt = true;
    CalcStatsAllTeeth(only, f.store, out, table, noProgress());
    EXPECT_EQ(csvtest::readText(out), "\"ToothNo\",\"MaxHt\",\r\n\"1\",2,\r\n\"2\",1,\r\n");
    EXPECT_FALSE(allowSaVolRatTick(false, true));
    EXPECT_TRUE(allowSaVolRatTick(true, true));
}

TEST(ToothStats, SortingByMaxHtShowsTheLowestToothFirst) {
    Fixture f;
    ToothStatsTable table;
    ToothSortOptions s;
    s.sortBox = true;
    s.key = ToothSortKey::MaxHt;
    s.showSorted = true;
    EXPECT_FALSE(SortTeeth(s, table, f.store, f.prompt).sorted);  // no statistics yet: nothing
    EXPECT_TRUE(f.prompt.shown.empty());

    ToothStatsOptions o;
    o.maxHt = true;
    CalcStatsAllTeeth(o, f.store, f.tmp.path("t.csv"), table, noProgress());
    s.key = ToothSortKey::SA;  // not measured in that run
    EXPECT_FALSE(SortTeeth(s, table, f.store, f.prompt).sorted);
    ASSERT_EQ(f.prompt.shown.size(), 1u);
    EXPECT_EQ(f.prompt.shown[0].title, "Values");

    s.key = ToothSortKey::MaxHt;
    const ToothSortResult r = SortTeeth(s, table, f.store, f.prompt);
    ASSERT_TRUE(r.sorted);
    EXPECT_EQ(r.index, (std::vector<long>{2, 1}));
    EXPECT_TRUE(r.storeReordered);
    EXPECT_EQ(f.store.params[0][10], 211);
    EXPECT_EQ(f.store.zmax[0], 1);
    EXPECT_EQ(table.MaxHt, (std::vector<double>{1, 2}));

    // Results of an earlier read do not sort the teeth of a new one.
    MultiToothReadOptions ro;
    ro.folder = f.tmp.folder();
    ro.fileName = "two.csv";
    ReadMultiToothFile(ro, f.store, f.prompt, noProgress());
    EXPECT_FALSE(SortTeeth(s, table, f.store, f.prompt).sorted);
}
