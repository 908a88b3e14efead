#include "widgets/digitisequestion.h"

#include "core/samefile.h"
#include "widgets/fitscreen.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace trelvik {

namespace {
// The question open (nullptr for none). While it waits the tool windows and the main
// window are held off as under a modal box (widgets/inputblocker.h), so no second
// question opens beside it; the rest works as with none open: the question, the map
// windows with their menus, context menus and file boxes, popups made without a parent
// (a name completer's list, a menu) and tool tips.
const OpenDigitiseQuestion::State*& openQuestion() {
    static const OpenDigitiseQuestion::State* open = nullptr;
    return open;
}

QPointer<QWidget>& declaredAsker() {
    static QPointer<QWidget> w;
    return w;
}

std::function<void(long)>& questionOpenedHook() {
    static std::function<void(long)> hook;
    return hook;
}

std::function<QWidget*()>& digitiseWindowSource() {
    static std::function<QWidget*()> source;
    return source;
}

std::function<bool(const QWidget*)>& digitiseWindowTest() {
    static std::function<bool(const QWidget*)> test;
    return test;
}

std::function<void()>& bringBackSource() {
    static std::function<void()> bringBack;
    return bringBack;
}

std::function<RoomOverWindow(const QWidget*)>& roomOverSource() {
    static std::function<RoomOverWindow(const QWidget*)> source;
    return source;
}

// The map window the user digitises in, on show or minimized.
QWidget* shownDigitiseWindow() {
    QWidget* w = digitiseWindowSource() ? digitiseWindowSource()() : nullptr;
    return w && w->isVisible() ? w : nullptr;
}

// A minimized map window hides nothing: a question above it would go down with it.
QWidget* digitiseWindow() {
    QWidget* w = shownDigitiseWindow();
    return w && !w->isMinimized() ? w : nullptr;
}

// The tool window a question is asked for: the one its prompt names, else the active
// window, else the largest on show (never the question, a dialog or the map window).
QWidget* askerOf(const QWidget* box) {
    if (declaredAsker()) return declaredAsker();
    const QWidget* map = digitiseWindow();
    return toolWindowOnShow([&](const QWidget* w) { return w == box || w == map; });
}

// A deep folder in about `room`: it gives way from its start in whole folder names, and
// its own name and its parent's, which tell where to save, stay whole. Names too long for
// the room together go on two lines, the break after the parent's name: cut, either could
// be taken for another folder's, and on one line they would widen the question past its
// place (or have the box break them anywhere).
QString shortenedFolder(const QFontMetrics& fm, const QString& folder, int room) {
    const QStringList parts = folder.split(QLatin1Char('/'));
    const QString dots = QStringLiteral("\u2026/");
    qsizetype kept = std::min<qsizetype>(2, parts.size());
    QString tail = QStringList(parts.mid(parts.size() - kept)).join(QLatin1Char('/'));
    if (fm.horizontalAdvance(dots + tail) > room) {
        if (kept < 2) return folder;
        // Only the root before them is no folder given way: it stays as it is.
        const bool fromRoot = parts.size() == 3 && parts[0].isEmpty();
        const QString head = parts.size() == 2 ? QString() : fromRoot ? QStringLiteral("/") : dots;
        return head + parts[parts.size() - 2] + QStringLiteral("/\n") + parts.back();
    }
    while (kept < parts.size()) {
        const QString longer = parts[parts.size() - kept - 1] + QLatin1Char('/') + tail;
        if (fm.horizontalAdvance(dots + longer) > room) break;
        tail = longer;
        ++kept;
    }
    return kept == parts.size() ? folder : dots + tail;
}

long long overlap(const QRect& a, const QRect& b) {
    const QRect i = a.intersected(b);
    return i.isEmpty() ? 0 : static_cast<long long>(i.width()) * i.height();
}
} // namespace

