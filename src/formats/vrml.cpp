#include "formats/vrml.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/fastnumber.h"
#include "formats/quoted.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace trelvik::formats {

namespace {

// A number in the print form: a blank in place of a plus sign, no zero before the
// decimal point, one blank after it (" .5 ", "-2 ").
char* writePrintNumber(char* out, double v) {
    char tmp[kGeneralNumberMax];
    char* end = writeGeneralNumber(tmp, v);
    const char* p = tmp;
    if (*p == '-') {
        *out++ = '-';
        ++p;
    } else {
        *out++ = ' ';
    }
    if (p[0] == '0' && p + 1 < end && p[1] == '.') ++p;
    const auto n = static_cast<std::size_t>(end - p);
    std::memcpy(out, p, n);
    out += n;
    *out++ = ' ';
    return out;
}

void appendPrint(std::string& s, double v) {
    char buf[kGeneralNumberMax + 2];
    s.append(buf, writePrintNumber(buf, v));
}

void appendLine(std::string& s, std::string_view line) {
    s.append(line);
    s.append(kCRLF);
}

} // namespace

namespace {

// Emits the file through `put` (text pieces in order), one grid row at a time.
template <class Put>
void emitElevationGrid(const std::string& path, const VrmlElevationGridOut& f, Put&& put) {
    const std::size_t count = static_cast<std::size_t>(std::max(f.xDimension, 0)) *
                              static_cast<std::size_t>(std::max(f.zDimension, 0));
    if (f.heights.size() != count)
        throw Error("VRML file " + path + ": " + std::to_string(f.heights.size()) + " heights for a grid of " +
                    std::to_string(f.xDimension) + " x " + std::to_string(f.zDimension));
    std::string s;
    const bool tooth = f.variant == VrmlVariant::Tooth;
    const bool lattice = f.variant == VrmlVariant::Lattice;
    appendLine(s, "#VRML V2.0 utf8");
    if (tooth || lattice) appendLine(s, "# VRML of " + (f.source.empty() ? path : f.source));
    appendLine(s, "");
    appendLine(s, "NavigationInfo {");
    appendLine(s, "  type [    \"EXAMINE\",\"ANY\" ] }");
    appendLine(s, "");
    appendLine(s, "Background { skyColor [ 1 1 1, 1 1 1, 1 1 1 ]");
    appendLine(s, "  skyAngle [ 1.309, 1.571 ]");
    appendLine(s, "  groundColor [ 1 1 1, 1 1 1 ]");
    appendLine(s, "  groundAngle 1.57 }");
    appendLine(s, "");
    appendLine(s, "DirectionalLight {");
    appendLine(s, "  direction -1 -1 -1");
    appendLine(s, "  intensity 0.25 }");
    appendLine(s, "");
    appendLine(s, "Viewpoint {");
    appendLine(s, "  description \"Start\"");
    // The lattice file writes its last coordinate without the sign's blank.
    appendLine(s, "  position " + text::Str(text::Round(f.px, 3)) + " " + text::Str(text::Round(f.py, 3)) + " " +
                      (lattice ? text::CStr(text::Round(f.pz, 3)) : text::Str(text::Round(f.pz, 3))));
    appendLine(s, tooth || lattice ? "  orientation 0 0.707 0.707 3.141 }" : "  orientation -0.3 0.60 0.3 1.080 }");
    appendLine(s, "");
    appendLine(s, "Transform {");
    appendLine(s, "   scale " + f.scale + " " + f.scale + " " + f.scale + (lattice ? " #um" : ""));
    appendLine(s, "   children [");
    appendLine(s, "      Shape {");
    appendLine(s, "         appearance Appearance {");
    appendLine(s, "            material Material {");
    appendLine(s, "               diffuseColor 0 0.25 1.0");
    appendLine(s, "               shininess 0.2 } }");
    appendLine(s, "         geometry ElevationGrid {");
    s += "            xDimension ";
    appendPrint(s, f.xDimension);
    s += kCRLF;
    s += "            zDimension ";
    appendPrint(s, f.zDimension);
    s += kCRLF;
    appendLine(s, "            xSpacing " + f.xSpacing);
    appendLine(s, "            zSpacing " + f.zSpacing);
    appendLine(s, "            creaseAngle 30");
    appendLine(s, "            height [");
    put(std::string_view(s));
    // One row a line, numbers formatted straight into a buffer: the grid may hold
    // millions of nodes.
    std::string line;
    line.resize(static_cast<std::size_t>(std::max(f.xDimension, 0)) * (kGeneralNumberMax + 2) + 2);
    for (int j = 0; j < f.zDimension; ++j) {
        char* out = line.data();
        const double* row = f.heights.data() + static_cast<std::size_t>(j) * f.xDimension;
        for (int i = 0; i < f.xDimension; ++i) out = writePrintNumber(out, row[i]);
        *out++ = '\r';
        *out++ = '\n';
        put(std::string_view(line.data(), static_cast<std::size_t>(out - line.data())));
    }
    put(std::string_view("] } } ] }\r\n"));
}

} // namespace

