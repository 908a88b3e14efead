// The map window offscreen: each map type painted where its frame is, documents,
// worksheets and the report shown, bad grids reported, the window placed on the screen.
#include "surferwin/mapfixture.h"
#include "surferwin/statusline.h"

#include <QAction>
#include <QDialogButtonBox>

using namespace mapfixture;
using trelvik::testsupport::leftClick;

TEST(MapWindow, EachMapTypePaintsInsideItsFrame) {
    Fixture f;
    const std::string planeGrid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    const std::string coneGrid = saveGrid(f.dir, "cone.grd", 41, 41, coneZ);
    for (auto k : {surfer::MapKind::Relief, surfer::MapKind::Contour, surfer::MapKind::Image, surfer::MapKind::Surface}) {
        f.app->Documents.Add(1);
        ASSERT_TRUE(f.win->addMap(k, k == surfer::MapKind::Contour ? coneGrid : planeGrid));
        auto map = f.plot()->Shapes.maps().back();
        if (k == surfer::MapKind::Surface) {  // the "Above" view
            map->ViewRotation = 0;
            map->ViewTilt = 90;
            map->ViewProjection = 2;
        }
        f.win->refresh();
        const char* names[] = {"", "relief", "contour", "image", "surface"};
        QImage img = f.shot(names[int(k)]);
        const QPoint tl = f.pixelOf(map->Left, map->Top), br = f.pixelOf(map->Left + map->XLength, map->Top - map->YLength);
        const QRect inner = QRect(tl, br).adjusted(3, 3, -3, -3);
        ASSERT_GT(inner.width(), 100);
        const QRgb background = img.pixel(2, 2);
        std::set<QRgb> colours;
        long painted = 0, total = 0;
        for (int y = inner.top(); y <= inner.bottom(); y += 2)
            for (int x = inner.left(); x <= inner.right(); x += 2) {
                colours.insert(img.pixel(x, y));
                painted += img.pixel(x, y) != background;
                ++total;
            }
        switch (k) {
        case surfer::MapKind::Relief:  // a plane shades evenly
            EXPECT_EQ(colours.size(), 1u);
            EXPECT_NE(*colours.begin(), background);
            break;
        case surfer::MapKind::Surface: {  // from above it fills the frame
            EXPECT_EQ(painted, total);
            // The z axis is seen end on: its two numbers are not printed over each other
            // left of the lower-left corner.
            long ink = 0;
            for (int y = br.y() - 14; y <= br.y() + 2; ++y)
                for (int x = tl.x() - 60; x <= tl.x() - 4; ++x) ink += img.pixel(x, y) != background;
            EXPECT_EQ(ink, 0);
            break;
        }
        case surfer::MapKind::Image:
            EXPECT_EQ(painted, total);
            break;
        case surfer::MapKind::Contour: {
            // Lines only: most of the frame stays background, and the ring of radius 2
            // map units crosses the frame's centre row 2 units left of the centre.
            EXPECT_LT(painted, total / 4);
            const QPointF c = f.win->canvas()->pageToPixel({map->Left + map->XLength / 2, map->Top - map->YLength / 2});
            const double pxPerUnit = (br.x() - tl.x()) / 10.0;
            bool found = false;
            for (int dx = -2; dx <= 2; ++dx)
                found = found || img.pixel(int(c.x() - 2 * pxPerUnit) + dx, int(c.y())) != background;
            EXPECT_TRUE(found);
            break;
        }
        }
    }
}

