#pragma once
// Argument readers shared by the gridding, calculus and filter operations. Callers pass
// numbers as numbers or, from text boxes, as text ("0.05"); a text must be wholly a
// number (blanks around it allowed), as a typed value converted to a number would be.
#include "surfer/callargs.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace surfer::detail {

std::optional<double> optNumberOrText(const Args& a, std::string_view name);
double numberOrText(const Args& a, std::string_view name, double fallback);
// A whole number from a number or text; a fraction is an error.
std::optional<long> optWholeOrText(const Args& a, std::string_view name);
// Throws when any of the named slots holds a value: slots kept only so that the
// positions after them line up.
void requireUnused(const Args& a, const std::vector<std::string>& names);
// "Reserved<from>" ... "Reserved<to>".
std::vector<std::string> reservedNames(int from, int to);

} // namespace surfer::detail
