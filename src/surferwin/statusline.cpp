#include "surferwin/statusline.h"

#include <QFontMetrics>
#include <QSizeGrip>
#include <QStatusBar>
#include <algorithm>

namespace trelvik::surferwin {

namespace {
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
} // namespace

void keepWholeMessageAtHand(QStatusBar* bar) {
    QObject::connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& shown) {
        if (shown.isEmpty()) bar->setToolTip({});
    });
}

void showFitted(QStatusBar* bar, const QString& text, const QStringList& paths, int timeoutMs) {
    const QString whole = substituted(text, paths);
    const QFontMetrics fm = bar->fontMetrics();
    const int room = messageRoom(bar);
    // The paths give way from the last: the first names what matters most. Each keeps
    // a dozen characters; beyond that the end of the line goes, kept in the tool tip.
    QStringList shortened = paths;
    int over = fm.horizontalAdvance(whole) - room;
    const int least = fm.horizontalAdvance(QStringLiteral("\u2026")) + fm.averageCharWidth() * 12;
    for (auto i = paths.size() - 1; i >= 0 && over > 0; --i) {
        const int full = fm.horizontalAdvance(paths[i]);
        if (full <= least) continue;
        shortened[i] = fm.elidedText(paths[i], Qt::ElideMiddle, std::max(least, full - over));
        over -= full - fm.horizontalAdvance(shortened[i]);
    }
    const QString shown = substituted(text, shortened);
    bar->showMessage(shown, timeoutMs);
    bar->setToolTip(whole);
}

} // namespace trelvik::surferwin
