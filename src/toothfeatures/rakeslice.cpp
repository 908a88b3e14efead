#include "toothfeatures/rakeslice.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/resultscsv.h"
#include "formats/slicefile.h"
#include "core/digitiseinputs.h"
#include "core/grid.h"
#include "core/textform.h"
#include "surfer/application.h"

namespace trelvik::toothfeatures {

RakePassFiles rakePassFiles(const std::string& stem, const std::string& tag) {
    return {stem + "_rkpt" + tag + ".dat", stem + "_rkpt" + tag + ".bln", stem + "_rksl" + tag + ".dat",
            stem + "_rksl" + tag + "_rakeresults.csv"};
}

bool cmdSlice(AppState& app, Prompt& prompt, RakeState& rs, const RakeSliceRequest& rq) {
    return runStep(prompt, [&] {
        OcclusalState& st = rs.occ;
        if (!requireCrestName(prompt, rq.Combo1Text, rq.CrestCode)) return false;
        if (rs.TransGrid.empty()) {
            refuse(prompt, "Rake angle",
                   "Make the transformed grid first (\"Digitise cusp area and trans\"), or take one made earlier "
                   "(\"Input trans grid\").");
            return false;
        }
        // Every name below is built from the window's current grid; a transformed grid made
        // for another grid (a new grid's occlusal vector found, its cusp area not yet made)
        // would be measured under the wrong tooth's names.
        const std::string stem = st.GridDir + st.GridBaseName;
        if (rs.TransGrid != stem + "_cabtrs.grd") {
            refuse(prompt, "Rake angle",
                   "The transformed grid " + rs.TransGrid + " was not made from " + st.GridBaseName +
                       ": make the transformed grid of this grid first (\"Digitise cusp area and trans\"), or take "
                       "it in (\"Input trans grid\").");
            return false;
        }
        const std::vector<RakePass> passes = rakePasses(rq.kind, rq.boxes);
        if (!inputsPresent(prompt, {{rs.TransGrid, "transformed grid",
                                     "make it with \"Digitise cusp area and trans\", or take one made "
                                     "earlier with \"Input trans grid\"."}}))
            return false;
        // Attached only once nothing is missing: attaching shows the map window, which a
        // refusal would leave in front with the focus.
        st.m_Surfer = attachSurfer(app);
        const std::string digitise = st.GridDir + "digit2.dat";
        if (!askDigitise(prompt,
                         "Use 'Digitise' to define three points: \n\r1) point on crest to take rake angle from.\n\r"
                         "2) point along crest. \n\r3) point on rake surface. ",
                         digitise))
            return false;

        const formats::PointXYList pts = formats::readDigitisePoints(digitise);
        if (pts.size() < 3) {
            refuse(prompt, "Digitise map", "Digitise three points on map");
            return false;
        }
        rakeLineEnd(pts[0], pts[1], pts[2], 1);  // refuses a crest without direction before any file
        const std::string crestInfo = rq.info == CrestInfo::Info1   ? "_" + rq.txtCrestInfo
                                      : rq.info == CrestInfo::Info2 ? "_" + rq.cmbCrestInfo
                                                                    : std::string();
        // Every pass is sliced and fitted under working names first: a refused profile
        // leaves the files of the earlier run, which its results table was made from.
        const std::string copy = readWholeFile(digitise);
        StagedFiles staged;
        for (const RakePass& pass : passes) {
            const RakePassFiles f = rakePassFiles(stem, rakeTag(rq.CrestCode, crestInfo, pass));
            writeFileAtomic(staged.work(f.copy), copy);
            formats::BlnSection line = formats::openLine({pts[0], rakeLineEnd(pts[0], pts[1], pts[2], pass.length())}, 0);
            line.literalHeader = "2, 0";
            const std::string& lineFile = staged.work(f.line);
            const std::string& sliceFile = staged.work(f.slice);
            formats::writeBlnFile(lineFile, {line}, formats::BlnLayout::Zone);
            callSurfer(app, *st.m_Surfer, "GridSlice", surfer::Positional{rs.TransGrid, lineFile, surfer::omitted, sliceFile},
                       surfer::Named{{"InGrid", rs.TransGrid}, {"BlankFile", lineFile}, {"OutDataFile", sliceFile}});
            std::vector<double> D, Z;
            long heights = 0;
            for (const auto& p : formats::readSliceFile(sliceFile)) {
                D.push_back(p.distance);
                Z.push_back(p.blank() ? kBlank : p.z);
                heights += !p.blank();
            }
            if (!Z.empty() && isBlank(Z.front())) {
                const std::string ofLine = " of the rake line's " + std::to_string(Z.size()) + " slice points ";
                const std::string others = heights == 0 ? ", and none" + ofLine + "has one either"
                                                        : ", though " + std::to_string(heights) + ofLine +
                                                              (heights == 1 ? "has" : "have");
                throw Error("The crest point (the first point in " + digitise + ", x " + text::CStr(pts[0].x) + ", y " +
                            text::CStr(pts[0].y) + ") has no height on the transformed grid " + rs.TransGrid +
                            others + ": the rake profile starts there. Digitise the crest point on the tooth.");
            }
            formats::writeResultsTable(staged.work(f.results), rakeTableLines(rakeRows(D, Z, pass)));
        }
        staged.commit();
        return true;
    });
}

} // namespace trelvik::toothfeatures
