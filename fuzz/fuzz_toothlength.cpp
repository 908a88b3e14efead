// Tooth-length files: one number.
#include "fuzzinput.h"
#include "planes/toothlength.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "t_tl.txt");
    trelvik::planes::readToothLengthFile(p);
})
