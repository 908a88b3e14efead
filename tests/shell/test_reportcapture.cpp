// Saving the stand-in's report as "Report" & tag & ".txt" and reading its regression
// cells back as a worksheet, as the plane and capture-area tools do.
#include "shell/reportcapture.h"

#include "core/error.h"
#include "core/textform.h"
#include "support/tempfolder.h"
#include "surfer/application.h"

#include <gtest/gtest.h>

#include <filesystem>

using surfer::Named;

namespace {

class ReportCapture : public ::testing::Test {
protected:
    void TearDown() override { surfer::shutdownAll(); }

    // A version-8 regression with its report shown, on an instance of its own.
    std::shared_ptr<surfer::Application> regression(const std::string& data) {
        auto app = surfer::connect("Surfer.Application", true);
        app->call("GridData", Named{{"DataFile", dir.write("pts.dat", data)}, {"NumCols", 10}, {"NumRows", 10},
                                    {"Algorithm", 7}, {"ShowReport", true}, {"OutGrid", dir.path("plane.grd")},
                                    {"RegrMaxXOrder", 1}, {"RegrMaxYOrder", 1}, {"RegrMaxTotalOrder", 1}});
        return app;
    }
    std::string folder() const { return dir.folder() + "/"; }

    trelvik::testing::TempFolder dir;
    trelvik::AppState state;
};

} // namespace

TEST_F(ReportCapture, SavedReportOpensWithThePlaneInBothCellBlocks) {
    // z = 2.5 - 0.1 y + 0.25 x
    auto app = regression("0 0 2.5\n4 0 3.5\n0 5 2\n4 5 3\n");
    dir.write("Report1.txt", "junk\r\n");  // an earlier file is replaced whole
    trelvik::CaptureSurferReport(state, folder(), "1");
    auto sheet = app->Documents.Open(dir.path("Report1.txt"));
    EXPECT_EQ(sheet->Cells("B166").Value, "2.5");
    EXPECT_EQ(sheet->Cells("B167").Value, "-0.1");
    EXPECT_EQ(sheet->Cells("B168").Value, "0.25");
    EXPECT_EQ(sheet->Cells("B170").Value, "2.5");
    EXPECT_EQ(sheet->Cells("B171").Value, "-0.1");
    EXPECT_EQ(sheet->Cells("B172").Value, "0.25");
    EXPECT_EQ(dir.read("Report1.txt").rfind("junk", 0), std::string::npos);

    // The report was saved and closed: a second capture finds nothing to save and
    // leaves the file from the first one as it was.
    const std::string saved = dir.read("Report1.txt");
    EXPECT_THROW(trelvik::CaptureSurferReport(state, folder(), "1"), trelvik::Error);
    EXPECT_EQ(dir.read("Report1.txt"), saved);
}

TEST_F(ReportCapture, EmptyTagAndTheInstanceChosenByProcessIdentifier) {
    auto first = regression("0 0 1\n1 0 1\n0 1 1\n");   // flat: C = 1
    auto second = regression("0 0 7\n1 0 7\n0 1 7\n");  // flat: C = 7, started later
    state.chkSurferPID = true;
    state.txtSurferPID = std::to_string(first->processId()) + "abc";  // leading digits count
    trelvik::CaptureSurferReport(state, folder(), "");
    EXPECT_EQ(second->Documents.Open(dir.path("Report.txt"))->Cells("B170").Value, "1");

    state.chkSurferPID = false;  // without the box: the newest instance with a report
    trelvik::CaptureSurferReport(state, folder(), "");
    EXPECT_EQ(second->Documents.Open(dir.path("Report.txt"))->Cells("B170").Value, "7");

    state.chkSurferPID = true;
    state.txtSurferPID = "999999";
    try {
        trelvik::CaptureSurferReport(state, folder(), "");
        FAIL();
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("999999"), std::string::npos);
    }
}
