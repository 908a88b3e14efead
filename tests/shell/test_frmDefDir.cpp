// "Set Default Directory": its controls, the "Dir" button and what "Update dir and
// exit" leaves in the settings file.
#include <gtest/gtest.h>

#include "support/qtapp.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "shell/frmDefDir.h"
#include "shell/settings.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"

using namespace trelvik;
using trelvik::testsupport::ensureApp;

namespace {

class DefDir : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApp();
        ASSERT_TRUE(programDir.isValid() && dataDir.isValid());
        state.ProgramDir = programDir.path().toStdString();
        data = QDir::cleanPath(dataDir.path());
        QDir(data).mkdir("chosen");
    }
    void writeSettings(const QByteArray& content) {
        QFile f(programDir.path() + "/Trelgo.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray readSettings() const {
        QFile f(programDir.path() + "/Trelgo.ini");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir programDir, dataDir;
    QString data;
    AppState state;
    ScriptedPrompt prompt;
};

} // namespace

TEST_F(DefDir, UpdateStoresChosenFolderAndKeepsVersion) {
    writeSettings("/old/dir\r\nSurferV6\r\n");
    frmDefDir w(state, prompt);
    EXPECT_EQ(w.windowTitle(), "Set Default Directory");
    EXPECT_EQ(w.DirC->text(), "Dir");
    EXPECT_EQ(w.cmdUpdateDefDir->text(), "Update dir and exit");
    EXPECT_EQ(w.Dir1->path(), QDir::cleanPath(QDir::currentPath()));  // no default directory known
    {
        state.DefaultDir = data.toStdString();
        frmDefDir onDefault(state, prompt);
        EXPECT_EQ(onDefault.Dir1->path(), data);
    }
    w.show();
    w.Dir1->setPath(data + "/chosen");
    EXPECT_EQ(w.lblDefDir->text(), data + "/chosen");
    w.cmdUpdateDefDir->click();
    EXPECT_EQ(readSettings(), (data + "/chosen\r\nSurferV6\r\n").toUtf8());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(DefDir, UpdateWithNothingChosenKeepsStoredDirectory) {
    writeSettings("/old/dir\r\nSurferV8\r\n");
    frmDefDir w(state, prompt);
    w.show();
    w.cmdUpdateDefDir->click();
    EXPECT_EQ(readSettings(), "/old/dir\r\nSurferV8\r\n");
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DefDir, DirButtonJumpsToStoredFolderOrAsksForANewOne) {
    writeSettings((data + "/chosen\r\nSurferV8\r\n").toUtf8());
    frmDefDir w(state, prompt);
    w.DirC->click();
    EXPECT_EQ(w.Dir1->path(), data + "/chosen");
    EXPECT_EQ(w.lblDefDir->text(), data + "/chosen");
    EXPECT_EQ(w.Drive1->drive(), DriveListBox::driveOf(data, DriveListBox::listDrives()));
    EXPECT_TRUE(prompt.shown.empty());

    // A stored folder that has gone: a message, and the lists stay where they were.
    writeSettings((data + "/gone\r\nSurferV8\r\n").toUtf8());
    w.Dir1->setPath(data);
    w.DirC->click();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Trelvik");
    EXPECT_EQ(prompt.shown[0].text, "Choose a new default directory and save.");
    EXPECT_EQ(w.Dir1->path(), data);
    EXPECT_EQ(w.lblDefDir->text(), data);
}
