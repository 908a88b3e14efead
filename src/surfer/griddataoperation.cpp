// GridData as an automation operation: both call forms resolved to one GridDataRequest.
//
// Version-8 names: DataFile, XCol, yCol, zCol (columns counted from 1), ExclusionFilter,
// NumCols, NumRows, XMin, XMax, YMin, YMax, Algorithm (1, 2, 6, 7, 9; griddata.h),
// ShowReport, OutGrid, OutFmt, RegrMaxXOrder, RegrMaxYOrder, RegrMaxTotalOrder.
// Version-6 positions: 1 DataFile, 2 to 4 the x, y, z columns counted from 0, 5 to 8
// XMin, XMax, YMin, YMax, 9 XSpacing, 10 YSpacing, 11 NumRows, 12 NumCols, 13 the method
// (1 kriging, 3 regression, 6 triangulation), 14 OutGrid, 15 ShowReport, 16 to 50 unused
// (must be left out), 51 to 53 RegrMaxXOrder, RegrMaxYOrder, RegrMaxTotalOrder, 54 an
// order slot that callers fill with 1 and that has no further effect.
//
// Effects: the output grid is written (Surfer 7 binary unless OutFmt says otherwise).
// The instance's report window is emptied when the call starts, so a failed or silent
// run leaves no earlier report to be taken for its own; with ShowReport it then holds
// this run's report; version 6 also opens it as a report document ("Report1", ...),
// which becomes the active document. After a version-6 regression the clipboard holds
// the plane's formula line.
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surfer/griddata.h"
#include "surfer/griddataargs.h"
#include "surfer/gridfiles.h"
#include "surfer/gridreport.h"
#include "surfer/operations.h"

namespace surfer {

namespace {

std::vector<std::string> positional6Names() {
    std::vector<std::string> n = {"DataFile", "XCol0", "YCol0", "ZCol0", "XMin", "XMax", "YMin", "YMax",
                                  "XSpacing", "YSpacing", "NumRows", "NumCols", "Algorithm6", "OutGrid",
                                  "ShowReport"};
    for (auto& r : detail::reservedNames(16, 50)) n.push_back(r);
    for (const char* s : {"RegrMaxXOrder", "RegrMaxYOrder", "RegrMaxTotalOrder", "RegrOrderSlot"}) n.push_back(s);
    return n;
}

int column(const Args& a, const char* fromOne, const char* fromZero, int fallback) {
    if (auto c = detail::optWholeOrText(a, fromZero)) return static_cast<int>(*c + 1);
    if (auto c = detail::optWholeOrText(a, fromOne)) return static_cast<int>(*c);
    return fallback;
}

void runGridData(Application& app, const Args& a) {
    app.setCurrentReport(std::string());
    detail::requireUnused(a, detail::reservedNames(16, 50));

    GridDataRequest rq;
    rq.dataFile = a.text("DataFile");
    rq.xCol = column(a, "XCol", "XCol0", 1);
    rq.yCol = column(a, "yCol", "YCol0", 2);
    rq.zCol = column(a, "zCol", "ZCol0", 3);
    rq.exclusionFilter = a.optText("ExclusionFilter").value_or("");
    auto& l = rq.lattice;
    l.xMin = detail::optNumberOrText(a, "XMin");
    l.xMax = detail::optNumberOrText(a, "XMax");
    l.yMin = detail::optNumberOrText(a, "YMin");
    l.yMax = detail::optNumberOrText(a, "YMax");
    l.xSpacing = detail::optNumberOrText(a, "XSpacing");
    l.ySpacing = detail::optNumberOrText(a, "YSpacing");
    l.numCols = detail::optNumberOrText(a, "NumCols");
    l.numRows = detail::optNumberOrText(a, "NumRows");
    const bool v6Method = a.has("Algorithm6");
    if (v6Method) rq.algorithm = gridAlgorithmFromV6Code(*detail::optWholeOrText(a, "Algorithm6"));
    else rq.algorithm = gridAlgorithmFromCode(detail::optWholeOrText(a, "Algorithm").value_or(2));
    rq.regrMaxXOrder = static_cast<int>(detail::optWholeOrText(a, "RegrMaxXOrder").value_or(1));
    rq.regrMaxYOrder = static_cast<int>(detail::optWholeOrText(a, "RegrMaxYOrder").value_or(1));
    rq.regrMaxTotalOrder = static_cast<int>(detail::optWholeOrText(a, "RegrMaxTotalOrder").value_or(1));

    const bool regression = rq.algorithm == GridAlgorithm::PolynomialRegression;
    if (regression && app.version() == 6) app.setClipboard(std::string());

    const GridDataResult rs = gridData(rq);
    writeOutputGrid(app.version(), a.operation(), a.text("OutGrid"), rs.grid, a.optWhole("OutFmt"));
    if (a.flag("ShowReport", false)) {
        std::string report = gridDataReportText(rq, rs);
        if (app.version() == 6) {
            // Version 6 shows the report as a document of its own; the caller closes it
            // with ActiveDocument.Close, which must close this and not the user's map.
            auto doc = std::make_shared<Worksheet>(app, app.nextDocumentName("Report"));
            doc->setRows(parseWorksheetText(report));
            app.addDocument(doc);
        }
        app.setCurrentReport(std::move(report));
    }
    if (regression && app.version() == 6 && rs.regression)
        app.setClipboard(planeFormulaLine(rs.regression->C, rs.regression->B, rs.regression->A));
}

} // namespace

void registerGridData(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridData";
    op.names = {"DataFile", "XCol", "yCol", "zCol", "ExclusionFilter", "NumCols", "NumRows", "XMin", "XMax",
                "YMin", "YMax", "Algorithm", "ShowReport", "OutGrid", "OutFmt", "RegrMaxXOrder", "RegrMaxYOrder",
                "RegrMaxTotalOrder"};
    op.positional6 = positional6Names();
    op.required = {"DataFile", "OutGrid"};
    op.run = runGridData;
    reg.add(std::move(op));
}

} // namespace surfer
