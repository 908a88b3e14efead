#pragma once
// The occlusal-vector step of the crest and rake windows ("Find occlusal vector"), the
// occlusal frame the later steps turn points into, and the small services those steps
// share (stepservices.h).
//
// The step attaches the window to the running mapping program, fixes the grid's
// folder, base name and full path for the window's later steps, asks the user to
// digitise two points on the grid's map and save them as "digit.dat" beside the grid,
// takes the grid's heights there (the grid-height step of planes/gridheights.h) and
// computes the unit occlusal vector (planes/occlusalvector.h):
//   Tribo-type   the points lie along the vector: V = P1 - P2;
//   Carnassial   the points are two cusp tips: V = N x (P1 - P2) turned upwards, N the
//                normal of the tooth's plane from GridDir & GridBaseName & "planeform.txt".
// Files, all beside the grid, named GridDir & GridBaseName & code & prefix & suffix:
//   crest windows   code = CrestCode for both options; prefix "_ovp" / "_ctp";
//   rake window     tribo "_ovp" without the code, carnassial CrestCode & "_ctp";
// each as the copy ".dat", the zero file "0.dat" (deleted) and the height file "z.dat".
//
// Reported, the window staying usable: no grid chosen ("Choose grid filename"), no crest
// chosen in the crest windows, a missing or short digitise file, a point outside the
// grid or on a blank node, identical points or a tip line parallel to the plane normal,
// a missing or malformed plane formula file, a failed mapping-program call. A missing
// grid or (Carnassial) plane formula file is said before the digitise question, and every
// refusal before the attach, so the map window it shows never opens for a step refused
// (it would stay in front, the focus in it, over the refusal answered). A run that
// ends early (Cancel or a refusal) keeps the previous vector, with its cusp tips and plane
// normal, only while the grid stays the same: a vector never carries over to another
// grid. A refused run leaves the earlier run's point and height files as they were: they
// are put in place only once the points give a vector.
//
// The occlusal frame turns a point of the grid's coordinates so that the unit occlusal
// vector becomes +z (z' is the height along it); a vertical vector gives the identity,
// or the half turn about y when it points down.
#include "core/appstate.h"
#include "core/points.h"
#include "core/prompt.h"
#include "toothfeatures/stepservices.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace trelvik::toothfeatures {

enum class ToothKind { Tribo, Carnassial };
enum class CrestWindowKind { AppAng, Capture, Rake };

// What the step leaves in its window for the later steps.
struct OcclusalState {
    std::shared_ptr<surfer::Application> m_Surfer;
    std::string GridDir;       // Label3 & separator
    std::string GridBaseName;  // Text2 less its last four characters
    std::string GridFullPath;  // GridDir & Text2
    std::optional<PointXYZ> OcclusalPoint1, OcclusalPoint2, PlaneNormal;
    std::optional<PointXYZ> OcclusalUnitVector;
};

struct OccVectRequest {
    CrestWindowKind window = CrestWindowKind::AppAng;
    ToothKind kind = ToothKind::Tribo;
    std::string Label3;            // folder of the grid
    std::string Text2 = "*.grd";   // grid file name
    std::string Combo1Text;        // crest list text
    std::string CrestCode;
};

// "Find occlusal vector". True when a new vector was found.
bool cmdOccVect(AppState& app, Prompt& prompt, const OccVectRequest& request, OcclusalState& state);

// The rotation into the occlusal frame of the unit vector u, built once for many points.
class OcclusalFrame {
public:
    explicit OcclusalFrame(const PointXYZ& u);
    PointXYZ operator()(const PointXYZ& p) const {
        return {r_[0] * p.x + r_[1] * p.y + r_[2] * p.z, r_[3] * p.x + r_[4] * p.y + r_[5] * p.z,
                r_[6] * p.x + r_[7] * p.y + r_[8] * p.z};
    }

private:
    double r_[9];
};

// --- Shared by the crest and rake steps ------------------------------------------------

// Label3 & the path separator (none added when it already ends in one).
std::string folderOf(const std::string& label3);

// Refuses a step that names its files by the crest while the crest list shows no chosen
// crest, titled "Crest name" with crestNameRefusal's words (nametables.h).
bool requireCrestName(Prompt& prompt, const std::string& Combo1Text, const std::string& CrestCode);

// Refuses a measuring step whose window has no occlusal vector for its grid yet.
bool requireOcclusalVector(Prompt& prompt, const OcclusalState& state);

// Refuses a measuring step, before its digitise question, whose grid is no longer there.
bool requireGridFile(Prompt& prompt, const OcclusalState& state);

} // namespace trelvik::toothfeatures
