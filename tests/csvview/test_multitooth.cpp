// Multi-tooth store: reading generated files, present and absent teeth, re-zeroed
// heights, splitting and refusal, viewing ranges, the slider and Esc.
#include "core/error.h"
#include "csvview/multitooth.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

using namespace trelvik;
using namespace trelvik::csvview;
using csvtest::TempDir;

namespace {

// A tooth on an n x n lattice from (1, 1) with file heights f(x, y); parameter i of
// tooth t is t * 100 + i.
std::string toothText(int t, int n, const std::function<double(int, int)>& f, bool marker = true) {
    std::string s = "0," + std::to_string(t * 100 + 11) + "\r\n";
    for (int i = 1; i <= 10; ++i) s += std::to_string(t * 100 + i) + (i < 10 ? "," : "\r\n");
    for (int y = 1; y <= n; ++y)
        for (int x = 1; x <= n; ++x) s += std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(f(x, y)) + "\r\n";
    if (marker) s += "666\r\n";
    return s;
}

class StopAfter : public Progress {
public:
    explicit StopAfter(int n) : left_(n) {}
    bool stopRequested() override { return left_-- <= 0; }
private:
    int left_;
};

MultiToothReadOptions readOpts(const TempDir& tmp, const std::string& name) {
    MultiToothReadOptions o;
    o.folder = tmp.folder();
    o.fileName = name;
    return o;
}

} // namespace

TEST(MultiTooth, ReadsTeethRezeroedWithAbsentTeethBlank) {
    TempDir tmp;
    // Tooth 1 heights -0.8 .. -0.2; tooth 2 three points (passed over); tooth 3 taller, no marker.
    const std::string two = "0,211\r\n201,202,203,204,205,206,207,208,209,210\r\n1,1,1\r\n2,1,1\r\n1,2,1\r\n666\r\n";
    csvtest::writeText(tmp.path("teeth.csv"),
                       toothText(1, 4, [](int x, int y) { return -0.2 - 0.1 * (x + y - 2); }) + two +
                           toothText(3, 3, [](int x, int) { return -2.0 * x; }, false));
    MultiToothStore store;
    ScriptedPrompt prompt;
    const MultiToothReadResult r = ReadMultiToothFile(readOpts(tmp, "teeth.csv"), store, prompt, noProgress());
    ASSERT_EQ(r.outcome, MultiReadOutcome::Done);
    EXPECT_TRUE(prompt.shown.empty());
    ASSERT_EQ(store.toothCount, 3);
    // The lattice starts one step from 0, so cell (1, 1) of the Minimum grid sits at x = 0:
    // the tooth is there all the same.
    EXPECT_TRUE(store.present(1));
    EXPECT_EQ(store.grids[0].at(1, 1).x, 0);
    EXPECT_FALSE(store.present(2));
    EXPECT_TRUE(store.present(3));
    EXPECT_EQ(store.nx(1), 6);
    EXPECT_EQ(store.ny(3), 5);
    EXPECT_EQ(store.zmin[0], 0);
    EXPECT_NEAR(store.zmax[0], 0.6, 1e-12);
    EXPECT_NEAR(store.grids[0].z(5, 5), 0.6, 1e-12);  // the former lowest (-0.8) is now the highest
    EXPECT_NEAR(store.grids[0].z(2, 2), 0.0, 1e-12);
    EXPECT_EQ(store.allZmin, 0);
    EXPECT_NEAR(store.allZmax, 4, 1e-12);
    EXPECT_EQ(toothParamTexts(store, 2)[10], "211");
    EXPECT_EQ(r.slider.max, 3);
    EXPECT_EQ(r.slider.tickFrequency, 0);

    // The grey scale of a tooth: its own range or all teeth's.
    CurrentGrid cur;
    CopyMultiCSVtoCSV(store, 1, true, cur);
    EXPECT_EQ(cur.cols, 6);
    EXPECT_NEAR(cur.zmax, 4, 1e-12);
    CopyMultiCSVtoCSV(store, 1, false, cur);
    EXPECT_NEAR(cur.zmax, 0.6, 1e-12);
    EXPECT_EQ(cur.xstep, 1);
}

TEST(MultiTooth, SliderTicksAndKeys) {
    const long teeth[] = {1, 3, 5, 50, 316, 317};
    const long ticks[] = {0, 0, 1, 10, 10, 100};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ToothSlider::forTeeth(teeth[i]).tickFrequency, ticks[i]) << teeth[i];
    const ToothSlider s = ToothSlider::forTeeth(12);
    EXPECT_EQ(*s.keyDown(36), 1);
    EXPECT_EQ(*s.keyDown(35), 12);
    EXPECT_FALSE(s.keyDown(40).has_value());
}

