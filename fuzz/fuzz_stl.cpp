// ASCII STL surfaces: facet vertices, and the distinct-vertex extraction after them.
#include "formats/stlascii.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string_view t = trelvik::fuzz::asText(data, size);
    trelvik::formats::looksLikeBinaryStl(t);
    const auto v = trelvik::formats::parseAsciiStlVertices(t, "s.stl");
    trelvik::formats::distinctVertices(v);
})
