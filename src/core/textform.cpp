#include "core/textform.h"

#include "core/error.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace trelvik::text {

namespace {

// A double as the user sees it: up to 15 significant digits. value = 0.digits x 10^point,
// digits has no trailing zeros (at least one digit). Zero gives digits "0", point 1.
struct Decimal {
    bool negative = false;
    std::string digits;
    int point = 1;  // digits before the decimal point (may be <= 0 or > digits.size())
};

Decimal toDecimal15(double v) {
    Decimal d;
    if (v == 0 || !std::isfinite(v)) {
        d.digits = "0";
        return d;
    }
    d.negative = v < 0;
    std::array<char, 40> buf;
    // d.dddddddddddddde+XX: 15 significant digits, correctly rounded.
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                             std::chars_format::scientific, 14);
    const char* p = buf.data();
    const char* end = res.ptr;
    const char* e = p;
    while (e < end && *e != 'e') ++e;
    d.digits.reserve(15);
    for (const char* q = p; q < e; ++q)
        if (*q != '.') d.digits.push_back(*q);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    int exp10 = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exp10);
    d.point = exp10 + 1;
    return d;
}

enum class Tie { Even, AwayFromZero };

// Rounds the decimal to `decimals` places; returns the digits of |value| * 10^decimals
// as a whole number (no leading zeros, "0" for zero).
std::string scaledRounded(const Decimal& d, int decimals, Tie tie) {
    const long keep = static_cast<long>(d.point) + decimals;
    const long n = static_cast<long>(d.digits.size());
    std::string k;
    if (keep >= n) {
        k = d.digits;
        k.append(static_cast<std::size_t>(keep - n), '0');
    } else if (keep < 0) {
        k = "0";
    } else {
        k = d.digits.substr(0, static_cast<std::size_t>(keep));
        bool up = false;
        const char first = d.digits[static_cast<std::size_t>(keep)];
        if (first > '5') {
            up = true;
        } else if (first == '5') {
            if (tie == Tie::AwayFromZero || keep + 1 < n) {
                up = true;  // digits has no trailing zeros: anything after the 5 is above half
            } else {
                up = !k.empty() && ((k.back() - '0') % 2 == 1);
            }
        }
        if (k.empty()) k = "0";
        if (up) {
            long i = static_cast<long>(k.size()) - 1;
            while (i >= 0 && k[static_cast<std::size_t>(i)] == '9') k[static_cast<std::size_t>(i--)] = '0';
            if (i < 0) k.insert(k.begin(), '1');
            else ++k[static_cast<std::size_t>(i)];
        }
    }
    std::size_t nz = 0;
    while (nz + 1 < k.size() && k[nz] == '0') ++nz;
    return k.substr(nz);
}

constexpr std::array<double, 23> kPow10 = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// General form without sign handling; leadingZero chooses "0.5" (CStr) or ".5" (Str).
std::string general(double v, bool leadingZero) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v < 0 ? "-Inf" : "Inf";
    const Decimal d = toDecimal15(v);
    std::string out;
    if (d.negative) out.push_back('-');
    if (d.digits == "0") {
        out = "0";
        return out;
    }
    const int exp10 = d.point - 1;
    if (exp10 < -4 || exp10 >= 15) {
        out.push_back(d.digits[0]);
        if (d.digits.size() > 1) {
            out.push_back('.');
            out.append(d.digits, 1, std::string::npos);
        }
        out.push_back('E');
        out.push_back(exp10 < 0 ? '-' : '+');
        const int a = std::abs(exp10);
        if (a < 10) out.push_back('0');
        out += std::to_string(a);
        return out;
    }
    const int n = static_cast<int>(d.digits.size());
    if (d.point <= 0) {
        if (leadingZero) out.push_back('0');
        out.push_back('.');
        out.append(static_cast<std::size_t>(-d.point), '0');
        out += d.digits;
    } else if (d.point >= n) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.point - n), '0');
    } else {
        out.append(d.digits, 0, static_cast<std::size_t>(d.point));
        out.push_back('.');
        out.append(d.digits, static_cast<std::size_t>(d.point), std::string::npos);
    }
    return out;
}

inline bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string CStr(double v) { return general(v, true); }

std::string Str(double v) {
    std::string s = general(v, false);
    if (s[0] != '-') s.insert(s.begin(), ' ');
    return s;
}

