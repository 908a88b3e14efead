#include "widgets/digitiseokcheck.h"

#include "widgets/digitisequestion.h"

#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

namespace trelvik {

namespace {
std::function<std::vector<ClickedPoints>(long)>& clickedPointsSource() {
    static std::function<std::vector<ClickedPoints>(long)> source;
    return source;
}

// The points clicked during the open question that are not in the file its step reads.
long clickedPointsNotInAskedFile() {
    // Only a question that asks for a file has a serial number.
    const long serial = openDigitiseQuestionSerial();
    if (serial == 0 || !clickedPointsSource()) return 0;
    long missing = 0;
    for (const ClickedPoints& list : clickedPointsSource()(serial))
        if (list.savedTo.empty() || !savesWhereAsked(list.savedTo)) missing += list.count;
    return missing;
}
} // namespace

void setClickedPointsSource(std::function<std::vector<ClickedPoints>(long)> source) {
    clickedPointsSource() = std::move(source);
}

bool goOnAfterOk(QWidget* question) {
    const long missing = clickedPointsNotInAskedFile();
    if (missing == 0) return true;
    const std::filesystem::path asked = askedDigitisePath();
    const QString file = QString::fromStdString(asked.filename().string());
    const QString points = missing == 1 ? QObject::tr("The point") : QObject::tr("The %1 points").arg(missing);
    const QString asIs = std::filesystem::exists(asked)
                             ? QObject::tr("let the step read %1 as it is").arg(file)
                             : QObject::tr("go on without it (there is no %1 yet)").arg(file);
    QMessageBox box(QMessageBox::Warning, QObject::tr("Digitise file"),
                    QObject::tr("The step reads %1.\n\n%2 clicked during this question %3 not in that file: not "
                                "saved, or saved under another name or folder.\n\nPress \"Back\" to return to the "
                                "question and save the list as %4 in %5, or \"Go on\" to %6.")
                        .arg(QString::fromStdString(asked.string()), points,
                             missing == 1 ? QObject::tr("is") : QObject::tr("are"), file,
                             QString::fromStdString(asked.parent_path().string()), asIs),
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
