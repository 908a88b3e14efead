// The one question a batch asks before it replaces files.
#include "core/replacequestion.h"

#include <gtest/gtest.h>

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
}
