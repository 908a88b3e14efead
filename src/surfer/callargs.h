#pragma once
// Arguments of the stand-in's automation calls, in the two forms the tool windows issue:
//
//   version 6, by position:  app.call("GridBlank", Positional{in, bln, out, 1});
//                            app.call("GridSlice", Positional{in, bln, omitted, out});
//   version 8, by name:      app.call("GridBlank", Named{{"InGrid", in}, {"BlankFile", bln},
//                                                        {"OutGrid", out}});
//
// A Value is one argument: text, a number (double or whole), a Boolean, the `omitted`
// marker of a skipped slot, or an out-parameter (`pResults`, a ResultArray the call
// fills). Each operation resolves both forms through its table of argument names
// (operations.h) into one Args, which its implementation reads by name.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace surfer {

struct Omitted {
    bool operator==(const Omitted&) const = default;
};
// Marks a skipped positional slot.
inline constexpr Omitted omitted{};

// Out-parameter array of doubles; element k is result k (index 0 unused).
using ResultArray = std::vector<double>;

class Value {
public:
    Value() = default;
    Value(Omitted) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(std::string_view s) : v_(std::string(s)) {}
    Value(double d) : v_(d) {}
    Value(int i) : v_(static_cast<long>(i)) {}
    Value(short i) : v_(static_cast<long>(i)) {}
    Value(long i) : v_(i) {}
    Value(long long i) : v_(static_cast<long>(i)) {}
    Value(bool b) : v_(b) {}
    Value(ResultArray& out) : v_(&out) {}
    Value(ResultArray* out) : v_(out) {}

    bool isOmitted() const { return std::holds_alternative<Omitted>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }
    bool isNumber() const { return std::holds_alternative<double>(v_) || std::holds_alternative<long>(v_); }
    bool isBool() const { return std::holds_alternative<bool>(v_); }
    bool isResults() const { return std::holds_alternative<ResultArray*>(v_); }

    const std::string& text() const { return std::get<std::string>(v_); }
    double number() const;  // double or whole number (Booleans too: True -1, False 0)
    bool boolean() const { return std::get<bool>(v_); }
    ResultArray* results() const { return std::get<ResultArray*>(v_); }

    // How the call log shows the value: texts in double quotes, numbers in the general
    // form, True/False, an empty slot for omitted, "<array>" for an out-parameter.
    std::string describe() const;

private:
    std::variant<Omitted, std::string, double, long, bool, ResultArray*> v_;
};

struct Positional {
    std::vector<Value> args;
    Positional() = default;
    Positional(std::initializer_list<Value> a) : args(a) {}
};

struct Named {
    std::vector<std::pair<std::string, Value>> args;
    Named() = default;
    Named(std::initializer_list<std::pair<std::string, Value>> a) : args(a) {}
};

// The arguments of one call after resolution, by their names in the operation's table.
// Getters throw trelvik::Error ("GridBlank: InGrid is missing") when a required value is
// absent or has the wrong kind; omitted counts as absent.
class Args {
public:
    Args(std::string operation, std::vector<std::pair<std::string, Value>> byName, int form = 8)
        : operation_(std::move(operation)), values_(std::move(byName)), form_(form) {}

    const std::string& operation() const { return operation_; }
    // 6 when the call came by position to a version-6 instance, else 8: version 6 counts
    // some codes (GridTransform's operations) differently.
    int form() const { return form_; }
    bool has(std::string_view name) const;  // given and not omitted
    const Value& raw(std::string_view name) const;  // Omitted when absent

    std::string text(std::string_view name) const;
    std::optional<std::string> optText(std::string_view name) const;
    double number(std::string_view name) const;
    std::optional<double> optNumber(std::string_view name) const;
    // A whole number; a fractional value is an error.
    long whole(std::string_view name) const;
    std::optional<long> optWhole(std::string_view name) const;
    bool flag(std::string_view name, bool fallback) const;
    ResultArray* results(std::string_view name) const;  // nullptr when absent

private:
    [[noreturn]] void fail(std::string_view name, const std::string& why) const;
    std::string operation_;
    std::vector<std::pair<std::string, Value>> values_;
    int form_ = 8;
};

} // namespace surfer