std::string vrmlElevationGridText(const std::string& path, const VrmlElevationGridOut& f) {
    std::string s;
    s.reserve(f.heights.size() * 12 + 1024);
    emitElevationGrid(path, f, [&](std::string_view t) { s.append(t); });
    return s;
}

void writeVrmlElevationGrid(const std::string& path, const VrmlElevationGridOut& file) {
    AtomicTextWriter w(path);
    emitElevationGrid(path, file, [&](std::string_view t) { w.write(t); });
    w.commit();
}

namespace {

class Scanner {
public:
    Scanner(std::string_view text, const std::string& path) : p_(text.data()), end_(text.data() + text.size()), path_(path) {}

    // Next token: a bracket or brace alone, else a run up to a blank, comma, bracket,
    // brace or comment. Empty at the end of the text.
    std::string_view next() {
        skip();
        if (p_ >= end_) return {};
        const char* start = p_;
        if (isPunct(*p_)) {
            ++p_;
            return {start, 1};
        }
        if (*p_ == '"') {  // a string, taken whole
            ++p_;
            while (p_ < end_ && *p_ != '"') p_ += (*p_ == '\\' && p_ + 1 < end_) ? 2 : 1;
            if (p_ < end_) ++p_;
            return {start, static_cast<std::size_t>(p_ - start)};
        }
        while (p_ < end_ && !isSpace(*p_) && !isPunct(*p_) && *p_ != '#') ++p_;
        return {start, static_cast<std::size_t>(p_ - start)};
    }

    double number(const char* what) {
        const std::string_view t = next();
        double v = 0;
        const char* b = t.data();
        const char* e = t.data() + t.size();
        if (!t.empty() && *b == '+') ++b;
        const auto r = std::from_chars(b, e, v);
        // "nan" and "inf" parse, but no height or spacing can be either.
        if (t.empty() || r.ec != std::errc() || r.ptr != e || !std::isfinite(v))
            throw Error("VRML file " + path_ + ": " + what + " expects a number, found \"" + quotedPart(t) + "\"");
        return v;
    }

    // A node count: a whole number from 0 up to what an int holds.
    int dimension(const char* what) {
        const double v = number(what);
        if (!(v >= 0 && v <= 2147483647.0) || v != std::floor(v))
            throw Error("VRML file " + path_ + ": " + what + " must be a whole number of nodes, not " + text::CStr(v));
        return static_cast<int>(v);
    }
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - p_); }

    // Numbers up to the closing bracket of a list whose opening bracket comes next.
    void numberList(std::vector<double>& out, const char* what) {
        if (next() != "[") throw Error("VRML file " + path_ + ": " + what + " expects a list in [ ]");
        for (;;) {
            skip();
            if (p_ >= end_) throw Error("VRML file " + path_ + ": " + what + " list is not closed");
            if (*p_ == ']') {
                ++p_;
                return;
            }
            double v = 0;
            const char* b = p_;
            if (*b == '+') ++b;
            const auto r = std::from_chars(b, end_, v);
            if (r.ec != std::errc() || !std::isfinite(v) ||
                (r.ptr < end_ && !isSpace(*r.ptr) && !isPunct(*r.ptr) && *r.ptr != '#'))
                throw Error("VRML file " + path_ + ": " + what + " holds something that is not a number");
            out.push_back(v);
            p_ = r.ptr;
        }
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; }
    static bool isPunct(char c) { return c == '{' || c == '}' || c == '[' || c == ']'; }
    void skip() {
        for (;;) {
            while (p_ < end_ && isSpace(*p_)) ++p_;
            if (p_ < end_ && *p_ == '#') {
                while (p_ < end_ && *p_ != '\n' && *p_ != '\r') ++p_;
                continue;
            }
            return;
        }
    }
    const char* p_;
    const char* end_;
    const std::string& path_;
};

} // namespace

