#include "toothfeatures/cusporsteps.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/resultscsv.h"
#include "formats/slicefile.h"
#include "core/digitiseinputs.h"
#include "surfer/application.h"
#include "surferfns/surffnsstate.h"
#include "toothfeatures/stepservices.h"


namespace trelvik::toothfeatures {

namespace {

using surfer::Named;
using surfer::Positional;
using surfer::omitted;


// The first two points of the user's digitise file.
formats::PointXYList twoPoints(const std::string& digit)
{
    if (!FileExists(digit))
        throw Error("The digitise file " + digit + " does not exist: save the points there first.");
    formats::PointXYList points = formats::readDigitisePoints(digit);
    if (points.size() < 2)
        throw Error("The digitise file " + digit + " holds " + std::to_string(points.size()) +
                    " point(s); two are needed.");
    points.resize(2);
    return points;
}

bool digitiseProfile(CuspORRun& run)
{
    CuspORControls& c = run.c;
    CuspORState& s = run.s;
    if (c.Text2 == "*.grd" || c.Text2.size() <= 4) {
        run.prompt.busy(false);
        run.prompt.message("Filename", "Choose grid filename");
        return false;
    }
    const std::string dir = surffns::JoinFolder(c.Label3, "");
    const std::string base = c.Text2.substr(0, c.Text2.size() - 4);
    const std::string stem = dir + base;
    const std::string grid = dir + c.Text2;
    if (!inputsPresent(run.prompt, {{grid, "grid", "choose a grid in the file list."}}))
        return false;
    // Attached only once nothing is missing: attaching shows the map window, which a
    // refusal would leave in front with the focus.
    s.m_Surfer = attachSurfer(run.app);
    const std::string digit = dir + "digit.dat";
    if (!askDigitise(run.prompt, "Use 'Digitise' to define profile of groove.", digit))
        return false;
    const formats::PointXYList ends = twoPoints(digit);
    // The line and the slice are made under working names and put in place only for a
    // profile that is kept: a refused groove leaves the earlier profile's files.
    StagedFiles staged;
    const std::string& line = staged.work(stem + "_Profp.bln");
    const std::string& slice = staged.work(stem + "_Prof.dat");
    formats::BlnSection section = formats::openLine(ends, 0);
    section.literalHeader = text::PrintLine().text("2").text("0").str();  // the count as text, no sign slot
    formats::writeBlnFile(line, {section}, formats::BlnLayout::Zone);
    staged.naming([&] {
        if (s.m_Surfer->version() == 6)
            s.m_Surfer->call("GridSlice", Positional{grid, line, omitted, slice});
        else
            s.m_Surfer->call("GridSlice", Named{{"InGrid", grid}, {"BlankFile", line}, {"OutDataFile", slice}});
    });

    const std::vector<formats::SlicePoint> points = formats::readSliceFile(slice);
    GrooveProfile profile;
    int blanks = 0;
    for (const formats::SlicePoint& p : points) {
        blanks += p.blank();
        profile.ProfX.push_back(p.x);
        profile.ProfY.push_back(p.y);
        profile.ProfZ.push_back(p.z);
        profile.ProfDist.push_back(p.distance);
    }
    // A blank height would enter the relief as 1.7E+38; such a profile is not kept. The
    // window goes on with the earlier profile, whose files stand as they were.
    if (profile.count() < 2)
        throw Error("The groove profile of " + digit + " holds fewer than two points: digitise the groove across "
                    "the grid.");
    if (blanks > 0)
        throw Error("The groove profile of " + digit + " crosses blank parts of the grid at " +
                    std::to_string(blanks) + " point(s): digitise the groove within the tooth.");
    staged.commit();
    s.GridDir = dir;
    s.GridBaseName = base;
    s.profile = std::move(profile);
    return true;
}

bool digitiseOcclusalVector(CuspORRun& run)
{
    CuspORControls& c = run.c;
    CuspORState& s = run.s;
    if (s.profile.count() == 0) {
        run.prompt.busy(false);
        run.prompt.message("", "Digitise the groove profile first.");
        return false;
    }
    // The tolerance step is checked first: a step of 0 or less would never widen the search.
    const auto step = numberIn(c.Text1);
    if (!step || !(*step > 0))
        throw Error("The tolerance interval must be a number above 0, not \"" + c.Text1 + "\".");
    const std::string digit = s.GridDir + "digit1.dat";
    if (!askDigitise(run.prompt, "Use 'Digitise' to define two points along occlusal vector.", digit))
        return false;
    const std::string stem = s.GridDir + s.GridBaseName;
    const formats::PointXYList pts = twoPoints(digit);
    s.MatchIndex1 = s.MatchIndex2 = 0;
    if (pts[0] == pts[1]) {
        run.prompt.busy(false);
        run.prompt.message("Error", "The two occlusal vector points are the same point.\n\r"
                                    "Redo occlusal vector with two points along it.");
        return false;
    }
    const auto match = matchOcclusalPoints(s.profile, pts[0].x, pts[0].y, pts[1].x, pts[1].y, *step);
    if (!match) {
        run.prompt.busy(false);
        run.prompt.message("Error", "Error - Occlusal vector points must be closer to profile.\n\r"
                                    "Redo occlusal vector or increase tolerance.");
        return false;
    }
    s.MatchIndex1 = match->MatchIndex1;
    s.MatchIndex2 = match->MatchIndex2;
    c.Label9 = text::CStr(match->tolerance);
    const OcclusionRelief relief = occlusionRelief(s.profile, s.MatchIndex1, s.MatchIndex2);
    s.PeakIndex = relief.PeakIndex;
    // The points are copied only once they are taken: refused ones leave the earlier copy.
    // The copy and the table made from it go in place together.
    StagedFiles staged;
    writeFileAtomic(staged.work(stem + "_ovp.dat"), readWholeFile(digit));
    formats::writeResultsTable(staged.work(stem + "_corresults.csv"),
                               occlusionReliefLines(s.profile, *match, relief));
    staged.commit();
    return true;
}

bool guarded(CuspORRun& run, bool (*step)(CuspORRun&))
{
    return runGuarded(run.prompt, "", [&] { return step(run); });
}

} // namespace

bool DigitiseProfile(CuspORRun& run) { return guarded(run, digitiseProfile); }
bool DigitiseOcclusalVector(CuspORRun& run) { return guarded(run, digitiseOcclusalVector); }

void NextGrid(CuspORRun& run)
{
    run.c.Text2 = "*.grd";
    run.c.Text1 = "1";
    run.c.Label9.clear();
}

} // namespace trelvik::toothfeatures
