// CSV lattices of the conversion window (either order) and grid dumps read as lattices.
#include "conversion/csvlattice.h"
#include "formats/dumplattice.h"
#include "fuzzinput.h"

TRELVIK_FUZZ_TARGET({
    const std::string& p = trelvik::fuzz::asFile(data, size, "l.csv");
    trelvik::fuzz::expectReadOrError([&] { trelvik::conversion::ReadCsvLattice(p); });
    trelvik::formats::readDumpLattice(p);
})
