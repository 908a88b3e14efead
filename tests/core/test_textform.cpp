#include "core/textform.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

using namespace trelvik::text;

namespace {
struct NumText {
    double v;
    const char* text;
};
}  // namespace

TEST(TextForm, CStrGeneralAndExponentForms) {
    const NumText cases[] = {
        {0, "0"}, {-0.0, "0"}, {0.5, "0.5"}, {-0.25, "-0.25"}, {12, "12"}, {12.5, "12.5"}, {3.25, "3.25"},
        {0.1 + 0.2, "0.3"},  // 15 significant digits hide the binary noise
        {1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"},
        {3.14159265358979, "3.14159265358979"}, {123456789012345.0, "123456789012345"}, {100, "100"},
        {-1000000, "-1000000"},
        // exponent form at the extremes
        {1e-5, "1E-05"}, {1.5e-5, "1.5E-05"}, {5e-5, "5E-05"}, {0.0001, "0.0001"}, {0.00012, "0.00012"},
        {9.99e-5, "9.99E-05"}, {1.70141e38, "1.70141E+38"}, {-1.70141e38, "-1.70141E+38"}, {1e15, "1E+15"},
        {1e16, "1E+16"}, {999999999999999.0, "999999999999999"},
        {9999999999999999.0, "1E+16"},  // rounds up at 15 digits
        {1e-13, "1E-13"}, {1.23e-100, "1.23E-100"}, {1e300, "1E+300"}};
    for (const NumText& c : cases) EXPECT_EQ(CStr(c.v), c.text) << c.v;
    // The print form: a blank for the sign and no zero before the point.
    const NumText str[] = {{0.5, " .5"}, {-0.25, "-.25"}, {12, " 12"},     {0, " 0"},
                           {-3, "-3"},   {12.5, " 12.5"}, {1e-5, " 1E-05"}, {-0.001, "-.001"}};
    for (const NumText& c : str) EXPECT_EQ(Str(c.v), c.text) << c.v;
}

TEST(TextForm, CStrRoundTripsAtFifteenDigits) {
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> mant(-10, 10);
    std::uniform_int_distribution<int> ex(-30, 30);
    for (int i = 0; i < 20000; ++i) {
        const double v = mant(gen) * std::pow(10.0, ex(gen));
        char ref[64];
        std::snprintf(ref, sizeof ref, "%.14e", v);
        const double expect = std::strtod(ref, nullptr);
        EXPECT_EQ(Val(CStr(v)), expect) << CStr(v);
        const std::string s = CStr(v);
        EXPECT_EQ(s.find(' '), std::string::npos);
        if (s.find('E') == std::string::npos) {
            EXPECT_TRUE(s.back() != '0' || s.find('.') == std::string::npos) << s;
        }
    }
}

TEST(TextForm, ValLeadingNumber) {
    const struct {
        const char* text;
        double v;
    } cases[] = {{"", 0}, {"abc", 0}, {"12", 12}, {"  12.5abc", 12.5}, {"\t\n-3.25", -3.25}, {".5", 0.5},
                 {"-.25", -0.25}, {"+7", 7}, {"1E-05", 1e-5}, {"1.70141E+38", 1.70141e38}, {"2D3", 2000},
                 {"2e", 2}, {"1.2.3", 1.2},
                 {"1 000", 1000},  // blanks are skipped inside the number too
                 {"12,5", 12}, {"-", 0}, {".", 0}, {"1e-400", 0}};
    for (const auto& c : cases) EXPECT_EQ(Val(c.text), c.v) << c.text;
    EXPECT_THROW(Val("1e400"), trelvik::Error);
}

TEST(TextForm, RoundingAndWholeNumbers) {
    const struct {
        double v;
        int k;
        double want;
    } cases[] = {{2.5, 0, 2}, {3.5, 0, 4}, {-2.5, 0, -2}, {-3.5, 0, -4}, {0.125, 2, 0.12}, {0.375, 2, 0.38},
                 // 2.675 is stored a little below the half, but the decimal value shown is a tie.
                 {2.675, 2, 2.68}, {2.665, 2, 2.66}, {1.0005, 3, 1.0}, {1.0015, 3, 1.002}, {2.4, 0, 2},
                 {2.6, 0, 3}, {1.23456789, 6, 1.234568}, {0.1 + 0.2, 8, 0.3}, {1e-20, 3, 0},
                 {123456789.125, 2, 123456789.12}, {123456789.135, 2, 123456789.14}, {1e20, 2, 1e20},
                 {0.0005, 3, 0}, {0.0015, 3, 0.002},
                 {9.9995, 3, 10.0}};  // 15-digit value 9.9995 is a tie; 9.999 is odd
    for (const auto& c : cases) EXPECT_EQ(Round(c.v, c.k), c.want) << c.v << " k=" << c.k;
    EXPECT_FALSE(std::signbit(Round(-0.2)));
    EXPECT_THROW(Round(1.0, -1), trelvik::Error);

    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-0.5), 0);
    EXPECT_EQ(CInt(-1.5), -2);
    EXPECT_EQ(CInt(7.49), 7);
    EXPECT_EQ(Int(-2.5), -3);
    EXPECT_EQ(Int(2.9), 2);
    EXPECT_EQ(Fix(-2.5), -2);
    EXPECT_EQ(Fix(2.9), 2);
}

