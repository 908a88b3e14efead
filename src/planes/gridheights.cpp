#include "planes/gridheights.h"

#include "core/commit/commit.h"
#include "core/digitiseinputs.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/digitisefile.h"
#include "surfer/application.h"

#include <charconv>
#include <filesystem>

namespace trelvik::planes {

namespace fs = std::filesystem;

ResidualsCallForm residualsCallForm(const std::string& surferVersion) {
    return surferVersion == "SurferV6" ? ResidualsCallForm::Version6 : ResidualsCallForm::Version8Named;
}

std::string GridHeightStep::digitiseSource() const {
    if (!digitiseFile.empty()) return digitiseFile;
    return (fs::path(grid).parent_path() / "digit.dat").string();
}

namespace {
std::string stemOf(const GridHeightStep& s) { return s.stem.empty() ? text::BaseName(s.grid) : s.stem; }

bool wholeNumber(const std::string& t, double& v) {
    const char* b = t.data();
    const char* e = b + t.size();
    if (b != e && *b == '+') ++b;
    auto r = std::from_chars(b, e, v);
    return r.ec == std::errc() && r.ptr == e;
}

// Removes the zero file when the step ends, however it ends, unless it is to be kept.
struct ZeroFileCleanup {
    std::string path;
    bool keep;
    ~ZeroFileCleanup() {
        if (!keep) removeFile(path);
    }
};
} // namespace

std::string GridHeightStep::copyFile() const { return stemOf(*this) + prefix + ".dat"; }
std::string GridHeightStep::zeroFile() const { return stemOf(*this) + prefix + "0.dat"; }
std::string GridHeightStep::heightFile() const { return stemOf(*this) + prefix + heightTag + ".dat"; }

namespace {
MeasuredHeights measureInto(StagedFiles pending, surfer::Application& app, const formats::PointXYList& points,
                            const std::string& grid, const GridHeightStep& files);
} // namespace

MeasuredHeights::MeasuredHeights(PointList points, StagedFiles files)
    : points_(std::move(points)), files_(std::move(files)) {}

const PointList& MeasuredHeights::commit() {
    files_.commit();
    files_ = {};
    return points_;
}

formats::PointXYList DigitisedPoints(const GridHeightStep& step) {
    const std::string source = step.digitiseSource();
    requireInput(source, "Digitise file not found: " + source);
    return formats::readDigitisePoints(source);
}

MeasuredHeights MeasureGridHeights(surfer::Application& app, const GridHeightStep& step) {
    const std::string saved = step.digitiseSource();
    requireInput(saved, "Digitise file not found: " + saved);
    // The bytes first: the points checked are those of the copy that is kept.
    const std::string bytes = readWholeFile(saved);
    const formats::PointXYList all = formats::readDigitisePoints(saved);
    if (step.count < 1) throw Error("No points of " + saved + " were asked for: at least one is needed");
    if (static_cast<long>(all.size()) < step.count)
        throw Error(saved + " holds " + std::to_string(all.size()) + " point" + (all.size() == 1 ? "" : "s") + "; " +
                    std::to_string(step.count) + " are needed");
    const formats::PointXYList used(all.begin(), all.begin() + step.count);
    StagedFiles pending;
    writeFileAtomic(pending.work(step.copyFile()), bytes);
    return measureInto(std::move(pending), app, used, step.grid, step);
}

PointList GridHeights(surfer::Application& app, const GridHeightStep& step) {
    return MeasureGridHeights(app, step).commit();
}

PointList GridHeightsAt(surfer::Application& app, const formats::PointXYList& points, const std::string& grid,
                        const GridHeightStep& files) {
    return MeasureGridHeightsAt(app, points, grid, files).commit();
}

MeasuredHeights MeasureGridHeightsAt(surfer::Application& app, const formats::PointXYList& points,
                                     const std::string& grid, const GridHeightStep& files) {
    return measureInto(StagedFiles(), app, points, grid, files);
}

MeasuredHeights MeasureGridHeightsAt(surfer::Application& app, const formats::PointXYList& points,
                                     const std::string& grid, const GridHeightStep& files, StagedFiles pending) {
    return measureInto(std::move(pending), app, points, grid, files);
}

namespace {
MeasuredHeights measureInto(StagedFiles pending, surfer::Application& app, const formats::PointXYList& points,
                            const std::string& grid, const GridHeightStep& files) {
    if (points.empty()) throw Error("No points to take heights of " + grid);
    requireInput(grid, "Grid file not found: " + grid);
    // A kept zero file is called under its temporary name, so a refused step leaves the
    // one of an earlier run; one that is not kept is made under a working name, which a
    // file of the user's never has and the next step sweeps if a kill leaves it, and goes
    // however the step ends.
    const std::string zero = files.keepZeroFile ? pending.work(files.zeroFile()) : newWorkingFile(files.zeroFile());

    std::string content;
    for (const auto& p : points) {
        if (files.zeroFileCommaSeparated) content += text::WriteLine().num(p.x).num(p.y).num(0).str();
        else content += text::PrintLine().num(p.x).num(p.y).text("0").str();
        content += kCRLF;
    }
    writeFileAtomic(zero, content);
    ZeroFileCleanup cleanup{zero, files.keepZeroFile};

    switch (files.form) {
    case ResidualsCallForm::Version6:
        app.call("GridResiduals", surfer::Positional{grid, zero, 0, 1, 2, 3});
        app.FileSaveAs(zero);
        app.FileClose();
        break;
    case ResidualsCallForm::Version8Named:
        app.call("GridResiduals", surfer::Named{{"InGrid", grid}, {"DataFile", zero}});
        app.ActiveDocument()->Save();
        app.ActiveDocument()->Close();
        break;
    case ResidualsCallForm::Version8Positional:
        app.call("GridResiduals", surfer::Positional{grid, zero});
        app.ActiveDocument()->Save();
        app.ActiveDocument()->Close();
        break;
    }

    const std::string saved = readWholeFile(zero);
    PointList out;
    out.reserve(points.size());
    std::size_t pos = 0;
    while (out.size() < points.size() && pos < saved.size()) {
        std::size_t end = saved.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = saved.size();
        const std::string_view line(saved.data() + pos, end - pos);
        pos = end + 1;
        const auto items = text::tokenize(line);
        if (items.empty()) continue;
        const std::size_t k = out.size() + 1;
        double x = 0, y = 0, r = 0;
        const bool haveXY = items.size() >= 2 && wholeNumber(items[0], x) && wholeNumber(items[1], y);
        if (!haveXY) throw Error(files.zeroFile() + ": record " + std::to_string(k) + " does not start with x and y");
        if (items.size() < 4 || !wholeNumber(items[3], r))
            throw Error("Point " + std::to_string(k) + " (" + text::CStr(x) + ", " + text::CStr(y) +
                        ") lies outside the grid or on a blank node of " + grid + ", so it has no height");
        out.push_back({x, y, -r});
    }
    if (out.size() < points.size())
        throw Error(files.zeroFile() + " holds " + std::to_string(out.size()) + " records after GridResiduals; " +
                    std::to_string(points.size()) + " were written");

    std::string heights;
    for (const auto& p : out) (heights += text::PrintLine().num(p.x).num(p.y).num(p.z).str()) += kCRLF;
    writeFileAtomic(pending.work(files.heightFile()), heights);
    return MeasuredHeights(std::move(out), std::move(pending));
}
} // namespace

} // namespace trelvik::planes
