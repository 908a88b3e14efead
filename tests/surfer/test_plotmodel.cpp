// Plot documents as the tool windows drive them: the batch layouts they compute,
// the version-6 call sequence, bad grids, and digitising on the maps (the points and
// the rules of a list that is saved).
#include "core/error.h"
#include "formats/digitisefile.h"
#include "surfer/digitiselist.h"
#include "surfer/documents.h"
#include "surfer/plotdigitise.h"
#include "surfer/plotmodel.h"
#include "surfer/surfertest.h"

#include <gtest/gtest.h>

using namespace surfertest;
using surfer::Named;
using surfer::omitted;
using surfer::Positional;

namespace {
// 4 x 2 map units: a new frame is 6 x 3 inches.
Grid wide() { return makeGrid(9, 5, 10, 14, 20, 22, [](double x, double y) { return x + y; }); }

std::shared_ptr<surfer::PlotDocument> activePlot(surfer::Application& app) {
    return surfer::asPlot(app.Documents.Item(app.ActiveDocument()->Name));
}

// A plot document holding one relief map of wide(), and a page point (x, y) on it.
struct OneMap {
    trelvik::testing::TempFolder dir;
    std::shared_ptr<surfer::Application> app = v8();
    std::shared_ptr<surfer::PlotDocument> plot;
    double x = 0, y = 0;
    OneMap() {
        app->Documents.Add(1);
        plot = activePlot(*app);
        auto map = plot->Shapes.AddReliefMap(saveGrid(dir, "w.grd", wide()));
        x = map->Left + 1;
        y = map->Top - 1;
    }
};
} // namespace

TEST(PlotFrames, NewFrameIsSixInchesKeepsAspectAndCentresOnTheLabelAnchor) {
    trelvik::testing::TempFolder dir;
    auto app = v8();
    app->Documents.Add(1);
    auto plot = activePlot(*app);
    auto map = plot->Shapes.AddReliefMap(saveGrid(dir, "w.grd", wide()));
    EXPECT_DOUBLE_EQ(map->XLength, 6);
    EXPECT_DOUBLE_EQ(map->YLength, 3);
    EXPECT_DOUBLE_EQ(map->xMapPerPU(), 4.0 / 6);
    // The label anchor the callers compute, 10.44 - XLength / 2 and 13.5 - YLength / 2,
    // is the frame's lower-left corner.
    EXPECT_DOUBLE_EQ(map->Left, 10.44 - 3);
    EXPECT_DOUBLE_EQ(map->Top - map->YLength, 13.5 - 1.5);
    auto tall = plot->Shapes.AddImageMap(
        saveGrid(dir, "t.grd", makeGrid(3, 9, 0, 1, 0, 4, [](double, double) { return 1; })));
    EXPECT_DOUBLE_EQ(tall->YLength, 6);
    EXPECT_DOUBLE_EQ(tall->XLength, 1.5);
    EXPECT_EQ(map->axisCount(), 4);
    EXPECT_EQ(plot->Shapes.AddSurface(dir.path("w.grd"))->axisCount(), 5);
    EXPECT_THROW(map->Axes(5), trelvik::Error);
    EXPECT_THROW(map->Overlays(2), trelvik::Error);
}

TEST(PlotFrames, BatchOfThirteenLaysOutInRowsOfSix) {
    // The version-8 plotting loop: slot c = n mod p, r = n div p, steps of 18 inches.
    trelvik::testing::TempFolder dir;
    const std::string grid = saveGrid(dir, "w.grd", wide());
    auto app = v8();
    app->Documents.Add(1);
    std::vector<std::shared_ptr<surfer::MapFrame>> maps;
    for (int k = 1; k <= 13; ++k) {
        auto plot = activePlot(*app);
        auto map = plot->Shapes.AddContourMap(grid);
        const int n = k - 1, c = n % 6, r = n / 6;
        map->Left = map->Left + 18 * c;
        map->Top = map->Top - 18 * r;
        map->Overlays(1).ShowColorScale = false;
        map->Overlays(1).ShowColorScale = true;
        plot->DefaultFont.HAlign = 1;
        plot->DefaultFont.VAlign = 4;
        auto label = plot->Shapes.AddText(10.44 - map->XLength / 2 + 18 * c, 13.5 - map->YLength / 2 - 18 * r,
                                          "w.grd");
        // Every label sits on its own map's lower-left corner.
        EXPECT_DOUBLE_EQ(label->X, map->Left);
        EXPECT_DOUBLE_EQ(label->Y, map->Top - map->YLength);
        EXPECT_EQ(label->Font.VAlign, 4);
        maps.push_back(map);
    }
    const double left0 = maps[0]->Left, top0 = maps[0]->Top;
    EXPECT_DOUBLE_EQ(maps[5]->Left - left0, 90);   // last of row 1
    EXPECT_DOUBLE_EQ(maps[6]->Left, left0);        // first of row 2
    EXPECT_DOUBLE_EQ(maps[6]->Top, top0 - 18);
    EXPECT_DOUBLE_EQ(maps[12]->Left, left0);       // row 3 holds map 13 alone
    EXPECT_DOUBLE_EQ(maps[12]->Top, top0 - 36);
    EXPECT_EQ(activePlot(*app)->Shapes.maps().size(), 13u);
}

