#pragma once
// Where an analysis of the viewer writes: the input's folder and base name, and the
// folder-batch flags that decide whether a "00" summary table is begun or appended.
#include <string>

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

} // namespace trelvik::csvview
