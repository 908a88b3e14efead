// Slice profiles written along a line: x, y, z, distance and one more value a line.
#include "formats/slicefile.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "slice.dat");
    trelvik::formats::readSliceFile(p);
})
