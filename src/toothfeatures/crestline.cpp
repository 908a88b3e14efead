#include "toothfeatures/crestline.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "surfer/application.h"
#include "toothfeatures/occvectstep.h"

namespace trelvik::toothfeatures {

CrestSliceFiles crestSliceFiles(const std::string& stem) {
    return {stem + "_crp.dat", stem + "_crp.bln", stem + "_crsl.dat"};
}

std::vector<formats::SlicePoint> sliceCrest(const AppState& app, surfer::Application& s, const std::string& grid,
                                            const std::string& digitiseFile, const CrestSliceFiles& files,
                                            StagedFiles& staged) {
    const formats::PointXYList points = formats::readDigitisePoints(digitiseFile);
    if (points.size() < 2)
        throw Error("The crest line in " + digitiseFile + " has " + std::to_string(points.size()) +
                    " point; digitise at least two points along the crest.");
    writeFileAtomic(staged.work(files.copy), readWholeFile(digitiseFile));
    const std::string& line = staged.work(files.line);
    const std::string& slice = staged.work(files.slice);
    formats::writeBlnFile(line, {formats::openLine(points, 0)}, formats::BlnLayout::Zone);
    staged.naming([&] {
        callSurfer(app, s, "GridSlice", surfer::Positional{grid, line, surfer::omitted, slice},
                   surfer::Named{{"InGrid", grid}, {"BlankFile", line}, {"OutDataFile", slice}});
    });
    return formats::readSliceFile(slice);
}

} // namespace trelvik::toothfeatures
