// The writers as the conversion window runs them: single-file refusals, Tiff text and
// CSV lattices worked by hand, list runs that go on past a bad entry, and the window
// itself running a writer from its Convert button.
#include "conversion/csvlattice.h"
#include "conversion/writerconverters.h"
#include "convtest.h"
#include "core/textform.h"
#include "formats/tiffdem.h"
#include "formats/vrml.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using namespace convtest;

namespace {

std::string lastText(const ConvRun& r) { return r.prompt.shown.empty() ? "" : r.prompt.shown.back().text; }
std::string lastTitle(const ConvRun& r) { return r.prompt.shown.empty() ? "" : r.prompt.shown.back().title; }

} // namespace

TEST(WriterConverters, SingleFileConvertersRefuseAnEmptyOrMaskedName) {
    ConvRun r;
    struct Case {
        void (*fn)(ConvContext&);
        const char* mask;
        const char* message;
    };
    for (const Case& c : {Case{ConvertPIX_CSV, "*.pix", "Choose Picza filename"},
                          Case{ConvertGRD_PIX, "*.grd", "Choose grid filename"},
                          Case{ConvertTIFF_GRD, "*.txt", "Choose text filename"},
                          Case{ConvertTIFF_WRL, "", "Choose text filename"},
                          Case{ConvertCSV_WRL, "*.csv", "Choose text filename"},
                          Case{ConvertCSV_TIF, "*.dat", "Choose text filename"}}) {
        r.opt.Text1 = c.mask;
        auto ctx = r.ctx();
        c.fn(ctx);
        EXPECT_EQ(lastTitle(r), "Filename");
        EXPECT_EQ(lastText(r), c.message);
    }
    EXPECT_EQ(r.dir.fileCount(), 0u);
}

TEST(TiffTextGrid, FieldsOfViewScaleTheMatrixAndVoxelsWriteThemBack) {
    ConvRun r;
    r.dir.write("m.txt", "10\t20\t30\t40\r\n50\t60\t70\t80\r\n255\t0\t1\t2\r\n");
    r.opt.Text1 = "m.txt";
    r.opt.optInVox = false;
    r.opt.X_Field = "8";
    r.opt.Y_Field = "6";
    r.opt.Z_Field = "51";
    auto ctx = r.ctx();
    ConvertTIFF_GRD(ctx);
    ASSERT_TRUE(r.prompt.shown.empty()) << lastText(r);
    const auto pts = crlfLines(r.dir.read("m.csv"));
    ASSERT_EQ(pts.size(), 12u);
    EXPECT_EQ(pts[0], "0,0,51");   // third line, first column: grey 255 of a z field of 51
    EXPECT_EQ(pts[1], "2,0,0");
    EXPECT_EQ(pts[11], "6,4,8");   // first line, last column: 40 / 5
    const Grid g = r.grid("m.grd");
    EXPECT_EQ(g.cols, 4);
    EXPECT_EQ(g.rows, 3);
    EXPECT_DOUBLE_EQ(g.xMax, 6);
    EXPECT_DOUBLE_EQ(g.yMax, 4);

    // Voxel sizes 0.5 on a 100 x 80 matrix: fields of view 50 and 40.
    std::string big;
    for (int j = 0; j < 80; ++j) {
        for (int i = 0; i < 100; ++i) big += (i ? "\t" : "") + std::to_string((i + j) % 256);
        big += "\r\n";
    }
    r.dir.write("v.txt", big);
    r.opt = ConvOptions{};
    r.opt.File1Folder = r.dir.folder();
    r.opt.Text1 = "v.txt";
    r.opt.X_Input_Int = r.opt.Y_Input_Int = "0.5";
    r.opt.Z_Input_Height = "255";
    auto ctx2 = r.ctx();
    ConvertTIFF_GRD(ctx2);
    EXPECT_EQ(r.opt.X_Field, "50");
    EXPECT_EQ(r.opt.Y_Field, "40");
}

