// The bundled samples must open with the readers a new user's first steps use.
#include "core/grid.h"
#include "formats/latticecsv.h"
#include "formats/surfergrid.h"
#include "formats/xyzpointfile.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik;
using namespace trelvik::formats;

TEST(Samples, MolarFilesAgree) {
    const std::string dir = std::string(TRELVIK_SOURCE_DIR) + "/samples/";
    Grid bin = readSurferGrid(dir + "molar.grd");
    Grid txt = readSurferGrid(dir + "molar_ascii.grd");
    ASSERT_EQ(bin.cols, 101);
    ASSERT_EQ(bin.rows, 81);
    ASSERT_EQ(txt.z.size(), bin.z.size());
    for (std::size_t i = 0; i < bin.z.size(); ++i) ASSERT_EQ(txt.z[i], bin.z[i]);
    EXPECT_TRUE(bin.blank(0, 0));        // outside the crown outline
    EXPECT_FALSE(bin.blank(50, 40));     // its centre
    EXPECT_GT(bin.zMax(), bin.at(50, 40));  // the cusps stand above the fossa

    PointList pts = readXyzPointFile(dir + "molar_points.txt");
    EXPECT_EQ(pts.size(), 5000u);
    PointList lattice = readLatticeCsv(dir + "molar.csv");
    ASSERT_EQ(lattice.size(), bin.z.size());
    EXPECT_DOUBLE_EQ(lattice[40 * 101 + 50].z, bin.at(50, 40));
    EXPECT_DOUBLE_EQ(lattice[0].z, bin.zMin());
}
