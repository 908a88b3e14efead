#include "surferwin/mapwindow.h"

#include "core/error.h"
#include "core/textform.h"
#include "formats/surfergrid.h"
#include "surferwin/mapcanvas.h"
#include "surferwin/statusline.h"
#include "widgets/digitisequestion.h"
#include "widgets/fitscreen.h"
#include "widgets/qtprompt.h"

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

namespace trelvik::surferwin {

namespace {
QHash<long, QPointer<MapWindow>>& windows() {
    static QHash<long, QPointer<MapWindow>> w;
    return w;
}

constexpr const char* kReportItem = "Report";
// Page inches between maps added side by side: room for a colour scale and labels.
constexpr double kMapGap = 1.5;
// The window's inside at its full size.
constexpr QSize kDesignSize(1000, 720);

// The map window the user worked in last: made active last, or shown for a tool.
QPointer<MapWindow>& lastUsed() {
    static QPointer<MapWindow> w;
    return w;
}

// The map window a digitise question is about: the one used last while it is on show,
// else any on show.
QWidget* digitisingWindow() {
    if (lastUsed() && lastUsed()->isVisible()) return lastUsed();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<MapWindow*>(w) && w->isVisible()) return w;
    return nullptr;
}

// Where a digitise question kept above a map window may lie: on the canvas, never over
// the menus, the toolbar or the Digitise panel the user needs meanwhile, and off the
// frames of the maps drawn, where the user clicks.
RoomOverWindow roomForQuestion(const QWidget* w) {
    const auto* win = qobject_cast<const MapWindow*>(w);
    if (!win || !win->centralWidget()) return {};
    const QWidget* page = win->centralWidget();
    RoomOverWindow room{QRect(page->mapToGlobal(QPoint(0, 0)), page->size()), {}};
    const MapCanvas* canvas = win->canvas();
    if (const auto doc = canvas->document(); doc && canvas->isVisible())
        for (const auto& m : doc->Shapes.maps())
            room.keepInSight.push_back(
                QRectF(canvas->mapToGlobal(canvas->pageToPixel({m->Left, m->Top})),
                       canvas->mapToGlobal(canvas->pageToPixel({m->Left + m->XLength, m->Top - m->YLength})))
                    .toAlignedRect());
    return room;
}

std::function<std::string()>& dataFolderSource() {
    static std::function<std::string()> source;
    return source;
}

// The tool window that asked for the map window: the active one, or (while a dialog
// such as the digitise question is active) the largest other window on show.
const QWidget* askingWindow() {
    return toolWindowOnShow([](const QWidget* w) { return qobject_cast<const MapWindow*>(w) != nullptr; });
}

QString kindText(surfer::MapKind k) {
    switch (k) {
    case surfer::MapKind::Relief: return QObject::tr("relief map");
    case surfer::MapKind::Contour: return QObject::tr("contour map");
    case surfer::MapKind::Image: return QObject::tr("image map");
    case surfer::MapKind::Surface: return QObject::tr("3D surface");
    }
    return {};
}
} // namespace