TEST(TextForm, FormatPatterns) {
    const struct {
        double v;
        const char* pattern;
        const char* text;
    } cases[] = {{0.005, "#.000", ".005"}, {0.018, "#.000", ".018"}, {0.05, "#.000", ".050"},
                 {0.25, "#.000", ".250"}, {0.9, "#.000", ".900"}, {1.5, "###.000", "1.500"},
                 {12, "###.000", "12.000"}, {45, "##0.00", "45.00"}, {0.123, "##0.00", "0.12"},
                 {4.0, "0.000", "4.000"}, {0.0, "0.0##", "0.0"}, {0.05, "0.0##", "0.05"}, {0.25, "0.0##", "0.25"},
                 {1.23456, "0.0##", "1.235"}, {5, "00", "05"}, {123, "00", "123"}, {2.5, "0", "3"},
                 {-2.5, "0", "-3"},
                 {0.0005, "0.000", "0.001"},  // halves away from zero
                 {2.675, "0.00", "2.68"}, {-1.25, "0.0", "-1.3"}, {-0.0001, "0.00", "0.00"},
                 {9.9996, "0.000", "10.000"}, {1234567.891, "#,##0.00", "1,234,567.89"}, {123, "#,##0", "123"},
                 {5, "#.##", "5."}, {1.5, "", "1.5"}, {3.5, "0.0 mm", "3.5 mm"}};
    for (const auto& c : cases) EXPECT_EQ(Format(c.v, c.pattern), c.text) << c.v << " " << c.pattern;
}

TEST(TextForm, WriteForm) {
    WriteLine w;
    w.text("File").num(1e-5).num(-0.25).text("").num(12);
    EXPECT_EQ(w.str(), "\"File\",1E-05,-0.25,\"\",12");
    WriteLine c;
    c.num(12).num(0);
    EXPECT_EQ(c.str(), "12,0");
    WriteLine v;
    v.num(12.5).num(3.25);
    EXPECT_EQ(v.str(), "12.5,3.25");
}

