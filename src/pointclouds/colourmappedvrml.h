#pragma once
// Colour-mapped VRML polygon output ("Convert" of the "Enamel thickness" frame): a VRML
// polygon surface rewritten with only the faces whose corners are points of a cloud,
// coloured, when the cloud carries a value t per point (x, y, z, t, such as the enamel
// thickness), by classes of t.
//
// Matching: a vertex matches a cloud point when each coordinate differs by less than
// 0.0005. The cloud is walked in file order; each point takes the first matching vertex
// in the cyclic order that starts at the vertex matched last (vertex 1 at first), so
// a cloud and a surface listing their points alike match in one sweep. VertexMatch(v)
// is the number (1..N) of the last point that took vertex v, 0 when none did.
//
// Classes of t, step 0.1 (Int = floor): TLo = 0.1 Int(minT / 0.1), THi = 0.1 (Int(maxT /
// 0.1) + 1), NClasses = (THi - TLo) / 0.1 rounded; a point's class Int((t - TLo) / 0.1) +
// 1, held within 1..NClasses. Class k has p = k / NClasses and the colour of the bands
// red-yellow (p up to 1/5: 1, 5p, 0), yellow-green (up to 2/5: 1 - 5(p - 1/5), 1, 0),
// green-cyan (up to 3/5: 0, 1, 5(p - 2/5)), cyan-blue (up to 4/5: 0, 1 - 5(p - 3/5), 1),
// blue-magenta (up to 1: 5(p - 4/5), 0, 1); a bound belongs to the lower band.
//
// Faces: a face of n corners is split into the triangles (c1, ck, ck+1), k = 2..n-1; a
// triangle is kept when its three corners match. Its indices are the vertices' own, or,
// when only the cloud's points are written, VertexMatch - 1 into the cloud points.
#include "core/points.h"
#include "pointclouds/ptcloudlist.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::ptcloud {

struct ColourClasses {
    double TLo = 0, THi = 0;
    int NClasses = 0;
    std::vector<std::array<double, 3>> ClassColour;  // class k at k - 1
};

// Throws trelvik::Error for no values or more than 32,767 classes.
ColourClasses MakeColourClasses(const std::vector<double>& t);
int PointClass(const ColourClasses& c, double t);
std::array<double, 3> BandColour(double p);

// VertexMatch(1..V) stored 0-based: element v - 1 holds the cloud point's number or 0.
std::vector<std::uint32_t> MatchVertices(const PointList& vertices, const PointList& cloud,
                                         Progress& progress = noProgress());

struct PointsToWrlOptions {
    bool optXYZT = true;          // "x,y,z,t"; false: "x,y,z"
    bool chkOnlyPolyPts = true;   // "Only write to file points used in polygons"
};

// Entry 1 the point file, entry 2 the VRML file; fewer than two listed files: a message
// says so and the list stays. Writes FileStem(1) & "_poly" & FileExt(2) (also
// FileOutName(1)) and clears the list. True when it wrote the file.
bool cmdPointsToWrl(PtCloudContext& ctx, const PointsToWrlOptions& options);

} // namespace trelvik::ptcloud
