#include "widgets/qtprompt.h"

#include "widgets/digitiseokcheck.h"
#include "widgets/inputblocker.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>
#include <QAbstractButton>
#include <QPushButton>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>
#include <vector>

namespace trelvik {

namespace {

QMessageBox::StandardButtons standardButtons(Buttons b) {
    switch (b) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::ReplaceCancel: return QMessageBox::Cancel;  // "Replace" is added as a button of its own
    }
    return QMessageBox::Ok;
}

// A box closed without a button press counts as its most cautious answer.
Answer toAnswer(QMessageBox::StandardButton pressed, Buttons b) {
    switch (pressed) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: break;
    }
    switch (b) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

// Each time the question shows, OK is its default and focused button, also once the
// window manager brings it forward: Enter never cancels a step the user did not mean to.
class OkFirst : public QObject {
public:
    explicit OkFirst(QMessageBox* box) : box_(box) { box->installEventFilter(this); }
    ~OkFirst() override { box_->removeEventFilter(this); }
    OkFirst(const OkFirst&) = delete;
    OkFirst& operator=(const OkFirst&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) shown_ = true;
        if (shown_ && (e->type() == QEvent::Show || e->type() == QEvent::WindowActivate)) {
            box_->setDefaultButton(QMessageBox::Ok);
            if (e->type() == QEvent::WindowActivate) shown_ = false;
        }
        return false;
    }

private:
    QMessageBox* box_;
    bool shown_ = false;
};

// The window manager's title bar holds the window's icon and buttons besides its title,
// and a box as narrow as its text (a short refusal) showed its title cut ("Cr… me"): the
// box is made wide enough for its whole title there, in the bold face title bars use.
constexpr int kTitleBarExtras = 120;  // icon, minimize, maximize and close, and margins

void roomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarExtras;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// A message taller than the screen (a settle's many notes) would put its buttons out of
// reach: it shows the lines that fit, then how many more there are, and the whole text
// under "Show Details...", whose part scrolls. The lines are measured at the narrowest
// width the box wraps its text at, so they take no more room on the screen than here.
// A question keeps what it asks (its last paragraph) below the lines that fit: the user
// answers it with the buttons under it. A line taller than all the room the lines have
// would never show, and the box could show nothing but the count: it is cut to the room
// left instead, its end "...", the whole of it under "Show Details..." too.
constexpr int kBoxWrapLimit = 500;   // the box wraps its text at no less than this, or half the screen
constexpr int kLabelMargins = 40;    // the box's margins beside its text
constexpr int kBoxExtras = 300;      // title bar, margins, buttons and the details' part opened

// Where the last paragraph of a text begins: at the blank line before it, else at its last line.
qsizetype lastParagraph(const QStringList& lines) {
    qsizetype last = lines.size() - 1;
    while (last > 0 && lines[last].isEmpty()) --last;
    const qsizetype blank = lines.lastIndexOf(QString(), last);
    return blank > 0 ? blank : last;
}

// The longest start of `line` that takes no more than `room` with "..." after it; empty when
// not even "..." does.
QString cutToFit(const QString& line, int room, const std::function<int(const QString&)>& height) {
    auto fits = [&](qsizetype n) { return height(line.left(n) + QStringLiteral("...")) <= room; };
    if (!fits(0)) return {};
    qsizetype lo = 0, hi = line.size();  // a start of lo characters fits; the whole line does not
    while (hi - lo > 1) {
        const qsizetype mid = (lo + hi) / 2;
        (fits(mid) ? lo : hi) = mid;
    }
    if (lo > 0 && line[lo - 1].isHighSurrogate()) --lo;
    return line.left(lo) + QStringLiteral("...");
}

