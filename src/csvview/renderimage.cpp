#include "csvview/renderimage.h"

#include "core/fileroutines.h"

#include <cmath>

namespace trelvik::csvview {

int channel(double level) {
    if (!(level > 0)) return 0;  // also NaN
    if (level >= 255) return 255;
    return static_cast<int>(std::nearbyint(level));  // default rounding mode: halves to even
}

PictureSize fitPicture(int cols, int rows, int side) {
    if (cols <= 0 || rows <= 0) return {side, side};
    const double ratio = static_cast<double>(cols) / rows;
    if (ratio >= 1) return {side, static_cast<int>(std::floor(side / ratio))};
    return {static_cast<int>(std::floor(ratio * side)), side};
}

RgbImage stretchPicture(const RgbImage& src, int srcW, int srcH, int w, int h) {
    RgbImage out(w, h, kClearColour);
    if (srcW > src.width) srcW = src.width;
    if (srcH > src.height) srcH = src.height;
    if (srcW <= 0 || srcH <= 0 || w <= 0 || h <= 0) return out;
    // Source column of each target column, computed once: the centre of the target
    // pixel mapped back into the source.
    std::vector<int> srcX(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        srcX[static_cast<std::size_t>(x)] = static_cast<int>((2LL * x + 1) * srcW / (2LL * w));
    for (int y = 0; y < h; ++y) {
        const long long sy = (2LL * y + 1) * srcH / (2LL * h);
        const std::uint32_t* in = &src.pixels[static_cast<std::size_t>(sy) * src.width];
        std::uint32_t* o = &out.pixels[static_cast<std::size_t>(y) * w];
        for (int x = 0; x < w; ++x) o[x] = in[srcX[static_cast<std::size_t>(x)]];
    }
    return out;
}

namespace {

void put16(std::string& b, unsigned v) {
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

} // namespace

void writeBitmap(const RgbImage& img, const std::string& path) {
    const int rowBytes = (img.width * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(rowBytes) * static_cast<std::uint32_t>(img.height);
    std::string b;
    b.reserve(54 + dataSize);
    b += "BM";
    put32(b, 54 + dataSize);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);  // BITMAPINFOHEADER
    put32(b, static_cast<std::uint32_t>(img.width));
    put32(b, static_cast<std::uint32_t>(img.height));  // positive: rows stored bottom-up
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, dataSize);
    put32(b, 3780);  // 96 dpi
    put32(b, 3780);
    put32(b, 0);
    put32(b, 0);
    for (int y = img.height - 1; y >= 0; --y) {
        const std::size_t start = b.size();
        for (int x = 0; x < img.width; ++x) {
            const std::uint32_t c = img.at(x, y);
            b.push_back(static_cast<char>(blueOf(c)));
            b.push_back(static_cast<char>(greenOf(c)));
            b.push_back(static_cast<char>(redOf(c)));
        }
        b.append(static_cast<std::size_t>(rowBytes) - (b.size() - start), '\0');
    }

    writeFileAtomic(path, b);
}

} // namespace trelvik::csvview
