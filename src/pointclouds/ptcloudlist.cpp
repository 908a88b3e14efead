#include "pointclouds/ptcloudlist.h"

#include "core/replacequestion.h"
#include "formats/xyzpointfile.h"

#include <cmath>
#include <filesystem>

namespace trelvik::ptcloud {

namespace {
const char kSep = static_cast<char>(std::filesystem::path::preferred_separator);

bool refuse(PtCloudContext& ctx, const std::string& text) {
    ctx.prompt.busy(false);
    ctx.prompt.message("Filename", text);
    return false;
}
} // namespace

std::string JoinPath(const std::string& folder, const std::string& name) { return folder + kSep + name; }

bool AddFilename(PtCloudContext& ctx) {
    ctx.prompt.busy(true);
    const std::string& name = ctx.Text2;
    if (name.empty() || name == kText2Pattern || name == "*.grd") return refuse(ctx, "Choose grid filename");
    // The last four characters are the extension; a shorter name has none to cut off.
    if (name.size() < 4)
        return refuse(ctx, "The file name \"" + name + "\" is too short: its last four characters are taken as "
                           "its extension.");
    PtCloudList& l = ctx.list;
    const std::string full = JoinPath(ctx.File2Folder, name);
    for (int i = 0; i < l.NoFiles; ++i)
        if (l.FileFullName[i] == full) return refuse(ctx, "Filename already added");
    const std::string dir = ctx.File2Folder + kSep;
    const std::string base = name.substr(0, name.size() - 4);
    ++l.NoFiles;
    l.FileFullName.push_back(full);
    l.FileOutName.emplace_back();
    l.FileDir.push_back(dir);
    l.FileBase.push_back(base);
    l.FileStem.push_back(dir + base);
    l.FileExt.push_back(name.substr(name.size() - 4));
    ctx.prompt.busy(false);
    return true;
}

void ClearFilenames(PtCloudList& l) {
    l.NoFiles = 0;
    l.FileFullName.clear();
    l.FileOutName.clear();
    l.FileDir.clear();
    l.FileBase.clear();
    l.FileStem.clear();
    l.FileExt.clear();
}

bool refuseListLength(PtCloudContext& ctx, const std::string& takes) {
    const int n = ctx.list.NoFiles;
    ctx.prompt.busy(false);
    ctx.prompt.message("", takes + " The list holds " + std::to_string(n) + (n == 1 ? " file." : " files."));
    return false;
}

void AddSelectedWhenEmpty(PtCloudContext& ctx) {
    if (ctx.list.NoFiles == 0) {
        AddFilename(ctx);
        ctx.prompt.busy(true);
    }
}

PointList readCloud(const std::string& path) {
    PointList pts = formats::readXyzPointFile(path);
    if (pts.empty()) throw Error("The point file " + path + " holds no points.");
    for (std::size_t i = 0; i < pts.size(); ++i)
        if (!std::isfinite(pts[i].x) || !std::isfinite(pts[i].y) || !std::isfinite(pts[i].z))
            throw Error(path + ": point " + std::to_string(i + 1) + " is not a finite number.");
    return pts;
}

void refuseOverwritingInput(const PtCloudList& list, const std::string& output) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const std::string& in : list.FileFullName) {
        if (in == output || (fs::exists(output, ec) && fs::equivalent(in, output, ec)))
            throw Error("The output " + output + " would replace the listed input " + in +
                        "; rename the input and list it again.");
    }
}

void askReplace(PtCloudContext& ctx, const std::vector<std::string>& outputs) {
    if (!ConfirmReplace(ctx.prompt, outputs)) throw Stopped();
}

void askReplace(PtCloudContext& ctx, const std::function<std::vector<std::string>(int)>& outputs) {
    std::vector<std::string> planned;
    for (int i = 0; i < ctx.list.NoFiles; ++i)
        for (std::string& f : outputs(i)) planned.push_back(std::move(f));
    askReplace(ctx, planned);
}

bool RunCommand(PtCloudContext& ctx, const std::function<void()>& body) {
    BusyScope busy(ctx.prompt);
    try {
        body();
        return true;
    } catch (const Stopped&) {
        return false;
    } catch (const std::exception& e) {
        ctx.prompt.busy(false);
        ctx.prompt.message("", e.what());
        return false;
    }
}

} // namespace trelvik::ptcloud