MapWindow::MapWindow(std::shared_ptr<surfer::Application> app, QWidget* parent)
    : QMainWindow(parent), app_(std::move(app)) {
    setWindowTitle(tr("Trelvik map window - instance %1").arg(app_->processId()));
    fitToScreen(this, kDesignSize);

    stack_ = new QStackedWidget(this);
    canvas_ = new MapCanvas(stack_);
    text_ = new QPlainTextEdit(stack_);
    text_->setReadOnly(true);
    text_->setFont(QFont(QStringLiteral("Monospace")));
    stack_->addWidget(canvas_);
    stack_->addWidget(text_);
    setCentralWidget(stack_);

    auto* bar = addToolBar(tr("Map"));
    bar->setMovable(false);
    bar->addWidget(new QLabel(tr("Document "), bar));
    cmbDocument_ = new QComboBox(bar);
    cmbDocument_->setMinimumWidth(160);
    bar->addWidget(cmbDocument_);
    bar->addSeparator();
    auto* fit = bar->addAction(tr("Zoom to fit"));
    connect(fit, &QAction::triggered, canvas_, &MapCanvas::zoomToFit);

    // Digitise panel: the mode switch, the list of points and the group, undo and
    // save buttons.
    auto* dock = new QDockWidget(tr("Digitise"), this);
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    auto* panel = new QWidget(dock);
    auto* lay = new QVBoxLayout(panel);
    cmdDigitise_ = new QPushButton(tr("Digitise: off"), panel);
    cmdDigitise_->setCheckable(true);
    // The mode must be plain to see: clicks add points only while it is on.
    cmdDigitise_->setStyleSheet(QStringLiteral(
        "QPushButton:checked { background-color: #c62828; color: white; font-weight: bold; }"));
    list_ = new QListWidget(panel);
    auto* cmdEnd = new QPushButton(tr("End group (-1)"), panel);
    auto* cmdUndo = new QPushButton(tr("Undo"), panel);
    cmdClear_ = new QPushButton(tr("Clear"), panel);
    auto* cmdSave = new QPushButton(tr("Save..."), panel);
    lay->addWidget(cmdDigitise_);
    lay->addWidget(list_, 1);
    lay->addWidget(cmdEnd);
    auto* undoClear = new QHBoxLayout;
    undoClear->addWidget(cmdUndo);
    undoClear->addWidget(cmdClear_);
    lay->addLayout(undoClear);
    lay->addWidget(cmdSave);
    dock->setWidget(panel);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    connect(cmdDigitise_, &QPushButton::toggled, this, &MapWindow::setDigitiseMode);
    connect(cmdEnd, &QPushButton::clicked, this, &MapWindow::endGroup);
    connect(cmdUndo, &QPushButton::clicked, this, &MapWindow::undoPoint);
    connect(cmdClear_, &QPushButton::clicked, this, &MapWindow::clearPoints);
    connect(cmdSave, &QPushButton::clicked, this, &MapWindow::chooseAndSave);

    auto* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("New plot document"), QKeySequence::New, this, &MapWindow::newPlotDocument);
    file->addAction(tr("Close document"), this, &MapWindow::closeShownDocument);
    file->addSeparator();
    auto* add = file->addMenu(tr("Add map"));
    for (auto k : {surfer::MapKind::Relief, surfer::MapKind::Contour, surfer::MapKind::Image,
                   surfer::MapKind::Surface}) {
        QString caption = kindText(k);
        caption[0] = caption[0].toUpper();
        auto* act = add->addAction(caption + QStringLiteral("..."));
        connect(act, &QAction::triggered, this, [this, k] { chooseAndAddMap(static_cast<int>(k)); });
    }
    file->addAction(tr("Save digitise file..."), this, &MapWindow::chooseAndSave);
    file->addSeparator();
    file->addAction(tr("Close window"), this, &QWidget::hide);
    auto* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(tr("Delete map"), QKeySequence::Delete, this, &MapWindow::deleteSelectedMap);

    coords_ = new QLabel(this);
    statusBar()->addWidget(coords_, 1);
    keepWholeMessageAtHand(statusBar());
    giveWayToMessages(statusBar(), coords_);

    connect(cmbDocument_, &QComboBox::activated, this, &MapWindow::documentChosen);
    connect(canvas_, &MapCanvas::pointerMoved, this, &MapWindow::pointerMoved);
    connect(canvas_, &MapCanvas::pageClicked, this, [this](QPointF page) { digitiseAt(page); });
    connect(canvas_, &MapCanvas::pageSelected, this, [this](QPointF page) { selectMapAt(page); });

    timer_ = new QTimer(this);
    timer_->setInterval(400);
    connect(timer_, &QTimer::timeout, this, &MapWindow::refresh);
    timer_->start();
    refresh();
    setDigitiseWindowSource(digitisingWindow);
    setDigitiseWindowTest([](const QWidget* w) { return qobject_cast<const MapWindow*>(w) != nullptr; });
    setBringBackDigitiseWindow(bringBackDigitisingWindow);
    setRoomOverDigitiseWindow(roomForQuestion);
    linkToDigitiseQuestions();
}

MapWindow::~MapWindow() = default;

void MapWindow::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) lastUsed() = this;
    QMainWindow::changeEvent(e);
    // Minimized, the window would take a question kept above it out of sight, while its
    // tool window waits for the answer; shown again, it must not cover the question.
    if (e->type() == QEvent::WindowStateChange && isVisible()) keepDigitiseQuestionInSight();
}

