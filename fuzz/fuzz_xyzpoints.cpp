// XYZ point files: x, y, z per line, commas or blanks.
#include "formats/xyzpointfile.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({ trelvik::formats::parseXyzPoints(trelvik::fuzz::asText(data, size), "p.xyz"); })