// Blanks, tabs and line feeds are ignored wherever they stand ("1 000" reads 1000), the
// way the number boxes have always been read; any other character ends the number.
double Val(std::string_view s) {
    std::array<char, 128> buf;
    std::size_t n = 0;
    bool negative = false;
    std::size_t i = 0;
    auto skip = [&] {
        while (i < s.size() && isSkipped(s[i])) ++i;
    };
    auto put = [&](char c) {
        if (n < buf.size() - 8) buf[n++] = c;
    };
    skip();
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool anyDigit = false, seenPoint = false;
    int droppedIntDigits = 0;  // whole-part digits beyond the buffer
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (isSkipped(c)) continue;
        if (isDigit(c)) {
            anyDigit = true;
            if (n < buf.size() - 8) buf[n++] = c;
            else if (!seenPoint) ++droppedIntDigits;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            put('.');
        } else {
            break;
        }
    }
    if (!anyDigit) return 0.0;
    long exp10 = droppedIntDigits;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        ++i;
        skip();
        bool expNeg = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNeg = s[i] == '-';
            ++i;
        }
        long e = 0;
        for (; i < s.size(); ++i) {
            const char c = s[i];
            if (isSkipped(c)) continue;
            if (!isDigit(c)) break;
            if (e < 100000) e = e * 10 + (c - '0');
        }
        exp10 += expNeg ? -e : e;
    }
    if (exp10 != 0) {
        buf[n++] = 'e';
        auto r = std::to_chars(buf.data() + n, buf.data() + buf.size(), exp10);
        n = static_cast<std::size_t>(r.ptr - buf.data());
    }
    double v = 0;
    auto r = std::from_chars(buf.data(), buf.data() + n, v);
    if (r.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow has no value.
        if (exp10 < 0) return 0.0;
        throw Error("Overflow: the number \"" + std::string(s) + "\" is too large");
    }
    return negative ? -v : v;
}

double Round(double x, int decimals) {
    if (!std::isfinite(x)) return x;
    if (decimals < 0) throw Error("Invalid procedure call: Round with negative decimals");
    if (decimals > 22) return x;
    const double p = kPow10[static_cast<std::size_t>(decimals)];
    const double y = x * p;
    if (std::fabs(y) < 1e14) {
        const double f = y - std::floor(y);
        // Far from a half, binary and decimal views agree; only near-ties need the digits.
        // The margin covers the product's rounding and the 15-digit rounding of x, both
        // relative errors below 6E-15.
        if (std::fabs(f - 0.5) > std::fabs(y) * 8e-15 + 1e-12) return std::nearbyint(y) / p + 0.0;
    } else if (std::fabs(x) >= 1e15) {
        return x;  // no digits after the point at 15 significant digits
    }
    // Halves are judged on the 15-digit decimal value the user sees, so that
    // Round(2.675, 2) is 2.68 and Round(0.125, 2) is 0.12.
    const Decimal d = toDecimal15(x);
    std::string k = scaledRounded(d, decimals, Tie::Even);
    if (k == "0") return 0.0;
    k += 'e';
    k += std::to_string(-decimals);
    double v = 0;
    std::from_chars(k.data(), k.data() + k.size(), v);
    return d.negative ? -v : v;
}

long long CInt(double x) {
    const double r = Round(x, 0);
    if (!(r >= -9.2e18 && r <= 9.2e18)) throw Error("Overflow converting " + CStr(x) + " to a whole number");
    return static_cast<long long>(r);
}

double Int(double x) { return std::floor(x); }
double Fix(double x) { return std::trunc(x); }

// Patterns: optional literal text, then digit placeholders "0" (always written) and
// "#" (written when significant), optionally "," for thousands grouping and one "."
// followed by decimal placeholders, then optional literal text. An empty pattern
// gives the general form.
std::string Format(double v, std::string_view pattern) {
    if (pattern.empty()) return CStr(v);
    auto isPh = [](char c) { return c == '0' || c == '#' || c == ',' || c == '.'; };
    std::size_t a = 0;
    while (a < pattern.size() && !(pattern[a] == '0' || pattern[a] == '#' || pattern[a] == '.')) ++a;
    std::size_t b = a;
    while (b < pattern.size() && isPh(pattern[b])) ++b;
    const std::string_view prefix = pattern.substr(0, a);
    const std::string_view body = pattern.substr(a, b - a);
    const std::string_view suffix = pattern.substr(b);
    if (body.empty()) return std::string(pattern);

    const std::size_t dot = body.find('.');
    const std::string_view intPart = body.substr(0, dot);
    const std::string_view fracPart = dot == std::string_view::npos ? std::string_view{} : body.substr(dot + 1);
    int minInt = 0;
    bool group = false;
    for (char c : intPart) {
        if (c == '0') ++minInt;
        if (c == ',') group = true;
    }
    int minDec = 0, maxDec = 0;
    for (char c : fracPart) {
        if (c == '0') {
            ++maxDec;
            minDec = maxDec;
        } else if (c == '#') {
            ++maxDec;
        }
    }

    const Decimal d = toDecimal15(v);
    std::string k = scaledRounded(d, maxDec, Tie::AwayFromZero);
    // Split the scaled whole number into whole and decimal digits.
    if (static_cast<int>(k.size()) <= maxDec) k.insert(0, static_cast<std::size_t>(maxDec + 1) - k.size(), '0');
    std::string whole = k.substr(0, k.size() - static_cast<std::size_t>(maxDec));
    std::string frac = k.substr(k.size() - static_cast<std::size_t>(maxDec));
    const bool isZero = whole.find_first_not_of('0') == std::string::npos &&
                        frac.find_first_not_of('0') == std::string::npos;
    while (static_cast<int>(frac.size()) > minDec && frac.back() == '0') frac.pop_back();
    if (whole == "0") whole.clear();
    if (static_cast<int>(whole.size()) < minInt) whole.insert(0, static_cast<std::size_t>(minInt) - whole.size(), '0');
    if (group) {
        std::string g;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (i != 0 && (whole.size() - i) % 3 == 0) g.push_back(',');
            g.push_back(whole[i]);
        }
        whole = g;
    }
    std::string out(prefix);
    if (d.negative && !isZero) out.push_back('-');  // a value that rounds to zero shows no sign
    out += whole;
    if (dot != std::string_view::npos) out.push_back('.');  // written even with no decimals ("5.")
    out += frac;
    out += suffix;
    return out;
}

