// The one question a batch asks before it replaces files.
#include "core/replacequestion.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "core/fileroutines.h"
#include "support/tempfolder.h"

using namespace trelvik;
using trelvik::testing::TempFolder;

// One file to replace is asked about as one.
TEST(ReplaceQuestion, OneFileIsAskedAboutAsIt) {
    TempFolder t;
    const std::string file = t.write("a.dat", "old");
    ScriptedPrompt prompt;
    prompt.answer(Answer::Cancel);
    EXPECT_FALSE(ConfirmReplace(prompt, {file}));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "This file already exists:\n    " + file + "\n\nReplace it? Cancel writes nothing.");

    // Another user's link at an output's name is refused before anything is asked: its
    // save would be refused after Replace.
    if (::geteuid() != 0) return;  // a link of another user needs root
    const std::string link = t.path("b.dat");
    std::filesystem::create_symlink(file, link);
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
    prompt.answer(Answer::Replace);
    EXPECT_FALSE(ConfirmReplace(prompt, {t.path("new.dat"), link}));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].title, "Replace files");
    EXPECT_EQ(prompt.shown[1].buttons, Buttons::Ok);
    EXPECT_EQ(prompt.shown[1].text, saveRefusal(link));
    EXPECT_NE(prompt.shown[1].text.find("is a link of another user"), std::string::npos) << prompt.shown[1].text;
    EXPECT_EQ(t.read("a.dat"), "old");
}
