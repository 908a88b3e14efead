// Avizo surface files: the vertex section.
#include "formats/avizosurf.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "s.surf");
    trelvik::formats::readAvizoSurfaceVertices(p);
})
