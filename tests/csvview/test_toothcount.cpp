// Tooth counts and random extraction on generated multi-tooth files.
#include "csvview/toothcount.h"
#include "core/error.h"
#include "core/random.h"
#include "core/textform.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>

using namespace trelvik::csvview;

namespace {

// A multi-tooth file of `teeth` teeth, tooth t with t + 3 point lines; every line
// names its tooth in the z value so copied teeth can be recognised.
std::string multiTooth(int teeth, bool lastMarker = true) {
    std::string s;
    for (int t = 1; t <= teeth; ++t) {
        s += "0," + std::to_string(t) + "\r\n";
        s += "1,2,3,4,5,7,8,9,10," + std::to_string(t) + "\r\n";
        for (int k = 0; k < t + 3; ++k) s += std::to_string(k) + ",1," + std::to_string(t) + ".5\r\n";
        if (t < teeth || lastMarker) s += "-666\r\n";
    }
    return s;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

} // namespace

TEST(ToothCount, MarkersOpenLastToothAndDigitsInCoordinates) {
    csvtest::TempDir tmp;
    csvtest::writeText(tmp.path("a.dat"), multiTooth(3));
    csvtest::writeText(tmp.path("b.dat"), multiTooth(3, false));
    csvtest::writeText(tmp.path("c.dat"), "0,1\r\n1,2\r\n1,2,3\r\n4,5,0.6667\r\n");  // 666 inside a number
    csvtest::writeText(tmp.path("e.dat"), "");
    EXPECT_EQ(countTeeth(tmp.path("a.dat")).teeth, 3);
    EXPECT_EQ(countTeeth(tmp.path("b.dat")).teeth, 3);
    EXPECT_EQ(countTeeth(tmp.path("b.dat")).lines, countTeeth(tmp.path("a.dat")).lines - 1);
    EXPECT_EQ(countTeeth(tmp.path("c.dat")).teeth, 1);
    EXPECT_EQ(countTeeth(tmp.path("e.dat")).teeth, 0);
}

TEST(ToothCount, FileSetAndAppendedCounts) {
    trelvik::ScriptedPrompt prompt;
    const auto all = ctFileNames(true, "", prompt);
    ASSERT_EQ(all.size(), 15u);
    EXPECT_EQ(all.front(), "netregu113.dat");
    EXPECT_EQ(all[1], "netregu12.dat");
    EXPECT_EQ(all.back(), "netregu44.dat");
    for (const auto& n : all) EXPECT_TRUE(n != "netregu33.dat" && n != "netregu11.dat");
    EXPECT_TRUE(ctFileNames(false, "*.csv", prompt).empty());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Choose csv filename");

    csvtest::TempDir tmp;
    csvtest::writeText(tmp.path("m.dat"), multiTooth(250));
    std::vector<long> shown;
    CountToothFiles(tmp.folder(), {"m.dat"}, [&](long n) { shown.push_back(n); });
    EXPECT_EQ(shown, (std::vector<long>{100, 200, 250}));
    CountToothFiles(tmp.folder(), {"m.dat"});
    const long nLines = countTeeth(tmp.path("m.dat")).lines;
    const std::string line = "\"m.dat\"," + std::to_string(nLines) + ",250\r\n";
    EXPECT_EQ(csvtest::readText(tmp.path("ToothCount.csv")), line + line);
    // A missing file ends the run; what was appended stays.
    EXPECT_THROW(CountToothFiles(tmp.folder(), {"m.dat", "gone.dat"}), trelvik::Error);
    EXPECT_EQ(csvtest::readText(tmp.path("ToothCount.csv")), line + line + line);
}

TEST(ToothExtract, SharesAndUniformDistinctPicks) {
    EXPECT_EQ(teethShares(10, {{"a", 0, 30}, {"b", 0, 10}}), (std::vector<long>{8, 2}));  // 7.5 -> 8, 2.5 -> 2
    // r just below 1 gives the last tooth, never one past it.
    std::vector<double> rs = {0.999999, 0.0, 0.999999, 0.5};
    std::size_t i = 0;
    int advanced = 0;
    const auto picks = drawPicks(3, 4, [&] { return rs[i++]; }, [&] { ++advanced; });
    EXPECT_EQ(picks, (std::vector<long>{1, 3, 4}));
    EXPECT_EQ(advanced, 3);  // once per pick, not for the redraw of the repeated 4
    // Every tooth can be drawn; all of a file when the share is its whole count.
    trelvik::SeedRandom(42);
    std::set<long> seen;
    for (int k = 0; k < 400; ++k)
        for (long p : drawPicks(2, 5, [] { return trelvik::Rnd(); }, {})) seen.insert(p);
    EXPECT_EQ(seen, (std::set<long>{1, 2, 3, 4, 5}));
    EXPECT_EQ(drawPicks(5, 5, [] { return trelvik::Rnd(); }, {}), (std::vector<long>{1, 2, 3, 4, 5}));
    EXPECT_THROW(drawPicks(6, 5, [] { return trelvik::Rnd(); }, {}), trelvik::Error);
}

TEST(ToothExtract, CopiesPickedTeethAndRecordsWhereTheyBegin) {
    csvtest::TempDir tmp;
    const std::string a = multiTooth(30), b = multiTooth(10, false);
    csvtest::writeText(tmp.path("netregu12.dat"), a);
    csvtest::writeText(tmp.path("netregu13.dat"), b);
    csvtest::writeText(tmp.path("netregu_e1000_ToothCount.csv"),
                       "\"netregu12.dat\",1000,30\r\n\"netregu13.dat\",100,10\r\n");
    trelvik::SeedRandom(7);
    ExtractOptions opts;
    opts.folder = tmp.folder();
    opts.countText = "10";
    opts.advance = [] {};
    trelvik::ScriptedPrompt prompt;
    const ExtractOutcome out = ExtractTeeth(opts, prompt);
    ASSERT_TRUE(out.done) << (prompt.shown.empty() ? "" : prompt.shown[0].text);
    EXPECT_EQ(out.teethCopied, 10);
    EXPECT_EQ(out.extractPath, tmp.folder() + "netregu_e10.csv");

    // Oracle: each position line names a tooth whose lines, taken from the source at
    // the given line, follow one another in the extraction file.
    const auto pos = lines(csvtest::readText(out.positionPath));
    const auto ex = lines(csvtest::readText(out.extractPath));
    ASSERT_EQ(pos.size(), 10u);
    std::size_t at = 0;
    std::map<std::string, std::vector<long>> toothsOf;
    for (const auto& p : pos) {
        const auto items = trelvik::text::tokenize(p);
        ASSERT_EQ(items.size(), 4u);
        const std::string src = items[0];
        const long first = std::stol(items[2]), tooth = std::stol(items[3]);
        toothsOf[src].push_back(tooth);
        EXPECT_EQ(std::stol(items[1]), static_cast<long>(toothsOf[src].size()));
        const auto srcLines = lines(src == "netregu12.dat" ? a : b);
        const bool closed = !(src == "netregu13.dat" && tooth == 10);
        const std::size_t n = static_cast<std::size_t>(tooth) + 3 + 2 + (closed ? 1 : 0);
        EXPECT_EQ(srcLines[first - 1], "0," + std::to_string(tooth));
        for (std::size_t k = 0; k < n; ++k) ASSERT_EQ(ex.at(at + k), srcLines.at(first - 1 + k));
        at += n;
    }
    EXPECT_EQ(at, ex.size());
    EXPECT_EQ(toothsOf["netregu12.dat"].size(), 8u);
    EXPECT_EQ(toothsOf["netregu13.dat"].size(), 2u);
    for (auto& [name, t] : toothsOf) {
        EXPECT_TRUE(std::is_sorted(t.begin(), t.end()));
        EXPECT_EQ(std::set<long>(t.begin(), t.end()).size(), t.size());
    }
    // Same seed, same sample; a second run appends.
    trelvik::SeedRandom(7);
    ExtractTeeth(opts, prompt);
    EXPECT_EQ(lines(csvtest::readText(out.positionPath)).size(), 20u);
    EXPECT_EQ(lines(csvtest::readText(out.positionPath))[10], pos[0]);
}

TEST(ToothExtract, TeethAndTheirPositionsGoInPlaceTogether) {
    csvtest::TempDir tmp;
    csvtest::writeText(tmp.path("netregu12.dat"), multiTooth(3));
    csvtest::writeText(tmp.path("netregu_e1000_ToothCount.csv"), "\"netregu12.dat\",20,3\r\n");
    csvtest::writeText(tmp.path("netregu_e2.csv"), "the earlier teeth\r\n");
    std::filesystem::create_directory(tmp.path("netregu_e2_pos.csv"));  // the list cannot be put in place
    ExtractOptions opts;
    opts.folder = tmp.folder();
    opts.countText = "2";
    opts.advance = [] {};
    trelvik::ScriptedPrompt prompt;
    EXPECT_THROW(ExtractTeeth(opts, prompt), trelvik::Error);
    EXPECT_EQ(csvtest::readText(tmp.path("netregu_e2.csv")), "the earlier teeth\r\n");
}

TEST(ToothExtract, RefusalsLeaveNoFiles) {
    csvtest::TempDir tmp;
    csvtest::writeText(tmp.path("netregu12.dat"), multiTooth(3));
    csvtest::writeText(tmp.path("netregu_e1000_ToothCount.csv"), "\"netregu12.dat\",20,5\r\n");
    ExtractOptions opts;
    opts.folder = tmp.folder();
    opts.advance = [] {};
    trelvik::ScriptedPrompt prompt;
    for (const char* n : {"6", "0", "abc", "2.5"}) {
        opts.countText = n;
        EXPECT_FALSE(ExtractTeeth(opts, prompt).done) << n;
    }
    EXPECT_EQ(prompt.shown.size(), 4u);
    EXPECT_EQ(prompt.shown[0].title, "Values");
    // The list claims 5 teeth, the file holds 3: a full share cannot be supplied.
    opts.countText = "5";
    EXPECT_THROW(ExtractTeeth(opts, prompt), trelvik::Error);
    EXPECT_FALSE(std::filesystem::exists(tmp.path("netregu_e5.csv")));
    EXPECT_FALSE(std::filesystem::exists(tmp.path("netregu_e5_pos.csv")));

    std::string longList;
    for (int k = 0; k < 101; ++k) longList += "\"f.dat\",1,1\r\n";
    csvtest::writeText(tmp.path("netregu_e1000_ToothCount.csv"), longList);
    opts.countText = "1";
    EXPECT_THROW(ExtractTeeth(opts, prompt), trelvik::Error);
}

// A listed name is read only as a file of the list's own folder: a name leading out of it,
// one a NUL would cut short, or another user's link there is refused, naming its line or
// file, and nothing is written.
TEST(ToothExtract, ListedNamesStayInTheListsFolder) {
    namespace fs = std::filesystem;
    csvtest::TempDir tmp;
    fs::create_directories(tmp.path("outside"));
    fs::create_directories(tmp.path("shared"));
    csvtest::writeText(tmp.path("outside/secret.txt"), multiTooth(1));
    csvtest::writeText(tmp.path("shared/netregu12.dat"), multiTooth(3));
    ExtractOptions opts;
    opts.folder = tmp.path("shared");
    opts.countText = "1";
    opts.advance = [] {};
    trelvik::ScriptedPrompt prompt;
    const std::string list = tmp.path("shared/netregu_e1000_ToothCount.csv");
    for (const std::string& line : {std::string("\"../outside/secret.txt\",1,1"),
                                    std::string("\"netregu12.dat") + '\0' + "x\",3,3"}) {
        csvtest::writeText(list, "\"netregu12.dat\",3,0\r\n" + line + "\r\n");
        try {
            ExtractTeeth(opts, prompt);
            ADD_FAILURE() << "read " << line;
        } catch (const trelvik::Error& e) {
            EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(tmp.path("shared/netregu_e1.csv")));
    }
    if (::geteuid() != 0) return;  // a link of another user needs root
    const std::string theirs = tmp.path("shared/theirs.dat");
    fs::create_symlink(tmp.path("outside/secret.txt"), theirs);
    ASSERT_EQ(::lchown(theirs.c_str(), 65534, 65534), 0);
    csvtest::writeText(list, "\"theirs.dat\",1,1\r\n");
    EXPECT_THROW(ExtractTeeth(opts, prompt), trelvik::Error);
    EXPECT_FALSE(fs::exists(tmp.path("shared/netregu_e1.csv")));
}
