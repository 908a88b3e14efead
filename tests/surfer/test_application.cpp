// Connection, call forms, call log, documents and the version-6 file calls.
#include "core/error.h"
#include "surfertest.h"

#include <gtest/gtest.h>

using namespace surfertest;
using surfer::Named;
using surfer::Positional;
using surfer::omitted;

TEST(SurferConnect, AttachReusesTheRunningInstanceAndStartNewMakesAnother) {
    surfer::shutdownAll();
    auto a = surfer::connect("Surfer.Application");
    auto b = surfer::connect("Surfer.Application");
    EXPECT_EQ(a, b);
    auto c = surfer::connect("Surfer.Application", true);
    EXPECT_NE(a, c);
    EXPECT_NE(a->processId(), c->processId());
    EXPECT_EQ(surfer::connect("Surfer.Application"), c);  // the newest answers an attach
    auto six = surfer::connect("Surfer.APP");
    EXPECT_EQ(six->version(), 6);
    EXPECT_EQ(c->version(), 8);
    EXPECT_EQ(surfer::findInstance(a->processId()), a);
    EXPECT_EQ(surfer::instances().size(), 3u);
    EXPECT_FALSE(a->Visible);
    EXPECT_THROW(surfer::connect("Surfer.Other"), trelvik::Error);
    surfer::shutdownAll();
    EXPECT_TRUE(surfer::instances().empty());
}

TEST(SurferCalls, BothFormsAreLoggedAndBadCallsAreRefused) {
    trelvik::testing::TempFolder dir;
    const auto g = saveGrid(dir, "g.grd", makeGrid(3, 2, 0, 1, 0, 1, [](double x, double) { return x; }));
    auto app = v8();
    app->call("GridConvert", Named{{"InGrid", g}, {"OutGrid", dir.path("a.dat")}, {"OutFmt", 4}});
    auto app6 = v6();
    app6->call("GridConvert", Positional{g, dir.path("b.dat"), 3});
    ASSERT_EQ(app->callLog().size(), 1u);
    EXPECT_EQ(app->callLog()[0], "GridConvert(InGrid:=\"" + g + "\", OutGrid:=\"" + dir.path("a.dat") + "\", OutFmt:=4)");
    EXPECT_EQ(app6->callLog()[0], "GridConvert(\"" + g + "\", \"" + dir.path("b.dat") + "\", 3)");
    EXPECT_EQ(dir.read("a.dat"), dir.read("b.dat"));

    // Named arguments match without regard to case, as callers write them.
    app->call("gridconvert", Named{{"ingrid", g}, {"OUTGRID", dir.path("c.dat")}, {"outfmt", 4}});
    EXPECT_EQ(dir.read("c.dat"), dir.read("a.dat"));

    EXPECT_THROW(app->call("GridNothing", Positional{g}), trelvik::Error);
    EXPECT_THROW(app->call("GridConvert", Named{{"InGrid", g}, {"Bogus", 1}}), trelvik::Error);
    EXPECT_THROW(app->call("GridConvert", Positional{g, dir.path("d.dat"), 4, 5}), trelvik::Error);
    EXPECT_THROW(app->call("GridConvert", Named{{"InGrid", g}}), trelvik::Error);  // no OutGrid
    EXPECT_THROW(app->call("GridConvert", Named{{"InGrid", 5}, {"OutGrid", "x"}}), trelvik::Error);
    EXPECT_THROW(app6->call("GridConvert", Positional{g, dir.path("e.dat"), 4}), trelvik::Error);
    EXPECT_THROW(app->call("GridConvert", Named{{"InGrid", dir.path("missing.grd")}, {"OutGrid", "x"}}),
                 trelvik::Error);
    EXPECT_EQ(app->callLog().size(), 8u);  // refused calls are logged as issued too
}

TEST(SurferDocuments, PlotDocumentsWorksheetsAndActiveDocument) {
    trelvik::testing::TempFolder dir;
    auto app = v8();
    auto plot = app->Documents.Add(1);
    EXPECT_EQ(plot->kind(), surfer::DocumentKind::Plot);
    EXPECT_EQ(app->ActiveDocument(), plot);
    EXPECT_EQ(app->Documents.Item(app->ActiveDocument()->Name), plot);
    auto plot2 = app->Documents.Add(1);
    EXPECT_NE(plot->Name, plot2->Name);

    dir.write("report.txt", "Title line\r\n\"a b\",1.5,,x\r\n  7   8  nine\r\n");
    auto sheet = app->Documents.Open(dir.path("report.txt"));
    EXPECT_EQ(app->ActiveDocument(), sheet);
    EXPECT_EQ(sheet->Cells("A2").Value, "a b");
    EXPECT_EQ(sheet->Cells("B2").Value, "1.5");
    EXPECT_EQ(sheet->Cells("C2").Value, "");
    EXPECT_EQ(sheet->Cells("D2").Value, "x");
    EXPECT_EQ(sheet->Cells("B3").Value, "8");
    EXPECT_EQ(sheet->Cells("C3").Value, "nine");
    EXPECT_EQ(sheet->Cells("Z99").Value, "");
    EXPECT_THROW(sheet->Cells("166"), trelvik::Error);
    app->ActiveWindow().Close();
    EXPECT_EQ(app->ActiveDocument(), plot2);
    app->ActiveDocument()->Close();
    app->ActiveDocument()->Close();
    EXPECT_THROW(app->ActiveDocument(), trelvik::Error);
    EXPECT_EQ(app->Documents.Count(), 0);
}

TEST(SurferDocuments, WorksheetTextRoundTripsThroughSaveAndOpen) {
    trelvik::testing::TempFolder dir;
    auto app = v6();
    dir.write("w.dat", "1,2\r\n");
    auto sheet = app->FileOpen(dir.path("w.dat"), 1);
    sheet->setCell(3, 2, "say \"hi\", then");
    sheet->setCell(1, 4, "");
    app->FileSaveAs(dir.path("w2.dat"));
    auto again = app->FileOpen(dir.path("w2.dat"), 1);
    EXPECT_EQ(app->GetWksCell(again, 3, 2), "say \"hi\", then");
    EXPECT_EQ(app->GetWksCell(again, 1, 2), "2");
    EXPECT_EQ(dir.read("w2.dat"), "1,2,,\r\n\r\n,\"say \"\"hi\"\", then\"\r\n");
    app->FileClose();
    app->FileClose();
    app->FileClose();  // nothing left open: closing nothing changes nothing
    EXPECT_EQ(app->Documents.Count(), 0);
    app->FileNew();
    EXPECT_THROW(app->FileSaveAs(dir.path("plot.srf")), trelvik::Error);
    EXPECT_THROW(app->FileOpen(dir.path("nofile.dat"), 1), trelvik::Error);
}
