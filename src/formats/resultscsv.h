#pragma once
// ResultsCsv: results tables of the tools. Lines of comma-separated items, texts in
// double quotes, numbers bare in the general form (text::WriteLine), CR LF endings.
// A per-file table is replaced on every run (written to a temporary file in the same
// folder, then renamed over the old one). A summary table ("00..." name) is begun
// anew, header first, at the first file of a batch and appended to afterwards.
#include <string>
#include <vector>

namespace trelvik::formats {

// Replaces `path` with `lines`, each ended CR LF. Throws trelvik::Error naming it.
void writeResultsTable(const std::string& path, const std::vector<std::string>& lines);

// Appends `lines` to `path` (created when missing). Throws trelvik::Error naming it.
void appendResultsLines(const std::string& path, const std::vector<std::string>& lines);

// Summary row of a batch: with `begin` the table is replaced by header and row,
// otherwise the row is appended.
void writeSummaryRow(const std::string& path, const std::string& header, const std::string& row, bool begin);

// Replaces `path` with `content` as given (no line-end conversion).
void replaceFileContent(const std::string& path, const std::string& content);

} // namespace trelvik::formats