TEST(MultiTooth, ViewingRangesSliderAndEsc) {
    TempDir tmp;
    std::string all;
    for (int t = 1; t <= 6; ++t) all += toothText(t, 3, [t](int x, int y) { return -1.0 * t * (x + y); });
    csvtest::writeText(tmp.path("six.csv"), all);
    MultiToothStore store;
    ScriptedPrompt prompt;
    ASSERT_EQ(ReadMultiToothFile(readOpts(tmp, "six.csv"), store, prompt, noProgress()).outcome, MultiReadOutcome::Done);

    ToothViewState state;
    CurrentGrid cur;
    std::vector<long> shown;
    auto show = [&](long t, bool) { shown.push_back(t); };
    ViewTeethOptions o;
    EXPECT_EQ(ViewMultiTeeth(o, std::nullopt, store, state, cur, noProgress(), show), 6);
    shown.clear();
    o.choice = ViewTeethChoice::Range;
    o.start = "2";
    o.end = "4.4";
    ViewMultiTeeth(o, std::nullopt, store, state, cur, noProgress(), show);
    EXPECT_EQ(shown, (std::vector<long>{2, 3, 4}));
    EXPECT_NEAR(cur.zmax, 4 * 4, 1e-9);  // tooth 4 is the current grid
    shown.clear();
    o.choice = ViewTeethChoice::One;
    for (const char* bad : {"0", "7"}) {
        o.one = bad;
        EXPECT_EQ(ViewMultiTeeth(o, std::nullopt, store, state, cur, noProgress(), show), 0);
    }
    o.start = "5";
    o.end = "3";
    o.choice = ViewTeethChoice::Range;
    EXPECT_EQ(ViewMultiTeeth(o, std::nullopt, store, state, cur, noProgress(), show), 0);
    // A slider step shows its tooth alone, whatever range is chosen.
    o.choice = ViewTeethChoice::All;
    ViewMultiTeeth(o, 5L, store, state, cur, noProgress(), show);
    EXPECT_EQ(shown, (std::vector<long>{5}));
    EXPECT_EQ(state.currentTooth, 5);
    // Esc stops before the next tooth.
    shown.clear();
    StopAfter esc(2);
    EXPECT_EQ(ViewMultiTeeth(o, std::nullopt, store, state, cur, esc, show), 2);
    StopAfter escRead(3);
    MultiToothStore partial;
    EXPECT_EQ(ReadMultiToothFile(readOpts(tmp, "six.csv"), partial, prompt, escRead).outcome, MultiReadOutcome::Stopped);
    EXPECT_EQ(partial.toothCount, 3);
}

TEST(MultiTooth, TooManyTeethSplitOrRefusedAndFaultsKeepTheStore) {
    TempDir tmp;
    std::string all;
    for (int t = 1; t <= 5; ++t) all += toothText(t, 2, [](int x, int) { return -x; });
    csvtest::writeText(tmp.path("five.csv"), all);
    MultiToothStore store;
    ScriptedPrompt prompt;
    MultiToothReadOptions o = readOpts(tmp, "five.csv");
    o.maxTeeth = "2";
    o.split = false;
    EXPECT_EQ(ReadMultiToothFile(o, store, prompt, noProgress()).outcome, MultiReadOutcome::TooMany);
    EXPECT_EQ(prompt.shown.back().text, "More than2 teeth in file; file must be split");
    o.split = true;
    const MultiToothReadResult r = ReadMultiToothFile(o, store, prompt, noProgress());
    EXPECT_EQ(r.outcome, MultiReadOutcome::Split);
    ASSERT_EQ(r.parts.size(), 3u);
    EXPECT_EQ(r.parts[2], tmp.folder() + "five-3.csv");
    EXPECT_EQ(prompt.shown.back().text, "File split - use split files for viewing.");
    EXPECT_EQ(store.toothCount, 0);

    o.fileName = "five-1.csv";
    ASSERT_EQ(ReadMultiToothFile(o, store, prompt, noProgress()).outcome, MultiReadOutcome::Done);
    EXPECT_EQ(store.toothCount, 2);
    csvtest::writeText(tmp.path("bad.csv"), toothText(1, 2, [](int, int) { return 1.0; }) + "0,1\r\n1,2,3\r\n1,1,1\r\n2,1\r\n");
    o.fileName = "bad.csv";
    EXPECT_THROW(ReadMultiToothFile(o, store, prompt, noProgress()), Error);
    EXPECT_EQ(store.toothCount, 2);
    o.fileName = "*.csv";
    ReadMultiToothFile(o, store, prompt, noProgress());
    EXPECT_EQ(prompt.shown.back().title, "Filename");
}

TEST(MultiTooth, ReadShowsTheToothCountAsItGoes) {
    TempDir tmp;
    std::string all;
    for (int t = 1; t <= 40; ++t) all += toothText(t, 3, [t](int x, int y) { return -1.0 * t * (x + y); }, t < 40);
    csvtest::writeText(tmp.path("forty.csv"), all);
    struct Statuses : trelvik::Progress {
        std::vector<std::string> seen;
        void status(const std::string& t) override { seen.push_back(t); }
    } progress;
    MultiToothStore store;
    ScriptedPrompt prompt;
    ASSERT_EQ(ReadMultiToothFile(readOpts(tmp, "forty.csv"), store, prompt, progress).outcome, MultiReadOutcome::Done);
    EXPECT_EQ(progress.seen, (std::vector<std::string>{"Tooth 1 / 40", "Tooth 16 / 40", "Tooth 32 / 40", "Tooth 40 / 40"}));
}
