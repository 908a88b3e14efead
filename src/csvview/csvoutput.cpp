#include "csvview/csvoutput.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/xyzpointfile.h"

#include <algorithm>
#include <unordered_map>

namespace trelvik::csvview {

namespace {

PointList cellsAsPoints(const LatticeGrid& g) {
    PointList pts;
    pts.reserve(static_cast<std::size_t>(g.cols) * static_cast<std::size_t>(g.rows));
    for (int j = 1; j <= g.rows; ++j)
        for (int i = 1; i <= g.cols; ++i) {
            const GridCell& c = g.at(i, j);
            pts.push_back({c.x, c.y, c.z});
        }
    return pts;
}

} // namespace

bool toothPresent(const ToothOutput& tooth) {
    return tooth.grid != nullptr && !tooth.grid->empty() &&
           tooth.grid->cells.size() >= static_cast<std::size_t>(tooth.grid->cols) * tooth.grid->rows;
}

void requireOutputFolder(const std::string& folder) {
    if (!DirExists(folder)) throw Error("The output folder " + folder + " does not exist");
}

void OutputCurrentGridCsv(const CurrentGrid& grid, const std::string& path) {
    if (grid.empty()) throw Error("No grid to write to " + path + ": read a point file first");
    formats::writeXyzPointFile(path, cellsAsPoints(grid));
}

std::string WriteToothCsv(const ToothOutput& tooth, const std::string& outputFolder) {
    if (!toothPresent(tooth)) return {};
    requireOutputFolder(outputFolder);
    const std::string path = BuildOutputFilename(outputFolder, tooth.params) + ".csv";
    formats::writeXyzPointFile(path, cellsAsPoints(*tooth.grid));
    return path;
}

RgbImage toothBitmap(const LatticeGrid& t) {
    RgbImage img(t.cols + kPictureMargin, t.rows + kPictureMargin, kClearColour);
    const double range = t.zmax - t.zmin;
    for (int i = 1; i <= t.cols; ++i)
        for (int j = 1; j <= t.rows; ++j) {
            const double z = t.z(i, t.rows - j + 1);
            double level;
            if (range != 0)
                level = 255 * (z - t.zmin) / range;
            else
                level = isVoid(z) ? 255 : 0;
            img.at(i - 1, j - 1) = greyPixel(level);
        }
    return img;
}

std::string WriteToothBitmap(const ToothOutput& tooth, const std::string& outputFolder) {
    if (!toothPresent(tooth)) return {};
    requireOutputFolder(outputFolder);
    const std::string path = BuildOutputFilename(outputFolder, tooth.params) + ".bmp";
    writeBitmap(toothBitmap(*tooth.grid), path);
    return path;
}

MultiCsvOutcome OutputMultiToothCsv(const std::vector<ToothOutput>& teeth, const std::string& outputFolder,
                                    Prompt& prompt) {
    MultiCsvOutcome out;
    std::vector<std::pair<int, std::string>> named;
    for (const auto& t : teeth)
        if (toothPresent(t)) named.emplace_back(t.number, BuildOutputFilename(outputFolder, t.params));
    if (named.empty()) return out;
    requireOutputFolder(outputFolder);

    // Teeth that share a name would replace one another: all of them are held back,
    // each name listed once with every tooth that carries it.
    std::unordered_map<std::string, std::vector<int>> teethOf;
    for (const auto& [tooth, name] : named) teethOf[name].push_back(tooth);
    std::vector<std::string> clashingNames;
    for (const auto& [tooth, name] : named) {
        const auto& group = teethOf[name];
        if (group.size() > 1 && group.front() == tooth) clashingNames.push_back(name);
    }
    for (const auto& t : teeth) {
        if (!toothPresent(t)) continue;
        if (teethOf[BuildOutputFilename(outputFolder, t.params)].size() > 1) {
            out.skipped.push_back(t.number);
            continue;
        }
        out.written.push_back(WriteToothCsv(t, outputFolder));
    }
    if (!clashingNames.empty()) {
        std::string text = std::to_string(out.written.size()) + " teeth were written. These teeth share an output "
                           "name and were not written, so that none replaces another:";
        const std::size_t shown = std::min<std::size_t>(clashingNames.size(), 20);
        for (std::size_t k = 0; k < shown; ++k) {
            const auto& group = teethOf[clashingNames[k]];
            text += "\nTeeth ";
            for (std::size_t m = 0; m < group.size(); ++m) {
                if (m > 0) text += m + 1 == group.size() ? " and " : ", ";
                text += std::to_string(group[m]);
            }
            text += ": " + clashingNames[k] + ".csv";
        }
        if (clashingNames.size() > shown)
            text += "\n(and " + std::to_string(clashingNames.size() - shown) + " more shared names)";
        prompt.message("Output", text);
    }
    return out;
}

} // namespace trelvik::csvview
