// Tiff text grey matrices.
#include "formats/tifftext.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({ trelvik::formats::readTiffGreyMatrix(trelvik::fuzz::asFile(data, size, "m.txt")); })
