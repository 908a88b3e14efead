#include "formats/tiffdem.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/commit/workingfiles.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cerrno>
#include <memory>
#include <unistd.h>

namespace trelvik::formats {

namespace {

constexpr ttag_t kModelPixelScale = 33550;
constexpr ttag_t kModelTiepoint = 33922;

// The two GeoTIFF tags libtiff does not know by itself.
const TIFFFieldInfo kGeoFields[] = {
    {kModelPixelScale, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelPixelScaleTag")},
    {kModelTiepoint, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelTiepointTag")},
};

// libtiff reports problems through handlers; keep the last message for our error.
thread_local std::string lastTiffMessage;
void onTiffMessage(const char* module, const char* fmt, va_list ap) {
    char buf[512];
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    lastTiffMessage = std::string(module ? module : "libtiff") + ": " + buf;
}

struct Handlers {
    TIFFErrorHandler err, warn;
    Handlers() : err(TIFFSetErrorHandler(onTiffMessage)), warn(TIFFSetWarningHandler(nullptr)) {}
    ~Handlers() {
        TIFFSetErrorHandler(err);
        TIFFSetWarningHandler(warn);
    }
};

using TiffPtr = std::unique_ptr<TIFF, void (*)(TIFF*)>;

} // namespace

void writeTiffDem(const std::string& path, const TiffDem& d) {
    if (d.nx < 1 || d.ny < 1 || d.h.size() != static_cast<std::size_t>(d.nx) * d.ny)
        throw Error("Cannot write the Tiff DEM " + path + ": the heights do not fill a " + std::to_string(d.nx) +
                    " x " + std::to_string(d.ny) + " lattice.");
    Handlers handlers;
    lastTiffMessage.clear();
    // The temporary is the one every replacing writer uses (naming, clean-up after a
    // killed write, sync, permissions, links); libtiff writes through a copy of its
    // descriptor and closes that copy.
    ReplacementFile out(path);
    {
        const int fd = ::dup(out.fd());
        if (fd < 0) out.fail("open", errno);
        TiffPtr tif(TIFFFdOpen(fd, out.tempPath().c_str(), "w"), [](TIFF* t) { TIFFClose(t); });
        if (!tif) {
            ::close(fd);
            throw Error("Cannot write the Tiff DEM " + path + ": " + lastTiffMessage);
        }
        auto fail = [&](const std::string& what) {
            tif.reset();
            throw Error("Cannot write the Tiff DEM " + path + " (" + what + ")" +
                        (lastTiffMessage.empty() ? std::string() : ": " + lastTiffMessage));
        };
        TIFF* t = tif.get();
        TIFFMergeFieldInfo(t, kGeoFields, 2);
        const std::uint32_t rowsPerStrip = std::max<std::uint32_t>(1, 65536u / (4u * static_cast<std::uint32_t>(d.nx)));
        bool ok = TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(d.nx)) &&
                  TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(d.ny)) &&
                  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1) && TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 32) &&
                  TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP) &&
                  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK) &&
                  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
                  TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE) &&
                  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
        const double scale[3] = {d.xint, d.yint, 0.0};
        const double tie[6] = {0, 0, 0, d.x0 - d.xint / 2, d.y0 + (d.ny - 1) * d.yint + d.yint / 2, 0};
        ok = ok && TIFFSetField(t, kModelPixelScale, 3, scale) && TIFFSetField(t, kModelTiepoint, 6, tie);
        if (!ok) fail("tags");
        std::vector<float> row(static_cast<std::size_t>(d.nx));
        for (int r = 0; r < d.ny; ++r) {
            const int j = d.ny - 1 - r;  // north up
            const double* src = d.h.data() + static_cast<std::size_t>(j) * d.nx;
            for (int i = 0; i < d.nx; ++i) row[i] = static_cast<float>(src[i]);
            if (TIFFWriteScanline(t, row.data(), static_cast<std::uint32_t>(r), 0) < 0) fail("row " + std::to_string(r));
        }
        if (!TIFFFlush(t)) fail("flush");
    }
    out.commit();
}

TiffImage readTiffFloatImage(const std::string& path) {
    Handlers handlers;
    lastTiffMessage.clear();
    working::settleBeforeReading(path);
    InputFile in(path);
    TiffPtr tif(TIFFFdOpen(in.fd(), path.c_str(), "r"), [](TIFF* t) { TIFFClose(t); });
    if (!tif) throw Error("Cannot read the TIFF file " + path + ": " + lastTiffMessage);
    in.release();  // the library closes it
    TIFF* t = tif.get();
    TIFFMergeFieldInfo(t, kGeoFields, 2);
    std::uint32_t w = 0, h = 0;
    std::uint16_t bits = 0, format = 0, spp = 1;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &spp);
    if (bits != 32 || format != SAMPLEFORMAT_IEEEFP || spp != 1)
        throw Error("The TIFF file " + path + " is not one band of 32-bit floats.");
    TiffImage img;
    img.width = static_cast<int>(w);
    img.height = static_cast<int>(h);
    img.values.reserve(static_cast<std::size_t>(w) * h);
    std::vector<float> row(w);
    for (std::uint32_t r = 0; r < h; ++r) {
        if (TIFFReadScanline(t, row.data(), r, 0) < 0) throw Error("Cannot read row " + std::to_string(r) + " of " + path);
        img.values.insert(img.values.end(), row.begin(), row.end());
    }
    std::uint16_t n = 0;  // variable-count tags report their count as 16 bits
    double* v = nullptr;
    if (TIFFGetField(t, kModelPixelScale, &n, &v) && v) img.pixelScale.assign(v, v + n);
    if (TIFFGetField(t, kModelTiepoint, &n, &v) && v) img.tiepoint.assign(v, v + n);
    return img;
}

} // namespace trelvik::formats
