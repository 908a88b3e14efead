// The number-text readers: the leading-number rule and the item splitter.
#include "core/textform.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string_view t = trelvik::fuzz::asText(data, size);
    trelvik::text::Val(t);
    trelvik::text::numbers(t);
    trelvik::text::tokenize(t);
})