void setDigitiseQuestionText(QMessageBox& box, const std::string& text, const std::string& readPath) {
    QString shown = QString::fromStdString(text);
    const QString folder = QString::fromStdString(std::filesystem::path(readPath).parent_path().string());
    const QFontMetrics fm(box.font());
    const int room = fm.averageCharWidth() * kQuestionFolderChars;
    const QString in = QStringLiteral(" in ");
    const qsizetype at = folder.isEmpty() ? -1 : shown.lastIndexOf(in + folder + QLatin1Char(' '));
    if (at >= 0 && fm.horizontalAdvance(folder) > room) {
        shown.replace(at + in.size(), folder.size(), shortenedFolder(fm, folder, room));
        box.setToolTip(folder);
    }
    box.setText(shown);
}

AskingWindow::AskingWindow(QWidget* window) : previous_(declaredAsker()) { declaredAsker() = window; }

AskingWindow::~AskingWindow() { declaredAsker() = previous_; }

namespace {
// Where the open question goes: its frame on the screen, and the map window it avoids
// (nullptr with none on show). Before the box shows, its size hint stands for its size.
struct Placement {
    QRect at;
    QWidget* map = nullptr;
    bool covers() const { return map && at.intersects(map->frameGeometry()); }
};

std::optional<Placement> placementOf(const OpenDigitiseQuestion::State& open) {
    QWidget* box = open.box.data();
    QScreen* screen = open.asker ? open.asker->screen() : box->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    // Until the window manager has framed the box, its frame is only its inside: the
    // asker's frame, else the usual allowance, stands in.
    const QSize inside = box->isVisible() ? box->size() : box->sizeHint();
    QSize size = box->frameGeometry().size();
    if (!box->isVisible() || size == box->size()) {
        const QWidget* framed = open.asker ? open.asker.data() : box;
        const QSize frame = framed->frameGeometry().size() - framed->size();
        size = inside + (frame.isEmpty() ? kWindowFrameAllowance : frame);
    }
    Placement p;
    p.map = digitiseWindow();
    p.at = placeQuestion(screen->availableGeometry(), open.asker ? open.asker->frameGeometry() : QRect(),
                         p.map ? p.map->frameGeometry() : QRect(), size);
    // Above the map window, its menus, toolbar and panel stay usable and, where the room
    // allows, the maps the user digitises on stay in sight; nearest the spot beside the
    // asker, where the user looked last.
    if (p.covers() && roomOverSource()) {
        RoomOverWindow room = roomOverSource()(p.map);
        room.area &= screen->availableGeometry();
        if (room.area.width() >= p.at.width() && room.area.height() >= p.at.height())
            p.at = placeQuestionOver(room, p.at.size(), p.at.topLeft());
    }
    return p;
}

// Runs a call once a window is on the screen: the window manager maps a window in its
// own time (and, should it never map it, the call runs after a while all the same). One
// call waits at a time; a later one takes its place.
class OnceOnScreen : public QObject {
public:
    void watch(QWindow* window, std::function<void()> then) {
        if (watched_) watched_->removeEventFilter(this);
        watched_ = window;
        then_ = std::move(then);
        window->installEventFilter(this);
        QTimer::singleShot(2000, this, [this, wait = ++waits_] {
            if (wait == waits_) done();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Expose && watched == watched_ && watched_->isExposed()) done();
        return false;
    }

private:
    void done() {
        ++waits_;
        if (watched_) watched_->removeEventFilter(this);
        watched_ = nullptr;
        if (then_) QMetaObject::invokeMethod(this, std::exchange(then_, {}), Qt::QueuedConnection);
    }
    QPointer<QWindow> watched_;
    std::function<void()> then_;
    long waits_ = 0;
};

// Whether the window manager has yet to map a window shown (not one minimized).
bool notYetOnScreen(const QWidget* w) {
    return w->isVisible() && !w->isMinimized() && w->windowHandle() && !w->windowHandle()->isExposed();
}

// The question belongs to the tool window that asks: kept above that window by the
// window manager, but not above the map window and its dialogs. With no room clear of
// the map window (one that fills the screen) it would go behind the map window at the
// user's first click there: it then belongs to the map window, which the window manager
// keeps it above, as it keeps the map window's own dialogs, opened later, above both.
void belongTo(const OpenDigitiseQuestion::State& open, const Placement& p) {
    QWidget* owner = p.covers() ? p.map : open.asker.data();
    QWidget* box = open.box.data();
    if (!owner || !owner->windowHandle()) return;
    box->winId();
    QWindow* handle = box->windowHandle();
    if (handle->transientParent() == owner->windowHandle()) return;
    // The window manager learns whom a window belongs to when the window is mapped: a
    // question on show is shown again, at its place (not where the window manager puts
    // a new window that belongs to another).
    const bool shown = box->isVisible();
    if (shown) box->hide();
    handle->setTransientParent(owner->windowHandle());
    if (shown) {
        handle->setFramePosition(p.at.topLeft());
        // Taken down with a minimized map window it belonged to: shown as a window again.
        box->setWindowState(box->windowState() & ~Qt::WindowMinimized);
        box->show();
    }
}

// The map window the user digitises in is minimized (the window manager takes it down,
// and what it keeps above it, in its own time).
bool mapGoingDown() {
    const QWidget* w = shownDigitiseWindow();
    return w && w->isMinimized();
}

// The window manager takes a map window down in its own time, the windows kept above it
// with it: the question goes back to its tool window once it has gone down too. Sooner,
// the window manager, still taking down what belongs to the map window, would take the
// tool window down with it.
class BackWhenTakenDown : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::WindowStateChange && static_cast<QWidget*>(watched)->isMinimized() &&
            mapGoingDown())
            QMetaObject::invokeMethod(watched, [] { keepDigitiseQuestionInSight(); }, Qt::QueuedConnection);
        return false;
    }
};

