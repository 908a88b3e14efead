#pragma once
// Saving the stand-in's report window as text.
//
// CaptureSurferReport(state, folder, tag) writes the current report of the addressed
// instance to folder & "Report" & tag & ".txt" ("Report1.txt" for tag "1", "Report.txt"
// for an empty tag), replacing any file of that name whole, and then closes the report
// window, as saving and closing it by hand would. The instance addressed: with "Use
// Surfer PID" ticked (state.chkSurferPID) and a number in state.txtSurferPID, the
// instance of that process identifier (the leading number of the text, as typed);
// otherwise the most recently started instance that has a report open.
// Throws trelvik::Error, leaving any existing file untouched, when no such instance runs
// or it has no report to save: a report of an earlier run, already saved and closed, is
// never saved again as this run's result.
// A step that puts its files in place only once it succeeds passes its StagedFiles: the
// report is written under the working name that stands for it until then, naming the
// step's files (its data file, say) by their own names, not their working ones, while
// the messages still name the report's own path. Returns the file written.
#include "core/appstate.h"
#include "core/commit/commit.h"
#include "core/fileroutines.h"

#include <string>

namespace trelvik {

std::string CaptureSurferReport(AppState& state, const std::string& folder, const std::string& tag,
                                StagedFiles* staged = nullptr);

} // namespace trelvik
