#include "surfer/griddataexclusion.h"

#include "core/error.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace surfer {

struct ExclusionFilter::Node {
    enum Kind { Or, And, Compare } kind = Compare;
    std::vector<std::unique_ptr<Node>> parts;  // Or / And
    // Compare: each side is a variable (0 x, 1 y, 2 z) or a constant (var < 0).
    int leftVar = -1, rightVar = -1;
    double leftValue = 0, rightValue = 0;
    enum Op { Lt, Le, Gt, Ge, Eq, Ne } op = Eq;

    bool eval(const double* v) const {
        switch (kind) {
        case Or:
            for (const auto& p : parts)
                if (p->eval(v)) return true;
            return false;
        case And:
            for (const auto& p : parts)
                if (!p->eval(v)) return false;
            return true;
        case Compare: break;
        }
        const double a = leftVar >= 0 ? v[leftVar] : leftValue;
        const double b = rightVar >= 0 ? v[rightVar] : rightValue;
        switch (op) {
        case Lt: return a < b;
        case Le: return a <= b;
        case Gt: return a > b;
        case Ge: return a >= b;
        case Eq: return a == b;
        case Ne: return a != b;
        }
        return false;
    }
};

namespace {

class Parser {
public:
    explicit Parser(std::string_view t) : text_(t) {}

    std::unique_ptr<ExclusionFilter::Node> parse() {
        skip();
        if (pos_ == text_.size()) return nullptr;
        auto n = orTerm();
        skip();
        if (pos_ != text_.size()) fail("unexpected text");
        return n;
    }

private:
    using Node = ExclusionFilter::Node;

    [[noreturn]] void fail(const char* what) const {
        throw trelvik::Error("GridData: exclusion filter \"" + std::string(text_) + "\": " + what +
                             " at character " + std::to_string(pos_ + 1));
    }
    void skip() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    }
    bool word(std::string_view w) {
        skip();
        if (text_.size() - pos_ < w.size()) return false;
        for (std::size_t i = 0; i < w.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(text_[pos_ + i])) != w[i]) return false;
        const std::size_t after = pos_ + w.size();
        if (std::isalpha(static_cast<unsigned char>(w[0])) && after < text_.size() &&
            std::isalnum(static_cast<unsigned char>(text_[after])))
            return false;
        pos_ = after;
        return true;
    }
    bool symbol(std::string_view s) {
        skip();
        if (text_.substr(pos_, s.size()) == s) {
            pos_ += s.size();
            return true;
        }
        return false;
    }

    std::unique_ptr<Node> orTerm() {
        auto first = andTerm();
        std::vector<std::unique_ptr<Node>> parts;
        while (word("or") || symbol("||") || symbol("|")) {
            if (parts.empty()) parts.push_back(std::move(first));
            parts.push_back(andTerm());
        }
        if (parts.empty()) return first;
        auto n = std::make_unique<Node>();
        n->kind = Node::Or;
        n->parts = std::move(parts);
        return n;
    }
    std::unique_ptr<Node> andTerm() {
        auto first = comparison();
        std::vector<std::unique_ptr<Node>> parts;
        while (word("and") || symbol("&&") || symbol("&")) {
            if (parts.empty()) parts.push_back(std::move(first));
            parts.push_back(comparison());
        }
        if (parts.empty()) return first;
        auto n = std::make_unique<Node>();
        n->kind = Node::And;
        n->parts = std::move(parts);
        return n;
    }
    std::unique_ptr<Node> comparison() {
        if (symbol("(")) {
            auto inner = orTerm();
            if (!symbol(")")) fail("missing \")\"");
            return inner;
        }
        auto n = std::make_unique<Node>();
        operand(n->leftVar, n->leftValue);
        skip();
        if (symbol("<=")) n->op = Node::Le;
        else if (symbol("<>")) n->op = Node::Ne;
        else if (symbol(">=")) n->op = Node::Ge;
        else if (symbol("!=")) n->op = Node::Ne;
        else if (symbol("==")) n->op = Node::Eq;
        else if (symbol("<")) n->op = Node::Lt;
        else if (symbol(">")) n->op = Node::Gt;
        else if (symbol("=")) n->op = Node::Eq;
        else fail("expected a comparison");
        operand(n->rightVar, n->rightValue);
        if (n->leftVar < 0 && n->rightVar < 0) fail("a comparison needs X, Y or Z");
        return n;
    }
    void operand(int& var, double& value) {
        skip();
        if (pos_ >= text_.size()) fail("expected X, Y, Z or a number");
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text_[pos_])));
        if ((c == 'x' || c == 'y' || c == 'z') &&
            (pos_ + 1 == text_.size() || !std::isalnum(static_cast<unsigned char>(text_[pos_ + 1])))) {
            var = c - 'x';
            ++pos_;
            return;
        }
        std::size_t p = pos_;
        bool negative = false;
        if (text_[p] == '+' || text_[p] == '-') {
            negative = text_[p] == '-';
            ++p;
        }
        double v = 0;
        auto res = std::from_chars(text_.data() + p, text_.data() + text_.size(), v);
        if (res.ec != std::errc()) fail("expected X, Y, Z or a number");
        pos_ = static_cast<std::size_t>(res.ptr - text_.data());
        var = -1;
        value = negative ? -v : v;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

ExclusionFilter::ExclusionFilter(std::string_view text) : root_(Parser(text).parse()) {}
ExclusionFilter::ExclusionFilter() = default;
ExclusionFilter::~ExclusionFilter() = default;
ExclusionFilter::ExclusionFilter(ExclusionFilter&&) noexcept = default;
ExclusionFilter& ExclusionFilter::operator=(ExclusionFilter&&) noexcept = default;

bool ExclusionFilter::excludes(double x, double y, double z) const {
    if (!root_) return false;
    const double v[3] = {x, y, z};
    return root_->eval(v);
}

} // namespace surfer
