#include "csvview/viewgrids.h"

#include "core/textform.h"

#include <algorithm>

namespace trelvik::csvview {

namespace {

// The cells of a drawing buffer (without its margin) painted into a view.
void paint(ViewBox& view, const RgbImage& buffer) {
    view.image = stretchPicture(buffer, buffer.width - kPictureMargin, buffer.height - kPictureMargin,
                                view.picture.width, view.picture.height);
}

ViewBox emptyBox(int side) {
    ViewBox v;
    v.picture = {side, side};
    v.image = RgbImage(side, side, kClearColour);
    return v;
}

} // namespace

ViewerViews::ViewerViews() {
    current = emptyBox(kCurrentViewSide);
    workingView = emptyBox(kWorkingViewSide);
    processedView = emptyBox(kWorkingViewSide);
    for (auto& v : resultViews) v = emptyBox(kResultViewSide);
    labelLayers.resize(kLabelLayers);
}

void ViewerViews::drawCurrent(const CurrentGrid& grid, const CurrentViewOptions& opts) {
    currentPicture = drawCurrentGrid(grid, opts);
    buffer = currentPicture.buffer;
    current.picture = fitPicture(grid.cols, grid.rows, kCurrentViewSide);
    paint(current, buffer);
    current.drawn = true;
    gridViewDrawn = true;
}

void ViewerViews::clearCurrent(const CurrentGrid& grid) {
    constexpr int side = 28;
    buffer.reset(side, side, kClearColour);
    for (int i = 0; i < std::min(grid.cols, side); ++i)
        for (int j = 0; j < std::min(grid.rows, side); ++j) buffer.at(i, j) = kBlack;
    paint(current, buffer);
    current.drawn = false;
    gridViewDrawn = false;
}

bool ViewerViews::copyCurrentToWorking(const CurrentGrid& grid) {
    if (grid.cols <= 0 || grid.rows <= 0) return false;
    const std::size_t n = static_cast<std::size_t>(grid.cols) * static_cast<std::size_t>(grid.rows);
    if (grid.cells.size() < n || grid.filled.size() < n) return false;
    working = LatticeGrid(grid.cols, grid.rows);
    working.cells.assign(grid.cells.begin(), grid.cells.begin() + static_cast<std::ptrdiff_t>(working.cells.size()));
    working.filled.assign(grid.filled.begin(), grid.filled.begin() + static_cast<std::ptrdiff_t>(working.filled.size()));
    working.zmin = grid.zmin;
    working.zmax = grid.zmax;
    drawWorking();

    processed = LatticeGrid();
    processedPicture = ProcessedPicture();
    for (auto& layer : labelLayers) layer = LatticeGrid(grid.cols, grid.rows);
    for (auto& r : results) r = LatticeGrid();
    processedView = emptyBox(kWorkingViewSide);
    for (auto& v : resultViews) v = emptyBox(kResultViewSide);
    return true;
}

void ViewerViews::drawWorking() {
    workingPicture = drawGreyGrid(working, working.zmin, working.zmax);
    buffer = workingPicture.buffer;
    workingView.picture = fitPicture(working.cols, working.rows, kWorkingViewSide);
    paint(workingView, buffer);
    workingView.drawn = true;
}

void ViewerViews::setProcessed(LatticeGrid grid) { processed = std::move(grid); }

const ProcessedPicture& ViewerViews::drawProcessed(ProcessedRenderInput in) {
    in.processed = &processed;
    processedPicture = renderProcessedGrid(in);
    // The copy lists carry the processed grid's grey range with it.
    processed.zmin = processedPicture.lowest;
    processed.zmax = processedPicture.highest;
    buffer = processedPicture.buffer;
    processedView.picture = fitPicture(processed.cols, processed.rows, kWorkingViewSide);
    paint(processedView, buffer);
    processedView.drawn = true;
    return processedPicture;
}

const ViewBox* ViewerViews::boxOf(int number) const {
    if (number == kBoxWorking) return &workingView;
    if (number == kBoxProcessed) return &processedView;
    if (number >= 1 && number <= kResultViews) return &resultViews[static_cast<std::size_t>(number - 1)];
    return nullptr;
}

void ViewerViews::viewResult(int view, int source) {
    if (view < 1 || view > kResultViews) return;
    const std::size_t k = static_cast<std::size_t>(view - 1);
    const LatticeGrid& grid = results[k];
    ViewBox& to = resultViews[k];
    to.picture = fitPicture(grid.cols, grid.rows, kResultViewSide);
    to.drawn = false;
    to.image = RgbImage(to.picture.width, to.picture.height, kClearColour);
    if (source == kOwnGrid) {
        buffer = drawGreyGrid(grid, grid.zmin, grid.zmax).buffer;
        paint(to, buffer);
        to.drawn = true;
    } else if (source != view) {
        if (const ViewBox* from = boxOf(source)) {
            // a copy of the other view's picture, not a fresh drawing
            const RgbImage picture = from->image;
            to.image = stretchPicture(picture, picture.width, picture.height, to.picture.width, to.picture.height);
            to.drawn = true;
        }
    }
}

void ViewerViews::showLabelLayer(int layer, int view) {
    if (layer < 1 || layer > kLabelLayers || view < 1 || view > kResultViews) return;
    const LatticeGrid& from = labelLayers[static_cast<std::size_t>(layer - 1)];
    LatticeGrid& to = results[static_cast<std::size_t>(view - 1)];
    to = from;
    to.zmin = 100000000;
    to.zmax = -100000000;
    for (const GridCell& c : to.cells) {
        if (isVoid(c.z)) continue;
        if (c.z < to.zmin) to.zmin = c.z;
        if (c.z > to.zmax) to.zmax = c.z;
    }
    viewResult(view, kOwnGrid);
}

bool ViewerViews::copyBox(int from, int to) {
    if (from == to || to == kBoxProcessed) return false;
    if (from < kBoxWorking || from > kResultViews || to < kBoxWorking || to > kResultViews) return false;
    if (to == kBoxWorking && from == kBoxWorking) return false;
    const LatticeGrid* source = nullptr;
    if (from == kBoxWorking)
        source = &working;
    else if (from == kBoxProcessed)
        source = &processed;
    else
        source = &results[static_cast<std::size_t>(from - 1)];
    if (source->empty() || source->cells.size() != static_cast<std::size_t>(source->cols) * source->rows)
        return false;
    if (to == kBoxWorking) {
        working = *source;
        drawWorking();
    } else {
        results[static_cast<std::size_t>(to - 1)] = *source;
        viewResult(to, from);
    }
    return true;
}

int ViewerViews::boxNumber(const std::string& text) {
    if (text == "W") return kBoxWorking;
    if (text == "P") return kBoxProcessed;
    const double v = text::Val(text);
    if (!(v > -32768.5 && v < 32767.5)) return 32767;  // outside every box
    return static_cast<int>(text::CInt(v));
}

} // namespace trelvik::csvview
