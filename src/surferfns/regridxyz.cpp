#include "surferfns/regridxyz.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "surfer/application.h"

#include <charconv>
#include <cstring>
#include <filesystem>

namespace trelvik::surffns {

namespace fs = std::filesystem;

namespace {

inline bool isSep(char c) { return c == ' ' || c == '\t' || c == ','; }

// The next item of [p, end) as a number; false when there is none or it is no number.
inline bool item(const char*& p, const char* end, std::string_view& tok, double& v) {
    while (p < end && isSep(*p)) ++p;
    const char* b = p;
    while (p < end && !isSep(*p)) ++p;
    tok = std::string_view(b, static_cast<std::size_t>(p - b));
    if (tok.empty()) return false;
    const char* q = b;
    if (*q == '+') ++q;
    const auto r = std::from_chars(q, p, v);
    if (r.ec == std::errc::result_out_of_range) {
        v = (*q == '-') ? -1.7e308 : 1.7e308;  // beyond double range: blank height anyway
        return true;
    }
    return r.ec == std::errc() && r.ptr == p;
}

} // namespace

UnblankedXyz writeUnblankedXyz(const std::string& dumpPath, const std::string& outPath) {
    const std::string text = readWholeFile(dumpPath);
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    UnblankedXyz u;
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t lineNo = 0;
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* lineEnd = nl ? nl : end;
        ++lineNo;
        const char* e = lineEnd;
        if (e > p && e[-1] == '\r') --e;
        const char* q = p;
        while (q < e && isSep(*q)) ++q;
        if (q < e) {
            std::string_view tx, ty, tz;
            double x, y, z;
            if (!item(q, e, tx, x) || !item(q, e, ty, y) || !item(q, e, tz, z))
                throw Error("The XYZ text " + dumpPath + " has no x, y and z on line " + std::to_string(lineNo) + ".");
            if (z < kBlankThreshold) {
                if (u.records == 0) u.xMin = u.xMax = x, u.yMin = u.yMax = y;
                if (x < u.xMin) u.xMin = x;
                if (x > u.xMax) u.xMax = x;
                if (y < u.yMin) u.yMin = y;
                if (y > u.yMax) u.yMax = y;
                ++u.records;
                out.append(tx).append(1, ',').append(ty).append(1, ',').append(tz).append("\r\n");
            }
        }
        p = nl ? nl + 1 : end;
    }
    writeFileAtomic(outPath, out);
    return u;
}

void copyFileReplacing(const std::string& from, const std::string& to) {
    writeFileAtomic(to, readWholeFile(from));
}

void removeQuietly(const std::string& path) {
    if (path.empty()) return;
    std::error_code ec;
    fs::remove(path, ec);
}

bool CallSurferPositional(SurfFnsContext& ctx, const std::string& operation, const surfer::Positional& v6,
                          const surfer::Positional& v8) {
    if (!IsV6(ctx) && !IsV8(ctx)) return false;
    if (!ctx.app.SurferApp) throw Error(operation + ": the mapping program is not connected");
    ctx.app.SurferApp->call(operation, IsV6(ctx) ? v6 : v8);
    return true;
}

std::optional<std::string> DelCharStem(const std::string& pathNoExt, const std::string& baseName,
                                       const std::string& typedD) {
    const double d = text::Val(typedD);
    const long long len = static_cast<long long>(pathNoExt.size());
    const long long keep = text::CInt(static_cast<double>(len) - d);
    const long long cut = len - keep;
    if (cut < 0 || cut > static_cast<long long>(baseName.size())) return std::nullopt;
    return pathNoExt.substr(0, static_cast<std::size_t>(keep));
}

} // namespace trelvik::surffns
