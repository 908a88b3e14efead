#include "formats/fastnumber.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace trelvik::formats {

char* writeGeneralNumber(char* out, double v) {
    if (std::isnan(v)) {
        std::memcpy(out, "NaN", 3);
        return out + 3;
    }
    if (std::isinf(v)) {
        if (v < 0) *out++ = '-';
        std::memcpy(out, "Inf", 3);
        return out + 3;
    }
    if (v == 0) {
        *out = '0';
        return out + 1;
    }
    if (v < 0) {
        *out++ = '-';
        v = -v;
    }
    // d.dddddddddddddde+XX: the 15 significant digits, correctly rounded.
    char sci[kGeneralNumberMax];
    char* end = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific, 14).ptr;
    char* e = sci;
    while (*e != 'e') ++e;
    char digits[16];
    int n = 0;
    for (char* q = sci; q < e; ++q)
        if (*q != '.') digits[n++] = *q;
    while (n > 1 && digits[n - 1] == '0') --n;
    int exp10 = 0;
    const char* ep = e + 1;
    if (*ep == '+') ++ep;
    std::from_chars(ep, end, exp10);

    if (exp10 < -4 || exp10 >= 15) {
        *out++ = digits[0];
        if (n > 1) {
            *out++ = '.';
            std::memcpy(out, digits + 1, static_cast<std::size_t>(n - 1));
            out += n - 1;
        }
        *out++ = 'E';
        *out++ = exp10 < 0 ? '-' : '+';
        int a = exp10 < 0 ? -exp10 : exp10;
        if (a >= 100) {
            *out++ = static_cast<char>('0' + a / 100);
            a %= 100;
        }
        *out++ = static_cast<char>('0' + a / 10);
        *out++ = static_cast<char>('0' + a % 10);
        return out;
    }
    const int point = exp10 + 1;  // digits before the decimal point
    if (point <= 0) {
        *out++ = '0';
        *out++ = '.';
        for (int i = 0; i < -point; ++i) *out++ = '0';
        std::memcpy(out, digits, static_cast<std::size_t>(n));
        return out + n;
    }
    if (point >= n) {
        std::memcpy(out, digits, static_cast<std::size_t>(n));
        out += n;
        for (int i = n; i < point; ++i) *out++ = '0';
        return out;
    }
    std::memcpy(out, digits, static_cast<std::size_t>(point));
    out += point;
    *out++ = '.';
    std::memcpy(out, digits + point, static_cast<std::size_t>(n - point));
    return out + (n - point);
}

} // namespace trelvik::formats
