#include "surfer/application.h"

#include "core/error.h"
#include "surfer/operations.h"

#include <algorithm>
#include <mutex>

namespace surfer {

namespace {
std::mutex registryLock;
std::vector<std::shared_ptr<Application>>& running() {
    static std::vector<std::shared_ptr<Application>> list;
    return list;
}
// Process identifiers look like a desktop's: whole numbers that grow with each start.
long nextProcessId = 4100;

int versionOf(const std::string& progId) {
    if (progId == "Surfer.APP") return 6;
    if (progId == "Surfer.Application") return 8;
    throw trelvik::Error("No mapping program is registered as \"" + progId +
                         "\" (expected \"Surfer.APP\" or \"Surfer.Application\")");
}

std::string joinCall(const std::string& op, const std::vector<std::string>& parts) {
    std::string line = op + "(";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) line += ", ";
        line += parts[i];
    }
    return line + ")";
}
} // namespace

std::shared_ptr<Application> connect(const std::string& progId, bool startNew) {
    const int version = versionOf(progId);
    std::lock_guard<std::mutex> g(registryLock);
    auto& list = running();
    if (!startNew) {
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            if ((*it)->version() == version) return *it;
    }
    nextProcessId += 4;
    auto app = std::make_shared<Application>(progId, version, nextProcessId);
    list.push_back(app);
    return app;
}

std::vector<std::shared_ptr<Application>> instances() {
    std::lock_guard<std::mutex> g(registryLock);
    return running();
}

std::shared_ptr<Application> findInstance(long processId) {
    std::lock_guard<std::mutex> g(registryLock);
    for (auto& a : running())
        if (a->processId() == processId) return a;
    return nullptr;
}

void shutdownAll() {
    std::lock_guard<std::mutex> g(registryLock);
    running().clear();
}

Application::Application(std::string progId, int version, long processId)
    : progId_(std::move(progId)), version_(version), processId_(processId) {}

void Application::call(const std::string& operation, const Positional& args) {
    std::vector<std::string> parts;
    for (const auto& v : args.args) parts.push_back(v.describe());
    log(joinCall(operation, parts));
    const OperationSpec* op = operations().find(operation);
    if (!op) throw trelvik::Error("The mapping program has no operation " + operation);
    op->run(*this, operations().resolve(*op, args, version_));
}

void Application::call(const std::string& operation, const Named& args) {
    std::vector<std::string> parts;
    for (const auto& [n, v] : args.args) parts.push_back(n + ":=" + v.describe());
    log(joinCall(operation, parts));
    const OperationSpec* op = operations().find(operation);
    if (!op) throw trelvik::Error("The mapping program has no operation " + operation);
    op->run(*this, operations().resolve(*op, args));
}

std::shared_ptr<Document> Application::ActiveDocument() const {
    if (activation_.empty()) throw trelvik::Error("The mapping program has no open document");
    const Document* active = activation_.back();
    for (const auto& d : docs_)
        if (d.get() == active) return d;
    throw trelvik::Error("The mapping program has no open document");
}

void ActiveWindowRef::Close() {
    app_.log("ActiveWindow.Close()");
    app_.ActiveDocument()->Close();
}

void Application::FileNew() {
    log("FileNew()");
    addDocument(std::make_shared<PlotDocument>(*this, nextDocumentName("Plot")));
}

void Application::FileSaveAs(const std::string& path) {
    log(joinCall("FileSaveAs", {Value(path).describe()}));
    ActiveDocument()->SaveAs(path);
}

std::shared_ptr<Worksheet> Application::FileOpen(const std::string& path, long type) {
    log(joinCall("FileOpen", {Value(path).describe(), Value(type).describe()}));
    if (type != 1) throw trelvik::Error("FileOpen: file type " + std::to_string(type) + " is not a worksheet (" + path + ")");
    auto sheet = std::make_shared<Worksheet>(*this, "");
    sheet->setRows(readWorksheetFile(path));
    sheet->FullName = path;
    sheet->Name = path.substr(path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1);
    addDocument(sheet);
    return sheet;
}

std::string Application::GetWksCell(const std::shared_ptr<Worksheet>& sheet, long row, long column) {
    log(joinCall("GetWksCell", {"<sheet>", Value(row).describe(), Value(column).describe()}));
    if (!sheet) throw trelvik::Error("GetWksCell: no worksheet");
    return sheet->Cells(row, column).Value;
}

void Application::FileClose() {
    log("FileClose()");
    if (!activation_.empty()) ActiveDocument()->Close();
}

void Application::addDocument(std::shared_ptr<Document> doc) {
    activation_.push_back(doc.get());
    docs_.push_back(std::move(doc));
}

void Application::closeDocument(const Document* doc) {
    activation_.erase(std::remove(activation_.begin(), activation_.end(), doc), activation_.end());
    docs_.erase(std::remove_if(docs_.begin(), docs_.end(), [&](const auto& d) { return d.get() == doc; }),
                docs_.end());
}

void Application::activateDocument(const Document* doc) {
    if (std::find(activation_.begin(), activation_.end(), doc) == activation_.end()) return;
    activation_.erase(std::remove(activation_.begin(), activation_.end(), doc), activation_.end());
    activation_.push_back(doc);
}

std::string Application::nextDocumentName(const std::string& stem) {
    for (auto& [s, n] : nameCounters_)
        if (s == stem) return stem + std::to_string(++n);
    nameCounters_.emplace_back(stem, 1);
    return stem + "1";
}

} // namespace surfer
