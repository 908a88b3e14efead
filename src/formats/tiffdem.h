#pragma once
// Tiff DEM: a height lattice as a TIFF elevation image through libtiff.
//
// Written: one band of 32-bit IEEE floats (SampleFormat 3), width nx and height ny,
// uncompressed strips, image row 0 the lattice's largest y (north up), column 0 its
// least x; GeoTIFF ModelPixelScale (xint, yint, 0) and ModelTiepoint placing the
// top-left corner of pixel (0, 0) at (x0 - xint / 2, y0 + (ny - 1) * yint + yint / 2),
// so that each pixel centre is a lattice node. Streamed row by row into the replacing
// temporary every writer uses (core/fileroutines.h), so the file replaces an existing
// one only when complete and keeps its permissions and links.
// Read (for checks): the band as doubles in the same order as written.
// Errors are trelvik::Error naming the file.
#include <string>
#include <vector>

namespace trelvik::formats {

struct TiffDem {
    int nx = 0, ny = 0;
    double xint = 1, yint = 1;
    double x0 = 0, y0 = 0;       // the node at index (0, 0): least x, least y
    std::vector<double> h;       // ny * nx, j (y index, least y first) outer, i inner
};

void writeTiffDem(const std::string& path, const TiffDem& dem);

// Image rows top first: row 0 is j = ny - 1.
struct TiffImage {
    int width = 0, height = 0;
    std::vector<double> values;  // height * width
    std::vector<double> pixelScale, tiepoint;
};
TiffImage readTiffFloatImage(const std::string& path);

} // namespace trelvik::formats
