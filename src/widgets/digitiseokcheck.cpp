#include "widgets/digitiseokcheck.h"

#include "widgets/digitisequestion.h"

#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

namespace trelvik {

namespace {
PointsOnOkSource& pointsOnOkSource() {
    static PointsOnOkSource source;
    return source;
}

// `one` said of a single point, `many` of any other count (its %1).
QString byCount(int n, const QString& one, const QString& many) { return n == 1 ? one : many.arg(n); }

// Why the step's file may not be what the user meant, or an empty text when it is;
// `found` gets what the lists found.
QString whyAsk(const std::filesystem::path& asked, OkFinding& found) {
    if (pointsOnOkSource())
        found = pointsOnOkSource()(openDigitiseQuestionSerial(), savesWhereAsked);
    const QString file = QString::fromStdString(asked.filename().string());
    if (!std::filesystem::exists(asked)) {
        if (found.found == OkFinding::Case::WrittenOver)
            return QObject::tr("There is no %1 any more: the file saved there was removed since.").arg(file);
        return QObject::tr("There is no %1 yet: nothing was saved as that file.").arg(file);
    }
    switch (found.found) {
    case OkFinding::Case::InFile: return {};
    case OkFinding::Case::SavedElsewhere:
        if (found.savedEarlier)
            return QObject::tr("The list was saved as %1 before this question, under another name or folder, not "
                               "as that file.")
                .arg(QString::fromStdString(found.savedTo));
        return QObject::tr("The list was saved during this question as %1, under another name or folder, not "
                           "as that file.")
            .arg(QString::fromStdString(found.savedTo));
    case OkFinding::Case::OtherList:
        return byCount(found.points,
                       QObject::tr("1 point meant for this question lies in another plot's list and is left out of "
                                   "that file."),
                       QObject::tr("%1 points meant for this question lie in another plot's list and are left out "
                                   "of that file."));
    case OkFinding::Case::Cleared:
        return QObject::tr("The list was cleared during this question, and no point was clicked since.");
    case OkFinding::Case::ChangedSinceSaved:
        if (savesWhereAsked(found.savedTo))
            return QObject::tr("The list changed since it was saved in that file.");
        return QObject::tr("The list changed since it was saved as %1.").arg(QString::fromStdString(found.savedTo));
    case OkFinding::Case::WrittenOver:
        if (found.points == 0)
            return QObject::tr("The list was saved in that file, but the file was written over since: it no "
                               "longer holds what was saved.");
        return byCount(found.points,
                       QObject::tr("The point meant for this question was saved in that file, but the file was "
                                   "written over since: it no longer holds that point."),
                       QObject::tr("The %1 points meant for this question were saved in that file, but the file "
                                   "was written over since: it no longer holds them."));
    case OkFinding::Case::PlotClosed:
        return byCount(found.points,
                       QObject::tr("The plot holding the point meant for this question was closed, which took the "
                                   "point away, and no point was clicked since."),
                       QObject::tr("The plot holding the %1 points meant for this question was closed, which took "
                                   "them away, and no point was clicked since."));
    case OkFinding::Case::NotSaved: break;
    }
    if (found.points == 0)
        return QObject::tr("The list was changed during this question (points taken back or cleared) and not "
                           "saved as that file since.");
    return byCount(found.points, QObject::tr("The point meant for this question is not saved in that file."),
                   QObject::tr("The %1 points meant for this question are not saved in that file."));
}

// What "Back" is for: what to save as the step's file `asked`, when Save alone would
// not put what is meant there.
QString backTo(const OkFinding& found, const std::filesystem::path& asked) {
    using Case = OkFinding::Case;
    const QString as = QObject::tr("as %1 in %2")
                           .arg(QString::fromStdString(asked.filename().string()),
                                QString::fromStdString(asked.parent_path().string()));
    // No list holds the points any more (cleared, taken back, gone with their plot, or
    // written over after a Clear): Save has nothing to write.
    const bool gone = found.found == Case::Cleared || found.found == Case::PlotClosed ||
                      (found.points == 0 && (found.found == Case::NotSaved || found.found == Case::WrittenOver));
    if (gone) return QObject::tr("return to the question, click the points again and save them %1").arg(as);
    // Saving either list leaves the other's points out again: one of them saved as the
    // step's file, or none.
    if (found.found == Case::OtherList || (found.found == Case::NotSaved && !found.otherPlots.empty())) {
        const QString other = found.otherPlots.empty()
                                  ? QObject::tr("the other plot's list")
                                  : QObject::tr("the list of %1").arg(QString::fromStdString(found.otherPlots));
        return QObject::tr("return to the question and clear %1, or click all the points on one plot and save "
                           "them %2")
            .arg(other, as);
    }
    // A list saved ahead under another name may be another step's, such as a landmark trial.
    if (found.found == Case::SavedElsewhere && found.savedEarlier)
        return QObject::tr("return to the question and save the list %1, or click the points this question asks "
                           "for and save those")
            .arg(as);
    // The list on show may be an empty one: the list saved there is the one to save again.
    if (found.found == Case::WrittenOver && !found.savedPlot.empty())
        return QObject::tr("return to the question and save the list of %1 %2")
            .arg(QString::fromStdString(found.savedPlot), as);
    return QObject::tr("return to the question and save the list %1").arg(as);
}
} // namespace

void setPointsOnOkSource(PointsOnOkSource source) { pointsOnOkSource() = std::move(source); }

bool goOnAfterOk(QWidget* question) {
    // Only a question that asks for a file has one to check.
    const std::filesystem::path asked = askedDigitisePath();
    if (asked.empty()) return true;
    OkFinding found;
    const QString why = whyAsk(asked, found);
    if (why.isEmpty()) return true;
    const QString file = QString::fromStdString(asked.filename().string());
    const QString asIs = std::filesystem::exists(asked)
                             ? QObject::tr("let the step read %1 as it is").arg(file)
                             : QObject::tr("go on without it");
    QMessageBox box(QMessageBox::Warning, QObject::tr("Digitise file"),
                    QObject::tr("The step reads %1.\n\n%2\n\nPress \"Back\" to %3, or \"Go on\" to %4.")
                        .arg(QString::fromStdString(asked.string()), why, backTo(found, asked), asIs),
                    QMessageBox::NoButton, question);
    QPushButton* back = box.addButton(QObject::tr("Back"), QMessageBox::RejectRole);
    box.addButton(QObject::tr("Go on"), QMessageBox::AcceptRole);
    // Enter and Esc keep the clicked points within reach.
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
    return box.clickedButton() != back;
}

} // namespace trelvik
