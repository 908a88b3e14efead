#include "widgets/writtenfiles.h"

#include "widgets/filelistbox.h"

#include "core/prompt.h"
#include "core/commit/workingfiles.h"

#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>

namespace trelvik {

namespace fs = std::filesystem;

namespace {
constexpr int kNamesShown = 4;

bool isUsersDigitiseFile(const std::string& name) {
    static const QRegularExpression digit(QStringLiteral("^digit\\d*\\.dat$"),
                                          QRegularExpression::CaseInsensitiveOption);
    return digit.match(QString::fromStdString(fs::path(name).filename().string())).hasMatch();
}

// Each file of the folder by name, with its size and time. A write through a symbolic
// link writes the file it points at, never the link: a link is that file, under its own
// name where it lies in the folder (and so not again), else by its whole path.
template <typename Visit> void eachFile(const QString& folder, Visit visit) {
    std::error_code ec;
    const fs::path here = fs::weakly_canonical(folder.toStdString(), ec);
    for (fs::directory_iterator it(folder.toStdString(), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fe;
        if (!it->is_regular_file(fe)) continue;
        std::string name = it->path().filename().string();
        if (it->is_symlink(fe)) {
            const fs::path real = fs::weakly_canonical(it->path(), fe);
            if (fe || real.parent_path() == here) continue;
            name = real.string();
        }
        const auto size = it->file_size(fe);
        const auto time = it->last_write_time(fe);
        if (!fe) visit(name, size, time);
    }
}
// "<lead><folder>", the folder kept on one line for the reader: where the status line
// will not hold it after the lead, it starts the next line, shortened in the middle when
// even a whole line will not hold it (its tooltip then holds it whole), rather than
// breaking after a "/".
QString withFolder(QLabel* status, const QString& lead, const QString& folder) {
    status->setToolTip(QString());
    const int width = status->contentsRect().width() - 2 * status->margin();
    const QFontMetrics fm = status->fontMetrics();
    if (!status->wordWrap() || !status->isVisible() || width <= 0 || fm.horizontalAdvance(lead + folder) <= width)
        return lead + folder;
    const QString shown = fm.elidedText(folder, Qt::ElideMiddle, width);
    if (shown != folder) status->setToolTip(folder);
    return lead.trimmed() + QLatin1Char('\n') + shown;
}
} // namespace

WrittenFiles::WrittenFiles(const QString& folder) : folder_(folder.isEmpty() ? folder : QDir::cleanPath(folder)) {
    eachFile(folder_, [this](const std::string& name, std::uintmax_t size, fs::file_time_type time) {
        before_[name] = Stamp{size, time};
    });
}

QStringList WrittenFiles::written() const {
    QStringList out;
    const fs::path folder(folder_.toStdString());
    eachFile(folder_, [&](const std::string& name, std::uintmax_t size, fs::file_time_type time) {
        if (isUsersDigitiseFile(name) || working::putInPlaceBySettling(folder / name)) return;
        const auto was = before_.find(name);
        if (was == before_.end() || was->second.size != size || was->second.time != time)
            out << QString::fromStdString(name);
    });
    out.sort(Qt::CaseInsensitive);
    return out;
}

QLabel* WrittenFiles::makeStatusLine(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QWidget* WrittenFiles::makeStatusLineRoom(QWidget* parent, QLabel*& status, int lines) {
    auto* room = new QScrollArea(parent);
    status = makeStatusLine(room);
    status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    room->setWidget(status);
    room->setWidgetResizable(true);
    room->setFrameShape(QFrame::NoFrame);
    room->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QMargins m = status->contentsMargins();
    room->setFixedHeight(lines * status->fontMetrics().lineSpacing() + m.top() + m.bottom());
    return room;
}

void WrittenFiles::addLine(QLabel* status, const std::string& note) {
    if (status && !note.empty()) status->setText(status->text() + "\n" + QString::fromStdString(note));
}

void WrittenFiles::report(QLabel* status, FileListBox* list) const {
    const QStringList names = written();
    if (status) {
        QString text;
        if (names.isEmpty()) {
            text = QObject::tr("Nothing was written.");
        } else {
            QString shown = names.mid(0, kNamesShown).join(QStringLiteral(", "));
            if (names.size() > kNamesShown) shown += QObject::tr(" and %1 more").arg(names.size() - kNamesShown);
            text = withFolder(status, QObject::tr("Wrote %1 in ").arg(shown), folder_);
        }
        status->setText(text);
    }
    if (!list) return;
    list->refresh();
    for (const QString& n : names) {
        const auto found = list->findItems(n, Qt::MatchFixedString);
        if (!found.isEmpty()) {
            list->scrollToItem(found.front());
            break;
        }
    }
}

bool WrittenFiles::reportStep(QLabel* status, FileListBox* list, const QString& folder,
                              const std::function<bool()>& step) {
    status->clear();
    // The step ends on this line: what it found of an earlier step that a kill cut short
    // follows what it wrote, or stands alone when it wrote nothing.
    const StepScope onThisLine([status](const std::string& settled) {
        const QString text = status->text();
        const QString separator = text.isEmpty()                   ? QString()
                                  : text.endsWith(QLatin1Char('.')) ? QStringLiteral(" ")
                                                                    : QStringLiteral(". ");
        status->setText(text + separator + QString::fromStdString(settled));
    });
    const WrittenFiles written(folder);
    const bool done = step();
    if (done) written.report(status, list);
    return done;
}

} // namespace trelvik
