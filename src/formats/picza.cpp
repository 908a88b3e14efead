#include "formats/picza.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/chunkwriter.h"
#include "formats/numberforms.h"
#include "formats/quoted.h"
#include "formats/textlines_detail.h"

#include <cmath>

namespace trelvik::formats {

namespace {

std::string_view clean(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

[[noreturn]] void bad(const std::string& path, std::size_t line, const std::string& why) {
    throw Error("The Picza file " + path + (line ? " line " + std::to_string(line) : std::string()) + ": " + why);
}

double step(const std::string& path, std::size_t line, std::string_view text, const char* axis) {
    double v = 0;
    if (detail::leadingNumbers(clean(text), &v, 1) != 1 || !(v > 0) || !std::isfinite(v))
        bad(path, line, std::string("the ") + axis + " step \"" + quotedPart(clean(text)) +
                            "\" is not a positive number.");
    return v;
}

} // namespace

long long piczaNodeCount(double span, double step) {
    const double q = span / step;
    // A damaged window can give any quotient; far beyond any lattice the count only
    // needs to say "too many" (or "none") without overflowing the conversion.
    if (!(q > -1e15 && q < 1e15)) return q < 0 ? -1 : 1000000000000000LL;
    return static_cast<long long>(std::floor(q)) + (q == std::floor(q) ? 1 : 2);
}

void scanPicza(const std::string& path, const std::function<void(const PiczaHeader&)>& onHeader,
               const std::function<void(std::size_t)>& onScanLine,
               const std::function<void(const PiczaPoint&)>& onPoint) {
    const std::string text = readWholeFile(path);
    enum class Stage { Header, SeekW, Window, SeekS, Points, Done } stage = Stage::Header;
    PiczaHeader h;
    std::size_t scanLines = 0;
    detail::forEachLine(text, [&](std::size_t no, std::string_view raw) {
        if (stage == Stage::Done) return;
        const std::string_view line = clean(raw);
        switch (stage) {
        case Stage::Header:
            if (no == 3) h.sx = step(path, no, line, "x");
            if (no == 5) h.sy = step(path, no, line, "y");
            if (no == 7) stage = Stage::SeekW;
            return;
        case Stage::SeekW:
            if (line == "W") stage = Stage::Window;
            return;
        case Stage::Window: {
            double v[4];
            if (detail::leadingNumbers(line, v, 4) != 4) bad(path, no, "the window record needs four numbers.");
            h.x1 = v[0], h.y1 = v[1], h.x2 = v[2], h.y2 = v[3];
            onHeader(h);
            stage = Stage::SeekS;
            return;
        }
        case Stage::SeekS:
            if (line != "S") return;
            stage = Stage::Points;
            onScanLine(scanLines++);
            return;
        case Stage::Points: {
            if (line.empty()) return;
            if (line == "E") {
                stage = Stage::Done;
                return;
            }
            if (line == "S") {
                onScanLine(scanLines++);
                return;
            }
            std::string_view item = line;
            if (item.front() == 'A') item.remove_prefix(std::min<std::size_t>(2, item.size()));
            double v[3];
            if (detail::leadingNumbers(clean(item), v, 3) != 3)
                bad(path, no, "\"" + quotedPart(line, kQuotedLineBytes) + "\" is not a point x, y, z.");
            onPoint({v[0], v[1], v[2]});
            return;
        }
        case Stage::Done:
            return;
        }
    });
    if (stage == Stage::Header) bad(path, 0, "the header ends before its seventh line.");
    if (stage == Stage::SeekW) bad(path, 0, "there is no window line \"W\".");
    if (stage == Stage::Window) bad(path, 0, "the window record after \"W\" is missing.");
    if (stage == Stage::SeekS) bad(path, 0, "there is no scan line \"S\".");
}

PiczaScan readPicza(const std::string& path) {
    PiczaScan s;
    scanPicza(
        path, [&](const PiczaHeader& h) { s.header = h; }, [&](std::size_t) { s.lines.emplace_back(); },
        [&](const PiczaPoint& p) { s.lines.back().push_back(p); });
    return s;
}

void writePicza(const std::string& path, const PiczaHeader& h, double zValue, std::size_t rowCount,
                const std::function<void(std::size_t, std::vector<PiczaPoint>&)>& row) {
    ChunkWriter w(path);
    using text::CStr;
    for (const std::string& l :
         {std::string("VERSION=5"), std::string("X"), CStr(h.sx), std::string("Y"), CStr(h.sy), std::string("Z"),
          CStr(zValue), std::string("D"), std::string("0"), std::string("B"), std::string("0"), std::string("W"),
          text::WriteLine().num(h.x1).num(h.y1).num(h.x2).num(h.y2).str(), std::string("T"), std::string("7030"),
          std::string("10:10:00"), std::string("RendObjColor=16776960"), std::string("RendBkColor=16777215"),
          std::string("CustomColors")})
        w.line(l);
    for (int i = 0; i < 16; ++i) w.line("FFFFFF");
    for (const char* l : {"EyeRot=-20.000000,0.000000,0.000000", "Rot=0.000000,0.000000,0.000000", "L", "210"})
        w.line(l);
    std::vector<PiczaPoint> points;
    for (std::size_t r = 0; r < rowCount; ++r) {
        points.clear();
        row(r, points);
        w.line("S");
        for (const PiczaPoint& p : points) {
            char* q = w.room(3 * (kGeneralNumberMax + 2) + 4);
            q = writeRoundedGeneral(q, p.x, 0);
            *q++ = ',';
            q = writeRoundedGeneral(q, p.y, 0);
            *q++ = ',';
            q = writeRoundedGeneral(q, p.z, 0);
            *q++ = '\r';
            *q++ = '\n';
            w.done(q);
        }
    }
    for (const char* l : {"E", "FaceColor", "0,1,FFFFFF", "E"}) w.line(l);
    w.commit();
}

} // namespace trelvik::formats
