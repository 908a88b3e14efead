// Digitising in the map window offscreen: clicks turned into map coordinates, the list's
// rules, the digitise file saved and read back, and what the list and the status line do
// while a tool's "Digitise map" question is open.
#include "surferwin/mapfixture.h"
#include "surferwin/statusline.h"

using namespace mapfixture;

TEST(MapWindow, ClicksBecomeMapCoordinatesAndSaveReadsBack) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);  // x 0..10, y 0..5
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    f.win->refresh();
    auto map = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    const double unitsPerPixel = 10.0 / (map->XLength * f.win->canvas()->pixelsPerInch());
    // The pixel at page position of map (2.5, 1.25), and one outside the frame.
    f.clickMap(*map, 2.5, 1.25);
    f.click(f.pixelOf(map->Left - 0.5, map->Top + 0.5));
    f.win->endGroup();
    f.clickMap(*map, 7.5, 3.75);
    const auto& e = f.win->digitised().entries();
    ASSERT_EQ(e.size(), 3u);  // the click outside added nothing
    EXPECT_NEAR(e[0].x, 2.5, 1.5 * unitsPerPixel);
    EXPECT_NEAR(e[0].y, 1.25, 1.5 * unitsPerPixel);
    EXPECT_TRUE(e[1].groupEnd);
    EXPECT_NEAR(e[2].x, 7.5, 1.5 * unitsPerPixel);
    EXPECT_EQ(f.win->pointList()->count(), 3);
    EXPECT_EQ(f.win->pointList()->item(1)->text(), "-1");
    // A second map added by hand lands beside the first, not over it, and takes clicks
    // in its own frame.
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Image, grid));
    f.win->refresh();
    auto second = f.plot()->Shapes.maps().back();
    EXPECT_GE(second->Left, map->Left + map->XLength);
    EXPECT_DOUBLE_EQ(second->Top, map->Top);
    EXPECT_EQ(surfer::flatMapAt(f.plot()->Shapes, map->Left + 1, map->Top - 1), map);
    f.win->undoPoint();
    f.clickMap(*second, 7.5, 3.75);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_NEAR(e[2].x, 7.5, 1.5 * second->xMapPerPU() / f.win->canvas()->pixelsPerInch());

    const std::string path = f.win->digitised().defaultPath();
    EXPECT_EQ(path, f.dir.path("digit.dat"));
    ASSERT_TRUE(f.win->saveDigitiseTo(path));
    EXPECT_EQ(trelvik::formats::readDigitiseGroups(path), f.win->digitised().groups());
    // Replacing asks first; No leaves the file as it was.
    f.win->undoPoint();
    f.prompt.answer(trelvik::Answer::No);
    const std::string before = f.dir.read("digit.dat");
    EXPECT_FALSE(f.win->saveDigitiseTo(path));
    EXPECT_EQ(f.dir.read("digit.dat"), before);
    EXPECT_TRUE(f.win->saveDigitiseTo(path));  // the script answers Yes now
    EXPECT_EQ(trelvik::formats::readDigitiseGroups(path).back().size(), 0u);  // ends with the group end
    // Digitising again after the save starts a new list; unsaved points are kept.
    f.win->setDigitiseMode(false);
    f.win->setDigitiseMode(true);
    EXPECT_TRUE(f.win->digitised().entries().empty());
    EXPECT_EQ(f.win->pointList()->count(), 0);
    f.clickMap(*second, 7.5, 3.75);
    f.win->setDigitiseMode(false);
    f.win->setDigitiseMode(true);
    EXPECT_EQ(f.win->digitised().pointCount(), 1);
}

