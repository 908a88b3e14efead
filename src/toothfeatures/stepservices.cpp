#include "toothfeatures/stepservices.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/textform.h"
#include "shell/settings.h"
#include "surfer/application.h"

#include <charconv>
#include <cmath>

namespace trelvik::toothfeatures {

bool isV6(const AppState& app) { return app.SurferVersion == "SurferV6"; }
bool isV8(const AppState& app) { return app.SurferVersion == "SurferV8"; }

std::shared_ptr<surfer::Application> attachSurfer(AppState& app) {
    const std::string progId = GetSurferProgID(app);
    if (progId.empty()) throw Error("No Surfer version is ticked: choose one in File > Surfer version.");
    auto s = surfer::connect(progId, false);
    if (isV8(app)) s->Visible = true;
    return s;
}

bool callSurfer(const AppState& app, surfer::Application& s, const std::string& operation,
                const surfer::Positional& v6, const surfer::Named& v8) {
    if (isV6(app)) s.call(operation, v6);
    else if (isV8(app)) s.call(operation, v8);
    else return false;
    return true;
}

bool runStep(Prompt& prompt, const std::function<bool()>& body) { return runGuarded(prompt, "Error", body); }

std::vector<double> readReportSheet(surfer::Application& s, const std::string& sheetPath,
                                    const std::vector<std::pair<long, long>>& cells, const StagedFiles* staged) {
    s.FileSaveAs(sheetPath);
    s.FileClose();
    if (staged) writeFileAtomic(sheetPath, staged->realNames(readWholeFile(sheetPath)));
    auto sheet = s.FileOpen(sheetPath, 1);
    std::vector<double> values;
    values.reserve(cells.size());
    for (const auto& [row, column] : cells) values.push_back(text::Val(s.GetWksCell(sheet, row, column)));
    s.FileClose();
    return values;
}

std::optional<double> numberIn(std::string_view t) {
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t a = 0, b = t.size();
    while (a < b && space(t[a])) ++a;
    while (b > a && space(t[b - 1])) --b;
    if (a < b && t[a] == '+') {  // from_chars takes no plus sign, and "+-5" is no number
        ++a;
        if (a < b && (t[a] == '-' || t[a] == '+')) return std::nullopt;
    }
    if (a == b) return std::nullopt;
    double v = 0;
    const auto res = std::from_chars(t.data() + a, t.data() + b, v);
    if (res.ec != std::errc() || res.ptr != t.data() + b || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Land find writes the file in the folder of the landmark trials, while the readers look
// beside the grid; the two folders often differ, so the user is told to copy it across.
DigitiseInput toothLengthInput(const std::string& path, const std::string& readBox) {
    return {path, "tooth length file",
            "Land find writes it in its trials' folder (with \"Generate Tooth Length file\"), so copy it from "
            "there into the grid's folder, or untick \"" + readBox + "\"."};
}

} // namespace trelvik::toothfeatures