TEST(MapWindow, DefaultSurfaceViewStandsTheConeUp) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Surface, saveGrid(f.dir, "cone.grd", 41, 41, coneZ)));
    auto map = f.plot()->Shapes.maps().back();
    map->zMapPerPU = map->xMapPerPU();  // true vertical scale, as the plotting windows set it
    f.win->refresh();
    QImage img = f.shot("surface-default");
    surfer::SurfaceView view;
    view.xyUnitsPerInch = map->xMapPerPU();
    view.zUnitsPerInch = map->zMapPerPU;
    const QPoint tl = f.pixelOf(map->Left, map->Top), br = f.pixelOf(map->Left + map->XLength, map->Top - map->YLength);
    surfer::SurfaceProjector proj(map->grid(), br.x() - tl.x(), br.y() - tl.y(), view);
    double px, py;
    proj.project(5, 5, 5, px, py);  // the tip
    EXPECT_NE(img.pixel(tl.x() + int(px), tl.y() + int(py) + 2), img.pixel(2, 2));
    // Seen from 30 degrees up, the flattish cone leaves the frame's top corners empty.
    EXPECT_EQ(img.pixel(tl + QPoint(3, 3)), img.pixel(2, 2));
}

TEST(MapWindow, BadGridIsReportedAndAddsNothing) {
    Fixture f;
    EXPECT_FALSE(f.win->addMap(surfer::MapKind::Image, f.dir.path("missing.grd")));
    ASSERT_EQ(f.prompt.shown.size(), 1u);
    EXPECT_NE(f.prompt.shown[0].text.find("missing.grd"), std::string::npos);
    EXPECT_EQ(f.app->Documents.Count(), 0);  // no empty plot left behind
    // An all-blank grid gets a frame that paints nothing.
    Grid blank(5, 5, 0, 4, 0, 4);
    trelvik::formats::writeSurferGrid(f.dir.path("blank.grd"), blank, trelvik::formats::SurferGridFormat::Ascii);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, f.dir.path("blank.grd")));
    auto map = f.plot()->Shapes.maps().back();
    QImage img = f.shot("blank");
    const QPointF c = f.win->canvas()->pageToPixel({map->Left + map->XLength / 2, map->Top - map->YLength / 2});
    EXPECT_EQ(img.pixel(c.toPoint()), img.pixel(2, 2));
}

TEST(MapWindow, WorksheetsShowAsTextAndVisibleShowsTheWindow) {
    ensureApp();
    trelvik::testing::TempFolder dir;
    auto app = surfer::connect("Surfer.Application", true);
    auto sheet = std::static_pointer_cast<surfer::Worksheet>(app->Documents.Add(2));
    sheet->setCell(1, 1, "Volume");
    sheet->setCell(1, 2, "12.5");
    trelvik::surferwin::watchVisibleInstances();
    app->Visible = true;
    wait(800);
    MapWindow* w = trelvik::surferwin::findMapWindow(app->processId());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    auto* text = w->findChild<QPlainTextEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains("Volume,12.5"));
    EXPECT_TRUE(w->windowTitle().contains(QString::number(app->processId())));
    // Closed by hand it stays closed, until a tool draws into the instance again.
    w->hide();
    wait(700);
    EXPECT_FALSE(w->isVisible());
    surfer::asPlot(app->Documents.Add(1))->Shapes.AddText(1, 1, "tooth3.grd");
    wait(700);
    EXPECT_TRUE(w->isVisible());
    app->Visible = false;
    wait(800);
    EXPECT_FALSE(w->isVisible());
    // An instance the tools never make visible shows its window once they draw into it.
    // Made and drawn into before the watcher looks: the window still comes.
    auto hidden = surfer::connect("Surfer.APP", true);
    hidden->call("DrawText", surfer::Positional{4, 6, "tooth3.grd", "tooth3.grdtxt"});
    wait(700);
    MapWindow* h = trelvik::surferwin::findMapWindow(hidden->processId());
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(h->isVisible());
}

