#include "core/tempfiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(TempFiles, PrivatePlacesAreDistinctAndVanishWithEverythingInThem) {
    fs::path folder, fileDir;
    {
        trelvik::PrivateFolder a("t"), b("t");
        trelvik::PrivateTempFile f(".grd");
        EXPECT_NE(a.dir(), b.dir());
        EXPECT_TRUE(fs::is_directory(a.dir()));
        EXPECT_EQ(fs::path(f.path()).extension(), ".grd");
        EXPECT_FALSE(fs::exists(f.path()));  // a name only; the caller writes it
        std::ofstream(a.file("left.dat")) << "1,2\r\n";
        std::ofstream(f.path()) << "x";
        folder = a.dir();
        fileDir = fs::path(f.path()).parent_path();
    }
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_FALSE(fs::exists(fileDir));
}
