#pragma once
// The viewer's grids and pictures besides the current grid: the working grid that
// every analysis reads, the processed grid they write, the ten label layers, the four
// result views, and what each view box shows.
//
// Boxes are numbered as the copy lists name them: -1 working ("W"), 0 processed
// ("P"), 1..4 result views ("1".."4"). Each view box holds a picture fitted into its
// display square (313 current, 249 working and processed, 161 result views) plus a
// 4-pixel frame; `buffer` is the one-pixel-per-cell drawing buffer that every
// drawing fills first and that the bitmap outputs save.
//
// A grid that has not been written since the last copy of the current grid is empty
// (cols = rows = 0); copies from an empty grid do nothing.
#include "csvview/latticegrid.h"
#include "csvview/rendergrey.h"
#include "csvview/renderimage.h"
#include "csvview/renderprocessed.h"

#include <array>
#include <string>
#include <vector>

namespace trelvik::csvview {

inline constexpr int kCurrentViewSide = 313;
inline constexpr int kWorkingViewSide = 249;
inline constexpr int kResultViewSide = 161;
inline constexpr int kLabelLayers = 10;
inline constexpr int kResultViews = 4;

// Box numbers of the copy lists.
inline constexpr int kBoxWorking = -1;
inline constexpr int kBoxProcessed = 0;
// Source of a result-view drawing that means "the view's own grid".
inline constexpr int kOwnGrid = -10;

// A view box: the picture painted into it (its frame, 4 pixels wider and higher,
// is the window's to draw).
struct ViewBox {
    RgbImage image;       // picture.width x picture.height
    PictureSize picture;  // size of the painted picture
    bool drawn = false;
    int boxWidth() const { return picture.width + kPictureMargin; }
    int boxHeight() const { return picture.height + kPictureMargin; }
};

class ViewerViews {
public:
    ViewerViews();

    // Current-grid view (View CSV): draws `grid` into the buffer and the current view.
    void drawCurrent(const CurrentGrid& grid, const CurrentViewOptions& opts);
    // Blanks the current view (a tooth without a grid); keeps the last picture size.
    void clearCurrent(const CurrentGrid& grid);

    // Copy of the current grid into the working grid; empties the processed grid,
    // the label layers and the result views, sized to the new grid. Returns false
    // (nothing done) when no grid has been read.
    bool copyCurrentToWorking(const CurrentGrid& grid);
    // Grey drawing of the working grid into the buffer and the working view.
    void drawWorking();

    // Sets the processed grid (an analysis or filter result) without drawing it.
    void setProcessed(LatticeGrid grid);
    // Draws the processed grid by `in` (whose processed grid is this one) into the
    // buffer and the processed view.
    const ProcessedPicture& drawProcessed(ProcessedRenderInput in);

    // Result view `view` (1..4) drawn from `source`: kOwnGrid, kBoxWorking,
    // kBoxProcessed or another result view 1..4.
    void viewResult(int view, int source);
    // Label layer `layer` (1..10) shown in result view `view` (1..4).
    void showLabelLayer(int layer, int view);
    // Copies grid and picture from box `from` to box `to`; false when nothing was copied.
    bool copyBox(int from, int to);
    // Box number of a copy-list text: "W" -1, "P" 0, otherwise its leading number.
    static int boxNumber(const std::string& text);

    // State, read by the window and the analyses.
    RgbImage buffer;  // picBoxU
    GreyPicture currentPicture;
    ViewBox current;
    bool gridViewDrawn = false;

    LatticeGrid working;
    GreyPicture workingPicture;
    ViewBox workingView;

    LatticeGrid processed;
    ProcessedPicture processedPicture;
    ViewBox processedView;

    std::vector<LatticeGrid> labelLayers;  // kLabelLayers layers
    std::array<LatticeGrid, kResultViews> results;
    std::array<ViewBox, kResultViews> resultViews;

private:
    const ViewBox* boxOf(int number) const;
};

} // namespace trelvik::csvview
