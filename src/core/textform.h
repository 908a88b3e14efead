#pragma once
// The system's number and text forms. Every reader and writer goes through these so
// that output files are byte-exact and typed numbers are read the same everywhere.
//
//  CStr    general form: up to 15 significant digits, "." decimal point, no blanks,
//          "0.5" below 1, E notation ("1E-05", "1.70141E+38") for magnitudes below
//          1E-4 or from 1E+15 on.
//  Str     the same digits with a blank in place of the sign when not negative and
//          no zero before the decimal point below 1 (" .5", "-.25").
//  Val     the leading number of a text; 0 when there is none.
//  Round   halves to the even neighbour (Round(2.5) = 2); CInt likewise to a whole number.
//  Int     floor; Fix truncation towards zero.
//  Format  digit-placeholder patterns ("0.000", "#0.0#"), halves away from zero.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::text {

std::string CStr(double v);
std::string Str(double v);
double Val(std::string_view s);

double Round(double x, int decimals = 0);
long long CInt(double x);
double Int(double x);
double Fix(double x);

std::string Format(double v, std::string_view pattern);

// Write form: items joined by commas, texts in double quotes, numbers bare (CStr).
class WriteLine {
public:
    WriteLine& num(double v);
    WriteLine& text(std::string_view s);
    const std::string& str() const { return line_; }
private:
    std::string line_;
    bool first_ = true;
};

// Print form: texts bare; a number written as Str followed by one blank. An item
// followed by ',' is padded to the start of the next 14-column zone (columns 1, 15,
// 29, ...); an item followed by ';' is joined to the next.
class PrintLine {
public:
    PrintLine& num(double v, char sep = ',');
    PrintLine& text(std::string_view s, char sep = ',');
    // The line without trailing zone padding after the last item.
    std::string str() const;
private:
    void pad();
    std::string line_;
    char pending_ = 0;
};

// Splits a line into items separated by commas, blanks, tabs or line ends (list input).
// Double-quoted items keep their inner text without the quotes.
std::vector<std::string> tokenize(std::string_view line);

// Reads every number of a text, separated as by tokenize; a non-numeric item is 0 as by Val.
std::vector<double> numbers(std::string_view line);

// A file's folder and name less its last four characters ("C:\a\b.grd" -> "C:\a\b").
// Names of four characters or fewer give "".
std::string BaseName(std::string_view path);

// Trims blanks (spaces only) at both ends.
std::string Trim(std::string_view s);

// The line a refusal adds to name the box at fault: `The box "<caption>" is empty.` for
// a blank text, otherwise `The box "<caption>" holds "<typed>"; it needs <wanted>.`
std::string BoxFault(std::string_view caption, std::string_view typed, std::string_view wanted);

} // namespace trelvik::text
