#include "planes/planeformula.h"

#include "core/digitiseinputs.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/quoted.h"

#include <charconv>
#include <cmath>

namespace trelvik::planes {

std::string PlaneFormulaLine(double C, double B, double A) {
    return "z(x,y) = " + text::CStr(C) + " + " + text::CStr(B) + "y + " + text::CStr(A) + "x";
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

class Cursor {
public:
    explicit Cursor(std::string_view s) : s_(s) {}
    void skip() {
        while (i_ < s_.size() && isBlank(s_[i_])) ++i_;
    }
    bool atEnd() const { return i_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[i_]; }
    // Skips blanks, then takes c (letters compared without case).
    bool take(char c) {
        skip();
        if (!atEnd() && lower(s_[i_]) == c) {
            ++i_;
            return true;
        }
        return false;
    }
    // An unsigned decimal number: digits with at most one point and an optional exponent.
    bool number(double& v) {
        skip();
        if (atEnd() || !(isDigit(s_[i_]) || s_[i_] == '.')) return false;
        auto r = std::from_chars(s_.data() + i_, s_.data() + s_.size(), v);
        if (r.ec != std::errc() || !std::isfinite(v)) return false;
        i_ = static_cast<std::size_t>(r.ptr - s_.data());
        return true;
    }
    void advance() { ++i_; }

private:
    std::string_view s_;
    std::size_t i_ = 0;
};

} // namespace

std::string firstLine(std::string_view text) {
    const std::size_t end = text.find_first_of("\r\n");
    return std::string(text.substr(0, end));
}

std::optional<PlaneCoefficients> tryParsePlaneFormula(std::string_view line) {
    if (line.size() >= 3 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    Cursor c(line);
    for (char expected : {'z', '(', 'x', ',', 'y', ')', '='})
        if (!c.take(expected)) return std::nullopt;

    PlaneCoefficients p;
    bool seen[3] = {false, false, false};  // C, B, A
    bool first = true;
    while (true) {
        c.skip();
        if (c.atEnd()) break;
        double sign = 1;
        bool sawOperator = false;
        while (c.peek() == '+' || c.peek() == '-') {
            if (c.peek() == '-') sign = -sign;
            sawOperator = true;
            c.advance();
            c.skip();
        }
        if (!first && !sawOperator) return std::nullopt;
        double v = 0;
        if (!c.number(v)) return std::nullopt;
        const bool times = c.take('*');
        int slot = 0;
        if (c.take('y')) slot = 1;
        else if (c.take('x')) slot = 2;
        else if (times) return std::nullopt;
        if (seen[slot]) return std::nullopt;
        seen[slot] = true;
        (slot == 0 ? p.C : slot == 1 ? p.B : p.A) = sign * v;
        first = false;
    }
    if (first) return std::nullopt;
    return p;
}

PlaneCoefficients ParsePlaneFormula(std::string_view line, const std::string& source) {
    if (auto p = tryParsePlaneFormula(line)) return *p;
    // Quoted whole up to the length of a formula line of three full coefficients.
    constexpr std::size_t kQuotedFormulaBytes = 80;
    const std::string shown = formats::quotedPart(line.substr(0, line.find_first_of("\r\n")), kQuotedFormulaBytes);
    throw Error(source + ": not a plane formula of the form \"z(x,y) = C + By + Ax\" (found \"" + shown + "\")");
}

PlaneCoefficients ReadPlaneFormulaFile(const std::string& path) {
    requireInput(path, "Plane formula file not found: " + path);
    return ParsePlaneFormula(firstLine(readWholeFile(path)), path);
}

void WritePlaneFormulaText(const std::string& path, std::string_view line, const std::string& writeAs) {
    std::string content = firstLine(line);
    // A coefficient near the largest double rounds to 15 digits above it
    // ("1.79769313486232E+308"): such a file could never be read back.
    if (!tryParsePlaneFormula(content))
        throw Error("Cannot write the plane formula file " + path + ": \"" + content +
                    "\" has a coefficient that is not a finite number once rounded to 15 digits, so no tool could "
                    "read the plane back.");
    content += kCRLF;
    writeFileAtomic(writeAs.empty() ? path : writeAs, content);
}

void WritePlaneFormulaFile(const std::string& path, const PlaneCoefficients& p) {
    WritePlaneFormulaText(path, PlaneFormulaLine(p));
}

} // namespace trelvik::planes