TEST(TiffTextGrid, OptionMistakesLeaveAnExistingPointFileAlone) {
    ConvRun r;
    r.dir.write("m.txt", "1\t2\r\n3\t4\r\n");
    r.dir.write("m.csv", "precious");
    r.opt.Text1 = "m.txt";
    r.opt.optInVox = false;
    r.opt.X_Field = "8";
    auto ctx = r.ctx();
    ConvertTIFF_GRD(ctx);
    EXPECT_EQ(lastTitle(r), "Input fields of view");
    EXPECT_EQ(lastText(r), "Input all fields of view");
    r.opt.optInVox = true;
    ConvertTIFF_GRD(ctx);
    EXPECT_EQ(lastTitle(r), "Input voxel sizes");
    EXPECT_EQ(lastText(r), "Input voxel sizes and z height");
    // A short row is named by its line; nothing is written.
    r.dir.write("m.txt", "1\t2\r\n3\r\n");
    r.opt.X_Input_Int = r.opt.Y_Input_Int = r.opt.Z_Input_Height = "1";
    ConvertTIFF_GRD(ctx);
    EXPECT_NE(lastText(r).find("line 2"), std::string::npos) << lastText(r);
    EXPECT_EQ(r.dir.read("m.csv"), "precious");
}

// TIF to GRD and each entry of PIX to GRD put the point CSV and its grid in place
// together: a grid whose name a folder holds leaves the earlier CSV as it was.
TEST(TiffTextGrid, AndPiczaGridKeepTheEarlierPointsWhenTheGridCannotBePutInPlace) {
    ConvRun r;
    r.dir.write("m.txt", "1\t2\r\n3\t4\r\n");
    r.dir.write("m.csv", "earlier\r\n");
    std::filesystem::create_directory(r.dir.path("m.grd"));
    r.opt.Text1 = "m.txt";
    r.opt.X_Input_Int = r.opt.Y_Input_Int = r.opt.Z_Input_Height = "1";
    auto ctx = r.ctx();
    ConvertTIFF_GRD(ctx);
    EXPECT_NE(lastText(r).find(r.dir.path("m.grd")), std::string::npos) << lastText(r);
    EXPECT_EQ(r.dir.read("m.csv"), "earlier\r\n");

    r.dir.write("s.pix", "VERSION=5\r\nX\r\n1\r\nY\r\n1\r\nZ\r\n0\r\nW\r\n0,0,1,1\r\n"
                         "S\r\n0,0,1\r\n1,0,2\r\nS\r\n0,1,3\r\n1,1,4\r\nE\r\n");
    r.dir.write("s.csv", "earlier\r\n");
    r.add("s.pix");
    std::filesystem::create_directory(r.dir.path("s" + r.state.OutNameTag + ".grd"));
    ConvertPIX_GRD(ctx);
    EXPECT_NE(lastText(r).find(r.dir.path("s" + r.state.OutNameTag + ".grd")), std::string::npos) << lastText(r);
    EXPECT_EQ(r.dir.read("s.csv"), "earlier\r\n");
}

TEST(TiffTextVrml, LatticeHeightsOneALine) {
    ConvRun r;
    // 3 x 2 lattice; the lowest height (-2) is the first record; one blank node.
    r.dir.write("t.txt", "0 0 -2\r\n0.5 0 1.70141E+38\r\n1 0 3\r\n0 0.25 4\r\n0.5 0.25 5\r\n1 0.25 6\r\n");
    r.opt.Text1 = "t.txt";
    auto ctx = r.ctx();
    ConvertTIFF_WRL(ctx);
    ASSERT_TRUE(r.prompt.shown.empty()) << lastText(r);
    const auto l = crlfLines(r.dir.read("t.wrl"));
    EXPECT_EQ(l[1], "# VRML of " + r.dir.path("t.txt"));
    const auto dims = std::find(l.begin(), l.end(), "            xDimension  3 ");
    ASSERT_NE(dims, l.end());
    EXPECT_EQ(*(dims + 1), "            zDimension  2 ");
    EXPECT_EQ(*(dims + 2), "            xSpacing  .5 ");
    EXPECT_EQ(*(dims + 3), "            zSpacing  .25 ");
    const std::vector<std::string> heights(dims + 6, dims + 14);
    EXPECT_EQ(heights, (std::vector<std::string>{"-2 ", "-2 ", " 3 ", "", " 4 ", " 5 ", " 6 ", ""}));
    EXPECT_EQ(l.back(), "            ] } } ] }");
    const formats::VrmlSurface s = formats::readVrmlSurface(r.dir.path("t.wrl"));
    EXPECT_EQ(s.heights.size(), 6u);
    EXPECT_EQ(s.scale, 0.01);
}

