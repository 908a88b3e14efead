// GridResiduals: the grid's height at each point of a data file, as a residual column.
//   Input: InGrid; DataFile, a text worksheet with x, y and z columns (xCol, yCol, zCol;
//   counted from 1 in the named form, from 0 in the version-6 positional form; by default
//   the first three columns); ResidCol, the column for the residual (by default the first
//   column after the widest row).
//   Output: the data file opened as the active worksheet (not saved: the caller saves
//   it), each row given residual = data z - grid z, the grid's height taken by bilinear
//   interpolation. A row without numbers in its x, y and z columns, a point outside the
//   grid or in a cell with a blank node gets an empty residual cell.
#include "core/error.h"
#include "core/textform.h"
#include "surfer/application.h"
#include "surfer/bilinear.h"
#include "surfer/gridfiles.h"
#include "surfer/operations.h"

#include <charconv>

namespace surfer {

namespace {
bool cellNumber(const Worksheet& w, long row, long col, double& v) {
    std::string t = w.Cells(row, col).Value;
    std::size_t a = 0, b = t.size();
    while (a < b && (t[a] == ' ' || t[a] == '\t')) ++a;
    while (b > a && (t[b - 1] == ' ' || t[b - 1] == '\t')) --b;
    if (a < b && t[a] == '+') ++a;
    if (a == b) return false;
    auto res = std::from_chars(t.data() + a, t.data() + b, v);
    return res.ec == std::errc() && res.ptr == t.data() + b;
}
} // namespace

void registerGridResiduals(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridResiduals";
    op.names = {"InGrid", "DataFile", "xCol", "yCol", "zCol", "ResidCol"};
    op.required = {"InGrid", "DataFile"};
    op.run = [](Application& app, const Args& a) {
        const trelvik::Grid g = readInputGrid(a.text("InGrid"));
        const std::string dataPath = a.text("DataFile");
        const long base = a.form() == 6 ? 0 : 1;
        auto column = [&](const char* name, long fallback) {
            auto c = a.optWhole(name);
            const long col = c ? *c - base + 1 : fallback;
            if (col < 1) throw trelvik::Error("GridResiduals: column " + std::string(name) + " does not exist");
            return col;
        };
        auto sheet = app.Documents.Open(dataPath);
        long widest = 0;
        for (const auto& r : sheet->rows()) widest = std::max(widest, static_cast<long>(r.size()));
        const long xc = column("xCol", 1), yc = column("yCol", 2), zc = column("zCol", 3);
        const long rc = column("ResidCol", std::max(widest, zc) + 1);
        for (long row = 1; row <= sheet->rowCount(); ++row) {
            if (sheet->rows()[static_cast<std::size_t>(row - 1)].empty()) continue;
            double x = 0, y = 0, z = 0;
            std::string residual;
            if (cellNumber(*sheet, row, xc, x) && cellNumber(*sheet, row, yc, y) && cellNumber(*sheet, row, zc, z)) {
                const double h = bilinearHeight(g, x, y);
                if (!trelvik::isBlank(h)) residual = trelvik::text::CStr(z - h);
            }
            sheet->setCell(row, rc, residual);
        }
    };
    reg.add(std::move(op));
}

} // namespace surfer
