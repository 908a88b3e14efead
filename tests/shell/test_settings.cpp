#include "shell/settings.h"

#include "core/error.h"
#include "core/fileroutines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include "core/commit/workingfiles.h"
#include "support/tempfolder.h"
#include "support/writefailures.h"

namespace fs = std::filesystem;
using namespace trelvik;

namespace {
struct SettingsDir : trelvik::testing::TempFolder {
    AppState app;
    SettingsDir() { app.ProgramDir = folder(); }
    void write(const std::string& bytes) const { TempFolder::write("Trelgo.ini", bytes); }
    std::string read() const { return readWholeFile(path("Trelgo.ini")); }
};
}  // namespace

TEST(Settings, MissingOrShortFileIsCreatedWithDefaults) {
    SettingsDir s;
    LoadSettingsAtStartup(s.app, "/opt/trelvik/samples");
    EXPECT_EQ(s.read(), "/opt/trelvik/samples\r\nSurferV8\r\n");
    EXPECT_EQ(s.app.DefaultDir, "/opt/trelvik/samples");
    EXPECT_EQ(s.app.SurferVersion, "SurferV8");
    EXPECT_TRUE(s.app.mnuSurf8Checked);
    EXPECT_FALSE(s.app.mnuSurf6Checked);

    s.write("/data/teeth\r\n");  // line 2 missing: completed, line 1 kept
    LoadSettingsAtStartup(s.app, "/samples");
    EXPECT_EQ(s.read(), "/data/teeth\r\nSurferV8\r\n");

    s.write("");
    LoadSettingsAtStartup(s.app, "/samples");
    EXPECT_EQ(s.read(), "/samples\r\nSurferV8\r\n");
}

// The private working folder of a run that was killed goes when the program next starts.
TEST(Settings, StartupRemovesThePrivateFolderOfARunThatEnded) {
    const fs::path ended = fs::temp_directory_path() / working::stamped("trelvik-curv.", working::hostName(),
                                                                         trelvik::testing::endedProcessId(), 0);
    fs::create_directories(ended / "d1.grd");
    SettingsDir s;
    LoadSettingsAtStartup(s.app, "/samples");
    EXPECT_FALSE(fs::exists(ended));
}

TEST(Settings, StartupTicksFollowLineTwo) {
    SettingsDir s;
    s.write("/d\r\nSurferV6\r\n");
    LoadSettingsAtStartup(s.app, "/samples");
    EXPECT_TRUE(s.app.mnuSurf6Checked);
    EXPECT_FALSE(s.app.mnuSurf8Checked);
    EXPECT_EQ(s.app.SurferVersion, "SurferV6");
    EXPECT_EQ(s.app.DefaultDir, "/d");
    EXPECT_EQ(s.read(), "/d\r\nSurferV6\r\n");  // a good file is left alone

    AppState fresh;
    fresh.ProgramDir = s.app.ProgramDir;
    s.write("/d\nsurferv6\n");  // misspelt: design tick stays, text kept until GetSurferProgID
    LoadSettingsAtStartup(fresh, "/samples");
    EXPECT_TRUE(fresh.mnuSurf8Checked);
    EXPECT_FALSE(fresh.mnuSurf6Checked);
    EXPECT_EQ(fresh.SurferVersion, "surferv6");
    EXPECT_EQ(GetSurferProgID(fresh), "Surfer.Application");
    EXPECT_EQ(fresh.SurferVersion, "SurferV8");
}

TEST(Settings, GetSurferProgIDReadsTheTicks) {
    AppState app;
    app.SurferVersion = "SurferV8";
    app.mnuSurf6Checked = true;
    app.mnuSurf8Checked = false;
    EXPECT_EQ(GetSurferProgID(app), "Surfer.APP");
    EXPECT_EQ(app.SurferVersion, "SurferV6");
    app.mnuSurf6Checked = false;
    app.SurferVersion = "x";
    EXPECT_EQ(GetSurferProgID(app), "");
    EXPECT_EQ(app.SurferVersion, "x");
}

TEST(Settings, SaveVersionAndUpdateDirectory) {
    SettingsDir s;
    s.write("/data/teeth\r\nSurferV8\r\n");
    s.app.SurferVersion = "SurferV6";
    SaveSurferVersion(s.app);
    EXPECT_EQ(s.read(), "/data/teeth\r\nSurferV6\r\n");
    EXPECT_EQ(s.app.DefaultDir, "/data/teeth");
    s.app.SurferVersion = "SurferV8";
    SaveSurferVersion(s.app);
    EXPECT_EQ(s.read(), "/data/teeth\r\nSurferV8\r\n");
    s.app.SurferVersion = "other";
    SaveSurferVersion(s.app);
    EXPECT_EQ(s.read(), "/data/teeth\r\n");

    s.write("/data/teeth\r\nSurferV6\r\n");
    s.app.SurferVersion = "SurferV8";
    UpdateDefaultDir(s.app, "/new/place");
    EXPECT_EQ(s.read(), "/new/place\r\nSurferV6\r\n");  // version line unchanged
    EXPECT_EQ(ReadDefaultDir(s.app), "/new/place");
    UpdateDefaultDir(s.app, "");  // nothing chosen: the stored folder stays
    EXPECT_EQ(s.read(), "/new/place\r\nSurferV6\r\n");
}

TEST(Settings, ReadDefaultDirIsFreshAndRecoversAMissingFile) {
    SettingsDir s;
    s.write("/one\r\nSurferV8\r\n");
    EXPECT_EQ(ReadDefaultDir(s.app), "/one");
    s.write("/two\r\nSurferV8\r\n");
    EXPECT_EQ(ReadDefaultDir(s.app), "/two");  // no caching
    fs::remove(s.path("Trelgo.ini"));
    EXPECT_THROW(ReadDefaultDir(s.app), Error);  // nothing known to rebuild it from
    s.app.DefaultDir = "/known";
    s.app.SurferVersion = "SurferV6";
    EXPECT_EQ(ReadDefaultDir(s.app), "/known");
    EXPECT_EQ(s.read(), "/known\r\nSurferV6\r\n");
}
