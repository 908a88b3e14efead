#pragma once
// The map window's status line at any width: the window opens narrow beside its tool
// window, and a message that ran off its end would lose the file it names. A message
// puts what matters first; the paths in it are shortened in the middle (folder start
// and file name kept) as far as the whole needs to fit, and the whole text stays at hand
// as the status line's tool tip until the message goes.
#include <QString>
#include <QStringList>

class QStatusBar;

namespace trelvik::surferwin {

// What the status line leaves of its width around a message, size grip aside: Qt draws
// it from 6 px after the left edge to 12 px before the right.
constexpr int kStatusMessageMargin = 18;

// Makes the tool tip follow the messages: called once for the window's status line.
void keepWholeMessageAtHand(QStatusBar* bar);

// Shows `text` for `timeoutMs`, its %1, %2, ... replaced by `paths`, shortened to fit.
void showFitted(QStatusBar* bar, const QString& text, const QStringList& paths, int timeoutMs);

} // namespace trelvik::surferwin
