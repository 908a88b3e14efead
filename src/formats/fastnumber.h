#pragma once
// The general number form (up to 15 significant digits, "0.5" below 1, E notation
// such as "1E-05" or "1.70141E+38" for magnitudes below 1E-4 or from 1E+15 on),
// written straight into a character buffer without allocating. It yields exactly
// the text of trelvik::text::CStr and exists for writers of millions of numbers
// (XYZ text of large grids), where building a std::string per number is the cost.
namespace trelvik::formats {

// Room enough for any result ("-1.23456789012345E-308" is 22 characters).
inline constexpr int kGeneralNumberMax = 32;

// Writes v at out and returns the end of what was written.
char* writeGeneralNumber(char* out, double v);

} // namespace trelvik::formats