TEST(PlotFrames, VersionSixCallsMoveMapAndLabelTogether) {
    trelvik::testing::TempFolder dir;
    const std::string grid = saveGrid(dir, "tooth3.grd", wide());
    auto app = v6();
    std::vector<std::pair<double, double>> shifts;
    for (int n : {1, 10, 11}) {
        app->call("ReliefMap", Positional{grid, omitted, omitted, omitted, omitted, omitted, omitted, omitted,
                                          "tooth3.grd" + std::to_string(n)});
        const std::string label = "tooth3.grd" + std::to_string(n);
        app->call("DrawText", Positional{4, 6, label, label + "txt"});
        app->call("Select", Positional{label + "txt"});
        app->call("TransformSel", Positional{4, 2.25});
        app->call("Select", Positional{label, label + "txt"});
        const int r10 = (n - 1) / 10;
        app->call("TransformSel", Positional{4.0 * (n - 10 * r10), -7.0 * r10});
        app->call("Deselect", Positional{});
    }
    // ReliefMap opened a plot document for the first map and kept drawing into it.
    auto plot = surfer::asPlot(app->ActiveDocument());
    EXPECT_EQ(app->Documents.Count(), 1);
    auto map = [&](int n) {
        return std::static_pointer_cast<surfer::MapFrame>(plot->Shapes.find("tooth3.grd" + std::to_string(n)));
    };
    auto text = [&](int n) {
        return std::static_pointer_cast<surfer::TextShape>(
            plot->Shapes.find("tooth3.grd" + std::to_string(n) + "txt"));
    };
    // The 4 x 2 grid fits 3.5 x 1.75 inches, so maps 4 inches apart do not overlap, and
    // each label sits under its map's lower-left corner (8, 9) + the step, below the
    // axis numbers.
    EXPECT_DOUBLE_EQ(map(1)->XLength, 3.5);
    EXPECT_DOUBLE_EQ(map(1)->YLength, 1.75);
    EXPECT_DOUBLE_EQ(map(1)->Left, 8 + 4);
    EXPECT_DOUBLE_EQ(map(1)->Top, 9 + 1.75);
    EXPECT_DOUBLE_EQ(map(10)->Left, 8 + 40);
    EXPECT_DOUBLE_EQ(map(11)->Left, 8 + 4);
    EXPECT_DOUBLE_EQ(map(11)->Top, 9 + 1.75 - 7);
    EXPECT_DOUBLE_EQ(text(1)->X, map(1)->Left);
    EXPECT_DOUBLE_EQ(text(11)->X, 4 + 4 + 4);
    EXPECT_DOUBLE_EQ(text(11)->Y, 6 + 2.25 - 7);
    EXPECT_DOUBLE_EQ(map(11)->Top - map(11)->YLength - text(11)->Y, 0.75);
    EXPECT_TRUE(plot->Shapes.selection.empty());
    EXPECT_THROW(app->call("Select", Positional{"nothing-of-that-name"}), trelvik::Error);
    EXPECT_THROW(app->call("TransformSel", Positional{1, 1}), trelvik::Error);  // empty selection
    app->call("MapContour", Positional{grid, 1});
    EXPECT_EQ(plot->Shapes.maps().back()->mapKind(), surfer::MapKind::Contour);
}

