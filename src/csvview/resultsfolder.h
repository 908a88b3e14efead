#include "core/commit/commit.h"
#pragma once
// Where an analysis of the viewer writes: the input's folder and base name, and the
// folder-batch flags that decide whether a "00" summary table is begun or appended.
#include <string>

namespace trelvik { class StagedFiles; }

namespace trelvik::csvview {

struct RunContext {
    std::string folder;    // input folder with its trailing separator
    std::string baseName;  // input file name less its last four characters
    bool allFilesRunning = false;  // a folder batch is under way
    bool allFilesStarted = false;  // the batch's first file has been analysed
};

// folder + name, created when missing; returns it with a trailing separator.
// Throws trelvik::Error naming the folder when it cannot be made.
std::string ensureResultsFolder(const std::string& folder, const std::string& name);

// A "00" summary table with `row` added, written into `files` to go in place with the
// rest of the file's set: begun anew (header and row) with `begin`, otherwise the table
// as it stands followed by the row (a last line without its end gets one first).
// Throws trelvik::Error naming the table.
void stageSummaryRow(StagedFiles& files, const std::string& path, const std::string& header, const std::string& row,
                     bool begin);

} // namespace trelvik::csvview