void fitTextToScreen(QMessageBox& box, const QString& text, bool question) {
    const QScreen* screen = box.screen();
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    const int wrap = std::min(avail.width() / 2, kBoxWrapLimit) - kLabelMargins;
    const int room = avail.height() - kBoxExtras;
    const QFontMetrics fm(box.font());
    const QRect page(0, 0, wrap, 1 << 20);
    const std::function<int(const QString&)> rowsHeight = [&](const QString& line) {
        const QString t = line.isEmpty() ? QStringLiteral(" ") : line;
        return std::max(fm.boundingRect(page, Qt::TextWordWrap, t).height(),
                        fm.boundingRect(page, Qt::TextWrapAnywhere, t).height());
    };
    // Each line is measured once, for the whole and for the lines kept alike.
    const QStringList lines = text.split('\n');
    std::vector<int> heights;
    heights.reserve(lines.size());
    for (const QString& line : lines) heights.push_back(rowsHeight(line));
    auto sum = [&](qsizetype from, qsizetype to) {
        return std::accumulate(heights.begin() + from, heights.begin() + to, 0);
    };
    if (sum(0, lines.size()) <= room) return;
    auto more = [](qsizetype n) {
        return QStringLiteral("(%1 more line%2 under \"Show Details...\")").arg(n).arg(n == 1 ? "" : "s");
    };
    const int countHeight = rowsHeight(more(lines.size()));
    // A question taller than the screen on its own goes under "Show Details..." with the rest.
    qsizetype end = lines.size();
    if (const qsizetype asked = question ? lastParagraph(lines) : end; countHeight + sum(asked, end) <= room)
        end = asked;
    int used = countHeight + sum(end, lines.size());
    const int linesRoom = room - used;
    qsizetype shown = 0;
    for (; shown < end && used + heights[shown] <= room; ++shown) used += heights[shown];
    QStringList kept = lines.mid(0, shown);
    if (shown < end && heights[shown] > linesRoom)
        if (const QString start = cutToFit(lines[shown], room - used, rowsHeight); !start.isEmpty()) {
            kept << start;
            ++shown;
        }
    if (shown < end) kept << more(end - shown);
    box.setText((kept + lines.mid(end)).join('\n'));
    box.setDetailedText(text);
}

// Runs `then` as the user answers the question (a button, Esc, its close box), before the
// question hides.
class OnAnswer : public QObject {
public:
    OnAnswer(QMessageBox* box, std::function<void()> then) : box_(box), then_(std::move(then)) {
        connect(box, &QMessageBox::buttonClicked, this, [this] { then_(); });
        box->installEventFilter(this);
    }
    ~OnAnswer() override { box_->removeEventFilter(this); }
    OnAnswer(const OnAnswer&) = delete;
    OnAnswer& operator=(const OnAnswer&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Close) then_();
        return false;
    }

private:
    QMessageBox* box_;
    std::function<void()> then_;
};

} // namespace

QtPrompt::~QtPrompt() {
    busy(false);
}

Answer QtPrompt::message(const std::string& title, const std::string& text, Buttons buttons) {
    return show(title, text, buttons, {});
}

Answer QtPrompt::digitiseQuestion(const std::string& text, const std::string& readPath) {
    return show(kDigitiseTitle, text, Buttons::OkCancel, readPath);
}

Answer QtPrompt::show(const std::string& title, const std::string& text, Buttons buttons,
                      const std::string& readPath) {
    const QString caption = QString::fromStdString(title.empty() ? std::string(kDefaultTitle) : title);
    QMessageBox box(QMessageBox::NoIcon, caption, QString::fromStdString(text), standardButtons(buttons));
    roomForTitle(box);
    if (title != kDigitiseTitle) fitTextToScreen(box, QString::fromStdString(text), buttons != Buttons::Ok);
    QAbstractButton* replace = nullptr;
    if (buttons == Buttons::ReplaceCancel) {
        // Enter keeps the files: replacing them takes a deliberate click.
        replace = box.addButton("Replace", QMessageBox::DestructiveRole);
        box.setDefaultButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    // An hourglass over a question would tell the user to wait rather than answer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    if (title == kDigitiseTitle) {
        setDigitiseQuestionText(box, text, readPath);
        box.setWindowModality(Qt::NonModal);
        const OpenDigitiseQuestion open(&box, readPath);
        // Modal but for the map windows, where the user answers, and popups.
        std::optional<HoldOffWindows> holdOff;
        // The answer gives the windows back and the tool window that asked takes the focus
        // before the question hides (widgets/digitisequestion.h); held off again should
        // the question show again.
        const OnAnswer answered(&box, [&holdOff] {
            holdOff.reset();
            focusAskingWindow();
        });
        const OkFirst okFirst(&box);
        // OK with clicked points that are not in the step's file may go back to the
        // question, which shows again as it was.
        do {
            holdOff.emplace(isDigitiseWindow);
            QEventLoop loop;
            QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
            // Closed meanwhile (also while the box OK shows), the map window would leave
            // the user nowhere to click the points: it comes back first.
            showDigitiseQuestion();
            loop.exec();
        } while (box.standardButton(box.clickedButton()) == QMessageBox::Ok && !goOnAfterOk(&box));
    } else {
        box.exec();
    }
    QApplication::restoreOverrideCursor();
    if (replace && box.clickedButton() == replace) return Answer::Replace;
    return toAnswer(box.standardButton(box.clickedButton()), buttons);
}

void QtPrompt::busy(bool on) {
    if (on == busy_) return;
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
    busy_ = on;
}

} // namespace trelvik
