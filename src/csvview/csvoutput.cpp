#include "csvview/csvoutput.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/xyzpointfile.h"

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
    const auto clashes = findNameCollisions(named);
    if (!clashes.empty()) {
        std::string text = "Teeth with the same output name would overwrite each other; nothing was written.";
        const std::size_t shown = std::min<std::size_t>(clashes.size(), 10);
        for (std::size_t k = 0; k < shown; ++k)
            text += "\nTeeth " + std::to_string(clashes[k].first) + " and " + std::to_string(clashes[k].second) +
                    ": " + clashes[k].name;
        if (clashes.size() > shown) text += "\n(" + std::to_string(clashes.size() - shown) + " more)";
        prompt.message("Output", text);
        out.refused = true;
        return out;
    }
    if (!named.empty()) requireOutputFolder(outputFolder);
    for (const auto& t : teeth) {
        const std::string path = WriteToothCsv(t, outputFolder);
        if (!path.empty()) out.written.push_back(path);
    }
    return out;
}

} // namespace trelvik::csvview