TEST(PlotFrames, UnreadableGridNamesTheFileAndAddsNothing) {
    trelvik::testing::TempFolder dir;
    auto app = v8();
    app->Documents.Add(1);
    auto plot = activePlot(*app);
    const std::string missing = dir.path("absent.grd");
    try {
        plot->Shapes.AddReliefMap(missing);
        FAIL() << "no error";
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("absent.grd"), std::string::npos) << e.what();
    }
    dir.write("junk.grd", "DSAA\n3 3\nnot numbers\n");
    EXPECT_THROW(plot->Shapes.AddContourMap(dir.path("junk.grd")), trelvik::Error);
    EXPECT_EQ(plot->Shapes.Count(), 0);
    // Worksheets are not plots.
    auto sheet = app->Documents.Add(2);
    EXPECT_THROW(surfer::asPlot(sheet), trelvik::Error);
    // An all-blank grid still gets its frame (drawn empty).
    Grid blank(4, 4, 0, 3, 0, 3);
    EXPECT_NO_THROW(plot->Shapes.AddImageMap(saveGrid(dir, "blank.grd", blank)));
    EXPECT_EQ(plot->Shapes.Count(), 1);
}

TEST(Digitising, ClicksBecomeMapPointsAndSaveReadsBackUnchanged) {
    trelvik::testing::TempFolder dir;
    const std::string grid = saveGrid(dir, "w.grd", wide());
    auto app = v8();
    app->Documents.Add(1);
    auto plot = activePlot(*app);
    auto map = plot->Shapes.AddReliefMap(grid);  // x 10..14 over 6 in, y 20..22 over 3 in
    surfer::DigitiseSession s;
    // Lower-left corner and a point 1.5 in right, 0.75 in up: map (11, 20.5).
    EXPECT_TRUE(s.click(plot->Shapes, map->Left, map->Top - map->YLength));
    EXPECT_TRUE(s.click(plot->Shapes, map->Left + 1.5, map->Top - 3 + 0.75));
    s.endGroup();
    EXPECT_TRUE(s.click(plot->Shapes, map->Left + 6, map->Top));  // upper-right corner
    EXPECT_FALSE(s.click(plot->Shapes, map->Left - 0.01, map->Top));  // outside every frame
    ASSERT_EQ(s.pointCount(), 3);
    EXPECT_EQ(s.lines(), (std::vector<std::string>{"10,20", "11,20.5", "-1", "14,22"}));
    EXPECT_EQ(s.defaultPath(), dir.path("digit.dat"));
    s.save(s.defaultPath());
    EXPECT_EQ(trelvik::formats::readDigitiseGroups(s.defaultPath()), s.groups());
    EXPECT_EQ(dir.read("digit.dat"), "10,20\r\n11,20.5\r\n-1\r\n14,22\r\n");
    // Undo takes back the last point, then the group end.
    EXPECT_TRUE(s.undo());
    EXPECT_TRUE(s.undo());
    EXPECT_EQ(s.lines().back(), "11,20.5");
    // A 3-D surface on top of the map takes no clicks; the map below still does.
    auto surf = plot->Shapes.AddSurface(grid);
    EXPECT_TRUE(s.click(plot->Shapes, surf->Left + 1, surf->Top - 1));
    EXPECT_EQ(surfer::flatMapAt(plot->Shapes, surf->Left + 1, surf->Top - 1), map);
}

TEST(Digitising, ASavedListTakesNoMoreUntilUndoReopensIt) {
    using Step = surfer::DigitiseList::Step;
    OneMap m;
    auto& [dir, app, plot, x, y] = m;
    surfer::DigitiseList l;
    EXPECT_EQ(l.defaultPath(plot->Shapes, "digit1.dat"), dir.path("digit1.dat"));  // before any click
    EXPECT_EQ(l.click(plot->Shapes, x, y), Step::Added);
    EXPECT_EQ(l.click(plot->Shapes, x + 1, y), Step::Added);
    l.save(dir.path("digit1.dat"));
    // The saved list is complete: no "-1" under it.
    EXPECT_EQ(l.endGroup(), Step::RefusedSaved);
    EXPECT_EQ(l.session().lines().size(), 2u);
    // Undo corrects it: the next click goes on with it, and it must be saved again.
    EXPECT_EQ(l.undo(), Step::TookBackFromSaved);
    EXPECT_TRUE(l.savedTo().empty());
    EXPECT_EQ(l.click(plot->Shapes, x + 2, y), Step::Added);
    EXPECT_EQ(l.endGroup(), Step::Added);
    EXPECT_EQ(l.session().lines().size(), 3u);
    EXPECT_EQ(l.frames().size(), 3u);
    // Saved again, the next click starts a new list; so does Digitise turned on again.
    l.save(dir.path("digit1.dat"));
    EXPECT_EQ(l.click(plot->Shapes, x, y), Step::AddedToNewList);
    EXPECT_EQ(l.session().pointCount(), 1);
    EXPECT_FALSE(l.startAfreshIfSaved());
    l.save(dir.path("digit2.dat"));
    EXPECT_TRUE(l.startAfreshIfSaved());
    EXPECT_TRUE(l.session().entries().empty());
}

