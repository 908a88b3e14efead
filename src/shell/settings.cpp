#include "shell/settings.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/tempfiles.h"

#include <filesystem>
#include <vector>

namespace trelvik {

namespace {

constexpr const char* kDefaultVersion = "SurferV8";

// The lines of the settings file (CR LF, LF or CR ends), or none when it cannot be read.
std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string data;
    try {
        if (!FileExists(path)) return lines;
        data = readWholeFile(path);
    } catch (const Error&) {
        return lines;
    }
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t i = data.find_first_of("\r\n", start);
        if (i == std::string::npos) i = data.size();
        lines.push_back(data.substr(start, i - start));
        if (i < data.size() && data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return lines;
}

void writeSettings(const std::string& path, const std::string& dir, const std::string& version) {
    std::string content = dir + "\r\n";
    if (!version.empty()) content += version + "\r\n";
    writeFileAtomic(path, content);
}

}  // namespace

std::string SettingsFilePath(const AppState& app) {
    if (app.ProgramDir.empty()) return kSettingsFileName;
    return (std::filesystem::path(app.ProgramDir) / kSettingsFileName).string();
}

void LoadSettingsAtStartup(AppState& app, const std::string& samplesDir) {
    // A run killed before it could remove its private folder leaves it; it goes now, not
    // only when a later step makes a private folder.
    removeEndedPrivateFolders();
    const std::string path = SettingsFilePath(app);
    const std::vector<std::string> lines = readLines(path);
    const bool dirOk = !lines.empty() && !lines[0].empty();
    const bool versionOk = lines.size() >= 2;
    app.DefaultDir = dirOk ? lines[0] : samplesDir;
    app.SurferVersion = versionOk ? lines[1] : kDefaultVersion;
    if (app.SurferVersion == "SurferV6") {
        app.mnuSurf6Checked = true;
        app.mnuSurf8Checked = false;
    } else if (app.SurferVersion == "SurferV8") {
        app.mnuSurf6Checked = false;
        app.mnuSurf8Checked = true;
    }
    if (!dirOk || !versionOk) writeSettings(path, app.DefaultDir, app.SurferVersion);
}

std::string ReadDefaultDir(AppState& app) {
    const std::string path = SettingsFilePath(app);
    const std::vector<std::string> lines = readLines(path);
    if (!lines.empty() && !lines[0].empty()) return lines[0];
    if (app.DefaultDir.empty())
        throw Error("The settings file \"" + path + "\" holds no default directory; choose one and save it.");
    const std::string version = lines.size() >= 2 ? lines[1] : (app.SurferVersion.empty() ? kDefaultVersion : app.SurferVersion);
    writeSettings(path, app.DefaultDir, version);
    return app.DefaultDir;
}

void SaveSurferVersion(AppState& app) {
    const std::vector<std::string> lines = readLines(SettingsFilePath(app));
    if (!lines.empty() && !lines[0].empty()) app.DefaultDir = lines[0];
    std::string version;
    if (app.SurferVersion == "SurferV6" || app.SurferVersion == "SurferV8") version = app.SurferVersion;
    writeSettings(SettingsFilePath(app), app.DefaultDir, version);
}

std::string GetSurferProgID(AppState& app) {
    if (app.mnuSurf6Checked) {
        app.SurferVersion = "SurferV6";
        return "Surfer.APP";
    }
    if (app.mnuSurf8Checked) {
        app.SurferVersion = "SurferV8";
        return "Surfer.Application";
    }
    return {};
}

void UpdateDefaultDir(AppState& app, const std::string& folder) {
    const std::vector<std::string> lines = readLines(SettingsFilePath(app));
    if (!lines.empty() && !lines[0].empty()) app.DefaultDir = lines[0];
    if (lines.size() >= 2) app.SurferVersion = lines[1];
    else if (app.SurferVersion.empty()) app.SurferVersion = kDefaultVersion;
    if (!folder.empty()) app.DefaultDir = folder;
    writeSettings(SettingsFilePath(app), app.DefaultDir, app.SurferVersion);
}

} // namespace trelvik
