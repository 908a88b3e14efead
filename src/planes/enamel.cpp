#include "planes/enamel.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "core/vectors.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/slicefile.h"
#include "core/digitiseinputs.h"
#include "planes/gridheights.h"
#include "planes/landfindslice.h"
#include "planes/occlusalvector.h"
#include "shell/savefilerules.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace trelvik::planes {

namespace {

bool refuseText(Prompt& prompt, const std::string& text, const std::string& title = "") {
    return refuse(prompt, title, text);
}


// The grid the digitise steps read, checked before their questions.
bool topoGridPresent(const EnamelState& s, Prompt& prompt) {
    return inputsPresent(prompt, {{s.TopoGrid, "topo grid",
                                   "open the window again and input a grid that exists (\"Input topo grid\" takes "
                                   "one grid each time the window is opened)."}});
}

std::string segmentFile(const EnamelState& s, int i, const std::string& suffix) {
    return s.stem() + "S" + std::to_string(i) + suffix;
}

// Segment i of count: its prompt, its files put in place once its slice holds a height.
// False at Cancel.
bool digitiseSegment(EnamelState& s, AppState& app, Prompt& prompt, int i, int count, Progress& progress) {
    const std::string n = std::to_string(i);
    if (i > 1 && progress.stopRequested())
        throw Stopped("The outlines were stopped (Esc) before segment " + n + " of " + std::to_string(count) +
                      ": the " + std::to_string(i - 1) + " segment(s) done are kept.");
    progress.status("Enamel segment " + n + " of " + std::to_string(count));
    progress.step(i - 1, count);
    const std::string saved = joinFolder(s.GridFolder, "digit" + n + ".dat");
    if (!askDigitise(prompt, "Use 'Digitise' to define enamel outline " + n + ".", saved)) return false;
    // Messages name the file the user saved, not our copy of it.
    const std::string bytes = readWholeFile(saved);
    const formats::PointXYList points = formats::readDigitisePoints(saved);
    if (points.size() < 2)
        throw Error("The outline in " + saved + " holds " + std::to_string(points.size()) +
                    " point; an outline needs at least two.");
    // The segment's files are made beside their places and put there only once its
    // slice is known to hold a height: a refused segment leaves an earlier run's.
    StagedFiles staged;
    writeFileAtomic(staged.work(segmentFile(s, i, "_crp.dat")), bytes);
    const std::string& bln = staged.work(segmentFile(s, i, "_crp.bln"));
    const std::string& slice = staged.work(segmentFile(s, i, "_crsl.dat"));
    formats::writeBlnFile(bln, {formats::closedOutline(points, 0)}, formats::BlnLayout::Zone);
    GridSliceCall(*s.m_Surfer, app.SurferVersion, s.TopoGrid, bln, slice);
    const auto sliced = formats::readSliceFile(slice);
    if (std::none_of(sliced.begin(), sliced.end(), [](const formats::SlicePoint& p) { return !p.blank(); }))
        throw Error("Enamel segment " + n + " (" + saved + ") has no height: its outline lies wholly off the "
                    "tooth in " + s.TopoGrid + ". Digitise the outline over the crown.");
    staged.commit();
    const auto at = static_cast<std::size_t>(i);
    if (s.OutlineCounts.size() < at) s.OutlineCounts.resize(at);
    if (s.SliceCounts.size() < at) s.SliceCounts.resize(at);
    s.OutlineCounts[at - 1] = static_cast<long>(points.size()) + 1;
    s.SliceCounts[at - 1] = static_cast<long>(sliced.size());
    return true;
}

} // namespace

std::string EnamelState::stem() const { return joinFolder(GridFolder, GridBaseName); }

namespace {
// One opening of the window works on one tooth: a second grid or plane is refused by
// naming what is in use.
bool refuseAnotherTooth(Prompt& prompt, const std::string& inUse) {
    return refuseText(prompt, inUse + ": one opening of the window works on one tooth. To take another tooth, "
                                      "press Exit and open the window again.");
}

std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string segmentRange(int first, int last) {
    if (first == last) return "segment " + std::to_string(first);
    return "segments " + std::to_string(first) + (last == first + 1 ? " and " : " to ") + std::to_string(last);
}
} // namespace

bool cmdInputTopo(EnamelState& s, Prompt& prompt, const std::string& text7, const std::string& folder) {
    if (s.TopoLoaded) return refuseAnotherTooth(prompt, "The topo grid in use is " + s.TopoGrid);
    if (text7 == "*.grd" || text7.size() <= 4) return refuseText(prompt, "Please choose grid filename");
    s.GridBaseName = text7.substr(0, text7.size() - 4);
    s.GridFolder = folder;
    s.TopoGrid = joinFolder(folder, text7);
    s.TopoLoaded = true;
    return true;
}