// Points of a question that ended unsaved are set aside when the next one opens; points
// clicked ahead join the question that opens, and go with it should it end unsaved.
TEST(Digitising, PointsOfAnEndedQuestionAreSetAsideAndPointsClickedAheadGoWithTheirQuestion) {
    OneMap m;
    auto& [dir, app, plot, x, y] = m;
    surfer::DigitiseList l;
    l.questionOpened(1);
    l.click(plot->Shapes, x, y, 1);
    l.click(plot->Shapes, x + 1, y, 1);
    EXPECT_EQ(l.pointsMeantFor(1), 2);
    auto opening = l.questionOpened(2);  // the first question ended unsaved
    EXPECT_EQ(opening.setAside, 2);
    EXPECT_EQ(opening.kept, 0);
    l.click(plot->Shapes, x, y);  // no question open: clicked ahead
    opening = l.questionOpened(3);
    EXPECT_EQ(opening.kept, 1);
    EXPECT_EQ(l.pointsMeantFor(3), 1);
    opening = l.questionOpened(4);  // the third question ended unsaved
    EXPECT_EQ(opening.setAside, 0);
    EXPECT_EQ(opening.setAsideHeld, 1);
    EXPECT_FALSE(l.hasPoints());
}

// OK lets the step read its file without a word only when the file holds what was meant
// for it: saved there with nothing clicked or taken back since, or nothing done at all.
TEST(Digitising, OkFindsWhetherTheStepsFileHoldsWhatWasMeantForIt) {
    using Case = trelvik::OkFinding::Case;
    OneMap m;
    auto& [dir, app, plot, x, y] = m;
    const std::string asked = dir.path("digit1.dat");
    const auto isAsked = [&](const std::string& p) { return p == asked; };
    const auto find = [&](const surfer::DigitiseList& l, long q) { return surfer::findOnOk({&l}, q, isAsked); };
    surfer::DigitiseList byHand;  // a file written by hand, replayed: nothing clicked
    EXPECT_EQ(find(byHand, 1).found, Case::InFile);
    surfer::DigitiseList ahead;  // two points clicked before the question, not saved
    ahead.click(plot->Shapes, x, y);
    ahead.click(plot->Shapes, x + 1, y);
    ahead.questionOpened(2);
    EXPECT_EQ(find(ahead, 2).found, Case::NotSaved);
    EXPECT_EQ(find(ahead, 2).points, 2);
    surfer::DigitiseList elsewhere;  // saved in another folder, then cleared
    elsewhere.click(plot->Shapes, x, y, 3);
    elsewhere.save(dir.path("other.dat"), 3);
    elsewhere.clear(3);
    EXPECT_EQ(find(elsewhere, 3).found, Case::SavedElsewhere);
    EXPECT_EQ(find(elsewhere, 3).savedTo, dir.path("other.dat"));
    surfer::DigitiseList here;  // saved where the step reads, then cleared: fine
    here.click(plot->Shapes, x, y, 4);
    here.save(asked, 4);
    here.clear(4);
    EXPECT_EQ(find(here, 4).found, Case::InFile);
    here.click(plot->Shapes, x, y, 4);  // a click after the save is not in the file
    here.undo(4);
    EXPECT_EQ(find(here, 4).found, Case::NotSaved);
}

