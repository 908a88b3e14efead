// The save dialog's OK rules, without a display: names, extensions, joined paths and
// the questions asked, on real files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "core/fileroutines.h"
#include "shell/savefilerules.h"
#include "support/tempfolder.h"

using namespace trelvik;
namespace fs = std::filesystem;

TEST(SaveFileRules, ExtensionIsAddedOnlyWithoutDotAndThreeCharacters) {
    EXPECT_EQ(withDefaultExtension("results", SaveFileType::Csv), "results.csv");
    EXPECT_EQ(withDefaultExtension("results.dat", SaveFileType::Csv), "results.dat");
    EXPECT_EQ(withDefaultExtension("res.ul", SaveFileType::Txt), "res.ul.txt");
    EXPECT_EQ(withDefaultExtension("ab", SaveFileType::All), "ab.txt");
    EXPECT_EQ(withDefaultExtension(".csv", SaveFileType::Txt), ".csv");
    EXPECT_EQ(withDefaultExtension("csv", SaveFileType::Txt), "csv.txt");
    EXPECT_EQ(withDefaultExtension("data.grid", SaveFileType::Csv), "data.grid.csv");
    EXPECT_EQ(withDefaultExtension("digit", SaveFileType::Dat), "digit.dat");
}

TEST(SaveFileRules, JoinUsesOneSeparatorEvenAtTheRoot) {
    EXPECT_EQ(joinFolder("/data/teeth", "a.csv"), "/data/teeth/a.csv");
    EXPECT_EQ(joinFolder("/", "a.csv"), "/a.csv");
    EXPECT_EQ(joinFolder("/data/", "a.csv"), "/data/a.csv");
}

class SaveFileAccept : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(tmp.dir() / "folder.csv");
        tmp.write("results.csv", "keep\n");
    }
    std::string folder() const { return tmp.folder(); }
    trelvik::testing::TempFolder tmp;
    ScriptedPrompt prompt;
};

TEST_F(SaveFileAccept, EmptyAndFolderNamesAreRefusedNewFilesAcceptedUnasked) {
    EXPECT_FALSE(acceptSaveFileName(folder(), "", SaveFileType::Csv, prompt));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Open file");
    EXPECT_EQ(prompt.shown[0].text, "Enter filename");
    EXPECT_EQ(prompt.shown[0].buttons, Buttons::Ok);
    EXPECT_FALSE(acceptSaveFileName(folder(), "folder.csv", SaveFileType::Csv, prompt));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[1].text.find("is a folder"), std::string::npos);

    const auto c = acceptSaveFileName(folder(), "new", SaveFileType::Txt, prompt);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->name, "new.txt");
    EXPECT_EQ(c->path, (tmp.dir() / "new.txt").string());
    EXPECT_EQ(prompt.shown.size(), 2u);
}

TEST_F(SaveFileAccept, ExistingFinalPathIsAskedAboutEvenWhenTypedWithoutExtension) {
    // "results" becomes results.csv, which exists: the question is for that file.
    prompt.answer(Answer::Cancel);
    EXPECT_FALSE(acceptSaveFileName(folder(), "results", SaveFileType::Csv, prompt));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Open file");
    EXPECT_EQ(prompt.shown[0].text, "Overwrite file?");
    EXPECT_EQ(prompt.shown[0].buttons, Buttons::OkCancel);

    prompt.answer(Answer::Ok);
    const auto c = acceptSaveFileName(folder(), "results.csv", SaveFileType::Txt, prompt);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->path, (tmp.dir() / "results.csv").string());
    EXPECT_EQ(prompt.shown.size(), 2u);

    // The same name with another type's extension is a different, new file.
    EXPECT_TRUE(acceptSaveFileName(folder(), "results", SaveFileType::Txt, prompt));
    EXPECT_EQ(prompt.shown.size(), 2u);

    // Another user's link at the name is refused in the save's own words, not asked
    // about: its save would be refused after OK.
    if (::geteuid() != 0) return;  // a link of another user needs root
    const std::string link = (tmp.dir() / "theirs.csv").string();
    fs::create_symlink(tmp.dir() / "results.csv", link);
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
    prompt.answer(Answer::Ok);
    EXPECT_FALSE(acceptSaveFileName(folder(), "theirs", SaveFileType::Csv, prompt));
    ASSERT_EQ(prompt.shown.size(), 3u);
    EXPECT_EQ(prompt.shown[2].title, "Open file");
    EXPECT_EQ(prompt.shown[2].buttons, Buttons::Ok);
    EXPECT_EQ(prompt.shown[2].text, saveRefusal(link));
    EXPECT_NE(prompt.shown[2].text.find("is a link of another user"), std::string::npos) << prompt.shown[2].text;
}