TEST(MapWindow, FirstClickAfterSaveStartsANewList) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "plane.grd", 21, 11, tilted)));
    f.win->refresh();
    auto map = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    for (double x : {2.0, 6.0}) f.clickMap(*map, x, 2.5);
    ASSERT_TRUE(f.win->saveDigitiseTo(f.dir.path("digit.dat")));
    // Still in Digitise mode: the next click is the first point of a new list.
    f.clickMap(*map, 8, 4);
    EXPECT_EQ(f.win->digitised().entries().size(), 1u);
    EXPECT_EQ(f.win->pointList()->count(), 1);
    EXPECT_TRUE(f.win->statusBar()->currentMessage().contains("New list"));
    // A saved list corrected with Undo goes on with the clicks that follow.
    f.clickMap(*map, 8, 4);
    ASSERT_TRUE(f.win->saveDigitiseTo(f.dir.path("digit.dat")));
    f.win->undoPoint();
    EXPECT_TRUE(f.win->statusBar()->currentMessage().contains("The list goes on"));
    f.clickMap(*map, 8, 4);
    EXPECT_EQ(f.win->digitised().entries().size(), 2u);
}

TEST(MapWindow, SaveOffersTheFileTheOpenQuestionAsksFor) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    f.win->refresh();
    auto map = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    f.clickMap(*map, 5, 2.5);
    // While the question asks for digit1.dat, Save... offers it in the grid's folder.
    EXPECT_EQ(offeredWhileAsked(*f.win, f.dir.path("digit1.dat")).toStdString(), f.dir.path("digit1.dat"));
    EXPECT_EQ(offeredSaveFile(*f.win).toStdString(), f.dir.path("digit.dat"));
}

// Maps of other folders often lie on top: Save... offers the file the asking step
// reads whichever map was clicked, and a save elsewhere says which file that is.
TEST(MapWindow, SaveOffersTheFileTheAskingStepReadsWhicheverMapWasClicked) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    std::filesystem::create_directory(f.dir.path("sub"));
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "sub/molarcopy.grd", 21, 11, tilted)));
    f.win->refresh();
    auto copy = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    f.clickMap(*copy, 5, 2.5);
    ASSERT_EQ(f.win->digitised().pointCount(), 1);
    const std::string reads = f.dir.path("digit1.dat");
    QString offered, status;
    whileAsked(reads, [&] {
        offered = offeredSaveFile(*f.win);
        f.win->saveDigitiseTo(f.dir.path("sub/digit1.dat"));
        status = f.win->statusBar()->currentMessage();
    });
    EXPECT_EQ(offered.toStdString(), reads);
    EXPECT_TRUE(f.win->statusBar()->toolTip().contains(QString::fromStdString(reads))) << status.toStdString();
}

// At the window's first width the status line still shows what matters (the file the
// step reads, its name whole), the whole text at hand; Clear and closing the last plot
// take away what no longer holds.
TEST(MapWindow, StatusLineFitsItsFirstWidthAndDropsWhatNoLongerHolds) {
    Fixture f;
    const std::string reads = f.narrowWithADeepFolder(640) + "digit1.dat";
    const auto map = f.plot()->Shapes.maps().back();
    f.clickMap(*map, 5, 2.5);
    QString shown;
    whileAsked(reads, [&] {
        f.win->saveDigitiseTo(f.dir.path("digit1.dat"));
        shown = f.win->statusBar()->currentMessage();
    });
    QStatusBar* bar = f.win->statusBar();
    EXPECT_LE(bar->fontMetrics().horizontalAdvance(shown), bar->width() - trelvik::surferwin::kStatusMessageMargin)
        << shown.toStdString();
    EXPECT_TRUE(shown.startsWith("The step reads ")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("/digit1.dat, not this file")) << shown.toStdString();
    EXPECT_TRUE(bar->toolTip().contains(QString::fromStdString(reads)));

    f.win->clearPoints();
    EXPECT_TRUE(bar->currentMessage().isEmpty());
    EXPECT_TRUE(bar->toolTip().isEmpty());
    f.win->setDigitiseMode(false);
    double px, py;
    map->mapToPage(5, 2.5, px, py);
    emit f.win->canvas()->pointerMoved(QPointF(px, py));
    EXPECT_TRUE(f.win->pointerLabel()->text().startsWith("x = "));
    ASSERT_TRUE(f.win->closeShownDocument());
    f.win->refresh();
    EXPECT_TRUE(f.win->pointerLabel()->text().isEmpty());
}

