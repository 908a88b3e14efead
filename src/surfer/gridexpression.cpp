#include "surfer/gridexpression.h"

#include "core/error.h"
#include "core/grid.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace surfer {

namespace {

using Op = GridExpression::Op;
using Instr = GridExpression::Instr;

char lowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

class Parser {
public:
    Parser(std::string_view text, std::vector<Instr>& out) : s_(text), out_(out) {}

    void parseFunction() {
        skip();
        if (pos_ >= s_.size() || lowerChar(s_[pos_]) != 'c') fail("the function must start with C =");
        ++pos_;
        skip();
        if (pos_ >= s_.size() || s_[pos_] != '=') fail("the function must start with C =");
        ++pos_;
        expression();
        skip();
        if (pos_ != s_.size()) fail("unexpected text");
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw trelvik::Error("GridMath: cannot read the function \"" + std::string(s_) + "\": " + why +
                             " at character " + std::to_string(pos_ + 1));
    }
    void skip() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    }
    bool accept(char c) {
        skip();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    void emit(Op op, double v = 0) { out_.push_back({op, v}); }

    // Parentheses, signs and powers nest by recursion; a bound keeps a hostile or
    // mistyped function from exhausting the stack.
    static constexpr int kMaxNesting = 512;
    struct Nest {
        explicit Nest(Parser& p) : p_(p) {
            if (++p_.nesting_ > kMaxNesting) p_.fail("it nests more than " + std::to_string(kMaxNesting) + " levels deep");
        }
        ~Nest() { --p_.nesting_; }
        Parser& p_;
    };

    void expression() {
        Nest guard(*this);
        term();
        for (;;) {
            if (accept('+')) { term(); emit(Op::Add); }
            else if (accept('-')) { term(); emit(Op::Sub); }
            else return;
        }
    }
    void term() {
        unary();
        for (;;) {
            if (accept('*')) { unary(); emit(Op::Mul); }
            else if (accept('/')) { unary(); emit(Op::Div); }
            else return;
        }
    }
    void unary() {
        Nest guard(*this);
        if (accept('-')) { unary(); emit(Op::Neg); return; }
        if (accept('+')) { unary(); return; }
        power();
    }
    void power() {
        primary();
        if (accept('^')) { unary(); emit(Op::Pow); }
    }
    void primary() {
        skip();
        if (pos_ >= s_.size()) fail("an operand is missing");
        const char c = s_[pos_];
        if (c == '(') {
            ++pos_;
            expression();
            if (!accept(')')) fail("a closing parenthesis is missing");
            return;
        }
        if (isDigit(c) || c == '.') return number();
        if (isAlpha(c)) return name();
        fail("an operand is missing");
    }
    void number() {
        const std::size_t start = pos_;
        while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
        if (pos_ < s_.size() && s_[pos_] == '.') ++pos_;
        while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            std::size_t p = pos_ + 1;
            if (p < s_.size() && (s_[p] == '+' || s_[p] == '-')) ++p;
            if (p < s_.size() && isDigit(s_[p])) {
                while (p < s_.size() && isDigit(s_[p])) ++p;
                pos_ = p;
            }
        }
        std::string_view tok = s_.substr(start, pos_ - start);
        double v = 0;
        auto res = std::from_chars(tok.data(), tok.data() + tok.size(), v);
        if (res.ec != std::errc() || res.ptr != tok.data() + tok.size()) {
            pos_ = start;
            fail("not a number");
        }
        emit(Op::PushConst, v);
    }
    void name() {
        const std::size_t start = pos_;
        while (pos_ < s_.size() && (isAlpha(s_[pos_]) || isDigit(s_[pos_]))) ++pos_;
        std::string id;
        for (char ch : s_.substr(start, pos_ - start)) id.push_back(lowerChar(ch));
        if (id == "a") return emit(Op::PushA);
        if (id == "b") return emit(Op::PushB);
        static const std::array<std::pair<const char*, Op>, 11> one{{
            {"abs", Op::Abs}, {"sqrt", Op::Sqrt}, {"exp", Op::Exp}, {"ln", Op::Ln}, {"log10", Op::Log10},
            {"sin", Op::Sin}, {"cos", Op::Cos}, {"tan", Op::Tan}, {"asin", Op::Asin}, {"acos", Op::Acos},
            {"atan", Op::Atan}}};
        if (id == "min" || id == "max") {
            if (!accept('(')) fail(id + " needs (x, y)");
            expression();
            if (!accept(',')) fail(id + " needs two values");
            expression();
            if (!accept(')')) fail("a closing parenthesis is missing");
            return emit(id == "min" ? Op::Min : Op::Max);
        }
        for (const auto& [n, op] : one) {
            if (id == n) {
                if (!accept('(')) fail(id + " needs a value in parentheses");
                expression();
                if (!accept(')')) fail("a closing parenthesis is missing");
                return emit(op);
            }
        }
        pos_ = start;
        fail("unknown name " + id);
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    int nesting_ = 0;
    std::vector<Instr>& out_;
};

constexpr std::size_t kBlock = 256;

} // namespace

