#include "core/tempfiles.h"

#include "core/commit/workingfiles.h"
#include "core/error.h"
#include "support/writefailures.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>

namespace fs = std::filesystem;

TEST(TempFiles, PrivatePlacesAreDistinctAndVanishWithEverythingInThem) {
    fs::path folder, fileDir;
    {
        trelvik::PrivateFolder a("t"), b("t");
        trelvik::PrivateTempFile f(".grd");
        EXPECT_NE(a.dir(), b.dir());
        EXPECT_TRUE(fs::is_directory(a.dir()));
        // It holds copies of the user's data: nobody else may look in, whatever the umask.
        EXPECT_EQ(fs::status(a.dir()).permissions() & fs::perms::all, fs::perms::owner_all);
        EXPECT_EQ(fs::path(f.path()).extension(), ".grd");
        EXPECT_FALSE(fs::exists(f.path()));  // a name only; the caller writes it
        std::ofstream(a.file("left.dat")) << "1,2\r\n";
        std::ofstream(f.path()) << "x";
        folder = a.dir();
        fileDir = fs::path(f.path()).parent_path();
    }
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_FALSE(fs::exists(fileDir));

    // A temporary folder that is not there is named, with why.
    const char* had = std::getenv("TMPDIR");
    const std::string kept = had ? had : "";
    ::setenv("TMPDIR", "/nonexistent-trelvik-tmp", 1);
    try {
        trelvik::PrivateFolder c("t");
        ADD_FAILURE() << "made in a missing folder";
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("\"/nonexistent-trelvik-tmp\" that TMPDIR names"), std::string::npos)
            << e.what();
    }
    if (had) ::setenv("TMPDIR", kept.c_str(), 1);
    else ::unsetenv("TMPDIR");
}

// A run killed before it could remove its folder leaves it; the next private folder made
// removes it. A folder of a run on another computer sharing the temporary folder, or one
// only named like a run's, stays.
TEST(TempFiles, FoldersOfEndedRunsGoWhenTheNextIsMade) {
    const fs::path base = fs::temp_directory_path();
    const long dead = trelvik::testing::endedProcessId();
    const fs::path ended = base / trelvik::working::stamped("trelvik-curv.", trelvik::working::hostName(), dead, 0);
    const std::vector<fs::path> kept = {base / trelvik::working::stamped("trelvik-curv.", "other-computer", dead, 0),
                                        base / ("trelvik-curv-" + std::to_string(dead) + "-0-12345")};
    for (const fs::path& d : kept) fs::create_directories(d / "d1.grd");
    fs::create_directories(ended);
    std::ofstream(ended / "d1.grd") << "grid";
    { trelvik::PrivateFolder next("curv"); }
    EXPECT_FALSE(fs::exists(ended));
    for (const fs::path& d : kept) {
        EXPECT_TRUE(fs::exists(d / "d1.grd")) << d;
        fs::remove_all(d);
    }
}