// At the width File > Start Surfer opens the window with, a path gives way in its folder,
// never its file name, and a text still too long ends in an ellipsis; the tool tip follows
// every message, and a message about a plot's list goes with that plot, others stay.
TEST(MapWindow, NarrowStatusLineKeepsFileNamesEndsCutTextsAndFollowsEveryChange) {
    Fixture f;
    const std::string deep = f.narrowWithADeepFolder(490);
    const auto map = f.plot()->Shapes.maps().back();
    f.clickMap(*map, 5, 2.5);
    QStatusBar* bar = f.win->statusBar();
    whileAsked(deep + "digit1.dat", [&] { f.win->saveDigitiseTo(deep + "digit2.dat"); });
    const QString shown = bar->currentMessage();
    EXPECT_TRUE(shown.contains("\u2026/digit1.dat, not this file")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("\u2026")) << shown.toStdString();
    EXPECT_LE(bar->fontMetrics().horizontalAdvance(shown), bar->width() - trelvik::surferwin::kStatusMessageMargin);

    f.click(f.pixelOf(map->Left - 0.5, map->Top + 0.5));  // not on a map
    EXPECT_EQ(bar->toolTip().toStdString(), bar->currentMessage().toStdString());
    f.clickMap(*map, 6, 2.5);  // "New list started": about this plot's list
    const auto first = f.plot();
    f.win->newPlotDocument();
    ASSERT_TRUE(f.win->closeShownDocument());
    EXPECT_TRUE(bar->currentMessage().startsWith("New list")) << bar->currentMessage().toStdString();
    ASSERT_EQ(f.plot(), first);
    ASSERT_TRUE(f.win->closeShownDocument());
    EXPECT_TRUE(bar->currentMessage().isEmpty()) << bar->currentMessage().toStdString();
}

// Points clicked for a question that ended without saving them belong to that step: the
// next question's list starts afresh. Points clicked with no question open stay.
TEST(MapWindow, ANewQuestionSetsAsidePointsClickedForAnEarlierOneThatEndedUnsaved) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    f.win->refresh();
    auto map = f.plot()->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    const auto clickAt = [&](double x) { f.clickMap(*map, x, 2.5); };
    const std::string reads = f.dir.path("digit1.dat");
    whileAsked(reads, [&] {
        clickAt(2);
        clickAt(4);
    });  // cancelled
    ASSERT_EQ(f.win->digitised().pointCount(), 2);
    long heldWhenAsked = -1;
    QString said;
    whileAsked(reads, [&] {
        heldWhenAsked = f.win->digitised().pointCount();
        said = f.win->statusBar()->currentMessage();
        clickAt(6);  // clicked for this question, before Cancel
    });
    EXPECT_EQ(heldWhenAsked, 0);
    EXPECT_TRUE(said.startsWith("Set aside 2 points")) << said.toStdString();
    f.win->clearPoints();
    clickAt(8);  // no question open
    whileAsked(reads, [&] {
        heldWhenAsked = f.win->digitised().pointCount();
        said = f.win->statusBar()->currentMessage();
    });
    EXPECT_EQ(heldWhenAsked, 1);
    EXPECT_TRUE(said.contains("already holds 1 point")) << said.toStdString();
}

// A "Digitise map" box that asks for no file (a refusal of the points) is no step's
// question: points clicked while it shows belong to none, and the next question keeps them.
TEST(MapWindow, PointsClickedUnderABoxThatAsksForNoFileAreKeptByTheNextQuestion) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    f.win->refresh();
    f.win->setDigitiseMode(true);
    whenShown<QMessageBox>([&](QMessageBox* refusal) {
        f.clickMap(*f.plot()->Shapes.maps().back(), 5, 2.5);
        refusal->button(QMessageBox::Ok)->click();
    });
    trelvik::QtPrompt qt;
    qt.message(trelvik::kDigitiseTitle, "Too few points were digitised.");
    long held = -1;
    whileAsked(f.dir.path("digit1.dat"), [&] { held = f.win->digitised().pointCount(); });
    EXPECT_EQ(held, 1);
}

