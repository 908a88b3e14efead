#include "csvview/resultsfolder.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/resultscsv.h"

#include <filesystem>

namespace trelvik::csvview {

std::string ensureResultsFolder(const std::string& folder, const std::string& name) {
    const std::string dir = folder + name;
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        std::filesystem::create_directories(dir, ec);
        if (ec || !std::filesystem::is_directory(dir, ec)) throw Error("Cannot create the results folder " + dir);
    }
    return dir + static_cast<char>(std::filesystem::path::preferred_separator);
}

void stageSummaryRow(StagedFiles& files, const std::string& path, const std::string& header, const std::string& row,
                     bool begin) {
    files.naming([&] {
        if (begin) {
            formats::writeResultsTable(files.work(path), {header, row});
            return;
        }
        std::string table = FileExists(path) ? readWholeFile(path) : std::string();
        if (!table.empty() && table.back() != '\n') table += table.back() == '\r' ? "\n" : "\r\n";
        formats::replaceFileContent(files.work(path), table + row + "\r\n");
    });
}

} // namespace trelvik::csvview
