// VRML scenes holding an IndexedFaceSet.
#include "formats/vrml.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({ trelvik::formats::parseVrmlFaceSet(trelvik::fuzz::asText(data, size), "p.wrl"); })