// OK with nothing clicked lets a step read its file as it stands, but not a file that is
// not there: the box says so, and "Back" returns to the question.
TEST(MapWindow, OkAsksWhenTheStepsFileIsNotThere) {
    Fixture f;
    int shows = 0;
    std::string warning;
    std::function<void(QMessageBox*)> onQuestion = [&](QMessageBox* question) {
        if (++shows > 1) return question->button(QMessageBox::Cancel)->click();
        whenTitled("Digitise file", [&](QMessageBox* box) {
            warning = box->text().toStdString();
            whenTitled("Digitise map", onQuestion);
            for (auto* b : box->buttons())
                if (b->text() == "Back") b->click();
        });
        question->button(QMessageBox::Ok)->click();
    };
    whenTitled("Digitise map", onQuestion);
    trelvik::QtPrompt qt;
    EXPECT_FALSE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", f.dir.path("digit1.dat")));
    EXPECT_NE(warning.find("There is no digit1.dat yet"), std::string::npos) << warning;
}

namespace {
// A relief map of a tilted molar, Digitise on, and a digit1.dat an older step wrote: the
// file the questions below ask for. Returns its path.
std::string digitisingOverAnOlderDigit1(Fixture& f) {
    EXPECT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    f.win->refresh();
    f.win->setDigitiseMode(true);
    f.dir.write("digit1.dat", "1,1\n2,2\n");
    return f.dir.path("digit1.dat");
}
} // namespace