// The points meant for a step are every point clicked during its question or ahead of it,
// in every plot's list, saved or not: a file saved from one list leaves out the others'
// (the file holds the list saved last), and a list saved ahead under another name is
// not the step's file.
TEST(Digitising, OkWeighsThePointsMeantForTheStepInEveryListAndEverySave) {
    using Case = trelvik::OkFinding::Case;
    OneMap m;
    auto& [dir, app, plot, x, y] = m;
    const std::string asked = dir.path("digit1.dat");
    const auto isAsked = [&](const std::string& p) { return p == asked; };
    surfer::DigitiseList crest, other;  // three crest points on one plot saved, then one on a new plot saved over
    crest.questionOpened(1);
    for (double dx : {0.0, 1.0, 2.0}) crest.click(plot->Shapes, x + dx, y, 1);
    crest.save(asked, 1);
    other.click(plot->Shapes, x, y, 1);
    other.save(asked, 1);
    const auto spread = surfer::findOnOk({&crest, &other}, 1, isAsked, {"Plot1", "Plot2"});
    EXPECT_EQ(spread.found, Case::OtherList);
    EXPECT_EQ(spread.points, 3);
    EXPECT_EQ(spread.otherPlots, "Plot1");
    surfer::DigitiseList first, last;  // on two plots, neither saved: the list changed first is named
    first.click(plot->Shapes, x, y, 5);
    last.click(plot->Shapes, x + 1, y, 5);
    EXPECT_EQ(surfer::findOnOk({&last, &first}, 5, isAsked, {"Plot2", "Plot1"}).otherPlots, "Plot1");
    surfer::DigitiseList ahead;  // clicked and saved as digit.dat before a step reading digit1.dat
    ahead.click(plot->Shapes, x, y);
    ahead.click(plot->Shapes, x + 1, y);
    ahead.save(dir.path("digit.dat"));
    ahead.questionOpened(2);
    const auto early = surfer::findOnOk({&ahead}, 2, isAsked);
    EXPECT_EQ(early.found, Case::SavedElsewhere);
    EXPECT_EQ(early.savedTo, dir.path("digit.dat"));
    EXPECT_TRUE(early.savedEarlier);
    // No word where the file holds what was meant: the list saved again as the step's
    // file, the next step after it, and points clicked ahead saved as the step's own file.
    ahead.save(asked, 2);
    EXPECT_EQ(surfer::findOnOk({&ahead}, 2, isAsked).found, Case::InFile);
    ahead.questionOpened(3);
    const auto isNext = [&](const std::string& p) { return p == dir.path("digit2.dat"); };
    EXPECT_EQ(surfer::findOnOk({&ahead}, 3, isNext).found, Case::InFile);
    surfer::DigitiseList own;
    own.click(plot->Shapes, x, y);
    own.save(asked);
    own.questionOpened(4);
    EXPECT_EQ(surfer::findOnOk({&own, &crest}, 4, isAsked).found, Case::InFile);
    own.clear(4);  // its points are in the step's file: a Clear loses nothing
    EXPECT_EQ(surfer::findOnOk({&own, &crest}, 4, isAsked).found, Case::InFile);
}

// A save as the step's file counts only while the file holds what it wrote: another
// plot's list saved over it and then cleared, or another program writing it, leaves the
// step something else to read. A point taken back from a list saved earlier still asks.
TEST(Digitising, OkCountsASaveAsTheStepsFileOnlyWhileTheFileHoldsWhatItWrote) {
    using Case = trelvik::OkFinding::Case;
    OneMap m;
    auto& [dir, app, plot, x, y] = m;
    const std::string asked = dir.path("digit1.dat");
    const auto isAsked = [&](const std::string& p) { return p == asked; };
    surfer::DigitiseList crest, second;
    crest.questionOpened(1);
    for (double dx : {0.0, 1.0}) crest.click(plot->Shapes, x + dx, y, 1);
    crest.save(asked, 1);
    for (double dx : {0.0, 1.0, 2.0}) second.click(plot->Shapes, x + dx, y - 1, 1);
    second.save(asked, 1);
    second.clear(1);
    const auto over = surfer::findOnOk({&crest, &second}, 1, isAsked, {"Plot1", "Plot2"});
    EXPECT_EQ(over.found, Case::WrittenOver);
    EXPECT_EQ(over.points, 2);
    EXPECT_EQ(over.savedPlot, "Plot1");
    surfer::DigitiseList alone;  // saved, cleared, then written by another program
    alone.click(plot->Shapes, x, y, 2);
    alone.save(asked, 2);
    alone.clear(2);
    EXPECT_EQ(surfer::findOnOk({&alone}, 2, isAsked).found, Case::InFile);
    dir.write("digit1.dat", "5,5\r\n6,6\r\n");
    EXPECT_EQ(surfer::findOnOk({&alone}, 2, isAsked).found, Case::WrittenOver);
    surfer::DigitiseList ahead;  // saved as the step's file ahead, the file holding it
    for (double dx : {0.0, 1.0}) ahead.click(plot->Shapes, x + dx, y);
    ahead.save(asked);
    ahead.questionOpened(3);
    ahead.undo(3);
    EXPECT_EQ(surfer::findOnOk({&ahead}, 3, isAsked).found, Case::ChangedSinceSaved);
    ahead.undo(3);
    EXPECT_EQ(surfer::findOnOk({&ahead}, 3, isAsked).found, Case::NotSaved);
}
