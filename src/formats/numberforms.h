#pragma once
// Fast writers of the number forms that the conversion writers put millions of times
// into VRML, DXF, Picza and XYZ text. Each writes straight into a character buffer
// (room for kGeneralNumberMax + 2 characters) and returns the end of what it wrote;
// each gives exactly the text of the slow form named beside it (core/textform.h).
//
//  writeRoundedGeneral(out, v, d)   CStr(Round(v, d))            "0.5", "-2.25"
//  writeStrDigits(out, v, d)        Trim(Str(Round(v, d)))       ".5", "-.25"
//                                   (d < 0: Trim(Str(v)), no rounding)
//  writePrintForm(out, v, d)        the print form of Round(v, d): a blank for a sign
//                                   that is not negative, the Str digits, one blank
//                                   after (" .5 ", "-2 "); d < 0: v unrounded
//  writeFormat0_0xx(out, v)         Format(v, "0.0##"): halves away from zero ("7.0",
//                                   "0.004", "-2.5"); every whole digit is written, so
//                                   1E+300 takes 303 characters: size its room with
//                                   format0_0xxRoom
// Rounding is to the even neighbour at halves, judged on the 15-digit decimal value as
// text::Round judges it; only values near a half take the slow path.
#include "formats/fastnumber.h"

namespace trelvik::formats {

char* writeRoundedGeneral(char* out, double v, int decimals);
char* writeStrDigits(char* out, double v, int decimals);
char* writePrintForm(char* out, double v, int decimals);
char* writeFormat0_0xx(char* out, double v);

// The longest text of writeFormat0_0xx: a sign, the 309 whole digits of the largest
// double, the point and three decimals.
inline constexpr int kFormat0_0xxMax = 314;

// Room for writeFormat0_0xx of any value no larger in size than `largest`: the general
// room below 1E+15 (at most 16 whole digits after rounding), the longest text above it
// (and for a largest that is not a number).
inline constexpr int format0_0xxRoom(double largest) {
    return largest < 1e15 && largest > -1e15 ? kGeneralNumberMax : kFormat0_0xxMax;
}

} // namespace trelvik::formats