// OK after Clear asks for the points again, not for a save of the empty list; OK after a
// save and an Undo says the list changed since that save, not that its point is unsaved.
TEST(MapWindow, OkAfterClearOrAnUndoOfTheSaveSaysWhatBecameOfTheList) {
    Fixture f;
    const std::string reads = digitisingOverAnOlderDigit1(f);
    const auto map = f.plot()->Shapes.maps().back();
    int shows = 0;
    std::vector<std::string> warnings;
    std::function<void(QMessageBox*)> onWarning;
    std::function<void(QMessageBox*)> onQuestion = [&](QMessageBox* question) {
        if (++shows == 1) {
            f.clickMap(*map, 5, 2.5);
            f.win->clearPoints();
        } else {
            f.clickMap(*map, 5, 2.5);
            f.clickMap(*map, 6, 2.5);
            f.win->saveDigitiseTo(reads);
            f.win->undoPoint();
        }
        whenTitled("Digitise file", onWarning);
        question->button(QMessageBox::Ok)->click();
    };
    onWarning = [&](QMessageBox* warning) {
        warnings.push_back(warning->text().toStdString());
        const bool back = warnings.size() == 1;
        if (back) whenTitled("Digitise map", onQuestion);
        for (auto* b : warning->buttons())
            if (b->text() == (back ? "Back" : "Go on")) b->click();
    };
    whenTitled("Digitise map", onQuestion);
    trelvik::QtPrompt qt;
    EXPECT_TRUE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", reads));
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("The list was cleared"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("click the points again"), std::string::npos) << warnings[0];
    EXPECT_EQ(warnings[0].find("save the list as"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("The list changed since it was saved in that file"), std::string::npos)
        << warnings[1];
}

// OK with points clicked during the question that are not in the file its step reads
// says which is the case and can go back to the question; a save through a link to that
// file is that file, and OK then goes on. Every box expected is answered, and no watch
// for one outlives the test: it would answer the next test's box.
TEST(MapWindow, OkWithClickedPointsOutsideTheStepsFileAsksBeforeTheStepReadsIt) {
    Fixture f;
    const std::string reads = digitisingOverAnOlderDigit1(f);
    std::filesystem::create_directory(f.dir.path("sub"));
    std::filesystem::create_symlink(reads, f.dir.path("sub/link1.dat"));
    int shows = 0;
    std::vector<std::string> warnings;
    QString statusAfterLinkSave;
    std::function<void(QMessageBox*)> onWarning;
    std::function<void(QMessageBox*)> onQuestion = [&](QMessageBox* question) {
        ++shows;
        if (shows == 1) {
            f.clickMap(*f.plot()->Shapes.maps().back(), 5, 2.5);
        } else if (shows == 2) {
            f.win->saveDigitiseTo(f.dir.path("sub/digit1.dat"));
        } else {
            f.win->saveDigitiseTo(f.dir.path("sub/link1.dat"));
            statusAfterLinkSave = f.win->statusBar()->currentMessage();
        }
        // The third OK goes on without a box: a watcher left waiting for one would
        // outlive this test's variables and act on a later test's box.
        if (shows < 3) whenTitled("Digitise file", onWarning);
        question->button(QMessageBox::Ok)->click();
    };
    onWarning = [&](QMessageBox* warning) {
        warnings.push_back(warning->text().toStdString());
        whenTitled("Digitise map", onQuestion);
        for (auto* b : warning->buttons())
            if (b->text() == "Back") b->click();
    };
    whenTitled("Digitise map", onQuestion);
    trelvik::QtPrompt qt;
    EXPECT_TRUE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", reads));
    EXPECT_EQ(shows, 3);
    ASSERT_EQ(warnings.size(), 2u);
    for (const auto& w : warnings) EXPECT_NE(w.find("The step reads " + reads), std::string::npos) << w;
    EXPECT_NE(warnings[0].find("The point meant for this question is not saved in that file"), std::string::npos);
    EXPECT_NE(warnings[1].find("saved during this question as " + f.dir.path("sub/digit1.dat")), std::string::npos);
    EXPECT_FALSE(statusAfterLinkSave.contains("not this file")) << statusAfterLinkSave.toStdString();
    EXPECT_EQ(trelvik::formats::readDigitiseGroups(reads).front().size(), 1u);
}

// Closing the plot that holds the points clicked for the question takes them along: the
// status line says how many went unsaved, and OK asks, saying the plot was closed.
TEST(MapWindow, OkAfterThePlotHoldingThePointsWasClosedSaysSo) {
    Fixture f;
    const std::string reads = digitisingOverAnOlderDigit1(f);
    std::string warning;
    QString status;
    whenTitled("Digitise map", [&](QMessageBox* question) {
        const auto map = f.plot()->Shapes.maps().back();
        f.clickMap(*map, 5, 2.5);
        f.clickMap(*map, 6, 2.5);
        f.win->closeShownDocument();
        status = f.win->statusBar()->currentMessage();
        whenTitled("Digitise file", [&](QMessageBox* box) {
            warning = box->text().toStdString();
            for (auto* b : box->buttons())
                if (b->text() == "Go on") b->click();
        });
        question->button(QMessageBox::Ok)->click();
    });
    trelvik::QtPrompt qt;
    EXPECT_TRUE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", reads));
    EXPECT_TRUE(status.startsWith("Closed ") && status.endsWith(": its 2 unsaved points went with it."))
        << status.toStdString();
    EXPECT_NE(warning.find("The plot holding the 2 points meant for this question was closed"), std::string::npos)
        << warning;
    EXPECT_NE(warning.find("click the points again"), std::string::npos) << warning;
}

// What "Back" is for fits the case: a list saved ahead under another name (a landmark
// trial) may hold none of this question's points, every point taken back leaves no list
// to save, and a save from one plot leaves the other plot's points out again.
TEST(MapWindow, OkBoxAdvisesWhatPutsTheMeantPointsInTheStepsFile) {
    Fixture f;
    const std::string reads = digitisingOverAnOlderDigit1(f);
    const auto clickAt = [&](double x) { f.clickMap(*f.plot()->Shapes.maps().back(), x, 2.5); };
    const std::string firstPlot = f.plot()->Name;
    clickAt(3);
    ASSERT_TRUE(f.win->saveDigitiseTo(f.dir.path("trial3.dat")));
    std::vector<std::string> warnings;
    int shows = 0;
    std::function<void(QMessageBox*)> onWarning;
    std::function<void(QMessageBox*)> onQuestion = [&](QMessageBox* question) {
        if (++shows == 2) {  // every point clicked taken back
            clickAt(5);
            clickAt(6);
            f.win->undoPoint();
            f.win->undoPoint();
        } else if (shows == 3) {  // one point on each of two plots, the second plot's saved
            clickAt(5);
            f.win->newPlotDocument();
            EXPECT_TRUE(f.win->addMap(surfer::MapKind::Relief, f.dir.path("molar.grd")));
            f.win->refresh();
            clickAt(6);
            f.win->saveDigitiseTo(reads);
        }
        whenTitled("Digitise file", onWarning);
        question->button(QMessageBox::Ok)->click();
    };
    onWarning = [&](QMessageBox* warning) {
        warnings.push_back(warning->text().toStdString());
        const bool back = shows == 2;
        if (back) whenTitled("Digitise map", onQuestion);
        for (auto* b : warning->buttons())
            if (b->text() == (back ? "Back" : "Go on")) b->click();
    };
    trelvik::QtPrompt qt;
    whenTitled("Digitise map", onQuestion);
    EXPECT_TRUE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", reads));
    whenTitled("Digitise map", onQuestion);
    EXPECT_TRUE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", reads));
    ASSERT_EQ(warnings.size(), 3u);
    const std::string as = " as digit1.dat in " + std::filesystem::path(reads).parent_path().string();
    EXPECT_NE(warnings[0].find("saved as " + f.dir.path("trial3.dat") + " before this question"), std::string::npos)
        << warnings[0];
    EXPECT_NE(warnings[0].find("save the list" + as + ", or click the points this question asks for"),
              std::string::npos)
        << warnings[0];
    EXPECT_NE(warnings[1].find("click the points again and save them" + as), std::string::npos) << warnings[1];
    EXPECT_EQ(warnings[1].find("save the list"), std::string::npos) << warnings[1];
    EXPECT_NE(warnings[2].find("clear the list of " + firstPlot + ", or click all the points on one plot"),
              std::string::npos)
        << warnings[2];
}

// A group ends after its points, and a list without a point is no file: both say so.
TEST(MapWindow, EndGroupAndSaveWithoutAPointAddAndWriteNothingAndSayWhy) {
    Fixture f;
    const std::string digit = f.dir.path("digit.dat");
    EXPECT_FALSE(f.win->saveDigitiseTo(digit));  // no plot document shown
    EXPECT_TRUE(f.win->statusBar()->currentMessage().contains("Nothing to save"));
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "plane.grd", 21, 11, tilted)));
    f.win->refresh();
    f.win->endGroup();
    EXPECT_TRUE(f.win->digitised().entries().empty());
    EXPECT_TRUE(f.win->statusBar()->currentMessage().contains("End group adds nothing"));
    EXPECT_FALSE(f.win->saveDigitiseTo(digit));
    EXPECT_FALSE(trelvik::FileExists(digit));
    f.win->setDigitiseMode(true);
    f.clickMap(*f.plot()->Shapes.maps().back(), 5, 2.5);
    f.win->endGroup();
    f.win->endGroup();
    EXPECT_EQ(f.win->pointList()->count(), 2);  // the point and one "-1"
}

