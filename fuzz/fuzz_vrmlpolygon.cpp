// VRML polygon surfaces split into their text and their point and face lists.
#include "formats/vrml.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({ trelvik::formats::parseVrmlPolygonFile(trelvik::fuzz::asText(data, size), "p.wrl"); })