TEST(CsvLattice, BothOrdersAndBothDirectionsGiveOneLattice) {
    ConvRun r;
    // H(i, j) = 10 i + j on x = 0, 1, 2 and y = 0, 0.5.
    auto h = [](int i, int j) { return 10.0 * i + j; };
    std::string xFast, yDown, yFast;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i) xFast += std::to_string(i) + "," + trelvik::text::CStr(0.5 * j) + "," + trelvik::text::CStr(h(i, j)) + "\r\n";
    for (int j = 1; j >= 0; --j)
        for (int i = 0; i < 3; ++i) yDown += std::to_string(i) + "," + trelvik::text::CStr(0.5 * j) + "," + trelvik::text::CStr(h(i, j)) + "\r\n";
    for (int i = 2; i >= 0; --i)
        for (int j = 0; j < 2; ++j) yFast += std::to_string(i) + " " + trelvik::text::CStr(0.5 * j) + " " + trelvik::text::CStr(h(i, j)) + "\r\n";
    for (const std::string& body : {xFast, yDown, yFast}) {
        r.dir.write("l.csv", body);
        const CsvLattice L = ReadCsvLattice(r.dir.path("l.csv"));
        ASSERT_EQ(L.nx, 3);
        ASSERT_EQ(L.ny, 2);
        EXPECT_EQ(L.xint, 1);
        EXPECT_EQ(L.yint, 0.5);
        for (int j = 1; j <= 2; ++j)
            for (int i = 1; i <= 3; ++i) EXPECT_EQ(L.at(i, j), h(i - 1, j - 1)) << body;
    }
}

TEST(CsvLattice, HeightRangeLineCountsAndVrml) {
    ConvRun r;
    // zmin skips heights just below zero; blanks take it; zmax 4 puts the view at 10.
    r.dir.write("a.csv", "0,0,-0.000001\r\n1,0,0.5\r\n0,1,4\r\n1,1,1.70141E+38\r\n");
    const CsvLattice L = ReadCsvLattice(r.dir.path("a.csv"));
    EXPECT_EQ(L.zmin, 0.5);
    EXPECT_EQ(L.zmax, 4);
    EXPECT_EQ(L.at(2, 2), 0.5);
    r.dir.write("b.csv", "0,0,-0.00001\r\n1,0,0.5\r\n0,1,4\r\n1,1,1\r\n");
    EXPECT_EQ(ReadCsvLattice(r.dir.path("b.csv")).zmin, -0.00001);
    // Far above 100000 the range is still the data's own.
    r.dir.write("c.csv", "0,0,200000\r\n1,0,200001\r\n0,1,200002\r\n1,1,1.70141E+38\r\n");
    EXPECT_EQ(ReadCsvLattice(r.dir.path("c.csv")).at(2, 2), 200000);

    r.opt.Text1 = "a.csv";
    auto ctx = r.ctx();
    ConvertCSV_WRL(ctx);
    ASSERT_TRUE(r.prompt.shown.empty()) << lastText(r);
    const std::string w = r.dir.read("a.wrl");
    EXPECT_NE(w.find("  position  .5  10 0.5\r\n  orientation 0 0.707 0.707 3.141 }"), std::string::npos) << w;
    EXPECT_NE(w.find("   scale 1 1 1 #um\r\n"), std::string::npos);
    EXPECT_NE(w.find("# VRML of " + r.dir.path("a.csv") + "\r\n"), std::string::npos);
    EXPECT_NE(w.find("height [\r\n-1E-06  .5 \r\n 4  .5 \r\n] } } ] }\r\n"), std::string::npos) << w;

    // Ten lines whose first row has three records.
    std::string ten;
    for (int k = 0; k < 10; ++k) ten += std::to_string(k % 3) + "," + std::to_string(k / 3) + ",1\r\n";
    r.dir.write("t.csv", ten);
    r.dir.write("t.wrl", "old");
    r.opt.Text1 = "t.csv";
    ConvertCSV_WRL(ctx);
    EXPECT_EQ(lastText(r), "Incorrect number of lines - error in parsing xlines");
    EXPECT_EQ(r.dir.read("t.wrl"), "old");
}