TEST(MapWindow, ClearEmptiesTheListAndTheDigitiseButtonShowsItsState) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    f.win->refresh();
    EXPECT_EQ(f.win->digitiseButton()->text(), "Digitise: off");
    f.win->digitiseButton()->click();
    EXPECT_TRUE(f.win->canvas()->digitiseMode());
    EXPECT_EQ(f.win->digitiseButton()->text(), "Digitise: ON");
    auto map = f.plot()->Shapes.maps().back();
    f.clickMap(*map, 5, 2.5);
    f.win->endGroup();
    EXPECT_EQ(f.win->pointList()->count(), 2);
    f.win->clearButton()->click();
    EXPECT_EQ(f.win->pointList()->count(), 0);
    EXPECT_TRUE(f.win->digitised().entries().empty());
    f.clickMap(*map, 5, 2.5);
    EXPECT_EQ(f.win->digitised().pointCount(), 1);
    f.win->digitiseButton()->click();
    EXPECT_FALSE(f.win->canvas()->digitiseMode());
    EXPECT_EQ(f.win->digitiseButton()->text(), "Digitise: off");
}

TEST(MapWindow, EachDocumentKeepsItsOwnPointsDrawnAtTheirMapCoordinates) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    f.win->refresh();
    auto first = f.plot();
    auto map = first->Shapes.maps().back();
    f.win->setDigitiseMode(true);
    for (double x : {2.0, 6.0}) f.clickMap(*map, x, 2.5);
    ASSERT_EQ(f.win->digitised().pointCount(), 2);

    // A new document starts with an empty list and draws none of the first one's marks.
    f.win->newPlotDocument();
    EXPECT_TRUE(f.win->digitised().entries().empty());
    EXPECT_EQ(f.win->pointList()->count(), 0);
    EXPECT_TRUE(f.win->canvas()->markPositions().empty());
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Image, grid));
    f.win->refresh();
    auto other = f.plot()->Shapes.maps().back();
    f.clickMap(*other, 8, 4);
    EXPECT_EQ(f.win->digitised().pointCount(), 1);

    // Back on the first document: its own two points, drawn where its map shows them
    // even after the frame has moved on the page.
    auto* combo = f.win->findChild<QComboBox*>();
    emit combo->activated(0);
    ASSERT_EQ(f.win->canvas()->document(), first);
    ASSERT_EQ(f.win->digitised().pointCount(), 2);
    EXPECT_EQ(f.win->pointList()->count(), 2);
    map->Left += 3;
    map->Top -= 1;
    const auto marks = f.win->canvas()->markPositions();
    ASSERT_EQ(marks.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& e = f.win->digitised().entries()[i];
        double px, py;
        map->mapToPage(e.x, e.y, px, py);
        ASSERT_TRUE(marks[i]);
        EXPECT_NEAR(marks[i]->x(), px, 1e-9);
        EXPECT_NEAR(marks[i]->y(), py, 1e-9);
    }
    // Closing it leaves the second document's list.
    EXPECT_TRUE(f.win->closeShownDocument());
    f.win->refresh();
    EXPECT_EQ(f.win->digitised().pointCount(), 1);
}

