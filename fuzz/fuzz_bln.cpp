// Blanking-line files: a count-and-flag header, then one vertex a line.
#include "formats/blnfile.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "b.bln");
    trelvik::formats::readBlnFile(p);
})
