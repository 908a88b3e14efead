// The map window's Digitise panel: the mode, the list of the plot document on show, End
// group, Undo, Clear and Save, and what each "Digitise map" question does to the lists
// as it opens and asks of them on OK. The rules of one list are in surfer/digitiselist.h.
#include "core/error.h"
#include "core/fileroutines.h"
#include "surferwin/mapwindow.h"
#include "surferwin/statusline.h"
#include "widgets/digitiseokcheck.h"
#include "widgets/digitisequestion.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>
#include <filesystem>

namespace trelvik::surferwin {

namespace {
QString fileText(const std::string& path) { return QString::fromStdString(path); }

QString pointsText(long n) {
    return n == 1 ? QObject::tr("1 point") : QObject::tr("%1 points").arg(n);
}

std::vector<MapWindow*> allMapWindows() {
    std::vector<MapWindow*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<MapWindow*>(w)) out.push_back(m);
    return out;
}
} // namespace

void MapWindow::linkToDigitiseQuestions() {
    setDigitiseQuestionOpenedHook([](long serial) {
        for (MapWindow* w : allMapWindows()) w->digitiseQuestionOpened(serial);
    });
    setPointsOnOkSource([](long serial, const std::function<bool(const std::string&)>& isAskedFile) {
        std::vector<const surfer::DigitiseList*> lists;
        std::vector<std::string> plots;
        for (MapWindow* w : allMapWindows()) {
            for (const auto& l : w->lists_)
                if (const auto doc = l.doc.lock()) {
                    lists.push_back(&l.list);
                    plots.push_back(doc->Name);
                }
            for (const auto& l : w->closedLists_) {
                lists.push_back(&l);
                plots.emplace_back();
            }
        }
        return surfer::findOnOk(lists, serial, isAskedFile, plots);
    });
}

long MapWindow::plotClosing(const surfer::Document& doc) {
    const long serial = openDigitiseQuestionSerial();
    const auto it = std::find_if(lists_.begin(), lists_.end(),
                                 [&](const DocumentPoints& l) { return l.doc.lock().get() == &doc; });
    if (serial == 0 || it == lists_.end()) return 0;
    // What was done to the list during the question still counts: its saves, its changes.
    const auto done = it->list.activityIn(serial);
    const bool meant = it->list.pointsMeantFor(serial) > 0;
    if (!meant && !done.touched && done.saves.empty()) return 0;
    const long unsaved = meant && it->list.savedTo().empty() ? it->list.session().pointCount() : 0;
    if (meant) it->list.clear(serial, true);
    closedLists_.push_back(std::move(it->list));
    lists_.erase(it);
    return unsaved;
}

void MapWindow::digitiseQuestionOpened(long serial) {
    // What plots closed during an earlier question took along no longer counts.
    closedLists_.clear();
    long setAside = 0, held = 0, kept = 0;
    for (auto& l : lists_) {
        const auto opening = l.list.questionOpened(serial);
        // The lists of closed plot documents are out of the user's reach.
        if (l.doc.expired()) continue;
        setAside += opening.setAside;
        held += opening.setAsideHeld;
        kept += opening.kept;
    }
    syncPoints();
    if (setAside > 0 || held > 0) {
        const QString whose =
            held == 0 ? tr("%1 clicked for an earlier question that ended unsaved").arg(pointsText(setAside))
            : setAside == 0
                ? tr("%1 held from before an earlier question that ended unsaved").arg(pointsText(held))
                : tr("%1 clicked for an earlier question that ended unsaved and %2 held from before it")
                      .arg(pointsText(setAside), pointsText(held));
        const QString rest = kept == 0 ? tr(": the list starts afresh.")
                                       : tr("; the list keeps the other %1.").arg(pointsText(kept));
        showFitted(statusBar(), tr("Set aside ") + whose + rest, {}, 15000);
    } else if (kept > 0) {
        showFitted(statusBar(),
                   tr("The list already holds %1 clicked before this question: saved with the new ones "
                      "(Clear starts afresh).")
                       .arg(pointsText(kept)),
                   {}, 15000);
    }
}

void MapWindow::setDigitiseMode(bool on) {
    if (on && !canvas_->digitiseMode() && digitiseList().startAfreshIfSaved()) syncPoints();
    canvas_->setDigitiseMode(on);
    if (cmdDigitise_->isChecked() != on) cmdDigitise_->setChecked(on);
    cmdDigitise_->setText(on ? tr("Digitise: ON") : tr("Digitise: off"));
    resetPointerReadout();
}

void MapWindow::resetPointerReadout() {
    coords_->setText(canvas_->digitiseMode() ? tr("Digitise: click on a map to add a point") : QString());
}

surfer::DigitiseList& MapWindow::digitiseList() {
    const auto doc = canvas_->document();
    if (!doc) {
        noDocument_ = {};
        return noDocument_;
    }
    // Lists of closed documents go: a new document may reuse the address.
    std::erase_if(lists_, [](const DocumentPoints& l) { return l.doc.expired(); });
    for (auto& l : lists_)
        if (l.doc.lock() == doc) return l.list;
    lists_.push_back({doc, {}});
    return lists_.back().list;
}

