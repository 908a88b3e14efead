#pragma once
// The small services every tooth-feature step shares: the attach to the mapping program,
// the call form of the ticked version, the guarded run of a step and the reading of a
// number typed into a box.
//
// attachSurfer  the running instance of the ticked version (started only when none runs;
//               made visible with "SurferV8"); trelvik::Error when no version is ticked.
// callSurfer    one operation, positional with "SurferV6", named with "SurferV8"; any
//               other token issues nothing and gives false.
// runStep       the step with the hourglass; a failure ends it with its message titled
//               "Error"; the pointer is normal afterwards.
// readReportSheet  version 6's volume report read back as a worksheet: the active report
//               saved as sheetPath (replacing it) and closed, the sheet opened, the cells
//               (row, column from 1) read by their leading numbers (no number gives 0),
//               the sheet closed again. "volume.dat" beside the grid stays; with
//               `staged`, the sheet names the staged grids it measured by the names they
//               stand for.
// numberIn      the number a box or worksheet cell holds as its whole text (blanks, tabs
//               and line ends around it allowed, one leading "+" or "-"), or nothing for
//               an empty box, a text, a number followed by other characters or a value
//               too large to hold: such input is refused rather than read as 0.
// toothLengthInput  the tooth-length file a step reads (the full path), as an input that
//               must exist; its message says that Land find writes it in its trials'
//               folder, not beside the grid, and names the window's box that turns it off.
#include "core/appstate.h"
#include "core/commit/commit.h"
#include "core/prompt.h"
#include "core/digitiseinputs.h"
#include "core/fileroutines.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace surfer {
class Application;
struct Positional;
struct Named;
} // namespace surfer

namespace trelvik::toothfeatures {

std::shared_ptr<surfer::Application> attachSurfer(AppState& app);

bool callSurfer(const AppState& app, surfer::Application& s, const std::string& operation,
                const surfer::Positional& v6, const surfer::Named& v8);
bool isV6(const AppState& app);
bool isV8(const AppState& app);

bool runStep(Prompt& prompt, const std::function<bool()>& body);

std::vector<double> readReportSheet(surfer::Application& s, const std::string& sheetPath,
                                    const std::vector<std::pair<long, long>>& cells,
                                    const StagedFiles* staged = nullptr);

std::optional<double> numberIn(std::string_view text);

DigitiseInput toothLengthInput(const std::string& path, const std::string& readBox);

} // namespace trelvik::toothfeatures
