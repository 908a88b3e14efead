#include "shell/gridgeometry.h"

#include "core/error.h"
#include "core/textform.h"
#include "shell/settings.h"
#include "surfer/application.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace trelvik {

namespace {

struct Scan {
    long long lines = 0;
    long cols = 0;
    double x0 = 0, y0 = 0, xSpacing = 0, ySpacing = 0;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    double zMin = 1000000, zMax = -1000000;
    bool ySpacingSet = false;

    void add(double x, double y, double z) {
        ++lines;
        if (lines == 1) {
            x0 = x;
            y0 = y;
            xMin = xMax = x;
            yMin = yMax = y;
        }
        if (lines == 2) xSpacing = std::fabs(x - x0);
        if (!ySpacingSet && y != y0) {
            ySpacing = std::fabs(text::Round(y - y0, 6));
            cols = static_cast<long>(lines - 1);
            ySpacingSet = true;
        }
        if (x < xMin) xMin = x;
        if (y < yMin) yMin = y;
        if (x > xMax) xMax = x;
        if (y > yMax) yMax = y;
        if (z < 1e37) {
            if (z < zMin) zMin = z;
            if (z > zMax) zMax = z;
        }
    }
};

bool isSep(char c) { return c == ' ' || c == '\t' || c == ','; }

// Three numbers from one line; false when they are not there.
bool parseLine(std::string_view line, double v[3]) {
    std::size_t i = 0;
    for (int k = 0; k < 3; ++k) {
        while (i < line.size() && isSep(line[i])) ++i;
        std::size_t j = i;
        while (j < line.size() && !isSep(line[j])) ++j;
        std::string_view tok = line.substr(i, j - i);
        if (!tok.empty() && tok.front() == '+') tok.remove_prefix(1);
        auto res = std::from_chars(tok.data(), tok.data() + tok.size(), v[k]);
        if (tok.empty() || res.ec != std::errc() || res.ptr != tok.data() + tok.size()) return false;
        i = j;
    }
    return true;
}

// One pass over the text in large blocks; no node array is held.
Scan scanXyz(const std::string& path, const std::string& grid) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) throw Error("The XYZ text of grid " + grid + " was not written (" + path + ")");
    Scan s;
    std::string buf, carry;
    buf.resize(1 << 20);
    long long lineNo = 0;
    auto take = [&](std::string_view line) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) return;
        double v[3];
        if (!parseLine(line, v))
            throw Error("The XYZ text of grid " + grid + " has no x, y, z on line " + std::to_string(lineNo));
        s.add(v[0], v[1], v[2]);
    };
    for (;;) {
        const std::size_t got = std::fread(buf.data(), 1, buf.size(), f.get());
        if (got == 0) break;
        std::string_view block(buf.data(), got);
        std::size_t pos = 0;
        for (;;) {
            const std::size_t nl = block.find('\n', pos);
            if (nl == std::string_view::npos) break;
            if (!carry.empty()) {
                carry.append(block.substr(pos, nl - pos));
                take(carry);
                carry.clear();
            } else {
                take(block.substr(pos, nl - pos));
            }
            pos = nl + 1;
        }
        carry.append(block.substr(pos));
    }
    if (!carry.empty()) take(carry);
    return s;
}

} // namespace

void ReadGridGeometry(AppState& app, const std::string& grid) {
    const std::string progId = GetSurferProgID(app);
    if (progId.empty()) throw Error("No mapping-program version is chosen; cannot read grid " + grid);
    app.SurferApp = surfer::connect(progId, false);
    if (app.SurferVersion == "SurferV8") app.SurferApp->Visible = true;

    const std::string temp = text::BaseName(grid) + "temp.dat";
    struct Remove {
        std::string path;
        ~Remove() {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    } cleanup{temp};

    if (app.SurferVersion == "SurferV6")
        app.SurferApp->call("GridConvert", surfer::Positional{grid, temp, 3});
    else
        app.SurferApp->call("GridConvert", surfer::Named{{"InGrid", grid}, {"OutGrid", temp}, {"OutFmt", 4}});

    const Scan s = scanXyz(temp, grid);
    if (s.lines == 0) throw Error("Grid " + grid + " is unusable: its XYZ text holds no node");
    if (!s.ySpacingSet)
        throw Error("Grid " + grid + " is unusable: it has a single row, so its columns cannot be counted");

    app.GridCols = s.cols;
    app.GridRows = static_cast<long>(text::CInt(static_cast<double>(s.lines) / static_cast<double>(s.cols)));
    app.GridXMin = s.xMin;
    app.GridXMax = s.xMax;
    app.GridYMin = s.yMin;
    app.GridYMax = s.yMax;
    app.GridZMin = s.zMin;
    app.GridZMax = s.zMax;
    app.GridXSpacing = s.xSpacing;
    app.GridYSpacing = s.ySpacing;
}

} // namespace trelvik
