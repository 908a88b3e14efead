// Digitise files: x, y per line, groups separated by "-1".
#include "formats/digitisefile.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "digit.dat");
    trelvik::formats::readDigitiseGroups(p);
})
