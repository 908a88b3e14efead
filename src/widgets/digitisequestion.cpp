#include "widgets/digitisequestion.h"

#include "core/prompt.h"
#include "widgets/fitscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace trelvik {

namespace {
const OpenDigitiseQuestion::State*& openQuestion() {
    static const OpenDigitiseQuestion::State* open = nullptr;
    return open;
}

QPointer<QWidget>& declaredAsker() {
    static QPointer<QWidget> w;
    return w;
}

std::function<QWidget*()>& digitiseWindowSource() {
    static std::function<QWidget*()> source;
    return source;
}

QWidget* digitiseWindow() {
    QWidget* w = digitiseWindowSource() ? digitiseWindowSource()() : nullptr;
    return w && w->isVisible() ? w : nullptr;
}

// The tool window a question is asked for: the one its prompt names, else the active
// window, else the largest on show (never the question, a dialog or the map window).
QWidget* askerOf(const QWidget* box) {
    if (declaredAsker()) return declaredAsker();
    const QWidget* map = digitiseWindow();
    return toolWindowOnShow([&](const QWidget* w) { return w == box || w == map; });
}

long long overlap(const QRect& a, const QRect& b) {
    const QRect i = a.intersected(b);
    return i.isEmpty() ? 0 : static_cast<long long>(i.width()) * i.height();
}
} // namespace

std::string digitiseFileAskedIn(const std::string& text) {
    const auto from = text.rfind(kDigitiseSaveAs);
    if (from == std::string::npos) return {};
    const auto start = from + kDigitiseSaveAs.size();
    const auto to = text.find(kDigitiseSaveWhere, start);
    if (to == std::string::npos) return {};
    return std::filesystem::path(text.substr(start, to - start)).filename().string();
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
    return p;
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
        box->show();
    }
}
} // namespace

OpenDigitiseQuestion::OpenDigitiseQuestion(QWidget* box, const std::string& text, const std::string& readPath)
    : state_{box, askerOf(box), digitiseFileAskedIn(text),
             readPath.empty() ? std::string() : std::filesystem::absolute(readPath).lexically_normal().string()},
      previous_(openQuestion()) {
    openQuestion() = &state_;
    if (const auto p = placementOf(state_)) belongTo(state_, *p);
}

OpenDigitiseQuestion::~OpenDigitiseQuestion() { openQuestion() = previous_; }

std::string askedDigitiseFile() { return openQuestion() ? openQuestion()->file : std::string(); }

std::string askedDigitisePath() { return openQuestion() ? openQuestion()->path : std::string(); }

void setDigitiseWindowSource(std::function<QWidget*()> source) { digitiseWindowSource() = std::move(source); }

void placeDigitiseQuestion() {
    const OpenDigitiseQuestion::State* open = openQuestion();
    QWidget* box = open ? open->box.data() : nullptr;
    if (!box || !box->isVisible()) return;
    const auto p = placementOf(*open);
    if (!p) return;
    belongTo(*open, *p);
    // The frame's corner, also before the window manager has told its frame's size.
    box->windowHandle()->setFramePosition(p->at.topLeft());
    if (!p->map) return;
    p->map->raise();
    p->map->activateWindow();
    if (p->covers()) box->raise();
}

void keepDigitiseQuestionInSight() {
    const OpenDigitiseQuestion::State* open = openQuestion();
    QWidget* box = open ? open->box.data() : nullptr;
    QWidget* map = digitiseWindow();
    if (!box || !box->isVisible() || !map || !box->windowHandle() || !map->windowHandle()) return;
    if (box->windowHandle()->transientParent() == map->windowHandle()) return;
    if (box->frameGeometry().intersects(map->frameGeometry())) placeDigitiseQuestion();
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

} // namespace trelvik
