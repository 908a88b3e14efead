// VRML scenes holding an elevation grid.
#include "formats/vrml.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const auto s = trelvik::formats::parseVrmlSurface(trelvik::fuzz::asText(data, size), "v.wrl");
    trelvik::formats::vrmlSurfaceGrid(s);
})
