// Alicona text grids: a "{count}" header, then point lines.
#include "formats/alicona.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "a.txt");
    trelvik::formats::readAliconaText(p);
})
