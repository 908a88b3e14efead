// The grid-expression language of GridMath ("C = A - B", functions, powers).
#include "fuzzinput.h"
#include "surfer/gridexpression.h"

TRELVIK_FUZZ_TARGET({
    surfer::GridExpression e(trelvik::fuzz::asText(data, size));
    const double a[4] = {1.5, -2, 0, 1.70141e38};
    const double b[4] = {3, 0.25, -1, 7};
    double out[4];
    e.evaluate(a, b, out, 4);
})