// Users maximize the map window to digitise closely: an open question must not end up
// behind it. The window manager tells the new size and the new place apart.
void MapWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (isVisible()) keepDigitiseQuestionInSight();
}

void MapWindow::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    if (isVisible()) keepDigitiseQuestionInSight();
}

void MapWindow::setPrompt(Prompt* prompt) { prompt_ = prompt; }

Prompt& MapWindow::prompt() {
    if (prompt_) return *prompt_;
    if (!ownPrompt_) ownPrompt_ = std::make_unique<QtPrompt>();
    return *ownPrompt_;
}

void MapWindow::refresh() {
    std::vector<const surfer::Document*> now;
    for (const auto& d : app_->openDocuments()) now.push_back(d.get());
    if (now != listed_ || app_->currentReport() != listedReport_) rebuildDocumentList();
    // A plot a tool closed takes what the status line said of its list along.
    dropMessageAboutGone(statusBar());
    if (auto doc = canvas_->document(); doc && stack_->currentWidget() == canvas_) {
        if (doc->Shapes.revision() != shownRevision_) {
            shownRevision_ = doc->Shapes.revision();
            if (!canvas_->userView()) canvas_->zoomToFit();
            // A question kept above this window avoids the maps drawn: they have changed.
            if (isVisible()) keepDigitiseQuestionInSight();
        }
        canvas_->update();
    }
}

void MapWindow::rebuildDocumentList() {
    listed_.clear();
    cmbDocument_->clear();
    for (const auto& d : app_->openDocuments()) {
        listed_.push_back(d.get());
        const QString name = QString::fromStdString(d->Name);
        cmbDocument_->addItem(d->kind() == surfer::DocumentKind::Plot ? name : name + tr(" (worksheet)"));
    }
    listedReport_ = app_->currentReport();
    if (!listedReport_.empty()) cmbDocument_->addItem(tr(kReportItem));
    std::shared_ptr<surfer::Document> active;
    if (!app_->openDocuments().empty()) active = app_->ActiveDocument();
    for (int i = 0; i < static_cast<int>(listed_.size()); ++i)
        if (active && listed_[static_cast<std::size_t>(i)] == active.get()) cmbDocument_->setCurrentIndex(i);
    showDocument(active);
}

void MapWindow::documentChosen(int index) {
    if (index >= 0 && index < static_cast<int>(listed_.size())) {
        // The chosen document becomes the active one: the next maps land in it.
        const auto doc = app_->openDocuments()[static_cast<std::size_t>(index)];
        app_->activateDocument(doc.get());
        showDocument(doc);
    } else if (!listedReport_.empty()) {
        text_->setPlainText(QString::fromStdString(listedReport_));
        stack_->setCurrentWidget(text_);
    }
}

void MapWindow::showDocument(const std::shared_ptr<surfer::Document>& doc) {
    if (doc && doc->kind() == surfer::DocumentKind::Worksheet) {
        const auto& sheet = static_cast<const surfer::Worksheet&>(*doc);
        text_->setPlainText(QString::fromStdString(surfer::worksheetText(sheet.rows())));
        stack_->setCurrentWidget(text_);
        return;
    }
    if (!doc && !listedReport_.empty()) {
        text_->setPlainText(QString::fromStdString(listedReport_));
        stack_->setCurrentWidget(text_);
        return;
    }
    const auto plot = doc ? surfer::asPlot(doc) : nullptr;
    // The read-out of a map no longer shown would mislead.
    if (plot != canvas_->document()) resetPointerReadout();
    canvas_->setDocument(plot);
    selected_.reset();
    canvas_->setSelectedMap(nullptr);
    shownRevision_ = -1;
    stack_->setCurrentWidget(canvas_);
    syncPoints();
}

