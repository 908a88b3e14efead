#pragma once
// The map window's status line at any width: the window opens narrow beside its tool
// window, and a message that ran off its end would lose the file it names. A message
// puts what matters first; the paths in it give way in the middle of their folders, in
// whole folder names and never in the file name, as far as the whole needs to fit, and a
// text still too long ends in an ellipsis. The whole text of every message stays at
// hand as the status line's tool tip until the message goes; a message about a plot's
// list goes with the plot.
#include <QString>
#include <QStringList>
#include <memory>

class QStatusBar;
class QWidget;

namespace trelvik::surferwin {

// What the status line leaves of its width around a message, size grip aside: Qt draws
// it from 6 px after the left edge to 12 px before the right.
constexpr int kStatusMessageMargin = 18;

// Makes the tool tip follow the messages: called once for the window's status line.
void keepWholeMessageAtHand(QStatusBar* bar);

// Hides `item`, a widget of the line (the pointer read-out), while a message shows. The
// line hides its widgets itself only while it is on show: a message given while the
// window was closed would be drawn over the item once the window comes back.
void giveWayToMessages(QStatusBar* bar, QWidget* item);

// Shows `text` for `timeoutMs`, its %1, %2, ... replaced by `paths`, shortened to fit.
// A message about a plot document's list names the document as `about`.
void showFitted(QStatusBar* bar, const QString& text, const QStringList& paths, int timeoutMs,
                std::weak_ptr<const void> about = {});

// Takes the message away when what it is about has gone, or is `going`.
void dropMessageAboutGone(QStatusBar* bar, const std::shared_ptr<const void>& going = nullptr);

} // namespace trelvik::surferwin