// Where the question was put last. The window manager tells the question's new place
// only later: a map window that settles meanwhile (restored: first the new size, then the
// new place) must not be taken to be clear of it.
QRect& putAt() {
    static QRect at;
    return at;
}

// Gives the question to the window it now belongs with and moves it to its place.
void putQuestion(const OpenDigitiseQuestion::State& open, const Placement& p) {
    belongTo(open, p);
    static BackWhenTakenDown backWhenTakenDown;
    open.box->installEventFilter(&backWhenTakenDown);
    putAt() = p.at;
    // The frame's corner, also before the window manager has told its frame's size.
    open.box->windowHandle()->setFramePosition(p.at.topLeft());
}

long nextSerial() {
    static long last = 0;
    return ++last;
}

// Asked of the window system outright: while the question, a window the tool window
// owns, has the focus, Qt counts the tool window active and activateWindow() asks nothing.
void requestFocus(QWidget* asker) {
    if (!asker || !asker->isVisible() || asker->isMinimized()) return;
    asker->raise();
    if (QWindow* w = asker->windowHandle()) w->requestActivate();
}

// The window manager settles the focus once the question has gone in its own time. When
// it handles the question's going (or that of the map window's Save box just before)
// after the request to activate the window that asked, it falls back to the window used
// before, the map window the user saved in, and keeps the focus there: the request is
// lost. So for a short while after the answer, until the user clicks or types anywhere,
// a map window found with the focus hands it back to the window that asked.
class FocusBackToAsker : public QObject {
public:
    void watch(QWidget* asker) {
        asker_ = asker;
        const long serial = ++serial_;
        if (!watching_) {
            watching_ = true;
            qApp->installEventFilter(this);
            connect(qApp, &QGuiApplication::focusWindowChanged, this, &FocusBackToAsker::check);
        }
        // Counted from when the event loop runs again: the step the answer lets go on
        // runs first, and the window manager's doings reach the program only after it.
        QTimer::singleShot(0, this, [this, serial] {
            for (const int ms : {100, 400, 1000})
                QTimer::singleShot(ms, this, [this, serial] {
                    if (serial == serial_) check();
                });
            QTimer::singleShot(kWatchMs, this, [this, serial] {
                if (serial == serial_) stop();
            });
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if ((e->type() == QEvent::MouseButtonPress || e->type() == QEvent::KeyPress) && e->spontaneous()) stop();
        return false;
    }

private:
    static constexpr int kWatchMs = 2000;
    void check() {
        const QWidget* active = QApplication::activeWindow();
        // A question shown again is answered in the map window.
        if (!asker_ || !active || active == asker_ || !isDigitiseWindow(active) || openQuestion()) return;
        requestFocus(asker_);
    }
    void stop() {
        if (!watching_) return;
        watching_ = false;
        ++serial_;
        qApp->removeEventFilter(this);
        disconnect(qApp, &QGuiApplication::focusWindowChanged, this, &FocusBackToAsker::check);
    }
    QPointer<QWidget> asker_;
    bool watching_ = false;
    long serial_ = 0;
};

void focusWindowThatAsked(QWidget* asker) {
    if (!asker || !asker->isVisible() || asker->isMinimized()) return;
    requestFocus(asker);
    if (isDigitiseWindow(asker)) return;
    static FocusBackToAsker focusBack;
    focusBack.watch(asker);
}
} // namespace

OpenDigitiseQuestion::OpenDigitiseQuestion(QWidget* box, const std::string& readPath)
    : state_{box, askerOf(box), readPath.empty() ? std::string() : normalPath(readPath),
             readPath.empty() ? 0 : nextSerial()} {
    openQuestion() = &state_;
    // A box of that title that asks for no file (a refusal of the digitised points) is
    // no step's question: points clicked meanwhile belong to no question.
    if (questionOpenedHook() && state_.serial != 0) questionOpenedHook()(state_.serial);
    if (const auto p = placementOf(state_)) belongTo(state_, *p);
}

OpenDigitiseQuestion::~OpenDigitiseQuestion() {
    if (openQuestion() == &state_) openQuestion() = nullptr;
    // The tool window that asked tells the step's result in its status line: it comes to
    // the front, not the map window the question brought forward.
    focusWindowThatAsked(state_.asker);
}

void focusAskingWindow() {
    // With no tool window named as the asker, another map window may stand in for one:
    // focused, it would count as the map window used last, the one "Back" brings back.
    if (openQuestion() && !isDigitiseWindow(openQuestion()->asker)) focusWindowThatAsked(openQuestion()->asker);
}

std::string askedDigitisePath() { return openQuestion() ? openQuestion()->path : std::string(); }

bool savesWhereAsked(const std::string& path) {
    const std::string asked = askedDigitisePath();
    return asked.empty() || sameFile(path, asked);
}

long openDigitiseQuestionSerial() { return openQuestion() ? openQuestion()->serial : 0; }

void setDigitiseQuestionOpenedHook(std::function<void(long)> hook) { questionOpenedHook() = std::move(hook); }

void setDigitiseWindowSource(std::function<QWidget*()> source) { digitiseWindowSource() = std::move(source); }

void setDigitiseWindowTest(std::function<bool(const QWidget*)> test) { digitiseWindowTest() = std::move(test); }

bool isDigitiseWindow(const QWidget* window) { return digitiseWindowTest() && digitiseWindowTest()(window); }

void setBringBackDigitiseWindow(std::function<void()> bringBack) { bringBackSource() = std::move(bringBack); }

void bringBackDigitiseWindow() {
    if (bringBackSource()) bringBackSource()();
}

void showDigitiseQuestion() {
    const OpenDigitiseQuestion::State* open = openQuestion();
    if (!open || !open->box) return;
    const auto show = [box = open->box] {
        if (!box || box->isVisible() || !openQuestion()) return;
        // Mapped where it goes: moved after, the window manager may leave it where it put it.
        if (const auto p = placementOf(*openQuestion())) box->move(p->at.topLeft());
        box->show();
        placeDigitiseQuestion();
    };
    bringBackDigitiseWindow();
    // Shown together, the question would be mapped before the map window it belongs to
    // and not kept above it.
    if (QWidget* map = shownDigitiseWindow(); map && notYetOnScreen(map)) {
        static OnceOnScreen whenBack;
        return whenBack.watch(map->windowHandle(), show);
    }
    show();
}

void placeDigitiseQuestion() {
    const OpenDigitiseQuestion::State* open = openQuestion();
    QWidget* box = open ? open->box.data() : nullptr;
    if (!box || !box->isVisible()) return;
    const auto p = placementOf(*open);
    if (!p) return;
    putQuestion(*open, *p);
    if (!p->map) return;
    p->map->raise();
    p->map->activateWindow();
    if (p->covers()) box->raise();
}

void keepDigitiseQuestionInSight() {
    const OpenDigitiseQuestion::State* open = openQuestion();
    QWidget* box = open ? open->box.data() : nullptr;
    if (!box || !box->isVisible() || !box->windowHandle()) return;
    const auto p = placementOf(*open);
    if (!p) return;
    // Kept above the map window: it must not stay there (nor go down with a minimized
    // one) once a place beside its tool window is clear, and it follows the room the
    // map window offers while none is.
    const QWindow* owner = box->windowHandle()->transientParent();
    if (owner && open->asker && owner != open->asker->windowHandle()) {
        if (mapGoingDown() && !box->isMinimized()) return;
        if (!p->covers() || box->frameGeometry().topLeft() != p->at.topLeft()) putQuestion(*open, *p);
        return;
    }
    const QRect map = p->map ? p->map->frameGeometry() : QRect();
    if (p->map && (box->frameGeometry().intersects(map) || putAt().intersects(map))) placeDigitiseQuestion();
}

void setRoomOverDigitiseWindow(std::function<RoomOverWindow(const QWidget*)> source) {
    roomOverSource() = std::move(source);
}

QRect placeQuestion(QRect avail, QRect asker, QRect avoid, QSize size) {
    size = size.boundedTo(avail.size());
    const int w = size.width(), h = size.height();
    std::vector<QPoint> spots;
    if (!asker.isEmpty()) {
        spots = {{asker.left(), asker.bottom() + 1},     {asker.right() + 1, asker.top()},
                 {asker.left(), asker.top() - h},        {asker.left() - w, asker.top()},
                 {asker.right() + 1 - w, asker.bottom() + 1}, {asker.right() + 1, asker.bottom() + 1 - h}};
    } else {
        spots = {avail.center() - QPoint(w / 2, h / 2)};
    }
    const int right = avail.right() + 1 - w, bottom = avail.bottom() + 1 - h;
    for (const QPoint corner : {avail.topLeft(), QPoint(right, avail.top()), QPoint(avail.left(), bottom),
                                QPoint(right, bottom)})
        spots.push_back(corner);
    QRect best;
    long long bestAvoid = -1, bestAsker = -1;
    for (QPoint p : spots) {
        p.setX(std::clamp(p.x(), avail.left(), right));
        p.setY(std::clamp(p.y(), avail.top(), bottom));
        const QRect r(p, size);
        const long long a = overlap(r, avoid), b = overlap(r, asker);
        if (bestAvoid < 0 || a < bestAvoid || (a == bestAvoid && b < bestAsker)) {
            best = r;
            bestAvoid = a;
            bestAsker = b;
        }
    }
    return best;
}

QRect placeQuestionOver(const RoomOverWindow& room, QSize size, QPoint near) {
    const QRect& a = room.area;
    size = size.boundedTo(a.size());
    const int xs[] = {a.left(), a.left() + (a.width() - size.width()) / 2, a.right() + 1 - size.width()};
    const int ys[] = {a.top(), a.top() + (a.height() - size.height()) / 2, a.bottom() + 1 - size.height()};
    QRect best;
    long long bestCover = -1, bestDistance = 0;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (i == 1 && j == 1) continue;  // the middle, where the maps are drawn
            const QRect r(QPoint(xs[i], ys[j]), size);
            long long cover = 0;
            for (const QRect& k : room.keepInSight) cover += overlap(r, k);
            const QPoint d = r.topLeft() - near;
            const long long distance =
                static_cast<long long>(d.x()) * d.x() + static_cast<long long>(d.y()) * d.y();
            if (bestCover < 0 || cover < bestCover || (cover == bestCover && distance < bestDistance)) {
                best = r;
                bestCover = cover;
                bestDistance = distance;
            }
        }
    }
    return best;
}

} // namespace trelvik
