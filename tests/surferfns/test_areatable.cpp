// "SA and Vol": the summary table of areas above and below z = 0.
#include "surferfns/areatable.h"
#include "procrun.h"

#include <gtest/gtest.h>

using namespace surffnstest;

TEST(SAVol, OneRowPerGridInTheFirstGridsFolderAndVersionSixRefused) {
    ProcRun r;
    std::filesystem::create_directory(r.dir.path("other"));
    // z = x - 1 over [0, 2] x [0, 1]: half below, half above, slope 1.
    saveGrid(r.dir.path("tooth1.grd"), makeGrid(3, 2, 0, 2, 0, 1, [](double x, double) { return x - 1; }));
    // z = 1 over [0, 1] x [0, 1] in cells of 0.5, one corner blank: a quarter is blanked.
    Grid flat = makeGrid(3, 3, 0, 1, 0, 1, [](double, double) { return 1.0; });
    flat.at(0, 0) = kBlank;
    saveGrid(r.dir.path("other/b2.grd"), flat);
    r.add("tooth1.grd");
    r.add("b2.grd", r.dir.path("other"));
    EXPECT_EQ(cmdSAVol(r.ctx), BatchOutcome::Completed);
    const std::string header =
        "\"File\",\"Positive_Planar_Area_[Cut]\",\"Negative_Planar_Area_[Fill]\",\"Positive_Surface_Area_[Cut]\","
        "\"Negative_Surface_Area_[Fill]\",\"Blanked_Planar_Area\"\r\n";
    const std::string tooth1 = "\"tooth1\",1,1,1.4142135623731,1.4142135623731,0\r\n";
    EXPECT_EQ(r.dir.read("00SAallresults.csv"), header + tooth1 + "\"b2\",0.75,0,0.75,0,0.25\r\n");
    EXPECT_FALSE(FileExists(r.dir.path("other/00SAallresults.csv")));
    EXPECT_EQ(r.state.NumFiles, 0);

    // A second run begins the table anew at its first grid.
    r.add("tooth1.grd");
    EXPECT_EQ(cmdSAVol(r.ctx), BatchOutcome::Completed);
    EXPECT_EQ(r.dir.read("00SAallresults.csv"), header + tooth1);

    // Version 6 has no such call: reported, the table and the list stay.
    ProcRun v6(true);
    v6.add("tooth1.grd", makeGrid(3, 2, 0, 2, 0, 1, [](double x, double) { return x; }));
    v6.dir.write("00SAallresults.csv", "old\r\n");
    EXPECT_EQ(cmdSAVol(v6.ctx), BatchOutcome::Stopped);
    ASSERT_EQ(v6.prompt.shown.size(), 1u);
    EXPECT_EQ(v6.prompt.shown[0].text, "This function is not available in Surfer v6.");
    EXPECT_EQ(v6.dir.read("00SAallresults.csv"), "old\r\n");
    EXPECT_EQ(v6.state.NumFiles, 1);
}
