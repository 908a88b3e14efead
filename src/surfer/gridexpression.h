#pragma once
// The function text of GridMath, compiled once and evaluated node by node.
//
// Input text: "C = <expression>" (case and blanks free) over the grids A and B, with
//   numbers in the general form (1, -2.5, .5, 1E-05, 2.5e+3), a sign after an operator
//   ("C = A - -0.5", "C = A +-.1"), + - * / ^ (power, right-associative, above the signs:
//   -A^2 is -(A^2)), parentheses, min(x, y), max(x, y), abs, sqrt, exp, ln, log10, sin,
//   cos, tan, asin, acos, atan (radians).
// Evaluation: C at each node from A and B at that node. A node is blank (1.70141E+38)
// when a grid the expression uses is blank there, or when the result is not a finite
// number below 1E+37 (division by zero, the root or logarithm of a negative number).
// A text that does not follow the form throws trelvik::Error quoting it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace surfer {

class GridExpression {
public:
    explicit GridExpression(std::string_view function);

    bool usesA() const { return usesA_; }
    bool usesB() const { return usesB_; }
    // out[k] = C for the nodes a[k], b[k], k < n; b may be null when B is not used.
    void evaluate(const double* a, const double* b, double* out, std::size_t n) const;

    enum class Op : unsigned char {
        PushA, PushB, PushConst, Neg, Add, Sub, Mul, Div, Pow, Min, Max,
        Abs, Sqrt, Exp, Ln, Log10, Sin, Cos, Tan, Asin, Acos, Atan
    };
    struct Instr {
        Op op;
        double value = 0;
    };

private:
    std::vector<Instr> program_;  // postfix
    int depth_ = 0;               // stack depth the program needs
    bool usesA_ = false, usesB_ = false;
};

} // namespace surfer