WriteLine& WriteLine::num(double v) {
    if (!first_) line_.push_back(',');
    first_ = false;
    line_ += CStr(v);
    return *this;
}

WriteLine& WriteLine::text(std::string_view s) {
    if (!first_) line_.push_back(',');
    first_ = false;
    line_.push_back('"');
    line_ += s;
    line_.push_back('"');
    return *this;
}

void PrintLine::pad() {
    if (pending_ == ',') {
        const std::size_t zone = 14;
        const std::size_t rem = line_.size() % zone;
        if (rem != 0) line_.append(zone - rem, ' ');
    }
    pending_ = 0;
}

PrintLine& PrintLine::num(double v, char sep) {
    pad();
    line_ += Str(v);
    line_.push_back(' ');
    pending_ = sep;
    return *this;
}

PrintLine& PrintLine::text(std::string_view s, char sep) {
    pad();
    line_ += s;
    pending_ = sep;
    return *this;
}

std::string PrintLine::str() const { return line_; }

namespace {
inline bool isBlankSep(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

// List input: blanks around an item are separators; a comma ends an item, so two
// commas in a row enclose an empty item; a quoted item may hold commas and blanks.
std::vector<std::string> tokenize(std::string_view line) {
    std::vector<std::string> items;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (true) {
        while (i < n && isBlankSep(line[i])) ++i;
        if (i >= n) break;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) {
                items.emplace_back(line.substr(i + 1));
                break;
            }
            items.emplace_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            while (i < n && line[i] != ',' && !isBlankSep(line[i])) ++i;  // text after the quote is dropped
        } else if (line[i] == ',') {
            items.emplace_back();
            ++i;
            continue;
        } else {
            const std::size_t start = i;
            while (i < n && line[i] != ',' && !isBlankSep(line[i])) ++i;
            items.emplace_back(line.substr(start, i - start));
        }
        while (i < n && isBlankSep(line[i])) ++i;
        if (i < n && line[i] == ',') ++i;
    }
    return items;
}

std::vector<double> numbers(std::string_view line) {
    std::vector<double> out;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (true) {
        while (i < n && isBlankSep(line[i])) ++i;
        if (i >= n) break;
        if (line[i] == ',') {
            out.push_back(0.0);
            ++i;
            continue;
        }
        std::size_t start = i, stop;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            start = i + 1;
            stop = close == std::string_view::npos ? n : close;
            i = close == std::string_view::npos ? n : close + 1;
            while (i < n && line[i] != ',' && !isBlankSep(line[i])) ++i;
        } else {
            while (i < n && line[i] != ',' && !isBlankSep(line[i])) ++i;
            stop = i;
        }
        const std::string_view item = line.substr(start, stop - start);
        // Plain decimal items take the quick path; anything unusual goes through Val.
        double v = 0;
        const char* b = item.data();
        const char* e = b + item.size();
        if (b != e && *b == '+') ++b;
        const char* first = (b != e && *b == '-') ? b + 1 : b;
        const bool plain = first != e && (isDigit(*first) || *first == '.');
        auto r = plain ? std::from_chars(b, e, v) : std::from_chars_result{b, std::errc::invalid_argument};
        if (r.ec != std::errc() || r.ptr != e) v = Val(item);
        out.push_back(v);
        while (i < n && isBlankSep(line[i])) ++i;
        if (i < n && line[i] == ',') ++i;
    }
    return out;
}

std::string BaseName(std::string_view path) {
    if (path.size() <= 4) return {};
    return std::string(path.substr(0, path.size() - 4));
}

std::string Trim(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && s[a] == ' ') ++a;
    while (b > a && s[b - 1] == ' ') --b;
    return std::string(s.substr(a, b - a));
}

std::string BoxFault(std::string_view caption, std::string_view typed, std::string_view wanted) {
    const std::string box = "The box \"" + std::string(caption) + "\"";
    if (Trim(typed).empty()) return box + " is empty.";
    return box + " holds \"" + std::string(typed) + "\"; it needs " + std::string(wanted) + ".";
}

}  // namespace trelvik::text
