#include "surferfns/regridxyz.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/xyzdump.h"
#include "formats/xyzpointfile.h"
#include "surfer/application.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace trelvik::surffns {

namespace fs = std::filesystem;

PrivateTempFile::PrivateTempFile(const std::string& extension) {
    static std::atomic<unsigned long> counter{0};
    std::random_device rd;
    const fs::path dir = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = "trelvik-surffns-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(counter.fetch_add(1)) + "-" + std::to_string(rd()) + extension;
        const fs::path p = dir / name;
        if (!fs::exists(p)) {
            path_ = p.string();
            return;
        }
    }
    throw Error("No free name for a temporary file in " + dir.string());
}

PrivateTempFile::~PrivateTempFile() { removeQuietly(path_); }

PointList keepUnblanked(const PointList& records) {
    PointList kept;
    kept.reserve(records.size());
    for (const PointXYZ& p : records)
        if (p.z < kBlankThreshold) kept.push_back(p);
    return kept;
}

std::size_t writeUnblankedXyz(const std::string& dumpPath, const std::string& outPath) {
    const PointList kept = keepUnblanked(formats::readXyzDump(dumpPath));
    formats::writeXyzPointFile(outPath, kept);
    return kept.size();
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
