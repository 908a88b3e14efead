#pragma once
// The stand-in for the mapping program's automation server, in process.
//
//   auto app = surfer::connect("Surfer.Application", false);  // attach, or start the first
//   app->Visible = true;
//   app->call("GridConvert", surfer::Named{{"InGrid", g}, {"OutGrid", t}, {"OutFmt", 4}});
//   app->call("GridConvert", surfer::Positional{g, t, 3});      // version-6 form
//
// "Surfer.APP" gives a version-6 instance, "Surfer.Application" a version-8 one; the
// version decides the positional argument order and the output-format codes. Each
// instance carries a whole-number process identifier. Every call (grid operations,
// documents, version-6 file calls) appends one line to the instance's call log. Failures
// throw trelvik::Error. The program's own logic uses an instance from one thread.
#include "surfer/callargs.h"
#include "surfer/documents.h"

#include <memory>
#include <string>
#include <vector>

namespace surfer {

class Application;

// Attaches to the running instance of this identifier (starting one when none runs) or,
// with startNew, starts a new one. Any other identifier throws trelvik::Error.
std::shared_ptr<Application> connect(const std::string& progId, bool startNew = false);
// Running instances, oldest first (for the stand-in's window and for tests).
std::vector<std::shared_ptr<Application>> instances();
// The running instance with this process identifier, or nullptr.
std::shared_ptr<Application> findInstance(long processId);
// Ends every running instance (end of the program; isolation between tests).
void shutdownAll();

class ActiveWindowRef {
public:
    explicit ActiveWindowRef(Application& app) : app_(app) {}
    void Close();  // closes the active document's window, and so the document
private:
    Application& app_;
};

class Application {
public:
    Application(std::string progId, int version, long processId);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const std::string& progId() const { return progId_; }
    int version() const { return version_; }  // 6 or 8
    long processId() const { return processId_; }

    bool Visible = false;
    DocumentCollection Documents{*this};

    // A grid operation in either call form.
    void call(const std::string& operation, const Positional& args);
    void call(const std::string& operation, const Named& args);

    // The active document; throws trelvik::Error when none is open.
    std::shared_ptr<Document> ActiveDocument() const;
    ActiveWindowRef ActiveWindow() { return ActiveWindowRef(*this); }

    // Version-6 file calls.
    void FileNew();                                  // new plot document
    void FileSaveAs(const std::string& path);        // saves the active document
    std::shared_ptr<Worksheet> FileOpen(const std::string& path, long type = 1);
    std::string GetWksCell(const std::shared_ptr<Worksheet>& sheet, long row, long column);
    void FileClose();                                // closes the active document, if any

    // Clipboard and report window of the instance (the Qt layer mirrors them).
    const std::string& clipboard() const { return clipboard_; }
    void setClipboard(std::string text) { clipboard_ = std::move(text); }
    const std::string& currentReport() const { return report_; }
    void setCurrentReport(std::string text) { report_ = std::move(text); }

    const std::vector<std::string>& callLog() const { return log_; }
    void log(std::string line) { log_.push_back(std::move(line)); }

    // Document bookkeeping for Document and DocumentCollection.
    void addDocument(std::shared_ptr<Document> doc);
    void closeDocument(const Document* doc);
    // Makes an open document the active one (the user choosing its window).
    void activateDocument(const Document* doc);
    const std::vector<std::shared_ptr<Document>>& openDocuments() const { return docs_; }
    std::string nextDocumentName(const std::string& stem);  // "Plot1", "Plot2", ...

private:
    std::string progId_;
    int version_;
    long processId_;
    std::string clipboard_;
    std::string report_;
    std::vector<std::string> log_;
    std::vector<std::shared_ptr<Document>> docs_;  // open order
    std::vector<const Document*> activation_;     // most recently active last
    std::vector<std::pair<std::string, int>> nameCounters_;
};

} // namespace surfer