bool MapWindow::addMap(surfer::MapKind kind, const std::string& gridPath) {
    try {
        std::shared_ptr<surfer::PlotDocument> plot;
        if (!app_->openDocuments().empty() && app_->ActiveDocument()->kind() == surfer::DocumentKind::Plot)
            plot = surfer::asPlot(app_->ActiveDocument());
        // Read the grid before opening a document, so a bad file leaves no empty plot.
        if (!plot) {
            (void)trelvik::formats::readSurferGrid(gridPath);
            plot = surfer::asPlot(app_->Documents.Add(1));
        }
        const auto before = plot->Shapes.maps();
        auto frame = plot->Shapes.addMap(kind, gridPath, "Add" + kindText(kind).toStdString());
        // Every new frame starts on the same spot of the page; one added by hand goes
        // to the right of the maps already there, so it does not hide them.
        if (!before.empty()) {
            double right = before.front()->Left + before.front()->XLength;
            for (const auto& m : before) right = std::max(right, m->Left + m->XLength);
            frame->Left = right + kMapGap;
        }
    } catch (const trelvik::Error& e) {
        prompt().message(kDefaultTitle, e.what());
        return false;
    }
    refresh();
    canvas_->zoomToFit();
    return true;
}

void MapWindow::newPlotDocument() {
    app_->Documents.Add(1);
    refresh();
}

bool MapWindow::closeShownDocument() {
    const auto shown = canvas_->document();
    std::shared_ptr<surfer::Document> doc;
    if (stack_->currentWidget() == canvas_ && shown) {
        doc = shown;
    } else {
        const int i = cmbDocument_->currentIndex();
        if (i < 0 || i >= static_cast<int>(listed_.size())) return false;
        doc = app_->openDocuments()[static_cast<std::size_t>(i)];
    }
    const long lost = plotClosing(*doc);
    doc->Close();
    dropMessageAboutGone(statusBar(), doc);
    canvas_->setDocument(nullptr);
    resetPointerReadout();
    canvas_->dropCache();
    syncPoints();
    refresh();
    // Points the digitise question waits for went with the plot: say so where they were.
    if (lost > 0)
        showFitted(statusBar(),
                   lost == 1 ? tr("Closed %1: its unsaved point went with it.")
                             : tr("Closed %1: its %2 unsaved points went with it."),
                   {QString::fromStdString(doc->Name), QString::number(lost)}, 15000);
    return true;
}

bool MapWindow::selectMapAt(QPointF page) {
    std::shared_ptr<surfer::MapFrame> hit;
    if (const auto doc = canvas_->document())
        for (const auto& m : doc->Shapes.maps())  // the last drawn lies on top
            if (m->contains(page.x(), page.y())) hit = m;
    selected_ = hit;
    canvas_->setSelectedMap(hit);
    if (hit)
        showFitted(statusBar(), tr("Selected %1 - Delete takes it off the plot"),
                   {QString::fromStdString(std::filesystem::path(hit->gridPath()).filename().string())}, 5000,
                   canvas_->document());
    return hit != nullptr;
}

bool MapWindow::deleteSelectedMap() {
    const auto map = selected_.lock();
    const auto doc = canvas_->document();
    if (!map || !doc) return false;
    // The label the plotting tools write under a map names its grid file; it goes too.
    const std::string label = std::filesystem::path(map->gridPath()).filename().string();
    std::shared_ptr<surfer::Shape> labelShape;
    // The nearest text of that name whose anchor lies within an inch of the frame.
    double best = 1e300;
    const double cx = map->Left + map->XLength / 2, cy = map->Top - map->YLength / 2;
    for (const auto& s : doc->Shapes.all()) {
        if (s->kind() != surfer::ShapeKind::Text) continue;
        const auto& t = static_cast<const surfer::TextShape&>(*s);
        if (t.Text != label) continue;
        if (std::fabs(t.X - cx) > map->XLength / 2 + 1 || std::fabs(t.Y - cy) > map->YLength / 2 + 1) continue;
        const double d = std::hypot(t.X - cx, t.Y - cy);
        if (d < best) {
            best = d;
            labelShape = s;
        }
    }
    doc->Shapes.remove(map);
    if (labelShape) doc->Shapes.remove(labelShape);
    selected_.reset();
    canvas_->setSelectedMap(nullptr);
    canvas_->dropCache();
    refresh();
    return true;
}

QString MapWindow::addMapFolder() const {
    if (!lastMapFolder_.isEmpty()) return lastMapFolder_;
    return dataFolderSource() ? QString::fromStdString(dataFolderSource()()) : QString();
}

