#include "conversion/gridtodat.h"

#include "conversion/writercalls.h"
#include "core/error.h"
#include "core/grid.h"
#include "core/tempfiles.h"
#include "formats/chunkwriter.h"
#include "formats/numberforms.h"
#include "formats/numberrows.h"
#include "formats/xyzdump.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

namespace trelvik::conversion {

namespace {

inline char* copyText(char* p, std::string_view t) {
    std::memcpy(p, t.data(), t.size());
    return p + t.size();
}

} // namespace

std::string DatOutputName(const std::string& stem, bool chkRenameExt, const std::string& txtRenameExt) {
    return stem + (chkRenameExt ? txtRenameExt : std::string(".dat"));
}

void WriteDatWithoutBlanks(const std::string& xyzText, const std::string& out) {
    formats::ChunkWriter w(out);
    ScanXyzText(xyzText, "XYZ text", [&](const formats::XyzRecord& r) {
        if (!(r.z < kBlankThreshold)) return;
        // The mapping program's text already holds each number in the general form.
        char* p = w.room(r.xText.size() + r.yText.size() + r.zText.size() + 4);
        p = copyText(p, r.xText);
        *p++ = ',';
        p = copyText(p, r.yText);
        *p++ = ',';
        p = copyText(p, r.zText);
        *p++ = '\r';
        *p++ = '\n';
        w.done(p);
    });
    w.commit();
}

void WriteShiftedXyz(const std::string& xyzText, const std::string& out) {
    // One read of the text keeps the data nodes (the output needs the minima first);
    // the minima start from the first record (and the first data height), so grids far
    // from the origin are shifted by their own least values.
    std::vector<double> data;
    std::error_code ec;
    const auto size = std::filesystem::file_size(xyzText, ec);
    if (!ec) data.reserve(static_cast<std::size_t>(size / 24) * 3 + 3);
    bool anyNode = false, anyData = false;
    double xmin = 0, ymin = 0, zmin = 0;
    double xmax = 0, ymax = 0, zmax = 0;  // of the data nodes
    ScanXyzText(xyzText, "XYZ text", [&](const formats::XyzRecord& r) {
        if (!anyNode || r.x < xmin) xmin = r.x;
        if (!anyNode || r.y < ymin) ymin = r.y;
        anyNode = true;
        if (!(r.z < kBlankThreshold)) return;
        if (!anyData || r.z < zmin) zmin = r.z;
        if (!anyData || r.x > xmax) xmax = r.x;
        if (!anyData || r.y > ymax) ymax = r.y;
        if (!anyData || r.z > zmax) zmax = r.z;
        anyData = true;
        data.insert(data.end(), {r.x, r.y, r.z});
    });
    // "0.0##" writes every whole digit: a grid some 1E+33 wide has shifted values far
    // longer than the general form, so the rows' room follows the largest of them.
    const double largest = std::max({xmax - xmin, ymax - ymin, zmax - zmin});
    const std::size_t numberRoom = static_cast<std::size_t>(formats::format0_0xxRoom(largest)) + 2;
    formats::ChunkWriter w(out);
    formats::writeRows(w, data.size() / 3, 3 * numberRoom + 4, [&](std::size_t r, char* p) {
        const double* v = data.data() + 3 * r;
        p = formats::writeFormat0_0xx(p, v[0] - xmin);
        *p++ = '\t';
        p = formats::writeFormat0_0xx(p, v[1] - ymin);
        *p++ = '\t';
        p = formats::writeFormat0_0xx(p, v[2] - zmin);
        *p++ = '\r';
        *p++ = '\n';
        return p;
    });
    w.commit();
}

void GridToDat(surfer::Application& app, const std::string& version, const std::string& grid,
               const std::string& out, bool chkRemoveBPts) {
    RequireInputFile(grid, "grid");
    RefuseOverwritingInput(grid, out);
    if (!chkRemoveBPts) {
        GridToXyzText(app, version, grid, out);
        return;
    }
    const PrivateTempFile dump(".dat");
    GridToXyzText(app, version, grid, dump.path());
    WriteDatWithoutBlanks(dump.path(), out);
}

void GridToXyz(surfer::Application& app, const std::string& version, const std::string& grid,
               const std::string& out) {
    RequireInputFile(grid, "grid");
    RefuseOverwritingInput(grid, out);
    const PrivateTempFile dump(".dat");
    GridToXyzText(app, version, grid, dump.path());
    WriteShiftedXyz(dump.path(), out);
}

} // namespace trelvik::conversion
