#include "formats/xyzdump.h"

#include "core/error.h"
#include "formats/fastnumber.h"
#include "formats/numberrange.h"
#include "formats/numberrows.h"
#include "formats/quoted.h"
#include "core/fileroutines.h"
#include "core/linecuts.h"
#include "core/parallelblocks.h"
#include "core/commit/workingfiles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace trelvik::formats {

namespace {

inline bool isSep(char c) { return c == ' ' || c == '\t' || c == ','; }

// The number starting at q (after an optional '+'), which must end at a separator or
// at e; its end, or nullptr when there is none.
inline const char* number(const char* q, const char* e, double& v) {
    const char* s = q < e && *q == '+' ? q + 1 : q;
    const auto res = std::from_chars(s, e, v);
    if (res.ec == std::errc::result_out_of_range) {
        // A huge magnitude can only be a blank marker written with extra digits, so it
        // stays blank (or its negative).
        v = outOfRangeNumber(s, res.ptr, kBlank);
    } else if (res.ec != std::errc()) {
        return nullptr;
    }
    if (res.ptr < e && !isSep(*res.ptr)) return nullptr;
    return res.ptr;
}

// Fills the record's numbers and texts from the line [p, eol) (eol at its LF or at the
// end of the file); false when it does not start with three numbers.
inline bool scanLine(const char* p, const char* eol, XyzRecord& rec) {
    const char* e = (eol > p && eol[-1] == '\r') ? eol - 1 : eol;
    double* const v[3] = {&rec.x, &rec.y, &rec.z};
    std::string_view* const t[3] = {&rec.xText, &rec.yText, &rec.zText};
    const char* q = p;
    for (int k = 0; k < 3; ++k) {
        while (q < e && isSep(*q)) ++q;
        if (q >= e) return false;
        const char* n = number(q, e, *v[k]);
        if (!n) return false;
        *t[k] = std::string_view(q, static_cast<std::size_t>(n - q));
        q = n;
    }
    return true;
}

inline bool onlySeparators(const char* p, const char* eol) {
    const char* e = (eol > p && eol[-1] == '\r') ? eol - 1 : eol;
    while (p < e && isSep(*p)) ++p;
    return p == e;
}

[[noreturn]] void badLine(const std::string& path, std::size_t lineNo, const char* p, const char* eol) {
    const char* e = (eol > p && eol[-1] == '\r') ? eol - 1 : eol;
    throw XyzLineError("The XYZ file " + path + " has no x, y and z on line " + std::to_string(lineNo) + ": \"" +
                           quotedPart({p, static_cast<std::size_t>(e - p)}, kQuotedLineBytes) + "\".",
                       lineNo);
}

} // namespace

void writeXyzDump(const std::string& path, const Grid& grid) {
    if (grid.cols < 1 || grid.rows < 1 ||
        grid.z.size() != static_cast<std::size_t>(grid.cols) * static_cast<std::size_t>(grid.rows))
        throw Error("Cannot write the XYZ file " + path + ": the grid's heights do not match its size.");

    // Every row repeats the same x values, so their text is made once.
    std::vector<std::string> xText(static_cast<std::size_t>(grid.cols));
    char num[kGeneralNumberMax];
    for (int c = 0; c < grid.cols; ++c) xText[c].assign(num, writeGeneralNumber(num, grid.x(c)));
    char blankText[kGeneralNumberMax];
    const std::size_t blankLen = static_cast<std::size_t>(writeGeneralNumber(blankText, kBlank) - blankText);

    // Rows on several threads, written in order.
    ChunkWriter out(path);
    const std::size_t nodeRoom = 3 * static_cast<std::size_t>(kGeneralNumberMax) + 4;
    writeRows(out, static_cast<std::size_t>(grid.rows), nodeRoom * grid.cols, [&](std::size_t r, char* p) {
        char yText[kGeneralNumberMax];
        const std::size_t yLen = static_cast<std::size_t>(writeGeneralNumber(yText, grid.y(static_cast<int>(r))) - yText);
        const double* row = grid.z.data() + r * static_cast<std::size_t>(grid.cols);
        for (int c = 0; c < grid.cols; ++c) {
            const std::string& x = xText[c];
            std::memcpy(p, x.data(), x.size());
            p += x.size();
            *p++ = ' ';
            std::memcpy(p, yText, yLen);
            p += yLen;
            *p++ = ' ';
            const double z = row[c];
            if (isBlank(z)) {
                std::memcpy(p, blankText, blankLen);
                p += blankLen;
            } else {
                p = writeGeneralNumber(p, z);
            }
            *p++ = '\r';
            *p++ = '\n';
        }
        return p;
    });
    out.commit();
}

