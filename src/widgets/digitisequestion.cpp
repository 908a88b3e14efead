#include "widgets/digitisequestion.h"

#include "core/prompt.h"
#include "widgets/fitscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <filesystem>
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

OpenDigitiseQuestion::OpenDigitiseQuestion(QWidget* box, const std::string& text)
    : state_{box, askerOf(box), digitiseFileAskedIn(text)}, previous_(openQuestion()) {
    openQuestion() = &state_;
    // It belongs to the tool window that asks: kept above that window by the window
    // manager, but not above the map window and its dialogs.
    if (QWidget* asker = state_.asker; asker && asker->windowHandle()) {
        box->winId();
        box->windowHandle()->setTransientParent(asker->windowHandle());
    }
}

OpenDigitiseQuestion::~OpenDigitiseQuestion() { openQuestion() = previous_; }

std::string askedDigitiseFile() { return openQuestion() ? openQuestion()->file : std::string(); }

void setDigitiseWindowSource(std::function<QWidget*()> source) { digitiseWindowSource() = std::move(source); }

void placeDigitiseQuestion() {
    const OpenDigitiseQuestion::State* open = openQuestion();
    QWidget* box = open ? open->box.data() : nullptr;
    if (!box || !box->isVisible()) return;
    QWidget* map = digitiseWindow();
    QScreen* screen = open->asker ? open->asker->screen() : box->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // Until the window manager has framed the box, its frame is only its inside: the
    // asker's frame, else the usual allowance, stands in.
    QSize size = box->frameGeometry().size();
    if (size == box->size()) {
        const QWidget* framed = open->asker ? open->asker.data() : box;
        const QSize frame = framed->frameGeometry().size() - framed->size();
        size += frame.isEmpty() ? kWindowFrameAllowance : frame;
    }
    const QRect at = placeQuestion(screen->availableGeometry(), open->asker ? open->asker->frameGeometry() : QRect(),
                                   map ? map->frameGeometry() : QRect(), size);
    // The frame's corner, also before the window manager has told its frame's size.
    box->windowHandle()->setFramePosition(at.topLeft());
    if (map) {
        map->raise();
        map->activateWindow();
    }
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
