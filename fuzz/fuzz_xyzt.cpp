// Point files with a fourth value (x, y, z, t), as enamel thickness writes them.
#include "formats/xyztfile.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({ trelvik::formats::parseXyztPoints(trelvik::fuzz::asText(data, size), "t.xyz"); })