TEST(CsvLattice, TiffDemHoldsTheLatticeNorthUp) {
    ConvRun r;
    r.dir.write("d.csv", "5,1,1\r\n6,1,2\r\n7,1,3\r\n5,3,4\r\n6,3,5\r\n7,3,1.70141E+38\r\n");
    r.opt.Text1 = "d.csv";
    auto ctx = r.ctx();
    ConvertCSV_TIF(ctx);
    ASSERT_TRUE(r.prompt.shown.empty()) << lastText(r);
    const formats::TiffImage img = formats::readTiffFloatImage(r.dir.path("d.tif"));
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(img.values, (std::vector<double>{4, 5, 1, 1, 2, 3}));  // the blank at the lowest height
    EXPECT_EQ(img.tiepoint, (std::vector<double>{0, 0, 0, 4.5, 4, 0}));
}

TEST(WriterConverters, ListRunsGoOnPastAMissingGrid) {
    ConvRun r;
    Grid g(3, 3, 0, 2, 0, 2, 1.0);
    formats::writeSurferGrid(r.dir.path("a.grd"), g, formats::SurferGridFormat::Binary7);
    r.add("gone.grd");
    r.add("a.grd");
    for (void (*fn)(ConvContext&) : {ConvertGRD_DXF, ConvertGRD_DAT, ConvertGRD_XYZ}) {
        auto ctx = r.ctx();
        fn(ctx);
    }
    r.opt.cmbToFileType = "VRML file Polygons (*.wrl)";
    auto ctx = r.ctx();
    ConvertGRD_WRL(ctx);
    for (const char* out : {"a.dxf", "a.dat", "a.xyz", "aP.wrl"}) EXPECT_TRUE(std::filesystem::exists(r.dir.path(out))) << out;
    EXPECT_EQ(r.prompt.shown.size(), 4u);  // the missing grid, once per run
    EXPECT_NE(lastText(r).find("gone.grd"), std::string::npos);
    EXPECT_EQ(r.state.WrlScale, 10);
    EXPECT_EQ(r.state.NumFiles, 0);  // the VRML run empties the list

    // A folder named like a grid, a pipe and a link to a device are refused in the
    // reader's own words, before the map window opens.
    ConvRun q;
    std::filesystem::create_directory(q.dir.path("folder.grd"));
    ASSERT_EQ(::mkfifo(q.dir.path("pipe.grd").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", q.dir.path("zero.grd"));
    for (const char* name : {"folder.grd", "pipe.grd", "zero.grd"}) q.add(name);
    q.opt.cmbToFileType = "VRML file Polygons (*.wrl)";
    for (void (*fn)(ConvContext&) : {ConvertGRD_DXF, ConvertGRD_DAT, ConvertGRD_XYZ, ConvertGRD_WRL}) {
        q.prompt.shown.clear();
        auto c = q.ctx();
        fn(c);
        ASSERT_EQ(q.prompt.shown.size(), 3u) << q.messages();
        EXPECT_EQ(q.prompt.shown[0].text, "Cannot read \"" + q.dir.path("folder.grd") + "\": it is a folder");
        EXPECT_EQ(q.prompt.shown[1].text, "Cannot read \"" + q.dir.path("pipe.grd") + "\": it is a pipe, not a file");
        EXPECT_EQ(q.prompt.shown[2].text, "Cannot read \"" + q.dir.path("zero.grd") + "\": it is a device, not a file");
    }
    EXPECT_TRUE(surfer::instances().empty());
}

// A DAT file the user kept beside the grid is not replaced without asking: Cancel
// leaves it, Replace writes the conversion.
TEST(WriterConverters, GridToDatAsksBeforeReplacingAFileItDidNotWrite) {
    ConvRun r;
    formats::writeSurferGrid(r.dir.path("molar.grd"), Grid(3, 3, 0, 2, 0, 2, 1.0), formats::SurferGridFormat::Binary7);
    r.dir.write("molar.dat", "the user's lattice\r\n");
    r.add("molar.grd");
    r.prompt.answer(Answer::Cancel);
    auto ctx = r.ctx();
    ConvertGRD_DAT(ctx);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_EQ(lastTitle(r), "Replace files");
    EXPECT_EQ(r.prompt.shown[0].buttons, Buttons::ReplaceCancel);
    EXPECT_NE(lastText(r).find(r.dir.path("molar.dat")), std::string::npos);
    EXPECT_EQ(r.dir.read("molar.dat"), "the user's lattice\r\n");
    r.prompt.answer(Answer::Replace);
    ConvertGRD_DAT(ctx);
    EXPECT_EQ(r.prompt.shown.size(), 2u);
    EXPECT_NE(r.dir.read("molar.dat"), "the user's lattice\r\n");
}