TEST(TextForm, PrintZones) {
    // A count of 12 with flag "0": blank, 12 and blanks up to column 14, then 0 in column 15.
    PrintLine h;
    h.num(12).text("0");
    EXPECT_EQ(h.str(), " 12           0");
    EXPECT_EQ(h.str().size(), 15u);
    // A vertex (12.5, 3.25): the second number keeps its trailing blank.
    PrintLine v;
    v.num(12.5).num(3.25);
    EXPECT_EQ(v.str(), " 12.5" + std::string(9, ' ') + " 3.25 ");
    PrintLine n;
    n.num(-0.5).num(1e-5).num(0);
    EXPECT_EQ(n.str(), "-.5" + std::string(11, ' ') + " 1E-05" + std::string(8, ' ') + " 0 ");
    // ';' joins; a field reaching the zone end starts the next at the following zone column.
    PrintLine j;
    j.text("ab", ';').text("cd").text("0123456789abcd").text("x");
    EXPECT_EQ(j.str(), "abcd          0123456789abcdx");
    PrintLine longer;
    longer.text("0123456789abcdef").num(1);
    EXPECT_EQ(longer.str(), "0123456789abcdef" + std::string(12, ' ') + " 1 ");
    EXPECT_EQ(longer.str().find(" 1 "), 28u);  // column 29
}

TEST(TextForm, ListInputTokens) {
    EXPECT_EQ(tokenize("1,2,3"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(tokenize("  1  2\t3\r\n"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(tokenize("1 , 2"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(tokenize("1,,2"), (std::vector<std::string>{"1", "", "2"}));
    EXPECT_EQ(tokenize("\"a, b\",5"), (std::vector<std::string>{"a, b", "5"}));
    EXPECT_EQ(tokenize(""), std::vector<std::string>{});
    EXPECT_EQ(numbers(" 12.5         3.25 "), (std::vector<double>{12.5, 3.25}));
    EXPECT_EQ(numbers("1E-05,-.25,+3,abc,1D2"), (std::vector<double>{1e-5, -0.25, 3, 0, 100}));
    EXPECT_EQ(numbers("10.5 20.25 1.70141E+38"), (std::vector<double>{10.5, 20.25, 1.70141e38}));
    EXPECT_EQ(numbers("nan,inf"), (std::vector<double>{0, 0}));
    EXPECT_EQ(numbers("\"4\",5"), (std::vector<double>{4, 5}));
}

TEST(TextForm, BaseNameAndTrim) {
    EXPECT_EQ(BaseName("C:\\a\\b.grd"), "C:\\a\\b");
    EXPECT_EQ(BaseName("/data/tooth.grd"), "/data/tooth");
    EXPECT_EQ(BaseName(".grd"), "");
    EXPECT_EQ(BaseName("ab"), "");
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\tx "), "\tx");
    EXPECT_EQ(Trim("   "), "");
}

TEST(TextForm, RoundAgreesWithDecimalOracle) {
    // Oracle in whole-number arithmetic on the 15-digit decimal text, halves to even.
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> d(-1000, 1000);
    for (int i = 0; i < 20000; ++i) {
        const int k = static_cast<int>(gen() % 9);
        double x = d(gen);
        if (i % 4 == 0) x = std::floor(x * std::pow(10.0, k + 1)) / std::pow(10.0, k + 1) + 5 * std::pow(10.0, -(k + 1));
        char ref[64];
        std::snprintf(ref, sizeof ref, "%.14e", std::fabs(x));
        long long m = 0;
        for (const char* c = ref; *c != 'e'; ++c)
            if (*c != '.') m = m * 10 + (*c - '0');
        const int e = std::atoi(std::strchr(ref, 'e') + 1);
        const int shift = e - 14 + k;  // |x| = m * 10^(shift - k)
        long long q = m;
        if (shift < 0) {
            long long div = 1;
            for (int j = 0; j < -shift && j < 18; ++j) div *= 10;
            if (-shift > 18) q = 0;
            else {
                q = m / div;
                const long long rem = m % div;
                if (2 * rem > div || (2 * rem == div && q % 2 == 1)) ++q;
            }
        }
        char back[64];
        if (shift > 0) std::snprintf(back, sizeof back, "%llde%d", q, shift - k);
        else std::snprintf(back, sizeof back, "%llde-%d", q, k);
        const double expect = (x < 0 ? -1 : 1) * std::strtod(back, nullptr);
        EXPECT_EQ(Round(x, k), expect + 0.0) << ref << " k=" << k;
    }
}
