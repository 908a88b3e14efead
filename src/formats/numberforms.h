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
//                                   "0.004", "-2.5")
// Rounding is to the even neighbour at halves, judged on the 15-digit decimal value as
// text::Round judges it; only values near a half take the slow path.
#include "formats/fastnumber.h"

namespace trelvik::formats {

char* writeRoundedGeneral(char* out, double v, int decimals);
char* writeStrDigits(char* out, double v, int decimals);
char* writePrintForm(char* out, double v, int decimals);
char* writeFormat0_0xx(char* out, double v);

} // namespace trelvik::formats
