#pragma once
// The viewer's raster pictures: an RGB image buffer, the fitting of a grid picture
// into a view of fixed display size, nearest-neighbour stretching of one picture
// into another (what a view shows), and the Windows bitmap writer of every picture
// the viewer saves.
//
// Pixels are 0xFFRRGGBB, row 0 at the top, column 0 at the left. A picture of a
// grid has one pixel per cell plus a 4-pixel margin on the right and at the bottom
// (the buffer is cols + 4 by rows + 4, the cells drawn from its top-left corner);
// the margin goes into saved bitmaps but is never stretched into a view, whose own
// 4-pixel margin is its frame.
#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::csvview {

inline constexpr std::uint32_t rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r & 0xFF) << 16) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           static_cast<std::uint32_t>(b & 0xFF);
}
inline constexpr int redOf(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
inline constexpr int greenOf(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int blueOf(std::uint32_t c) { return static_cast<int>(c & 0xFF); }

// Colour of a cleared picture box (the window's face colour), also the margin colour.
inline constexpr std::uint32_t kClearColour = rgb(240, 240, 240);
inline constexpr std::uint32_t kBlack = rgb(0, 0, 0);
// Margin added to the right and bottom of every grid picture and view box.
inline constexpr int kPictureMargin = 4;

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, row 0 first

    RgbImage() = default;
    RgbImage(int w, int h, std::uint32_t fill = kClearColour) { reset(w, h, fill); }

    void reset(int w, int h, std::uint32_t fill = kClearColour) {
        width = w > 0 ? w : 0;
        height = h > 0 ? h : 0;
        pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    }
    bool empty() const { return width == 0 || height == 0; }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Channel value of a computed level: rounded half to even and limited to 0..255.
int channel(double level);
// Grey pixel of a computed level.
inline std::uint32_t greyPixel(double level) {
    const int g = channel(level);
    return rgb(g, g, g);
}

struct PictureSize {
    int width = 0;
    int height = 0;
};

// Size of a cols x rows picture fitted into a square of `side` pixels keeping its
// aspect: the longer side gets `side`, the other the whole part of the scaled length.
PictureSize fitPicture(int cols, int rows, int side);

// The top-left srcW x srcH part of `src` (a picture's cells, without its margin)
// stretched to w x h, nearest pixel: what a view shows after a stretched paint.
RgbImage stretchPicture(const RgbImage& src, int srcW, int srcH, int w, int h);

// Writes `img` as a 24-bit Windows bitmap (bottom-up rows). The file is written to
// a temporary name beside it and renamed, so a failed write leaves any earlier file
// whole. Throws trelvik::Error naming the file when it cannot be written.
void writeBitmap(const RgbImage& img, const std::string& path);

} // namespace trelvik::csvview