std::optional<PlaneLabels> cmdInputPlane(EnamelState& s, Prompt& prompt, const std::string& folder) {
    if (s.PlaneLoaded) {
        refuseAnotherTooth(prompt, "The plane in use is " + s.PlaneFile + ", of the topo grid " + s.TopoGrid);
        return std::nullopt;
    }
    if (!s.TopoLoaded) {
        refuseText(prompt, "Input the topo grid first: the plane formula file is named after it.");
        return std::nullopt;
    }
    const std::string file = joinFolder(folder, s.GridBaseName + "planeform.txt");
    if (!FileExists(file))
        throw Error("Plane formula file not found: " + file + ". Plane fit makes it: fit the basal plane of " +
                    fileName(s.TopoGrid) + " with \"Digitise points for plane\" (Plane > Plane fit).");
    const PlaneCoefficients p = ReadPlaneFormulaFile(file);
    s.PlaneFile = file;
    s.PlaneA = p.A;
    s.PlaneB = p.B;
    s.PlaneC = p.C;
    s.PlaneLoaded = true;
    return PlaneLabels{text::CStr(p.A), text::CStr(p.B), text::CStr(p.C)};
}

std::string GridsInUse(const EnamelState& s) {
    if (!s.TopoLoaded) return "";
    std::string text = "Grid in use: " + fileName(s.TopoGrid);
    if (s.PlaneLoaded) text += "; plane from " + fileName(s.PlaneFile);
    return text;
}

bool cmdDigOccVect(EnamelState& s, AppState& app, Prompt& prompt) {
    if (!s.TopoLoaded) return refuseText(prompt, "Input the topo grid first.");
    BusyScope busy(prompt);
    if (!topoGridPresent(s, prompt)) return false;
    // Attached only once nothing is missing: attaching shows the map window, which a
    // refusal would leave in front with the focus.
    s.m_Surfer = AttachSurfer(app);
    GridHeightStep step;
    step.digitiseFile = joinFolder(s.GridFolder, "digit.dat");
    if (!askDigitise(prompt, "Use 'Digitise' to define occlusal vector.", step.digitiseFile)) return false;

    step.grid = s.TopoGrid;
    step.stem = s.stem();
    step.prefix = "_ovp";
    step.count = 2;
    step.form = residualsCallForm(app.SurferVersion);
    MeasuredHeights p = MeasureGridHeights(*s.m_Surfer, step);
    // Two points at one place give no vector: refused before their files are kept.
    const Vec3 u = unitVector(TriboOcclusalVector(p.points()[0], p.points()[1]));
    p.commit();
    s.OcclusalUnitVector = std::array<double, 3>{u.x(), u.y(), u.z()};
    return true;
}

bool cmdDigEnamOut(EnamelState& s, AppState& app, Prompt& prompt, const std::string& txtNoSeg, Progress& progress) {
    if (!s.TopoLoaded) return refuseText(prompt, "Input the topo grid first.");
    const double typed = text::Val(txtNoSeg);
    if (!(typed >= 0.5 && typed <= 1000)) return refuseText(prompt, "Enter the number of enamel segments (1 or more).");
    const int count = static_cast<int>(text::CInt(typed));
    if (!topoGridPresent(s, prompt)) return false;
    BusyScope busy(prompt);
    if (!s.m_Surfer) s.m_Surfer = AttachSurfer(app);
    // A run that ends early (Cancel, Esc, a refused segment) has replaced only the
    // segments it completed: the window goes on with what the folder then holds, this
    // run's segments followed by the earlier run's beyond them.
    const int earlier = s.SegmentCount;
    int done = 0;
    s.EarlyEndDone.reset();
    auto endEarly = [&] {
        s.SegmentCount = std::max(done, earlier);
        s.EarlyEndDone = done;
    };
    try {
        for (int i = 1; i <= count; ++i) {
            if (!digitiseSegment(s, app, prompt, i, count, progress)) {
                endEarly();
                return false;
            }
            done = i;
        }
    } catch (...) {
        endEarly();
        throw;
    }
    s.SegmentCount = count;
    s.OutlineCounts.resize(static_cast<std::size_t>(count));
    s.SliceCounts.resize(static_cast<std::size_t>(count));
    progress.step(count, count);
    return true;
}