VrmlSurface parseVrmlSurface(std::string_view text, const std::string& path) {
    VrmlSurface s;
    // VRML's own defaults: writers may leave out a spacing of 1.
    s.xSpacing = s.zSpacing = 1;
    Scanner sc(text, path);
    bool haveScale = false, inGrid = false, gridSeen = false, haveHeights = false;
    int depth = 0, gridDepth = 0;
    for (std::string_view t = sc.next(); !t.empty(); t = sc.next()) {
        if (t == "{" || t == "[") {
            ++depth;
        } else if (t == "}" || t == "]") {
            --depth;
            if (inGrid && depth < gridDepth) inGrid = false;
        } else if (t == "ElevationGrid") {
            if (gridSeen) continue;  // the first elevation grid is the surface
            if (sc.next() != "{") throw Error("VRML file " + path + ": ElevationGrid without { }");
            gridSeen = inGrid = true;
            gridDepth = ++depth;
        } else if (inGrid && t == "xDimension") {
            s.xDimension = sc.dimension("xDimension");
        } else if (inGrid && t == "zDimension") {
            s.zDimension = sc.dimension("zDimension");
        } else if (inGrid && t == "xSpacing") {
            s.xSpacing = sc.number("xSpacing");
        } else if (inGrid && t == "zSpacing") {
            s.zSpacing = sc.number("zSpacing");
        } else if (inGrid && t == "height") {
            // Reserve no more than the text left could hold (two characters a height at
            // the least), so a damaged count cannot ask for gigabytes.
            if (s.xDimension > 0 && s.zDimension > 0)
                s.heights.reserve(std::min(static_cast<std::size_t>(s.xDimension) * static_cast<std::size_t>(s.zDimension),
                                           sc.remaining() / 2 + 1));
            sc.numberList(s.heights, "height");
            haveHeights = true;
        } else if (t == "scale" && !haveScale && !gridSeen) {
            s.scale = sc.number("scale");
            sc.number("scale");
            sc.number("scale");
            haveScale = true;
        } else if (t == "position" && !s.hasViewpoint) {
            s.px = sc.number("position");
            s.py = sc.number("position");
            s.pz = sc.number("position");
            s.hasViewpoint = true;
        }
    }
    if (!gridSeen) throw Error("VRML file " + path + " holds no ElevationGrid");
    if (s.xDimension <= 0 || s.zDimension <= 0)
        throw Error("VRML file " + path + ": the ElevationGrid has no positive xDimension and zDimension");
    if (!(s.xSpacing > 0) || !(s.zSpacing > 0))
        throw Error("VRML file " + path + ": the ElevationGrid's spacings must be positive");
    const std::size_t want = static_cast<std::size_t>(s.xDimension) * static_cast<std::size_t>(s.zDimension);
    if (!haveHeights || s.heights.size() != want)
        throw Error("VRML file " + path + ": " + std::to_string(s.heights.size()) + " heights for a grid of " +
                    std::to_string(s.xDimension) + " x " + std::to_string(s.zDimension));
    return s;
}

VrmlSurface readVrmlSurface(const std::string& path) { return parseVrmlSurface(readWholeFile(path), path); }

trelvik::Grid vrmlSurfaceGrid(const VrmlSurface& v) {
    const double k = v.scale;
    const double xMax = (v.xDimension - 1) * v.xSpacing * k;
    const double depth = (v.zDimension - 1) * v.zSpacing * k;
    trelvik::Grid g(v.xDimension, v.zDimension, 0.0, xMax, -depth, 0.0, 0.0);
    for (int j = 0; j < v.zDimension; ++j) {
        const int row = v.zDimension - 1 - j;  // VRML z grows towards the viewer: south
        for (int i = 0; i < v.xDimension; ++i)
            g.at(i, row) = v.heights[static_cast<std::size_t>(j) * v.xDimension + i] * k;
    }
    return g;
}

} // namespace trelvik::formats
