// Surfer grid files of all three forms (text, version-6 binary, version-7 binary).
#include "formats/surfergrid.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "g.grd");
    trelvik::formats::readSurferGrid(p);
})
