#include "surferfns/regridxyz.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/xyzdump.h"
#include "surfer/application.h"

#include <filesystem>

namespace trelvik::surffns {

namespace fs = std::filesystem;

UnblankedXyz writeUnblankedXyz(const std::string& dumpPath, const std::string& outPath) {
    std::string out;
    std::error_code ec;
    const auto size = fs::file_size(dumpPath, ec);
    if (!ec) out.reserve(static_cast<std::size_t>(size + size / 16));
    UnblankedXyz u;
    try {
        formats::scanXyzDump(dumpPath, [&](const formats::XyzRecord& r) {
            if (!(r.z < kBlankThreshold)) return;
            if (u.records == 0) u.xMin = u.xMax = r.x, u.yMin = u.yMax = r.y;
            if (r.x < u.xMin) u.xMin = r.x;
            if (r.x > u.xMax) u.xMax = r.x;
            if (r.y < u.yMin) u.yMin = r.y;
            if (r.y > u.yMax) u.yMax = r.y;
            ++u.records;
            out.append(r.xText).append(1, ',').append(r.yText).append(1, ',').append(r.zText).append("\r\n");
        });
    } catch (const formats::XyzLineError& e) {
        throw Error("The XYZ text " + dumpPath + " has no x, y and z on line " + std::to_string(e.line()) + ".");
    }
    writeFileAtomic(outPath, out);
    return u;
}

void copyFileReplacing(const std::string& from, const std::string& to) {
    writeFileAtomic(to, readWholeFile(from));
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