TEST(MapWindow, DigitiseQuestionOpensBesideItsToolWindowClearOfTheMapWindowBroughtToTheFront) {
    surfer::shutdownAll();  // no window of an earlier test's instance comes forward meanwhile
    Fixture f;
    const QRect avail = f.win->screen()->availableGeometry();
    f.win->setGeometry(avail.left() + avail.width() / 2, avail.top(), avail.width() / 2, avail.height() * 3 / 4);
    f.win->activateWindow();
    wait(50);
    // A tool window opened later, active and in front.
    QWidget tool;
    tool.setGeometry(avail.left(), avail.top(), avail.width() / 2 - 40, avail.height() / 3);
    tool.show();
    tool.activateWindow();
    wait(50);
    trelvik::QtPrompt qt;
    trelvik::WindowPrompt prompt(qt, &tool);
    QRect asked;
    bool staysOnTop = true;
    const QWindow* transientFor = nullptr;
    const QWidget* front = nullptr;
    whenShown<QMessageBox>([&](QMessageBox* question) {
        wait(50);
        asked = question->frameGeometry();
        staysOnTop = question->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        transientFor = question->windowHandle()->transientParent();
        front = QApplication::activeWindow();
        question->button(QMessageBox::Ok)->click();
    });
    f.dir.write("digit2.dat", "1,1\n");  // the step's file: OK goes on without a word
    EXPECT_TRUE(trelvik::askDigitise(prompt, "Use 'Digitise' to define crest.", f.dir.path("digit2.dat")));
    EXPECT_FALSE(asked.intersects(f.win->frameGeometry()));
    EXPECT_TRUE(avail.contains(asked));
    EXPECT_EQ(front, f.win.get());
    // Not above every window: it stays with its tool window, so the map window's own
    // dialogs come over it.
    EXPECT_FALSE(staysOnTop);
    EXPECT_EQ(transientFor, tool.windowHandle());
}