TEST(MapWindow, ShortScaleBarPrintsOnlyTheNumbersThatFit) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "plane.grd", 21, 11, tilted)));
    auto map = f.plot()->Shapes.maps().back();
    auto bar = map->ScaleBars.Add();  // 8 cycles of 0.05 on a 10-unit map: a few pixels each
    bar->CycleSpacing = bar->LabelIncrement = 0.05;
    bar->NumCycles = 8;
    f.win->refresh();
    QImage img = f.shot("scalebar");
    const QRgb background = img.pixel(2, 2);
    // The number row under the bar holds separate numbers with gaps between them, not
    // a smear of nine overlapping ones.
    const double ppi = f.win->canvas()->pixelsPerInch();
    const QPoint ll = f.pixelOf(map->Left, map->Top - map->YLength);
    const int rowTop = ll.y() + int(0.45 * ppi + 12 + std::max(4.0, 0.08 * ppi)) + 2;
    int longest = 0, run = 0;
    for (int x = ll.x() - 10; x < ll.x() + 150; ++x) {
        bool ink = false;
        for (int y = rowTop; y < rowTop + 16; ++y) ink = ink || img.pixel(x, y) != background;
        longest = std::max(longest, run = ink ? run + 1 : 0);
    }
    EXPECT_GT(longest, 0);
    EXPECT_LT(longest, QFontMetrics(f.win->canvas()->font()).horizontalAdvance("0.4") + 4);
}

TEST(MapWindow, NewDocumentTakesTheNextMapsAndSelectedMapsCanBeDeleted) {
    Fixture f;
    const std::string grid = saveGrid(f.dir, "plane.grd", 21, 11, tilted);
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, grid));
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Image, grid));
    auto first = f.plot();
    ASSERT_EQ(first->Shapes.maps().size(), 2u);
    first->Shapes.AddText(first->Shapes.maps()[1]->Left, first->Shapes.maps()[1]->Top + 0.35, "plane.grd");

    // A new plot document becomes the active one: a tool's next map lands there.
    f.win->newPlotDocument();
    EXPECT_EQ(f.app->Documents.Count(), 2);
    auto second = f.plot();
    EXPECT_NE(second, first);
    EXPECT_EQ(f.win->canvas()->document(), second);
    second->Shapes.AddReliefMap(grid);
    EXPECT_EQ(first->Shapes.maps().size(), 2u);

    // Choosing the first document again makes it active.
    f.win->refresh();
    auto* combo = f.win->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 2);
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(f.plot(), first);

    // A click on the image map selects it; Delete takes it and its label off the plot.
    auto image = first->Shapes.maps()[1];
    f.win->canvas()->zoomToFit();
    const QPoint at = f.pixelOf(image->Left + image->XLength / 2, image->Top - image->YLength / 2);
    f.click(at);
    EXPECT_EQ(f.win->selectedMap(), image);
    EXPECT_TRUE(f.win->deleteSelectedMap());
    ASSERT_EQ(first->Shapes.maps().size(), 1u);
    EXPECT_EQ(first->Shapes.maps()[0]->mapKind(), surfer::MapKind::Relief);
    EXPECT_EQ(first->Shapes.Count(), 1);  // the label went with its map
    EXPECT_FALSE(f.win->deleteSelectedMap());  // nothing selected now
    EXPECT_FALSE(f.win->selectMapAt({-50, -50}));

    // Closing the shown document brings back the one active before it.
    EXPECT_TRUE(f.win->closeShownDocument());
    EXPECT_EQ(f.app->Documents.Count(), 1);
    EXPECT_EQ(f.plot(), second);
    f.win->refresh();
    EXPECT_EQ(f.win->canvas()->document(), second);
}

TEST(MapWindow, OpensWithinTheScreenBesideTheAskingWindowAndAddsMapsFromTheDataFolder) {
    // 1280 x 720 less a panel, a tool window on the left: the map window goes right of it,
    // narrowed to the room there; with the tool window in the middle, to the wider side.
    const QRect avail(0, 0, 1280, 690);
    EXPECT_EQ(trelvik::placeBeside(avail, QRect(0, 0, 600, 500), QSize(1016, 760), 576), QRect(600, 0, 680, 690));
    EXPECT_EQ(trelvik::placeBeside(avail, QRect(500, 100, 400, 500), QSize(1016, 760), 576), QRect(0, 0, 576, 690));
    EXPECT_EQ(trelvik::placeBeside(avail, QRect(), QSize(800, 600), 576), QRect(480, 0, 800, 600));

    Fixture f;
    MapWindow fresh(f.app);
    EXPECT_LE(fresh.height() + trelvik::kWindowFrameAllowance.height(), fresh.screen()->availableGeometry().height());
    trelvik::surferwin::setDataFolderSource([&] { return f.dir.folder(); });
    EXPECT_EQ(f.win->addMapFolder().toStdString(), f.dir.folder());
    trelvik::surferwin::setDataFolderSource({});
}

