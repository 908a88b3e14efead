#pragma once
// The stand-in's own window, one per running instance: the instance's documents (plot
// documents drawn, worksheets and the report shown as text), maps added from grid
// files, and Digitise mode, in which clicks on flat maps become points in map
// coordinates that are listed, grouped by "-1" lines and saved as a digitise file.
// Each plot document keeps a list of its own, drawn at the points' map coordinates.
//
// Hooks for the rest of the program:
//   showMapWindow(app)        shows (building on first use, beside the tool window that
//                             asked and fitted to the screen) the window of that instance
//   setDataFolderSource(fn)   where the default data folder is read from
//   watchVisibleInstances()   from then on, an instance whose Visible turns true gets
//                             its window shown, and hidden again when it turns false;
//                             an instance whose plots gain a shape shows its window
//                             (again, if closed by hand), visible or not
//
// Messages (a grid that cannot be read, a failed save, the replace question) go
// through the window's Prompt: a real message box unless a test sets its own.
//
// While a tool's "Digitise map" question is open, the map windows alone (and the dialogs
// they open) take input besides it; the map window used last is the one it brings to
// the front (back, if closed by hand) and keeps clear of, and Save offers the file its
// step reads (the asked name in that step's folder, whichever map was clicked).
#include "core/prompt.h"
#include "surfer/application.h"
#include "surfer/digitiselist.h"
#include "surferwin/mapcanvas.h"

#include <QMainWindow>
#include <QPointF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace trelvik::surferwin {

class MapWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MapWindow(std::shared_ptr<surfer::Application> app, QWidget* parent = nullptr);
    ~MapWindow() override;

    surfer::Application& application() const { return *app_; }
    MapCanvas* canvas() const { return canvas_; }
    // The digitised points of the plot document on show: each plot document keeps a
    // list of its own.
    const surfer::DigitiseSession& digitised() const { return digitiseList().session(); }
    QListWidget* pointList() const { return list_; }
    QLabel* pointerLabel() const { return coords_; }
    QPushButton* digitiseButton() const { return cmdDigitise_; }
    QPushButton* clearButton() const { return cmdClear_; }

    // Messages and questions; nullptr restores the window's own message boxes.
    void setPrompt(Prompt* prompt);

    // Adds a map of a grid file to the active plot document (opening one when the
    // active document is not a plot), to the right of the maps already there. A grid
    // that cannot be read is reported and nothing is added. Returns whether a map was
    // added.
    bool addMap(surfer::MapKind kind, const std::string& gridPath);
    // File > New plot document: an empty plot that becomes the active document, so
    // the next maps (by hand or from the tools) land in it.
    void newPlotDocument();
    // File > Close document: closes the document on show; the previously active one
    // comes back. False when none is shown. A plot holding points meant for the open
    // digitise question takes them along, as a Clear of them, and the status line says
    // how many of them were not saved.
    bool closeShownDocument();
    // Selects the map whose frame holds the page point (nothing there: none).
    bool selectMapAt(QPointF page);
    std::shared_ptr<surfer::MapFrame> selectedMap() const { return selected_.lock(); }
    // Edit > Delete map (also the Delete key): takes the selected map, and the label
    // written for it, off its plot. False when nothing is selected.
    bool deleteSelectedMap();
    // Takes a click at a page point; false when no flat map is there. The list's rules
    // (a saved list and what follows it) are in surfer/digitiselist.h; the status line
    // says what each step did. Each point remembers the "Digitise map" question open
    // then: when another question opens, points clicked for an earlier one that ended
    // without saving them are set aside, and OK on a question whose clicked points are
    // not in its step's file asks first (widgets/digitiseokcheck.h).
    bool digitiseAt(QPointF page);
    void endGroup();
    void undoPoint();
    // Empties the list of digitised points, and the status line of what it said of them.
    void clearPoints();
    // Writes the digitised points to path, asking before it replaces a file. Returns
    // whether the file was written; a list without a point writes nothing. Save...
    // offers the file the open digitise question's step reads; with none open,
    // digit.dat in the folder of the grid last clicked on. Saved elsewhere while a
    // question is open, the status line names the file the step reads.
    bool saveDigitiseTo(const std::string& path);
    // Re-reads the instance's documents (the timer does this a few times a second).
    void refresh();
    // The folder the "Add map" file dialog opens in: the last one a map came from,
    // at first the default data folder.
    QString addMapFolder() const;

public slots:
    // Turning Digitise on after the list was saved starts a new list.
    void setDigitiseMode(bool on);

private slots:
    void chooseAndAddMap(int kind);
    void chooseAndSave();
    void documentChosen(int index);
    void pointerMoved(QPointF page);

protected:
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    void rebuildDocumentList();
    void showDocument(const std::shared_ptr<surfer::Document>& doc);
    void syncPoints();
    // True (and the status line says so) when the list holds no point to save.
    bool nothingToSave();
    Prompt& prompt();
    // The pointer read-out with no map under the pointer: the Digitise hint or nothing.
    void resetPointerReadout();
    // The questions reach the map windows' lists through these (set once).
    static void linkToDigitiseQuestions();
    // Shows again the map window the user digitises in (the one used last) when it was
    // closed by hand: each time a question shows.
    static void bringBackDigitisingWindow();
    void digitiseQuestionOpened(long serial);
    // The list of a plot being closed goes with it, but what was done to it during the
    // open question stays for OK to weigh, and its points meant for that question count
    // as cleared. Returns how many of those went unsaved.
    long plotClosing(const surfer::Document& doc);

    // One plot document's digitised points.
    struct DocumentPoints {
        std::weak_ptr<const surfer::Document> doc;
        surfer::DigitiseList list;
    };
    // The list of the document on show (made on first use); with none on show, an
    // empty list that takes no points.
    surfer::DigitiseList& digitiseList();
    const surfer::DigitiseList& digitiseList() const;

    std::shared_ptr<surfer::Application> app_;
    MapCanvas* canvas_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QComboBox* cmbDocument_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* coords_ = nullptr;
    QPushButton* cmdDigitise_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QTimer* timer_ = nullptr;
    std::vector<DocumentPoints> lists_;
    // The lists of plots closed during the open question.
    std::vector<surfer::DigitiseList> closedLists_;
    surfer::DigitiseList noDocument_;
    std::vector<const surfer::Document*> listed_;
    std::string listedReport_;
    long shownRevision_ = -1;
    QString lastMapFolder_;
    std::weak_ptr<surfer::MapFrame> selected_;
    std::unique_ptr<Prompt> ownPrompt_;
    Prompt* prompt_ = nullptr;
};

MapWindow* showMapWindow(const std::shared_ptr<surfer::Application>& app);
// The window of the instance with this process identifier, if one was built.
MapWindow* findMapWindow(long processId);
void watchVisibleInstances();
// Where the default data folder is read from when a window first offers to add a map.
void setDataFolderSource(std::function<std::string()> source);

} // namespace trelvik::surferwin
