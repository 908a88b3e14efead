#include "conversion/writercalls.h"

#include "core/digitiseinputs.h"
#include "core/error.h"
#include "surfer/application.h"

#include <filesystem>

namespace trelvik::conversion {

namespace {

int versionOf(const std::string& version, const char* operation) {
    if (version == "SurferV6") return 6;
    if (version == "SurferV8") return 8;
    throw Error(std::string(operation) + ": the Surfer version \"" + version +
                "\" is neither SurferV6 nor SurferV8; choose one in the main window's File menu.");
}

} // namespace

void MirrorGridToXyz(surfer::Application& app, const std::string& version, const std::string& grid,
                     const std::string& dump) {
    using surfer::omitted;
    if (versionOf(version, "GridTransform") == 6)
        app.call("GridTransform", surfer::Positional{grid, 4, omitted, omitted, omitted, omitted, omitted, dump, 3});
    else
        app.call("GridTransform", surfer::Named{{"InGrid", grid}, {"Operation", 5}, {"OutGrid", dump}, {"OutFmt", 4}});
}

void GridToXyzText(surfer::Application& app, const std::string& version, const std::string& grid,
                   const std::string& out) {
    app.call("GridConvert", surfer::Positional{grid, out, versionOf(version, "GridConvert") == 6 ? 3 : 4});
}

void GridDataWindow(surfer::Application& app, const std::string& version, const std::string& data, long NumCols,
                    long NumRows, double XMax, double YMax, const std::string& out) {
    using surfer::omitted;
    if (versionOf(version, "GridData") == 6)
        app.call("GridData", surfer::Positional{data, 0, 1, 2, 0.0, XMax, 0.0, YMax, omitted, omitted, NumRows, NumCols,
                                                6, out});
    else
        app.call("GridData", surfer::Named{{"DataFile", data},
                                           {"NumCols", NumCols},
                                           {"NumRows", NumRows},
                                           {"XMin", 0.0},
                                           {"XMax", XMax},
                                           {"YMin", 0.0},
                                           {"YMax", YMax},
                                           {"Algorithm", 9},
                                           {"ShowReport", false},
                                           {"OutGrid", out}});
}

void RefuseOverwritingInput(const std::string& in, const std::string& out) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool same = fs::absolute(in, ec).lexically_normal() == fs::absolute(out, ec).lexically_normal() ||
                      (fs::exists(out, ec) && fs::equivalent(in, out, ec));
    if (same)
        throw Error("The output " + out + " would replace the input file itself; choose another output name.");
}

void ScanXyzText(const std::string& path, const char* what,
                 const std::function<void(const formats::XyzRecord&)>& onRecord) {
    try {
        formats::scanXyzDump(path, onRecord);
    } catch (const formats::XyzLineError& e) {
        throw Error(std::string("The ") + what + " " + path + " has no x, y and z on line " + std::to_string(e.line()) +
                    ".");
    }
}

void RequireInputFile(const std::string& path, const char* what) {
    requireInput(path, std::string("The ") + what + " " + path + " does not exist.");
}

} // namespace trelvik::conversion