namespace {

// The records of whole lines [p, end) (each ended by LF, the last possibly not), with
// line numbers counted from 1 within them; parsing stops at the first malformed line,
// whose number and place are kept.
struct PieceRecords {
    std::vector<XyzRecord> records;
    std::size_t lines = 0;
    const char* badStart = nullptr;
    const char* badEnd = nullptr;
};

void scanPiece(const char* p, const char* end, PieceRecords& out) {
    out.records.clear();
    out.lines = 0;
    out.badStart = nullptr;
    XyzRecord rec;
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* eol = lf ? lf : end;
        rec.line = ++out.lines;
        if (scanLine(p, eol, rec)) {
            out.records.push_back(rec);
        } else if (!onlySeparators(p, eol)) {
            out.badStart = p;
            out.badEnd = eol;
            return;
        }
        p = lf ? lf + 1 : end;
    }
}

// Pieces of about kPiece bytes per window, parsed on several threads.
constexpr std::size_t kPiece = std::size_t{1} << 20;

} // namespace

void scanXyzDump(const std::string& path, const std::function<void(const XyzRecord&)>& onRecord) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw Error("Cannot read \"" + path + "\": it is a folder");
    working::settleBeforeReading(path);
    InputFile in(path);
    const std::uint64_t size = in.size();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(in.releaseAsStream(), &std::fclose);

    // A window holds whole lines plus the unfinished start of the next, which is moved to
    // the front before the next read; a line longer than the window grows it. The whole
    // lines are cut after line feeds into pieces parsed on several threads, and their
    // records handed on in file order on this thread, as one pass would.
    // A small file gets a window of its own size, not one per thread.
    const std::size_t pieces = std::max<std::size_t>(1, workerCount());
    std::string buf(std::clamp<std::size_t>(static_cast<std::size_t>(size) + 1, 1 << 16, pieces * kPiece), '\0');
    std::vector<PieceRecords> parts(pieces);
    std::size_t kept = 0, lineBefore = 0;
    for (;;) {
        if (kept == buf.size()) buf.resize(buf.size() * 2);
        const std::size_t want = buf.size() - kept;
        const std::size_t got = std::fread(buf.data() + kept, 1, want, f.get());
        const bool last = got < want;
        if (last && std::ferror(f.get())) throw Error("Cannot read \"" + path + "\"");
        const char* const begin = buf.data();
        const char* const end = begin + kept + got;
        // Whole lines end at the last line feed; at the end of the file, at its end.
        const char* wholeEnd = end;
        if (!last) {
            wholeEnd = begin;
            for (const char* q = end; q > begin; --q)
                if (q[-1] == '\n') {
                    wholeEnd = q;
                    break;
                }
        }
        const std::size_t span = static_cast<std::size_t>(wholeEnd - begin);
        // Pieces of a quarter of kPiece or more: a small file is parsed on this thread.
        const std::size_t cutInto = std::clamp<std::size_t>(span / (kPiece / 4), 1, pieces);
        const std::vector<const char*> cuts = cutAfterLineFeeds(begin, wholeEnd, cutInto);
        const std::size_t used = cuts.size() - 1;
        forEachBlock(used, 1, [&](std::size_t k0, std::size_t k1) {
            for (std::size_t k = k0; k < k1; ++k) scanPiece(cuts[k], cuts[k + 1], parts[k]);
        });
        for (std::size_t k = 0; k < used; ++k) {
            for (XyzRecord& r : parts[k].records) {
                r.line += lineBefore;
                onRecord(r);
            }
            if (parts[k].badStart) badLine(path, lineBefore + parts[k].lines, parts[k].badStart, parts[k].badEnd);
            lineBefore += parts[k].lines;
        }
        if (last) return;
        kept = static_cast<std::size_t>(end - wholeEnd);
        if (kept > 0) std::memmove(buf.data(), wholeEnd, kept);
    }
}

PointList readXyzDump(const std::string& path) {
    PointList points;
    std::error_code ec;
    // Dump lines are rarely shorter than this, so the list seldom grows.
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size <= kLargestInput) points.reserve(static_cast<std::size_t>(size / 24) + 1);
    scanXyzDump(path, [&](const XyzRecord& r) { points.push_back({r.x, r.y, r.z}); });
    return points;
}

} // namespace trelvik::formats