GridExpression::GridExpression(std::string_view function) {
    Parser(function, program_).parseFunction();
    int d = 0;
    for (const Instr& in : program_) {
        switch (in.op) {
        case Op::PushA: usesA_ = true; ++d; break;
        case Op::PushB: usesB_ = true; ++d; break;
        case Op::PushConst: ++d; break;
        case Op::Add: case Op::Sub: case Op::Mul: case Op::Div: case Op::Pow: case Op::Min: case Op::Max: --d; break;
        default: break;
        }
        depth_ = std::max(depth_, d);
    }
}

void GridExpression::evaluate(const double* a, const double* b, double* out, std::size_t n) const {
    std::vector<std::array<double, kBlock>> stack(static_cast<std::size_t>(std::max(depth_, 1)));
    for (std::size_t base = 0; base < n; base += kBlock) {
        const std::size_t m = std::min(kBlock, n - base);
        const double* pa = a ? a + base : nullptr;
        const double* pb = b ? b + base : nullptr;
        int top = -1;
        for (const Instr& in : program_) {
            auto unaryOp = [&](auto f) {
                double* x = stack[static_cast<std::size_t>(top)].data();
                for (std::size_t k = 0; k < m; ++k) x[k] = f(x[k]);
            };
            auto binaryOp = [&](auto f) {
                double* x = stack[static_cast<std::size_t>(top - 1)].data();
                const double* y = stack[static_cast<std::size_t>(top)].data();
                for (std::size_t k = 0; k < m; ++k) x[k] = f(x[k], y[k]);
                --top;
            };
            switch (in.op) {
            case Op::PushA: ++top; std::copy(pa, pa + m, stack[static_cast<std::size_t>(top)].data()); break;
            case Op::PushB: ++top; std::copy(pb, pb + m, stack[static_cast<std::size_t>(top)].data()); break;
            case Op::PushConst: ++top; std::fill_n(stack[static_cast<std::size_t>(top)].data(), m, in.value); break;
            case Op::Neg: unaryOp([](double x) { return -x; }); break;
            case Op::Add: binaryOp([](double x, double y) { return x + y; }); break;
            case Op::Sub: binaryOp([](double x, double y) { return x - y; }); break;
            case Op::Mul: binaryOp([](double x, double y) { return x * y; }); break;
            case Op::Div: binaryOp([](double x, double y) { return x / y; }); break;
            case Op::Pow: binaryOp([](double x, double y) { return std::pow(x, y); }); break;
            case Op::Min: binaryOp([](double x, double y) { return x < y ? x : y; }); break;
            case Op::Max: binaryOp([](double x, double y) { return x > y ? x : y; }); break;
            case Op::Abs: unaryOp([](double x) { return std::fabs(x); }); break;
            case Op::Sqrt: unaryOp([](double x) { return std::sqrt(x); }); break;
            case Op::Exp: unaryOp([](double x) { return std::exp(x); }); break;
            case Op::Ln: unaryOp([](double x) { return std::log(x); }); break;
            case Op::Log10: unaryOp([](double x) { return std::log10(x); }); break;
            case Op::Sin: unaryOp([](double x) { return std::sin(x); }); break;
            case Op::Cos: unaryOp([](double x) { return std::cos(x); }); break;
            case Op::Tan: unaryOp([](double x) { return std::tan(x); }); break;
            case Op::Asin: unaryOp([](double x) { return std::asin(x); }); break;
            case Op::Acos: unaryOp([](double x) { return std::acos(x); }); break;
            case Op::Atan: unaryOp([](double x) { return std::atan(x); }); break;
            }
        }
        const double* r = stack[0].data();
        for (std::size_t k = 0; k < m; ++k) {
            double v = r[k];
            if (!(std::fabs(v) < trelvik::kBlankThreshold)) v = trelvik::kBlank;  // also NaN and infinities
            if (usesA_ && trelvik::isBlank(pa[k])) v = trelvik::kBlank;
            if (usesB_ && trelvik::isBlank(pb[k])) v = trelvik::kBlank;
            out[base + k] = v;
        }
    }
}

} // namespace surfer