namespace {
// After an outline run that ended early, which segments are this run's and which an
// earlier run's ("segment 1 from this run and segments 2 and 3 kept from before");
// empty otherwise.
std::string segmentsOfEachRun(const EnamelState& s) {
    if (!s.EarlyEndDone || s.SegmentCount < 1) return "";
    const int done = *s.EarlyEndDone;
    std::string which;
    if (done > 0) which = segmentRange(1, done) + " from this run";
    if (s.SegmentCount > done)
        which += (done > 0 ? " and " : "") + segmentRange(done + 1, s.SegmentCount) + " kept from before";
    return which;
}
} // namespace

std::string SegmentsToTransform(const EnamelState& s) {
    const std::string which = segmentsOfEachRun(s);
    if (which.empty()) return "";
    return "The outline run ended early: \"Transform and write to file\" will write " + which + ".";
}

std::string SegmentsTransformed(const EnamelState& s) {
    const std::string which = segmentsOfEachRun(s);
    if (which.empty()) return "";
    return "The outline run ended early: the outlines written hold " + which + ".";
}

std::vector<PointList> AlignOutlines(const std::vector<PointList>& segments, const std::array<double, 3>& u,
                                     const PlaneCoefficients& plane, bool upper) {
    const Mat3 r = RotationToHorizontal(plane);
    const Vec3 turned = r * unitVector(Vec3(u[0], u[1], u[2]));
    const double h = std::hypot(turned.x(), turned.y());
    if (!(h > 1e-12))
        throw Error("The occlusal vector stands at right angles to the basal plane, so it gives no direction to "
                    "turn the outlines to.");
    double theta = ArcCos(std::clamp(turned.y() / h, -1.0, 1.0));
    if (turned.x() > 0) theta = -theta;
    const double c = std::cos(theta), sn = std::sin(theta);
    std::vector<PointList> out(segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
        out[i].reserve(segments[i].size());
        for (const PointXYZ& p : segments[i]) {
            const Vec3 q = r * toVec3(p);
            const double x = c * q.x() + sn * q.y();
            const double y = -sn * q.x() + c * q.y();
            out[i].push_back({x, upper ? -y : y, q.z()});
        }
    }
    return out;
}

std::string OutlineFileText(const std::vector<PointList>& segments, bool withZ) {
    std::string text;
    for (const PointList& seg : segments) {
        for (const PointXYZ& p : seg) {
            text::WriteLine w;
            w.num(p.x).num(p.y);
            if (withZ) w.num(p.z);
            text += w.str();
            text += "\r\n";
        }
        text += "99999,\r\n";
    }
    return text;
}

std::optional<ToothSide> cmdTransform(EnamelState& s, Prompt& prompt, ToothSide side) {
    if (!s.PlaneLoaded) {
        refuseText(prompt, "Input the topo grid and its plane first.");
        return std::nullopt;
    }
    if (!s.OcclusalUnitVector) {
        refuseText(prompt, "Digitise the occlusal vector first.");
        return std::nullopt;
    }
    if (s.SegmentCount < 1) {
        refuseText(prompt, "Digitise the enamel outlines first.");
        return std::nullopt;
    }
    BusyScope busy(prompt);
    // A blank slice point has no height: it is left out rather than written as a
    // vertex at the origin that the contact analysis would take as part of the outline.
    std::vector<PointList> segments(static_cast<std::size_t>(s.SegmentCount));
    for (int i = 1; i <= s.SegmentCount; ++i)
        for (const formats::SlicePoint& p : formats::readSliceFile(segmentFile(s, i, "_crsl.dat")))
            if (!p.blank()) segments[static_cast<std::size_t>(i - 1)].push_back({p.x, p.y, p.z});
    const PlaneCoefficients plane{s.PlaneC, s.PlaneB, s.PlaneA};
    const auto aligned = AlignOutlines(segments, *s.OcclusalUnitVector, plane, false);
    if (side == ToothSide::Unset) {
        prompt.busy(false);
        side = prompt.message("", "Upper outline?", Buttons::YesNo) == Answer::Yes ? ToothSide::Upper : ToothSide::Lower;
        prompt.busy(true);
    }
    std::vector<PointList> out = aligned;
    if (side == ToothSide::Upper)
        for (PointList& seg : out)
            for (PointXYZ& p : seg) p.y = -p.y;
    // The contact analysis reads the two files as one outline set: neither is replaced
    // unless both are complete.
    AtomicTextWriter xy(s.stem() + "Out.csv"), xyz(s.stem() + "OutZ.csv");
    xy.write(OutlineFileText(out, false));
    xyz.write(OutlineFileText(out, true));
    commitTogether(xy, xyz);
    return side;
}

} // namespace trelvik::planes
