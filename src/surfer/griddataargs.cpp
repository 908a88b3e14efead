#include "surfer/griddataargs.h"

#include "core/error.h"

#include <charconv>
#include <cmath>

namespace surfer::detail {

std::optional<double> optNumberOrText(const Args& a, std::string_view name) {
    const Value& v = a.raw(name);
    if (v.isOmitted()) return std::nullopt;
    if (v.isNumber() || v.isBool()) return v.number();
    if (v.isText()) {
        std::string_view t = v.text();
        while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
        bool negative = false;
        if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
            negative = t.front() == '-';
            t.remove_prefix(1);
        }
        double d = 0;
        auto res = std::from_chars(t.data(), t.data() + t.size(), d);
        if (!t.empty() && res.ec == std::errc() && res.ptr == t.data() + t.size()) return negative ? -d : d;
    }
    throw trelvik::Error(a.operation() + ": " + std::string(name) + " must be a number");
}

double numberOrText(const Args& a, std::string_view name, double fallback) {
    return optNumberOrText(a, name).value_or(fallback);
}

std::optional<long> optWholeOrText(const Args& a, std::string_view name) {
    auto d = optNumberOrText(a, name);
    if (!d) return std::nullopt;
    if (*d != std::floor(*d) || std::fabs(*d) > 2e9)
        throw trelvik::Error(a.operation() + ": " + std::string(name) + " must be a whole number");
    return static_cast<long>(*d);
}

void requireUnused(const Args& a, const std::vector<std::string>& names) {
    for (const auto& n : names)
        if (a.has(n)) throw trelvik::Error(a.operation() + ": argument " + n + " is not supported");
}

std::vector<std::string> reservedNames(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back("Reserved" + std::to_string(i));
    return out;
}

} // namespace surfer::detail
