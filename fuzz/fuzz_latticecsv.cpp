// Single-tooth lattice CSV files, through the format reader and through the CSV
// viewer's read into its in-memory grid (steps, extents, cell placement).
#include "core/prompt.h"
#include "csvview/latticeread.h"
#include "formats/latticecsv.h"
#include "fuzzinput.h"

#include <filesystem>

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "t.csv");
    trelvik::formats::readLatticeCsv(p);
    trelvik::ScriptedPrompt prompt;
    trelvik::csvview::CurrentGrid grid;
    trelvik::PointList points;
    trelvik::csvview::ReadCsvOptions o;
    o.folder = std::filesystem::path(p).parent_path().string();
    o.fileName = "t.csv";
    o.size = data && size && (data[0] & 1) ? trelvik::csvview::SizeOption::Default
                                           : trelvik::csvview::SizeOption::Minimum;
    trelvik::csvview::ReadCsvGrid(o, grid, points, prompt);
})
