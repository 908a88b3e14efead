// XYZ text written from a grid, one node per line.
#include "formats/xyzdump.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "d.dat");
    trelvik::formats::readXyzDump(p);
})
