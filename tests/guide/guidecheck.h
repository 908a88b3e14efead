#pragma once
// What the guide's test programs share: the guide's text and its phrases and quoted
// numbers, the result files read as lines and fields, and the worked example's folder
// with the program's windows open on it.
#include <gtest/gtest.h>

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/toolwindows.h"
#include "core/appstate.h"
#include "core/prompt.h"
#include "guideexample.h"
#include "shell/frmStartup.h"
#include "support/qtapp.h"
#include "support/tempfolder.h"
#include "surfer/application.h"
#include "surferwin/mapwindow.h"

namespace guidecheck {

using namespace trelvik;

inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline const std::string& guideText() {
    static const std::string text = readAll(std::string(TRELVIK_SOURCE_DIR) + "/docs/guide.md");
    return text;
}

// The guide with every run of blanks and line ends made one blank, so that a phrase
// is found wherever the text is wrapped.
inline const std::string& guideFlowing() {
    static const std::string text = [] {
        std::string out;
        for (char ch : guideText()) {
            const bool blank = ch == ' ' || ch == '\n' || ch == '\r';
            if (!blank) out += ch;
            else if (!out.empty() && out.back() != ' ') out += ' ';
        }
        return out;
    }();
    return text;
}

inline void guideSays(const std::string& phrase) {
    EXPECT_NE(guideFlowing().find(phrase), std::string::npos) << "the guide does not say \"" << phrase << "\"";
}

// The guide's fenced "text" blocks (the digitise files to paste), in order, each as
// its lines joined by line feeds, the list indentation taken off.
inline std::vector<std::string> pasteBlocks() {
    std::vector<std::string> blocks;
    std::stringstream in(guideText());
    std::string line, block;
    bool inside = false;
    while (std::getline(in, line)) {
        line.erase(0, line.find_first_not_of(' '));
        if (!inside && line == "```text") {
            inside = true;
            block.clear();
        } else if (inside && line == "```") {
            inside = false;
            blocks.push_back(block);
        } else if (inside) {
            block += line + "\n";
        }
    }
    return blocks;
}

// A number as the guide quotes it: the value rounds to the text's last digit, and the
// guide holds the text.
inline void quoted(double value, const std::string& text) {
    const auto dot = text.find('.');
    const int decimals = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
    EXPECT_LE(std::fabs(value - std::stod(text)), 0.5 * std::pow(10.0, -decimals) + 1e-12)
        << "computed " << value << ", the guide says " << text;
    EXPECT_NE(guideText().find(text), std::string::npos) << "the guide does not quote " << text;
}

// Comma-separated fields of a line (quotes kept).
inline std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream ss(line);
    std::string f;
    while (std::getline(ss, f, ',')) out.push_back(f);
    return out;
}

inline std::vector<std::string> lines(const std::string& path) {
    std::vector<std::string> out;
    std::stringstream ss(readAll(path));
    std::string l;
    while (std::getline(ss, l)) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

inline double unquoted(std::string f) {
    f.erase(std::remove(f.begin(), f.end(), '"'), f.end());
    return std::stod(f);
}

struct Example {
    trelvik::testing::TempFolder dir;
    AppState state;
    ScriptedPrompt prompt;
    std::unique_ptr<frmStartup> main;
    std::unique_ptr<guide::Example> ex;

    Example() {
        testsupport::ensureApp();
        surfer::shutdownAll();
        guide::copySamples(std::string(TRELVIK_SOURCE_DIR) + "/samples", dir.folder());
        state.ProgramDir = state.DefaultDir = dir.folder();
        state.mnuSurf6Checked = false;
        state.mnuSurf8Checked = true;
        state.SurferVersion = "SurferV8";
        main = std::make_unique<frmStartup>(state, prompt);
        registerToolWindows(*main, state, prompt);
        ex = std::make_unique<guide::Example>(guide::Example{*main, prompt, dir.folder(), {}, {}});
    }
    ~Example() {
        main.reset();
        for (const auto& app : surfer::instances()) delete surferwin::findMapWindow(app->processId());
        QApplication::processEvents();
        surfer::shutdownAll();
    }
    std::string path(const std::string& name) const { return dir.path(name); }
    // Only the digitise questions and the map window's question before it replaces
    // digit.dat were shown: no step failed.
    void expectNoFailure() const {
        for (const auto& m : prompt.shown)
            EXPECT_TRUE(m.title == "Digitise map" || m.text.find("already exists. Replace it?") != std::string::npos)
                << m.title << ": " << m.text;
    }
    // Moves a window's folder list away from the samples, presses a button that asks a
    // digitise question (answered Cancel), brings the list back, and returns the file the
    // question says its step reads. `whileAway` looks at the window meanwhile.
    template <class FolderList, class Button>
    std::string digitFileAskedAway(FolderList* folders, Button* ask, const std::function<void()>& whileAway = {}) {
        const std::string away = path("away");
        std::filesystem::create_directories(away);
        EXPECT_TRUE(folders->setPath(QString::fromStdString(away)));
        if (whileAway) whileAway();
        prompt.shown.clear();
        prompt.answer(trelvik::Answer::Cancel);
        ask->click();
        EXPECT_EQ(prompt.shown.size(), 1u);
        const std::string asked = prompt.shown.empty() ? std::string() : prompt.shown[0].readPath;
        EXPECT_TRUE(folders->setPath(QString::fromStdString(dir.folder())));
        return asked;
    }
};

// The curvature window as the guide describes it, and the layouts and column names of
// the tables the R and pandas lines read (guide_windowchecks.cpp).
void checkCurvatureWindow(Example& e);
void checkTableLayouts(Example& e);

} // namespace guidecheck
