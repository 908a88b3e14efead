#pragma once
// What OK on the "Digitise map" question checks. After OK the step reads its file as it
// stands, so points meant for it that never reached that file (clicked during the
// question or ahead of it, and not saved, or saved under another name or folder, or
// left in another plot's list when that file was saved from one, or gone with a plot
// closed, or saved there and written over since) would be left out without a word, and
// the step would measure an older file. The map windows say what their lists hold for the
// question; OK goes on without a word only when the step's file is there and holds what
// the lists meant for it. Otherwise a box says which is the case and asks whether to go
// back to the question (to do what would put those points in the file, which it says) or
// go on with the file as it is.
#include "core/okfinding.h"

#include <functional>
#include <string>

class QWidget;

namespace trelvik {

// `isAskedFile` says whether a path is the file the question's step reads.
using PointsOnOkSource =
    std::function<OkFinding(long serial, const std::function<bool(const std::string&)>& isAskedFile)>;
void setPointsOnOkSource(PointsOnOkSource source);

// Called when OK is pressed on the open question, shown in `question`: true to go on. When the
// step's file is missing or does not hold what was meant for it, a box says so and
// "Back" (the default) returns false.
bool goOnAfterOk(QWidget* question);

} // namespace trelvik
