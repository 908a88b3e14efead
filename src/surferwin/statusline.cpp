#include "surferwin/statusline.h"

#include <QFontMetrics>
#include <QSizeGrip>
#include <QStatusBar>
#include <QVariant>
#include <algorithm>

namespace trelvik::surferwin {

namespace {
// The status line's property holding what its message is about, while it has one.
constexpr const char* kAbout = "trelvikMessageAbout";

// The text with %1, %2, ... replaced: a path that holds "%2" stays as it is.
QString substituted(const QString& text, const QStringList& paths) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        const int n = i + 1 < text.size() ? text[i + 1].digitValue() : -1;
        if (text[i] == u'%' && n >= 1 && n <= paths.size()) {
            out += paths[n - 1];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The width the status line draws a message in: its own, less the margins and the
// size grip.
int messageRoom(const QStatusBar* bar) {
    int room = bar->width() - kStatusMessageMargin;
    if (const auto* grip = bar->findChild<QSizeGrip*>(); grip && grip->isVisible()) room -= grip->width();
    return std::max(room, 0);
}

// Where a path's file name starts.
qsizetype nameStart(const QString& path) { return path.lastIndexOf(u'/') + 1; }

// The path in about `width`: its folder gives way in the middle, in whole folder names,
// since a name cut in two reads as another; the file name stays whole.
QString shortenedPath(const QFontMetrics& fm, const QString& path, int width) {
    const qsizetype cut = nameStart(path);
    const QString folder = path.left(cut), name = path.mid(cut);
    const QString e = fm.elidedText(folder, Qt::ElideMiddle, std::max(width - fm.horizontalAdvance(name), 0));
    if (e == folder) return path;
    const QString dots = e.contains(u'\u2026') ? QStringLiteral("\u2026") : QStringLiteral("...");
    const qsizetype at = e.indexOf(dots), tail = e.indexOf(u'/', at);
    return e.left(e.lastIndexOf(u'/', at) + 1) + dots + (tail < 0 ? QStringLiteral("/") : e.mid(tail)) + name;
}
} // namespace

void keepWholeMessageAtHand(QStatusBar* bar) {
    // Every message, however shown, replaces the last one's tool tip and what it was about;
    // showFitted puts its own right after.
    QObject::connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& shown) {
        bar->setToolTip(shown);
        bar->setProperty(kAbout, QVariant());
    });
}

void giveWayToMessages(QStatusBar* bar, QWidget* item) {
    QObject::connect(bar, &QStatusBar::messageChanged, item,
                     [item](const QString& shown) { item->setVisible(shown.isEmpty()); });
}

void showFitted(QStatusBar* bar, const QString& text, const QStringList& paths, int timeoutMs,
                std::weak_ptr<const void> about) {
    const QString whole = substituted(text, paths);
    const QFontMetrics fm = bar->fontMetrics();
    const int room = messageRoom(bar);
    // The paths give way from the last: the first names what matters most. Each keeps its
    // file name and about a dozen characters of its folder; beyond that the end of the line
    // goes, kept in the tool tip.
    QStringList shortened = paths;
    int over = fm.horizontalAdvance(whole) - room;
    const int least = fm.horizontalAdvance(QStringLiteral("\u2026")) + fm.averageCharWidth() * 12;
    for (auto i = paths.size() - 1; i >= 0 && over > 0; --i) {
        const int full = fm.horizontalAdvance(paths[i]);
        const int shortest = fm.horizontalAdvance(paths[i].mid(nameStart(paths[i]))) + least;
        if (full <= shortest) continue;
        shortened[i] = shortenedPath(fm, paths[i], std::max(shortest, full - over));
        over -= full - fm.horizontalAdvance(shortened[i]);
    }
    const QString shown = fm.elidedText(substituted(text, shortened), Qt::ElideRight, room);
    bar->showMessage(shown, timeoutMs);
    bar->setToolTip(whole);
    bar->setProperty(kAbout, about.expired() ? QVariant() : QVariant::fromValue(about));
}

void dropMessageAboutGone(QStatusBar* bar, const std::shared_ptr<const void>& going) {
    const QVariant about = bar->property(kAbout);
    if (!about.isValid()) return;
    const auto subject = about.value<std::weak_ptr<const void>>();
    // The same object, whatever type each pointer was made from.
    const bool isGoing = going && !subject.owner_before(going) && !going.owner_before(subject);
    if (subject.expired() || isGoing) bar->clearMessage();
}

} // namespace trelvik::surferwin
