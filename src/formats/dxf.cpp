#include "formats/dxf.h"

#include "core/error.h"
#include "core/grid.h"
#include "formats/chunkwriter.h"
#include "formats/numberforms.h"
#include "formats/numberrows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace trelvik::formats {

namespace {

constexpr std::size_t kNum = kGeneralNumberMax + 3;

// The print texts of one grid row: x, y and z of every node, formatted once and copied
// into each of the (up to six) faces that share the node.
struct RowTexts {
    std::vector<char> text;
    std::vector<std::uint32_t> start;   // per node: offset of x
    std::vector<std::uint8_t> len;      // per node: lengths of x, y, z
    void fill(const DumpLattice& g, int r, double fillZ) {
        text.resize(static_cast<std::size_t>(g.ncols) * 3 * kNum);
        start.resize(static_cast<std::size_t>(g.ncols));
        len.resize(static_cast<std::size_t>(g.ncols) * 3);
        char yText[kNum];
        const auto yLen = static_cast<std::uint8_t>(writePrintForm(yText, g.y[r], 3) - yText);
        char* p = text.data();
        for (int c = 0; c < g.ncols; ++c) {
            start[c] = static_cast<std::uint32_t>(p - text.data());
            char* q = writePrintForm(p, g.x[c], 3);
            len[3 * c] = static_cast<std::uint8_t>(q - p);
            p = q;
            std::memcpy(p, yText, yLen);
            p += yLen;
            len[3 * c + 1] = yLen;
            double z = g.at(c, r);
            if (isBlank(z)) z = fillZ;
            q = writePrintForm(p, z, 3);
            len[3 * c + 2] = static_cast<std::uint8_t>(q - p);
            p = q;
        }
    }
};

// One vertex in slot k (0..3): codes 1k, 2k, 3k with the node's texts.
inline char* vertex(char* p, const RowTexts& row, int c, int k) {
    const char* t = row.text.data() + row.start[c];
    for (int axis = 0; axis < 3; ++axis) {
        *p++ = static_cast<char>('1' + axis);
        *p++ = static_cast<char>('0' + k);
        *p++ = '\r';
        *p++ = '\n';
        const std::size_t n = row.len[3 * c + axis];
        std::memcpy(p, t, n);
        p += n;
        t += n;
        *p++ = '\r';
        *p++ = '\n';
    }
    return p;
}

constexpr std::string_view kFaceHead = "3DFACE\r\n8\r\nOBJECT\r\n";
constexpr std::string_view kFaceEnd = "0\r\n";

} // namespace

double dxfFillHeight(const DumpLattice& g) {
    bool any = false;
    double low = 0;
    for (double z : g.z)
        if (!isBlank(z) && (!any || z < low)) {
            low = z;
            any = true;
        }
    return low;
}

void writeDxfFaces(const std::string& path, const DumpLattice& g, const std::string& name) {
    if (g.ncols < 2 || g.nrows < 2 || g.z.size() != static_cast<std::size_t>(g.ncols) * g.nrows)
        throw Error("Cannot write the DXF file " + path + ": the grid needs at least two rows and two columns.");
    const double fillZ = dxfFillHeight(g);
    ChunkWriter w(path);
    w.line("999");
    w.line("DXF file " + name + "; created by Trelvik; QOX");
    for (const char* l : {"0", "SECTION", "2", "ENTITIES", "0"}) w.line(l);
    const std::size_t faceRoom = kFaceHead.size() + kFaceEnd.size() + 4 * 3 * (kNum + 8);
    // A row of cells at a time, rows on several threads, each formatting its two rows of
    // node texts; the rows go to the file in order.
    const std::size_t cells = static_cast<std::size_t>(g.ncols - 1);
    writeRows(w, static_cast<std::size_t>(g.nrows - 1), 2 * faceRoom * cells, [&](std::size_t row, char* p) {
        const int r = static_cast<int>(row);
        RowTexts lower, upper;
        lower.fill(g, r, fillZ);
        upper.fill(g, r + 1, fillZ);
        for (int c = 0; c + 1 < g.ncols; ++c) {
            // C, A, D, D
            p = std::copy(kFaceHead.begin(), kFaceHead.end(), p);
            p = vertex(p, upper, c, 0);
            p = vertex(p, lower, c, 1);
            p = vertex(p, upper, c + 1, 2);
            p = vertex(p, upper, c + 1, 3);
            p = std::copy(kFaceEnd.begin(), kFaceEnd.end(), p);
            // A, B, D, D
            p = std::copy(kFaceHead.begin(), kFaceHead.end(), p);
            p = vertex(p, lower, c, 0);
            p = vertex(p, lower, c + 1, 1);
            p = vertex(p, upper, c + 1, 2);
            p = vertex(p, upper, c + 1, 3);
            p = std::copy(kFaceEnd.begin(), kFaceEnd.end(), p);
        }
        return p;
    });
    for (const char* l : {"ENDSEC", "0", "EOF"}) w.line(l);
    w.commit();
}

} // namespace trelvik::formats
