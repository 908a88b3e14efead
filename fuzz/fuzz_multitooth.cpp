// Multi-tooth files: header lines, point lines and "666" markers per tooth.
#include "formats/multitoothfile.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "m.csv");
    trelvik::formats::MultiToothFile f(p);
    trelvik::formats::ToothRecord rec;
    for (long t = 1; t <= f.toothCount() && t <= 64; ++t) {
        try {
            f.readTooth(t, rec);
        } catch (const trelvik::Error&) {
        }
    }
})
