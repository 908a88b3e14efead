#include "toothfeatures/capturestep.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/resultscsv.h"
#include "planes/gridheights.h"
#include "planes/planeformula.h"
#include "shell/reportcapture.h"
#include "surfer/application.h"
#include "toothfeatures/capturearea.h"
#include "toothfeatures/crestline.h"

#include <algorithm>
#include <cmath>

namespace trelvik::toothfeatures {

namespace {

void writePoints(const std::string& path, const PointList& points) {
    AtomicTextWriter w(path);
    for (const PointXYZ& p : points) w.line(text::WriteLine().num(p.x).num(p.y).num(p.z).str());
    w.commit();
}

struct Extents {
    double MinX = 100000, MaxX = -100000, MinY = 100000, MaxY = -100000;
};

// The top plane through the turned top points: fits it, and returns its formula line,
// which is only ever taken from a value that reads as a plane formula. The points, the
// plane grid and the reports are the step's files: made under their working names in
// `staged`, read from there.
std::string fitTopPlane(AppState& app, surfer::Application& s, const std::string& stem, const std::string& gridDir,
                        const Extents& e, StagedFiles& staged) {
    const std::string& data = staged.work(stem + "_CPlpt.dat");
    const std::string& grid = staged.work(stem + "_CPlpt.grd");
    surfer::Positional v6{data, short(0), short(1), short(2), e.MinX, e.MaxX, e.MinY, e.MaxY,
                          surfer::omitted, surfer::omitted, short(10), short(10), short(3), grid, short(1)};
    for (int i = 16; i <= 50; ++i) v6.args.push_back(surfer::omitted);
    for (int i = 51; i <= 54; ++i) v6.args.push_back(short(1));
    const surfer::Named v8{{"DataFile", data}, {"NumCols", 10}, {"NumRows", 10}, {"XMin", e.MinX},
                           {"XMax", e.MaxX}, {"YMin", e.MinY}, {"YMax", e.MaxY}, {"Algorithm", 7},
                           {"ShowReport", true}, {"OutGrid", grid}, {"RegrMaxXOrder", 1},
                           {"RegrMaxYOrder", 1}, {"RegrMaxTotalOrder", 1}};
    staged.naming([&] { callSurfer(app, s, "GridData", v6, v8); });

    std::string formula, source;
    if (isV8(app)) {
        const std::string report = CaptureSurferReport(app, gridDir, "", &staged);
        const std::string copy = stem + "_report.txt";
        const std::string& copyWork = staged.work(copy);
        writeFileAtomic(copyWork, readWholeFile(report));
        auto sheet = s.Documents.Open(copyWork);
        double c[3];
        const char* cells[3] = {"B170", "B171", "B172"};
        for (int k = 0; k < 3; ++k) {
            const auto v = numberIn(sheet->Cells(cells[k]).Value);
            if (!v) {
                s.ActiveDocument()->Close();
                throw Error(std::string("Cell ") + cells[k] + " of the gridding report " + copy +
                            " holds no plane coefficient, so no plane formula was written.");
            }
            c[k] = *v;
        }
        formula = planes::PlaneFormulaLine(c[0], c[1], c[2]);
        source = copy;
    } else {
        formula = planes::firstLine(s.clipboard());
        source = "the clipboard text after the plane fit";
    }
    s.ActiveDocument()->Close();
    planes::ParsePlaneFormula(formula, source);  // refuses anything that is not a plane
    return formula;
}

// The top plane is fit as z'(x', y') through the three turned top points: three points
// in one line seen along the occlusal vector give none, and the fit would refuse them
// only after the crest's files were made.
void requireTopPlane(const PointList& B) {
    const double ax = B[1].x - B[0].x, ay = B[1].y - B[0].y, bx = B[2].x - B[0].x, by = B[2].y - B[0].y;
    const double cx = bx - ax, cy = by - ay;
    const double span = std::max({ax * ax + ay * ay, bx * bx + by * by, cx * cx + cy * cy});
    if (std::fabs(ax * by - ay * bx) <= 1e-9 * span)
        throw Error("The three top points of the capture area lie in one line seen along the occlusal vector, so "
                    "no top plane passes through them: delimit the top again with three points not in a line.");
}

} // namespace

std::string partialCrestNote(const std::pair<long, long>& measured) {
    if (measured.first >= measured.second) return {};
    return "Measured " + std::to_string(measured.first) + " of the crest's " + std::to_string(measured.second) +
           " slice points: the others have no height (the crest leaves the grid's data there).";
}

bool cmdDigCBound(AppState& app, Prompt& prompt, const CaptureRequest& rq, const OcclusalState& st,
                  std::optional<CaptureTop>& top) {
    return runStep(prompt, [&] {
        if (!requireCrestName(prompt, rq.Combo1Text, rq.CrestCode)) return false;
        if (rq.kind == ToothKind::Carnassial) {
            if (!st.OcclusalPoint1 || !st.OcclusalPoint2 || !st.PlaneNormal) {
                refuse(prompt, "Capture area boundary",
                       "The carnassial top comes from the cusp tips of the occlusal-vector step: run \"Find "
                       "occlusal vector\" with Carnassial chosen first.");
                return false;
            }
            const PointXYZ &p1 = *st.OcclusalPoint1, &n = *st.PlaneNormal;
            top = CaptureTop{{p1, *st.OcclusalPoint2, PointXYZ{p1.x + n.x, p1.y + n.y, p1.z + n.z}}, st.GridFullPath};
            return true;
        }
        if (!requireOcclusalVector(prompt, st) || !requireGridFile(prompt, st)) return false;
        planes::GridHeightStep step;
        step.digitiseFile = st.GridDir + "digit1.dat";
        if (!askDigitise(prompt,
                         "Use 'Digitise' to define anterior and posterior of cusp area, and cusp tip.",
                         step.digitiseFile))
            return false;
        step.grid = st.GridFullPath;
        step.stem = st.GridDir + st.GridBaseName + rq.CrestCode;
        step.prefix = "_CPlp";
        step.count = 3;
        step.form = planes::residualsCallForm(app.SurferVersion);
        const PointList pts = planes::GridHeights(*st.m_Surfer, step);
        top = CaptureTop{{pts.at(0), pts.at(1), pts.at(2)}, st.GridFullPath};
        return true;
    });
}

bool cmdDigCrestLengthCapture(AppState& app, Prompt& prompt, const CaptureRequest& rq, const OcclusalState& st,
                              const std::optional<CaptureTop>& top, std::pair<long, long>* measured) {
    return runStep(prompt, [&] {
        if (!requireCrestName(prompt, rq.Combo1Text, rq.CrestCode)) return false;
        if (!requireOcclusalVector(prompt, st)) return false;
        if (!top || top->grid != st.GridFullPath) {
            refuse(prompt, "Capture area boundary",
                   top ? "The top of the capture area was delimited on " + top->grid +
                             ": delimit the top of this grid's capture area first."
                       : std::string("Delimit the top of the capture area first."));
            return false;
        }
        if (!requireGridFile(prompt, st)) return false;
        const std::string digit = st.GridDir + "digit2.dat";
        if (!askDigitise(prompt, "Use 'Digitise' to define crest.", digit)) return false;

        const std::string S = st.GridDir + st.GridBaseName + rq.CrestCode;
        const auto files = crestSliceFiles(S);
        StagedFiles staged;
        const auto slice = sliceCrest(app, *st.m_Surfer, st.GridFullPath, digit, files, staged);

        const OcclusalFrame frame(*st.OcclusalUnitVector);
        PointList C;
        std::vector<bool> gapBefore;
        Extents e;
        bool gap = false;
        for (const auto& p : slice) {
            if (p.blank()) {
                gap = true;
                continue;
            }
            const PointXYZ c = frame({p.x, p.y, p.z});
            gapBefore.push_back(gap && !C.empty());
            gap = false;
            C.push_back(c);
            e.MaxX = std::max(e.MaxX, c.x);
            e.MinX = std::min(e.MinX, c.x);
            e.MaxY = std::max(e.MaxY, c.y);
            e.MinY = std::min(e.MinY, c.y);
        }
        if (C.empty())
            throw Error("No point of the crest slice of " + digit +
                        " has a height: the crest line misses the grid's data. Digitise the crest within the tooth.");

        const double margin = e.MaxX > 200 ? 200 : 10;
        e.MaxX += margin;
        e.MaxY += margin;
        e.MinX -= margin;
        e.MinY -= margin;
        PointList B;
        for (const PointXYZ& t : *top) B.push_back(frame(t));
        B[2].z += 0.0001;
        requireTopPlane(B);
        // The crest's own files are kept only once its band is measured: a refusal on the
        // way leaves the earlier crest's.
        writePoints(staged.work(S + "_crsltrz.dat"), C);
        writePoints(staged.work(S + "_CPlpt.dat"), B);

        const std::string formula = fitTopPlane(app, *st.m_Surfer, S, st.GridDir, e, staged);
        planes::WritePlaneFormulaText(staged.work(S + "planeform.txt"), formula);

        formats::PointXYList xy;
        xy.reserve(C.size());
        for (const PointXYZ& c : C) xy.push_back({c.x, c.y});
        planes::GridHeightStep proj;
        proj.stem = S;
        proj.prefix = "_crsltrpp";
        proj.heightTag = "Z";
        proj.zeroFileCommaSeparated = true;
        proj.keepZeroFile = true;
        proj.form = planes::residualsCallForm(app.SurferVersion);
        // The projected heights join the crest's files, so that one commit puts the whole
        // set in place, the results made from them included.
        const std::string planeGrid = staged.work(S + "_CPlpt.grd");
        planes::MeasuredHeights Q = planes::MeasureGridHeightsAt(*st.m_Surfer, xy, planeGrid, proj, std::move(staged));

        formats::writeResultsTable(Q.files().work(S + "_capresults.csv"),
                                   captureResultsLines(captureArea(C, Q.points(), gapBefore)));
        Q.commit();
        if (measured) {
            measured->first = static_cast<long>(C.size());
            measured->second = static_cast<long>(slice.size());
        }
        return true;
    });
}

} // namespace trelvik::toothfeatures
