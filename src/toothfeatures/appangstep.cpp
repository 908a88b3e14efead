#include "toothfeatures/appangstep.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/resultscsv.h"
#include "toothfeatures/appang.h"
#include "toothfeatures/crestline.h"

namespace trelvik::toothfeatures {

std::string approachAngleResultsPath(const std::string& sliceFile) {
    return sliceFile.substr(0, sliceFile.size() >= 4 ? sliceFile.size() - 4 : 0) + "trs_aaresults.csv";
}

std::string approachAngleResultsTable(const OcclusalState& st, const std::string& CrestCode) {
    return approachAngleResultsPath(crestSliceFiles(st.GridDir + st.GridBaseName + CrestCode).slice);
}

std::string replacedCrestNote(const std::string& resultsTable) {
    const std::size_t slash = resultsTable.find_last_of("/\\");
    return "Replaced the earlier results of this crest (" +
           (slash == std::string::npos ? resultsTable : resultsTable.substr(slash + 1)) +
           "): to measure another crest, press \"Next crest\" and choose its name.";
}

bool cmdDigCrestLengthAppAng(AppState& app, Prompt& prompt, const OcclusalState& st, const std::string& Combo1Text,
                             const std::string& CrestCode) {
    return runStep(prompt, [&] {
        if (!requireCrestName(prompt, Combo1Text, CrestCode)) return false;
        if (!requireOcclusalVector(prompt, st) || !requireGridFile(prompt, st)) return false;
        const std::string digit = st.GridDir + "digit1.dat";
        if (!askDigitise(prompt, "Use 'Digitise' to define crest.", digit)) return false;

        const auto files = crestSliceFiles(st.GridDir + st.GridBaseName + CrestCode);
        StagedFiles staged;
        const auto slice = sliceCrest(app, *st.m_Surfer, st.GridFullPath, digit, files, staged);
        PointList framed;
        framed.reserve(slice.size());
        const OcclusalFrame frame(*st.OcclusalUnitVector);
        for (std::size_t i = 0; i < slice.size(); ++i) {
            const auto& p = slice[i];
            if (p.blank())
                throw Error("Slice point " + std::to_string(i + 1) + " of " + std::to_string(slice.size()) + " (x " +
                            text::CStr(p.x) + ", y " + text::CStr(p.y) + ") of the crest in " + digit +
                            " has no height: the crest line leaves the grid's data there. Digitise the crest "
                            "within the tooth.");
            framed.push_back(frame({p.x, p.y, p.z}));
        }
        const ApproachAngleSeries s = computeApproachAngle(framed);
        // The table goes in place with the slice it is made from.
        formats::writeResultsTable(staged.work(approachAngleResultsPath(files.slice)), approachAngleTable(s));
        staged.commit();
        if (s.flat5 || s.flat9)
            refuse(prompt, "Approach angle",
                   std::string("The crest does not rise or fall along the occlusal vector: every angle of the ") +
                       (s.flat5 && s.flat9 ? "5-point and 9-point means is" : s.flat5 ? "5-point mean is" : "9-point mean is") +
                       " 0, and its grand mean is written as 0.");
        return true;
    });
}

} // namespace trelvik::toothfeatures