// While a question waits, as under a message box, a tool window takes no click (it cannot
// start a second step); the map window takes its clicks, and its Save and the dialog it
// opens work.
TEST(MapWindow, WhileAQuestionWaitsAToolWindowTakesNoClickButTheMapWindowAndItsSaveDialogDo) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    f.win->refresh();
    f.win->setDigitiseMode(true);
    QWidget tool;
    auto* calculate = new QPushButton("Calculate", &tool);
    int runs = 0;
    QObject::connect(calculate, &QPushButton::clicked, [&] { ++runs; });
    tool.show();
    const std::string reads = f.dir.path("digit1.dat");
    whileAsked(reads, [&] {
        leftClick(calculate);
        f.clickMap(*f.plot()->Shapes.maps().back(), 5, 2.5);
        whenShown<QFileDialog>([](QFileDialog* d) {
            leftClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save));
        });
        for (auto* b : f.win->findChildren<QPushButton*>())
            if (b->text() == "Save...") leftClick(b);
    });
    EXPECT_EQ(runs, 0);
    ASSERT_TRUE(trelvik::FileExists(reads));
    EXPECT_EQ(trelvik::formats::readDigitiseGroups(reads).front().size(), 1u);
}

// The map window used last, closed while a question waits, comes back whenever the
// question shows, also when "Back" on the "Digitise file" box brings the question back.
TEST(MapWindow, AQuestionShownAgainByBackBringsBackItsMapWindowClosedMeanwhile) {
    surfer::shutdownAll();
    Fixture f;
    MapWindow other(surfer::connect("Surfer.Application", true));  // another instance's, left on show
    other.show();
    f.win->activateWindow();
    wait(50);
    int shows = 0;
    bool mapShown = false;
    std::function<void(QMessageBox*)> onQuestion = [&](QMessageBox* question) {
        if (++shows > 1) {
            mapShown = f.win->isVisible();
            question->button(QMessageBox::Cancel)->click();
            return;
        }
        for (auto* act : f.win->findChildren<QAction*>())
            if (act->text() == "Close window") act->trigger();
        whenTitled("Digitise file", [&](QMessageBox* warning) {
            whenTitled("Digitise map", onQuestion);
            for (auto* b : warning->buttons())
                if (b->text() == "Back") b->click();
        });
        question->button(QMessageBox::Ok)->click();  // no digit1.dat: the box asks
    };
    whenTitled("Digitise map", onQuestion);
    trelvik::QtPrompt qt;
    EXPECT_FALSE(trelvik::askDigitise(qt, "Use 'Digitise' to define crest.", f.dir.path("digit1.dat")));
    EXPECT_EQ(shows, 2);
    EXPECT_TRUE(mapShown);
}

// A message given while the window was closed is drawn alone once it is shown again: the
// pointer read-out gives way until the message goes.
TEST(MapWindow, AMessageGivenWhileClosedIsNotDrawnOverThePointerReadout) {
    Fixture f;
    ASSERT_TRUE(f.win->addMap(surfer::MapKind::Relief, saveGrid(f.dir, "molar.grd", 21, 11, tilted)));
    f.win->refresh();
    double px, py;
    f.plot()->Shapes.maps().back()->mapToPage(5, 2.5, px, py);
    emit f.win->canvas()->pointerMoved(QPointF(px, py));
    QLabel* readout = f.win->pointerLabel();
    ASSERT_TRUE(readout->isVisible());
    f.win->hide();
    trelvik::surferwin::showFitted(f.win->statusBar(), "Saved %1.", {QString::fromStdString(f.dir.path("digit.dat"))},
                                   8000);
    f.win->show();
    EXPECT_FALSE(readout->isVisible());
    f.win->statusBar()->clearMessage();
    EXPECT_TRUE(readout->isVisible());
}
