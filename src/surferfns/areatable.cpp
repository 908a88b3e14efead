#include "surferfns/areatable.h"

#include "core/error.h"
#include "core/textform.h"
#include "formats/resultscsv.h"
#include "surfer/application.h"
#include "surferfns/preparesurfer.h"

namespace trelvik::surffns {

std::string SAVolHeader() {
    return text::WriteLine()
        .text("File")
        .text("Positive_Planar_Area_[Cut]")
        .text("Negative_Planar_Area_[Fill]")
        .text("Positive_Surface_Area_[Cut]")
        .text("Negative_Surface_Area_[Fill]")
        .text("Blanked_Planar_Area")
        .str();
}

BatchOutcome cmdSAVol(SurfFnsContext& ctx) {
    auto entry = [](SurfFnsContext& c, int i) {
        if (!IsV8(c)) return EntryResult::Skipped;
        SurfFnsState& s = c.state;
        if (!c.app.SurferApp) throw Error("SA and Vol: the mapping program is not connected");
        surfer::ResultArray results(12, 0.0);
        c.app.SurferApp->call("GridVolume", surfer::Named{{"Upper", s.GridFullName[i - 1]},
                                                          {"Lower", 0},
                                                          {"pResults", results},
                                                          {"ShowReport", false}});
        if (results.size() < 10) throw Error("GridVolume gave no results for " + s.GridFullName[i - 1]);
        const std::string row = text::WriteLine()
                                    .text(s.GridBaseName[i - 1])
                                    .num(results[5])
                                    .num(results[6])
                                    .num(results[7])
                                    .num(results[8])
                                    .num(results[9])
                                    .str();
        formats::writeSummaryRow(s.GridDir[0] + kSAVolTableName, SAVolHeader(), row, i == 1);
        return EntryResult::Skipped;  // this table is never plotted
    };
    // Refused with version 6 before the map window opens.
    const auto runs = [&ctx] {
        if (!AttachesV6(ctx)) return true;
        Refuse(ctx, "", "This function is not available in Surfer v6.");
        return false;
    };
    ctx.batchStep = "surface area and volume";
    return RunBatch(ctx, entry, ClearRule::Always, runs);
}

} // namespace trelvik::surffns