const surfer::DigitiseList& MapWindow::digitiseList() const {
    static const surfer::DigitiseList none;
    const auto doc = canvas_->document();
    for (const auto& l : lists_)
        if (doc && l.doc.lock() == doc) return l.list;
    return none;
}

bool MapWindow::digitiseAt(QPointF page) {
    auto doc = canvas_->document();
    surfer::DigitiseList& l = digitiseList();
    const QString savedTo = fileText(l.savedTo());
    const auto step = doc ? l.click(doc->Shapes, page.x(), page.y(), openDigitiseQuestionSerial())
                          : surfer::DigitiseList::Step::Nothing;
    if (step == surfer::DigitiseList::Step::Nothing) {
        showFitted(statusBar(), tr("Not on a flat map: no point added"), {}, 3000);
        return false;
    }
    syncPoints();
    if (step == surfer::DigitiseList::Step::AddedToNewList)
        showFitted(statusBar(), tr("New list started; the saved one is in %1"), {savedTo}, 8000, doc);
    return true;
}

void MapWindow::endGroup() {
    surfer::DigitiseList& l = digitiseList();
    const auto step = l.endGroup(openDigitiseQuestionSerial());
    if (step == surfer::DigitiseList::Step::RefusedSaved)
        showFitted(statusBar(),
                   tr("End group adds nothing: the list is saved in %1. The next click starts a new list."),
                   {fileText(l.savedTo())}, 8000, canvas_->document());
    else if (step == surfer::DigitiseList::Step::RefusedNoPoint)
        showFitted(statusBar(),
                   tr("End group adds nothing here: a group ends after its points, and there is no point since "
                      "the start of the list or the last -1."),
                   {}, 8000, canvas_->document());
    syncPoints();
}

void MapWindow::undoPoint() {
    if (digitiseList().undo(openDigitiseQuestionSerial()) == surfer::DigitiseList::Step::TookBackFromSaved)
        showFitted(statusBar(),
                   tr("Took back the last entry of the saved list. The list goes on with the next click: save it "
                      "again when it is done."),
                   {}, 8000, canvas_->document());
    syncPoints();
}

void MapWindow::clearPoints() {
    digitiseList().clear(openDigitiseQuestionSerial());
    // What the status line said about the list no longer holds.
    statusBar()->clearMessage();
    syncPoints();
}

void MapWindow::syncPoints() {
    const surfer::DigitiseList& l = digitiseList();
    list_->clear();
    for (const auto& line : l.session().lines()) list_->addItem(QString::fromStdString(line));
    list_->scrollToBottom();
    std::vector<std::optional<MapCanvas::Mark>> marks;
    const auto& entries = l.session().entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].groupEnd) marks.emplace_back();
        else marks.push_back(MapCanvas::Mark{l.frames()[i], entries[i].x, entries[i].y});
    }
    canvas_->setMarks(std::move(marks));
}

bool MapWindow::nothingToSave() {
    if (digitiseList().hasPoints()) return false;
    const QString why = canvas_->document() ? tr("the list holds no points") : tr("no plot document is shown");
    showFitted(statusBar(), tr("Nothing to save: %1. No file was written.").arg(why), {}, 8000, canvas_->document());
    return true;
}

bool MapWindow::saveDigitiseTo(const std::string& path) {
    if (nothingToSave()) return false;
    if (trelvik::FileExists(path) &&
        prompt().message(kDefaultTitle, path + " already exists. Replace it?", Buttons::YesNo) != Answer::Yes)
        return false;
    try {
        digitiseList().save(path, openDigitiseQuestionSerial());
    } catch (const trelvik::Error& e) {
        prompt().message(kDefaultTitle, e.what());
        return false;
    }
    // A list saved anywhere but where the asking step looks would leave the step to read
    // an older file: that comes first, the file the step reads whole.
    if (!savesWhereAsked(path))
        showFitted(statusBar(),
                   tr("The step reads %1, not this file: save the list there. Saved %2."),
                   {fileText(askedDigitisePath()), fileText(path)}, 15000, canvas_->document());
    else
        showFitted(statusBar(), tr("Saved %1. The next click starts a new list."), {fileText(path)}, 8000,
                   canvas_->document());
    return true;
}

void MapWindow::chooseAndSave() {
    if (nothingToSave()) return;
    // While a question is open, the file its step reads: the map on top may be of a grid
    // in another folder, and the name matters too, since a tool reads an earlier step's
    // file as digit.dat, which the default name would replace.
    std::string start = askedDigitisePath();
    const auto doc = canvas_->document();
    if (doc && start.empty()) start = digitiseList().defaultPath(doc->Shapes, "digit.dat");
    if (start.empty()) start = (std::filesystem::current_path() / "digit.dat").string();
    // We ask about replacing ourselves, through the same prompt as every message.
    const QString path = QFileDialog::getSaveFileName(this, tr("Save digitise file"), QString::fromStdString(start),
                                                      tr("Digitise files (*.dat);;All files (*)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty()) saveDigitiseTo(path.toStdString());
}

} // namespace trelvik::surferwin
