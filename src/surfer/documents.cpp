#include "surfer/documents.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "surfer/application.h"

#include <charconv>

namespace surfer {

namespace {
std::string fileNameOf(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string trimBlanks(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
    return std::string(s.substr(a, b - a));
}

// One cell starting at s[i] up to a separator; handles a double-quoted cell.
std::string takeCell(std::string_view s, std::size_t& i, bool delimited) {
    while (i < s.size() && s[i] == ' ') ++i;
    std::string cell;
    if (i < s.size() && s[i] == '"') {
        ++i;
        while (i < s.size()) {
            if (s[i] == '"') {
                if (i + 1 < s.size() && s[i + 1] == '"') {
                    cell.push_back('"');
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            cell.push_back(s[i++]);
        }
        // Anything after the closing quote up to the separator is dropped.
        while (i < s.size() && !(delimited ? (s[i] == ',' || s[i] == '\t') : (s[i] == ' ' || s[i] == '\t'))) ++i;
        return cell;
    }
    const std::size_t start = i;
    if (delimited) {
        while (i < s.size() && s[i] != ',' && s[i] != '\t') ++i;
        return trimBlanks(s.substr(start, i - start));
    }
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    return std::string(s.substr(start, i - start));
}

std::vector<std::string> splitRow(std::string_view line) {
    std::vector<std::string> cells;
    bool delimited = false;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        if (!quoted && (c == ',' || c == '\t')) delimited = true;
    }
    std::size_t i = 0;
    if (delimited) {
        for (;;) {
            cells.push_back(takeCell(line, i, true));
            if (i >= line.size()) break;
            ++i;  // the separator
        }
        return cells;
    }
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        cells.push_back(takeCell(line, i, false));
    }
    return cells;
}

bool needsQuotes(const std::string& cell) {
    return cell.find_first_of(" ,\t\"") != std::string::npos;
}

// "B166" -> row 166, column 2.
void parseReference(std::string_view ref, long& row, long& column) {
    std::size_t i = 0;
    column = 0;
    while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
        const char c = static_cast<char>(ref[i] >= 'a' ? ref[i] - 'a' + 'A' : ref[i]);
        column = column * 26 + (c - 'A' + 1);
        ++i;
    }
    row = 0;
    auto res = std::from_chars(ref.data() + i, ref.data() + ref.size(), row);
    if (column == 0 || i == ref.size() || res.ec != std::errc() || res.ptr != ref.data() + ref.size() || row < 1)
        throw trelvik::Error("Not a cell reference: \"" + std::string(ref) + "\"");
}
} // namespace

std::vector<std::vector<std::string>> parseWorksheetText(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        rows.push_back(splitRow(line));
        pos = end + 1;
    }
    return rows;
}

std::string worksheetText(const std::vector<std::vector<std::string>>& rows) {
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c) out.push_back(',');
            if (needsQuotes(row[c])) {
                out.push_back('"');
                for (char ch : row[c]) {
                    if (ch == '"') out.push_back('"');
                    out.push_back(ch);
                }
                out.push_back('"');
            } else {
                out += row[c];
            }
        }
        out += "\r\n";
    }
    return out;
}

std::vector<std::vector<std::string>> readWorksheetFile(const std::string& path) {
    return parseWorksheetText(trelvik::readWholeFile(path));
}

Document::Document(Application& app, DocumentKind kind, std::string name)
    : Name(std::move(name)), app_(app), kind_(kind) {}

void Document::Save() {
    app_.log("ActiveDocument.Save()");
    if (FullName.empty()) throw trelvik::Error("Document " + Name + " has no file to save to");
    writeTo(FullName);
}

void Document::SaveAs(const std::string& path) {
    writeTo(path);
    FullName = path;
    Name = fileNameOf(path);
}

void Document::Close() {
    app_.log("Document.Close(" + Name + ")");
    app_.closeDocument(this);
}

void PlotDocument::writeTo(const std::string& path) const {
    throw trelvik::Error("Saving plot documents is not available (" + path + ")");
}

Cell Worksheet::Cells(std::string_view ref) const {
    long row = 0, column = 0;
    parseReference(ref, row, column);
    return Cells(row, column);
}

Cell Worksheet::Cells(long row, long column) const {
    if (row < 1 || column < 1) throw trelvik::Error("Worksheet " + Name + ": no cell at row " +
                                                    std::to_string(row) + ", column " + std::to_string(column));
    if (row > static_cast<long>(rows_.size())) return {};
    const auto& r = rows_[static_cast<std::size_t>(row - 1)];
    if (column > static_cast<long>(r.size())) return {};
    return {r[static_cast<std::size_t>(column - 1)]};
}

void Worksheet::setCell(long row, long column, std::string text) {
    if (row < 1 || column < 1) throw trelvik::Error("Worksheet " + Name + ": no cell at row " +
                                                    std::to_string(row) + ", column " + std::to_string(column));
    if (static_cast<std::size_t>(row) > rows_.size()) rows_.resize(static_cast<std::size_t>(row));
    auto& r = rows_[static_cast<std::size_t>(row - 1)];
    if (static_cast<std::size_t>(column) > r.size()) r.resize(static_cast<std::size_t>(column));
    r[static_cast<std::size_t>(column - 1)] = std::move(text);
}

void Worksheet::writeTo(const std::string& path) const {
    trelvik::writeFileAtomic(path, worksheetText(rows_));
}

std::shared_ptr<Document> DocumentCollection::Add(long docType) {
    app_.log("Documents.Add(" + std::to_string(docType) + ")");
    std::shared_ptr<Document> doc;
    if (docType == 1) doc = std::make_shared<PlotDocument>(app_, app_.nextDocumentName("Plot"));
    else if (docType == 2) doc = std::make_shared<Worksheet>(app_, app_.nextDocumentName("Worksheet"));
    else throw trelvik::Error("Documents.Add: unknown document type " + std::to_string(docType));
    app_.addDocument(doc);
    return doc;
}

std::shared_ptr<Worksheet> DocumentCollection::Open(const std::string& path) {
    app_.log("Documents.Open(\"" + path + "\")");
    auto sheet = std::make_shared<Worksheet>(app_, fileNameOf(path));
    sheet->setRows(readWorksheetFile(path));
    sheet->FullName = path;
    app_.addDocument(sheet);
    return sheet;
}

std::shared_ptr<Document> DocumentCollection::Item(long index) const {
    const auto& docs = app_.openDocuments();
    if (index < 1 || index > static_cast<long>(docs.size()))
        throw trelvik::Error("Documents.Item: no document number " + std::to_string(index));
    return docs[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Document> DocumentCollection::Item(const std::string& name) const {
    for (const auto& d : app_.openDocuments())
        if (d->Name == name) return d;
    throw trelvik::Error("Documents.Item: no document named " + name);
}

long DocumentCollection::Count() const { return static_cast<long>(app_.openDocuments().size()); }

} // namespace surfer
