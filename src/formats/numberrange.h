#pragma once
// The value the point readers give a number whose text lies beyond the range of a
// double (std::from_chars reports result_out_of_range): a magnitude below the smallest
// double is 0 ("-1E-400" too, as such a tiny number means), a magnitude above the
// largest is `huge` with the text's sign (each reader passes what a huge value means
// to it: a blank marker, or the largest value it keeps).
#include <cmath>
#include <cstdlib>
#include <string>

namespace trelvik::formats {

// [b, e) is the whole number text, sign included, without a leading '+'.
inline double outOfRangeNumber(const char* b, const char* e, double huge) {
    const double approx = std::strtod(std::string(b, e).c_str(), nullptr);
    if (std::fabs(approx) < 1.0) return 0.0;
    return approx < 0 ? -huge : huge;
}

} // namespace trelvik::formats
