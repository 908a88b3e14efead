#include "formats/resultscsv.h"

#include "core/error.h"
#include "core/fileroutines.h"

#include <fstream>

namespace trelvik::formats {

void replaceFileContent(const std::string& path, const std::string& content) {
    writeFileAtomic(path, content);
}

namespace {
std::string joinLines(const std::vector<std::string>& lines) {
    std::size_t n = 0;
    for (const auto& l : lines) n += l.size() + 2;
    std::string s;
    s.reserve(n);
    for (const auto& l : lines) {
        s += l;
        s += "\r\n";
    }
    return s;
}
} // namespace

void writeResultsTable(const std::string& path, const std::vector<std::string>& lines) {
    replaceFileContent(path, joinLines(lines));
}

void appendResultsLines(const std::string& path, const std::vector<std::string>& lines) {
    appendFileAtomic(path, joinLines(lines));
}

void writeSummaryRow(const std::string& path, const std::string& header, const std::string& row, bool begin) {
    if (begin) writeResultsTable(path, {header, row});
    else appendResultsLines(path, {row});
}

} // namespace trelvik::formats
