#pragma once
// What OK on the "Digitise map" question checks. After OK the step reads its file as it
// stands, so points the user clicked during the question that are not in that file
// (never saved, or saved under another name or folder) would be left out without a
// word, and the step would measure an older file. The map windows say, for each list
// holding points clicked during a question, how many and where the list was saved; OK
// then asks whether to go back to the question (to Save) or go on with the file as it
// is. Points clicked before the question and files written by hand are not asked about.
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace trelvik {

// A list of points clicked during one question, and the file it was saved to ("" while
// unsaved or changed since).
struct ClickedPoints {
    long count = 0;
    std::string savedTo;
};
void setClickedPointsSource(std::function<std::vector<ClickedPoints>(long serial)> source);

// Called when OK is pressed on the open question `question`: true to go on. With points
// clicked during it that are not in the file its step reads, a box says which file the
// step reads and that they are not in it, and "Back" (the default) returns false.
bool goOnAfterOk(QWidget* question);

} // namespace trelvik
