#pragma once
// Shared by the viewer-window tests: the application, a window on a temporary folder,
// point files made from a height function and the save window answered by a name.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "csvview/frmCSVView.h"
#include "shell/frmSaveFile.h"
#include "support/qtapp.h"
#include "test_csvhelpers.h"
#include "widgets/dirlistbox.h"

namespace frmtest {

// x, y, z lines of a cols x rows lattice at x = 1..cols, y = 1..rows.
inline void writeLattice(const std::string& path, int cols, int rows, const std::function<double(int, int)>& z) {
    std::string t;
    for (int y = 1; y <= rows; ++y)
        for (int x = 1; x <= cols; ++x)
            t += std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z(x, y)) + "\r\n";
    csvtest::writeText(path, t);
}

// Answers the next save window with `name` and OK (or Cancel when name is empty).
inline void answerSaveWindow(const QString& name, int tries = 50) {
    QTimer::singleShot(10, [name, tries] {
        auto* dlg = qobject_cast<trelvik::frmSaveFile*>(QApplication::activeModalWidget());
        if (!dlg) {
            if (tries > 0) answerSaveWindow(name, tries - 1);
            return;
        }
        if (name.isEmpty()) {
            dlg->cmdCancel->click();
            return;
        }
        dlg->txtFileName->setText(name);
        dlg->cmdOK->click();
    });
}

class ViewerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        trelvik::testsupport::ensureApp();
        ASSERT_TRUE(dir.isValid());
        state.ProgramDir = dir.path().toStdString();
        w = std::make_unique<trelvik::csvview::frmCSVView>(state, prompt);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->Dir1->setPath(dir.path());
    }
    std::string path(const std::string& name) const { return (dir.path() + "/").toStdString() + name; }
    void read(const char* name) {
        w->Text1->setText(name);
        w->cmdReadCSV->click();
    }
    std::string messages() const {
        std::string all;
        for (const auto& m : prompt.shown) all += m.title + ": " + m.text + "\n";
        return all;
    }
    QTemporaryDir dir;
    trelvik::AppState state;
    trelvik::ScriptedPrompt prompt;
    std::unique_ptr<trelvik::csvview::frmCSVView> w;
};

} // namespace frmtest
