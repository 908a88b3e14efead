#include "csvview/resultsfolder.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/resultscsv.h"

#include <filesystem>

namespace trelvik::csvview {

std::string ensureResultsFolder(const std::string& folder, const std::string& name) {
    const std::string dir = folder + name;
    makeFolder(dir, "Cannot create the results folder " + dir);
    return dir + static_cast<char>(std::filesystem::path::preferred_separator);
}

void stageSummaryRow(StagedFiles& files, const std::string& path, const std::string& header, const std::string& row,
                     bool begin) {
    if (begin) files.naming([&] { formats::writeResultsTable(files.work(path), {header, row}); });
    else files.append(path, row + "\r\n");
}

} // namespace trelvik::csvview
