// Scanner point text: x, y, z a line, with the readers' header and separator rules.
#include "formats/pointtext.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({ trelvik::formats::parsePointText(trelvik::fuzz::asText(data, size), "p.txt"); })
