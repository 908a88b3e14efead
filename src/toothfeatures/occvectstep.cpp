#include "toothfeatures/occvectstep.h"

#include "core/error.h"
#include "core/digitiseinputs.h"
#include "planes/gridheights.h"
#include "planes/occlusalvector.h"
#include "planes/planeformula.h"
#include "surfer/application.h"
#include "toothfeatures/nametables.h"

#include <optional>

namespace trelvik::toothfeatures {

OcclusalFrame::OcclusalFrame(const PointXYZ& u) {
    const planes::Mat3 m = planes::RotationToHorizontal(planes::toVec3(u));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) r_[3 * r + c] = m(r, c);
}

std::string folderOf(const std::string& label3) {
    if (!label3.empty() && (label3.back() == '/' || label3.back() == '\\')) return label3;
    return label3 + "/";
}

bool requireCrestName(Prompt& prompt, const std::string& Combo1Text, const std::string& CrestCode) {
    const auto unchosen = crestNameRefusal(Combo1Text, CrestCode);
    if (!unchosen) return true;
    refuse(prompt, "Crest name", *unchosen);
    return false;
}

bool requireOcclusalVector(Prompt& prompt, const OcclusalState& state) {
    if (state.m_Surfer && state.OcclusalUnitVector) return true;
    refuse(prompt, "Occlusal vector", "Find the occlusal vector of this grid first (\"Find occlusal vector\").");
    return false;
}

bool requireGridFile(Prompt& prompt, const OcclusalState& state) {
    return inputsPresent(prompt, {{state.GridFullPath, "grid",
                                   "choose a grid in the file list and find its occlusal vector (\"Find "
                                   "occlusal vector\")."}});
}

bool cmdOccVect(AppState& app, Prompt& prompt, const OccVectRequest& rq, OcclusalState& st) {
    return runStep(prompt, [&] {
        const bool capture = rq.window == CrestWindowKind::Capture;
        if (rq.Text2.empty() || rq.Text2 == "*.grd") {
            refuse(prompt, capture ? "Grid filename" : "Filename", "Choose grid filename");
            return false;
        }
        if (rq.window != CrestWindowKind::Rake && !requireCrestName(prompt, rq.Combo1Text, rq.CrestCode))
            return false;
        const std::string fullPath = folderOf(rq.Label3) + rq.Text2;
        if (fullPath != st.GridFullPath) {  // a vector, its tips and plane belong to their grid
            st.OcclusalUnitVector.reset();
            st.OcclusalPoint1.reset();
            st.OcclusalPoint2.reset();
            st.PlaneNormal.reset();
        }
        st.GridDir = folderOf(rq.Label3);
        st.GridFullPath = fullPath;
        st.GridBaseName = rq.Text2.size() > 4 ? rq.Text2.substr(0, rq.Text2.size() - 4) : std::string();

        const bool tribo = rq.kind == ToothKind::Tribo;
        const std::string formula = st.GridDir + st.GridBaseName + "planeform.txt";
        const DigitiseInput grid{st.GridFullPath, "grid", "choose a grid in the file list."};
        const DigitiseInput plane{formula, "plane formula file",
                                  "fit the tooth's plane first (\"Digitise points for plane\" in the Fit "
                                  "plane window), or choose Tribo-type."};
        if (!(tribo ? inputsPresent(prompt, {grid}) : inputsPresent(prompt, {grid, plane})))
            return false;
        // Attached only once nothing is missing: attaching shows the map window, which a
        // refusal would leave in front with the focus.
        st.m_Surfer = attachSurfer(app);
        std::string instruction = "Use 'Digitise' to define occlusal vector.";
        if (!tribo)
            instruction = rq.window == CrestWindowKind::Rake ? "Use 'Digitise' to define two cusp tips."
                                                              : "Use 'Digitise' to define cusp tips.";
        planes::GridHeightStep step;
        step.digitiseFile = st.GridDir + "digit.dat";
        if (!askDigitise(prompt, instruction, step.digitiseFile)) return false;

        step.grid = st.GridFullPath;
        const bool withCode = !(rq.window == CrestWindowKind::Rake && tribo);
        step.stem = st.GridDir + st.GridBaseName + (withCode ? rq.CrestCode : std::string());
        step.prefix = tribo ? "_ovp" : "_ctp";
        step.count = 2;
        step.form = planes::residualsCallForm(app.SurferVersion);
        if (rq.window == CrestWindowKind::AppAng && isV8(app)) step.form = planes::ResidualsCallForm::Version8Positional;
        // The points' files are kept only once the points give a vector: a refusal leaves
        // the earlier run's files, and the window goes on with their vector.
        planes::MeasuredHeights heights = planes::MeasureGridHeights(*st.m_Surfer, step);
        const PointList& pts = heights.points();
        std::optional<planes::Vec3> n;
        planes::Vec3 v;
        if (tribo) {
            v = planes::TriboOcclusalVector(pts.at(0), pts.at(1));
        } else {
            n = planes::planeNormal(planes::ReadPlaneFormulaFile(formula));
            v = planes::CarnassialOcclusalVector(*n, pts.at(0), pts.at(1));
        }
        const planes::Vec3 u = planes::unitVector(v);
        heights.commit();
        st.OcclusalPoint1 = pts[0];
        st.OcclusalPoint2 = pts[1];
        st.PlaneNormal.reset();
        if (n) st.PlaneNormal = planes::toPoint(*n);
        st.OcclusalUnitVector = planes::toPoint(u);
        return true;
    });
}

} // namespace trelvik::toothfeatures
