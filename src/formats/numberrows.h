#pragma once
// Large number text (point files of millions of rows): rows formatted in parallel blocks
// and streamed to the file in row order, so the text never depends on the thread count
// and the writer holds only a few blocks of it at a time, never the whole file.
//
//  writeRows(w, rows, maxRowChars, format)   format(r, out) writes row r at out (at most
//      maxRowChars characters, line end included) and returns the end of what it wrote;
//      the rows go to the ChunkWriter in order 0, 1, ... rows - 1.
//  writeNumberRows(w, rows, cols, values, separator, after)   rows of cols numbers in the
//      general form (text::CStr) joined by `separator`, then `after` ("" for point files,
//      "," for VRML point lines), each row ended CR LF: the text of text::WriteLine for
//      comma-separated rows. values(r, out) fills out[0 .. cols-1] for row r.
//  writeNumberRowsFile(path, ...)   the same as a whole file, replacing path only once
//      it is complete.
//  writePrintZoneRow(out, values, n)   one row in the print form of text::PrintLine: each
//      number as Str with one blank after, padded to the next 14-column zone before the
//      next number, CR LF after the last.
// format and values are called from several threads at once; they must only read
// shared data. An exception from any of them is rethrown and nothing is committed.
#include "formats/chunkwriter.h"
#include "formats/fastnumber.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace trelvik::formats {

using RowFormatter = std::function<char*(std::size_t row, char* out)>;
using RowValues = std::function<void(std::size_t row, double* out)>;

// Room for one number of a row with its separator.
inline constexpr std::size_t kNumberRoom = static_cast<std::size_t>(kGeneralNumberMax) + 1;
// Room for one number of a print-zone row with its blanks and zone padding.
inline constexpr std::size_t kPrintZoneRoom = static_cast<std::size_t>(kGeneralNumberMax) + 16;

void writeRows(ChunkWriter& w, std::size_t rows, std::size_t maxRowChars, const RowFormatter& format);

void writeNumberRows(ChunkWriter& w, std::size_t rows, int cols, const RowValues& values, char separator = ',',
                     std::string_view after = "");

void writeNumberRowsFile(const std::string& path, std::size_t rows, int cols, const RowValues& values,
                         char separator = ',', std::string_view after = "");

char* writePrintZoneRow(char* out, const double* values, int n);

} // namespace trelvik::formats
