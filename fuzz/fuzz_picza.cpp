// Picza scans: the header, the window record and the scan lines.
#include "formats/picza.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const auto s = trelvik::formats::readPicza(trelvik::fuzz::asFile(data, size, "s.pix"));
    trelvik::formats::piczaNodeCount(s.header.x2 - s.header.x1, s.header.sx);
})