void MapWindow::chooseAndAddMap(int kind) {
    const QString path = QFileDialog::getOpenFileName(this, tr("Grid file for a %1").arg(kindText(surfer::MapKind(kind))),
                                                      addMapFolder(), tr("Grid files (*.grd);;All files (*)"));
    if (path.isEmpty()) return;
    lastMapFolder_ = QFileInfo(path).absolutePath();
    addMap(static_cast<surfer::MapKind>(kind), path.toStdString());
}

void MapWindow::pointerMoved(QPointF page) {
    auto doc = canvas_->document();
    if (!doc) return;
    if (auto map = surfer::flatMapAt(doc->Shapes, page.x(), page.y())) {
        double x = 0, y = 0;
        map->pageToMap(page.x(), page.y(), x, y);
        coords_->setText(tr("x = %1   y = %2   (%3)")
                             .arg(QString::fromStdString(trelvik::text::CStr(x)),
                                  QString::fromStdString(trelvik::text::CStr(y)),
                                  QString::fromStdString(std::filesystem::path(map->gridPath()).filename().string())));
    } else {
        coords_->setText(tr("page %1, %2 in").arg(page.x(), 0, 'f', 2).arg(page.y(), 0, 'f', 2));
    }
}

MapWindow* showMapWindow(const std::shared_ptr<surfer::Application>& app) {
    if (!app) return nullptr;
    auto& all = windows();
    MapWindow* w = all.value(app->processId());
    if (!w) {
        w = new MapWindow(app);
        all.insert(app->processId(), w);
        // Beside the tool window that wants it, so the user sees both: narrowed to the
        // room there, down to the least its panel and toolbar take, rather than opened
        // over the tool window the user works in.
        fitBeside(w, kDesignSize, askingWindow(), w->minimumSizeHint().width());
    }
    w->show();
    w->raise();
    w->activateWindow();
    lastUsed() = w;
    // A window that comes up while a digitise question is open must not cover it.
    placeDigitiseQuestion();
    return w;
}

// A question that asks for points is answered in the map window: one closed by hand
// comes back, with its documents and lists, rather than leave the user nowhere to click.
// The one used last holds the user's points, also when another is on show.
void MapWindow::bringBackDigitisingWindow() {
    MapWindow* w = lastUsed();
    if (!w && digitisingWindow()) return;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (!w) w = qobject_cast<MapWindow*>(t);
    if (!w || w->isVisible()) return;
    w->show();
    lastUsed() = w;
}

MapWindow* findMapWindow(long processId) { return windows().value(processId); }

void setDataFolderSource(std::function<std::string()> source) { dataFolderSource() = std::move(source); }

namespace {
// Changes whenever a plot document is opened or closed or a shape is added to one.
qlonglong plotStamp(const surfer::Application& app) {
    qlonglong stamp = 0;
    for (const auto& d : app.openDocuments())
        if (d->kind() == surfer::DocumentKind::Plot)
            stamp = stamp * 31 + static_cast<const surfer::PlotDocument&>(*d).Shapes.revision() + 1;
    return stamp;
}
} // namespace

void watchVisibleInstances() {
    static QPointer<QTimer> watcher;
    if (watcher) return;
    watcher = new QTimer(qApp);
    watcher->setInterval(300);
    QObject::connect(watcher, &QTimer::timeout, [] {
        // The plot content of each instance when last looked at.
        static QHash<long, qlonglong> seen;
        for (const auto& app : surfer::instances()) {
            const long id = app->processId();
            const qlonglong stamp = plotStamp(*app);
            // An instance made and drawn into between two ticks counts as drawn into.
            const bool drawnInto = seen.value(id, 0) != stamp;
            seen.insert(id, stamp);
            MapWindow* w = findMapWindow(id);
            const bool shownForVisible = w && w->property("shownForVisible").toBool();
            if (app->Visible && !shownForVisible) {
                // Visible has just turned true.
                w = showMapWindow(app);
                w->setProperty("shownForVisible", true);
            } else if (!app->Visible && shownForVisible) {
                w->hide();
                w->setProperty("shownForVisible", false);
            } else if (drawnInto && (!w || !w->isVisible())) {
                // A window closed by hand stays closed until a tool draws into its
                // instance again; an instance the tools never make visible (version 6)
                // shows its window the same way. Otherwise the maps a tool draws could
                // not be seen at all.
                showMapWindow(app);
            }
        }
    });
    watcher->start();
}

} // namespace trelvik::surferwin
