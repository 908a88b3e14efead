#pragma once
// Documents of a stand-in instance: plot documents (maps land there; their content
// model comes with the map calls) and worksheets (rows of text cells, as report sheets
// and data files open). Property and method names follow the automation interface
// (`Name`, `Save`, `Close`, `Cells("B166")`, `Documents.Add(1)`, `Documents.Open`).
//
// A worksheet file is text, one row per line. Reading: a line holding a comma or a tab
// is split there (empty cells kept, blanks around a cell dropped); any other line is
// split at runs of blanks. A double-quoted cell keeps its text whole. Writing: cells
// joined by commas, a cell holding a blank, comma, tab or quote written in double
// quotes (inner quotes doubled), lines ended CR LF. Saving replaces the file through a
// temporary file, so a failed save leaves the old file whole.
#include "surfer/plotmodel.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace surfer {

class Application;

enum class DocumentKind { Plot, Worksheet };

class Document : public std::enable_shared_from_this<Document> {
public:
    Document(Application& app, DocumentKind kind, std::string name);
    virtual ~Document() = default;
    DocumentKind kind() const { return kind_; }

    std::string Name;      // shown name: "Plot1", a file's name, "Report1"
    std::string FullName;  // the file it was opened from or saved to; empty if never saved

    // Writes the document to FullName (an error when it has none).
    void Save();
    // Writes the document to path, which becomes its FullName and Name.
    void SaveAs(const std::string& path);
    // Closes the document; the previously active one becomes active.
    void Close();

protected:
    virtual void writeTo(const std::string& path) const = 0;
    Application& app_;

private:
    DocumentKind kind_;
};

class PlotDocument : public Document {
public:
    PlotDocument(Application& app, std::string name)
        : Document(app, DocumentKind::Plot, std::move(name)), Shapes(app, DefaultFont) {}
    PlotFont DefaultFont;  // declared before Shapes, which keeps a reference to it
    PlotShapes Shapes;

protected:
    void writeTo(const std::string& path) const override;
};

struct Cell {
    std::string Value;  // the cell's text; empty for an empty cell
};

class Worksheet : public Document {
public:
    Worksheet(Application& app, std::string name) : Document(app, DocumentKind::Worksheet, std::move(name)) {}

    // "B166": column letters, then the row number, both from 1. A bad reference throws.
    Cell Cells(std::string_view ref) const;
    Cell Cells(long row, long column) const;
    void setCell(long row, long column, std::string text);

    long rowCount() const { return static_cast<long>(rows_.size()); }
    const std::vector<std::vector<std::string>>& rows() const { return rows_; }
    void setRows(std::vector<std::vector<std::string>> rows) { rows_ = std::move(rows); }

protected:
    void writeTo(const std::string& path) const override;

private:
    std::vector<std::vector<std::string>> rows_;
};

// Worksheet text as described above.
std::vector<std::vector<std::string>> parseWorksheetText(std::string_view text);
std::string worksheetText(const std::vector<std::vector<std::string>>& rows);
// Reads a worksheet file; throws trelvik::Error naming the file when it cannot be read.
std::vector<std::vector<std::string>> readWorksheetFile(const std::string& path);

// `Documents` of an instance.
class DocumentCollection {
public:
    explicit DocumentCollection(Application& app) : app_(app) {}
    // 1 adds a plot document, 2 an empty worksheet; it becomes the active document.
    std::shared_ptr<Document> Add(long docType = 1);
    // Opens a text file as a worksheet, which becomes the active document.
    std::shared_ptr<Worksheet> Open(const std::string& path);
    // By position from 1, in the order the documents were opened, or by Name.
    std::shared_ptr<Document> Item(long index) const;
    std::shared_ptr<Document> Item(const std::string& name) const;
    long Count() const;

private:
    Application& app_;
};

} // namespace surfer
