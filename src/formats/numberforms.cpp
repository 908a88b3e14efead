#include "formats/numberforms.h"

#include "core/textform.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace trelvik::formats {

namespace {

constexpr double kPow10[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// |k| / 10^d written as plain decimal text with trailing zeros of the fraction dropped
// (and the point with them); `minDecimals` fraction digits are always kept.
// leadingZero: "0.5" (true) or ".5" (false) below 1.
char* writeScaled(char* out, std::uint64_t k, int d, bool negative, bool leadingZero, int minDecimals) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + k % 10);
        k /= 10;
    } while (k != 0);
    // digits[0] is the last digit; the fraction is digits[0..d-1].
    while (n < d) digits[n++] = '0';
    int firstKept = 0;  // trailing zeros of the fraction are dropped
    while (firstKept < d - minDecimals && digits[firstKept] == '0') ++firstKept;
    const bool zeroAll = [&] {
        for (int i = firstKept; i < n; ++i)
            if (digits[i] != '0') return false;
        return true;
    }();
    if (negative && !zeroAll) *out++ = '-';
    const int intDigits = n - d;
    if (intDigits > 0) {
        for (int i = n - 1; i >= d; --i) *out++ = digits[i];
    } else if (leadingZero || firstKept >= d) {
        *out++ = '0';
    }
    if (firstKept < d) {
        *out++ = '.';
        for (int i = d - 1; i >= firstKept; --i) *out++ = digits[i];
    }
    return out;
}

// v * 10^d rounded to a whole number when v is far enough from a half to trust the
// binary product (the test text::Round makes); false sends the caller to the slow path.
inline bool fastScaled(double v, int d, bool awayFromZero, std::uint64_t& k, bool& negative) {
    if (!std::isfinite(v) || d < 0 || d > 8) return false;
    const double y = v * kPow10[d];
    const double a = std::fabs(y);
    if (!(a < 1e14)) return false;
    const double f = a - std::floor(a);
    if (std::fabs(f - 0.5) <= a * 8e-15 + 1e-12) return false;
    (void)awayFromZero;  // away from a half both rules agree
    k = static_cast<std::uint64_t>(std::floor(a + 0.5));
    negative = y < 0;
    return true;
}

// The CStr text of v with Str's changes: no zero before the point below 1.
char* fromGeneral(char* out, double v) {
    char tmp[kGeneralNumberMax];
    char* end = writeGeneralNumber(tmp, v);
    const char* p = tmp;
    if (*p == '-') {
        *out++ = '-';
        ++p;
    }
    if (p[0] == '0' && p + 1 < end && p[1] == '.') ++p;
    const auto n = static_cast<std::size_t>(end - p);
    std::memcpy(out, p, n);
    return out + n;
}

} // namespace

char* writeRoundedGeneral(char* out, double v, int decimals) {
    std::uint64_t k = 0;
    bool neg = false;
    if (fastScaled(v, decimals, false, k, neg)) {
        if (k == 0) {
            *out = '0';
            return out + 1;
        }
        return writeScaled(out, k, decimals, neg, true, 0);
    }
    return writeGeneralNumber(out, text::Round(v, decimals));
}

char* writeStrDigits(char* out, double v, int decimals) {
    if (decimals < 0) return fromGeneral(out, v);
    std::uint64_t k = 0;
    bool neg = false;
    if (fastScaled(v, decimals, false, k, neg)) {
        if (k == 0) {
            *out = '0';
            return out + 1;
        }
        return writeScaled(out, k, decimals, neg, false, 0);
    }
    return fromGeneral(out, text::Round(v, decimals));
}

char* writePrintForm(char* out, double v, int decimals) {
    char* start = out;
    *out++ = ' ';
    char* end = writeStrDigits(out, v, decimals);
    if (*out == '-') {  // the sign takes the blank's place
        std::memmove(start, out, static_cast<std::size_t>(end - out));
        --end;
    }
    *end++ = ' ';
    return end;
}

char* writeFormat0_0xx(char* out, double v) {
    std::uint64_t k = 0;
    bool neg = false;
    if (fastScaled(v, 3, true, k, neg)) return writeScaled(out, k, 3, neg, true, 1);
    const std::string s = text::Format(v, "0.0##");
    std::memcpy(out, s.data(), s.size());
    return out + s.size();
}

} // namespace trelvik::formats
