#include "surfer/callargs.h"

#include "core/error.h"
#include "core/textform.h"

#include <cmath>

namespace surfer {

namespace {
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}
const Value kAbsent{};
} // namespace

double Value::number() const {
    if (auto* d = std::get_if<double>(&v_)) return *d;
    if (auto* l = std::get_if<long>(&v_)) return static_cast<double>(*l);
    if (auto* b = std::get_if<bool>(&v_)) return *b ? -1.0 : 0.0;
    throw std::bad_variant_access();
}

std::string Value::describe() const {
    if (isOmitted()) return "";
    if (isText()) return "\"" + text() + "\"";
    if (isBool()) return boolean() ? "True" : "False";
    if (isResults()) return "<array>";
    return trelvik::text::CStr(number());
}

bool Args::has(std::string_view name) const { return !raw(name).isOmitted(); }

const Value& Args::raw(std::string_view name) const {
    for (const auto& [n, v] : values_)
        if (sameName(n, name)) return v;
    return kAbsent;
}

void Args::fail(std::string_view name, const std::string& why) const {
    throw trelvik::Error(operation_ + ": argument " + std::string(name) + " " + why);
}

std::string Args::text(std::string_view name) const {
    auto t = optText(name);
    if (!t) fail(name, "is missing");
    return *t;
}

std::optional<std::string> Args::optText(std::string_view name) const {
    const Value& v = raw(name);
    if (v.isOmitted()) return std::nullopt;
    if (!v.isText()) fail(name, "must be a text");
    return v.text();
}

double Args::number(std::string_view name) const {
    auto d = optNumber(name);
    if (!d) fail(name, "is missing");
    return *d;
}

std::optional<double> Args::optNumber(std::string_view name) const {
    const Value& v = raw(name);
    if (v.isOmitted()) return std::nullopt;
    if (!v.isNumber()) fail(name, "must be a number");
    return v.number();
}

long Args::whole(std::string_view name) const {
    auto w = optWhole(name);
    if (!w) fail(name, "is missing");
    return *w;
}

std::optional<long> Args::optWhole(std::string_view name) const {
    auto d = optNumber(name);
    if (!d) return std::nullopt;
    if (*d != std::floor(*d) || std::fabs(*d) > 2e9) fail(name, "must be a whole number");
    return static_cast<long>(*d);
}

bool Args::flag(std::string_view name, bool fallback) const {
    const Value& v = raw(name);
    if (v.isOmitted()) return fallback;
    if (v.isBool()) return v.boolean();
    if (v.isNumber()) return v.number() != 0;
    fail(name, "must be True or False");
}

ResultArray* Args::results(std::string_view name) const {
    const Value& v = raw(name);
    if (v.isOmitted()) return nullptr;
    if (!v.isResults()) fail(name, "must be an array of doubles");
    return v.results();
}

} // namespace surfer
