#pragma once
// The exclusion filter of GridData: a condition on a data record's X, Y and Z that, when
// true, leaves the record out of the gridding ("Z > 1E38", "x < 0 or y < 0",
// "(X >= 1 and X <= 2) or Z = 0").
//
// Grammar (case-insensitive, blanks ignored):
//   filter     := orTerm
//   orTerm     := andTerm { ("or" | "|" | "||") andTerm }
//   andTerm    := comparison { ("and" | "&" | "&&") comparison }
//   comparison := operand op operand | "(" orTerm ")"
//   operand    := "X" | "Y" | "Z" | number (the general number form, E notation allowed)
//   op         := "<" | "<=" | ">" | ">=" | "=" | "==" | "<>" | "!="
// An empty filter excludes nothing. A filter that does not follow the grammar is an
// error (trelvik::Error naming the filter text), never silently ignored.
#include <memory>
#include <string>
#include <string_view>

namespace surfer {

class ExclusionFilter {
public:
    ExclusionFilter();  // excludes nothing
    explicit ExclusionFilter(std::string_view text);
    ~ExclusionFilter();
    ExclusionFilter(ExclusionFilter&&) noexcept;
    ExclusionFilter& operator=(ExclusionFilter&&) noexcept;

    bool empty() const { return root_ == nullptr; }
    // True when the record (x, y, z) is to be left out.
    bool excludes(double x, double y, double z) const;

    struct Node;
private:
    std::unique_ptr<Node> root_;
};

} // namespace surfer
