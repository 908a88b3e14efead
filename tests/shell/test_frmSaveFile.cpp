// The modal save dialog end to end: its design state, the caller's presets, and the
// outcome left in AppState by OK, Cancel, the close box and the overwrite question.
#include <gtest/gtest.h>

#include "support/qtapp.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "shell/frmSaveFile.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"

using namespace trelvik;
using trelvik::testsupport::ensureApp;

namespace {

class SaveDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApp();
        ASSERT_TRUE(programDir.isValid() && dataDir.isValid());
        state.ProgramDir = programDir.path().toStdString();
        for (const char* n : {"a.txt", "b.csv", "old.csv"}) {
            QFile f(dataDir.path() + "/" + n);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("keep\n");
        }
        // A stale success from an earlier showing must never leak into the next one.
        state.SaveFileOK = true;
        state.SaveFilePath = "/stale/path.csv";
    }
    QString data(const QString& name = {}) const {
        return name.isEmpty() ? QDir::cleanPath(dataDir.path())
                              : QDir::cleanPath(dataDir.path()) + "/" + name;
    }
    QTemporaryDir programDir, dataDir;
    AppState state;
    ScriptedPrompt prompt;
};

} // namespace

TEST_F(SaveDialog, DesignStateStartsInProgramFolderWithFreshOutcome) {
    frmSaveFile dlg(state, prompt);
    EXPECT_EQ(dlg.windowTitle(), "Save File");
    EXPECT_TRUE(dlg.isModal());
    EXPECT_FALSE(state.SaveFileOK);
    EXPECT_EQ(dlg.Label1->text(), "File name:");
    EXPECT_EQ(dlg.Label2->text(), "List files of type:");
    EXPECT_EQ(dlg.Label3->text(), "Folders:");
    EXPECT_EQ(dlg.Label4->text(), "Drives:");
    EXPECT_EQ(dlg.cmdOK->text(), "OK");
    EXPECT_EQ(dlg.cmdCancel->text(), "Cancel");
    EXPECT_TRUE(dlg.txtFileName->text().isEmpty());
    ASSERT_EQ(dlg.cmbFileType->count(), 4);
    EXPECT_EQ(dlg.cmbFileType->itemText(2), "*.dat (dat files)");
    EXPECT_EQ(dlg.cmbFileType->currentText(), "*.csv (comma-delimited files)");
    // The list shows what the type box announces.
    EXPECT_EQ(dlg.File1->pattern(), "*.csv");
    const QString program = QDir::cleanPath(programDir.path());
    EXPECT_EQ(dlg.Dir1->path(), program);
    EXPECT_EQ(dlg.File1->path(), program);
    EXPECT_EQ(dlg.lblFolder->text(), program);
    EXPECT_EQ(prompt.busyNow, false);
}

TEST_F(SaveDialog, CallerPresetsMoveListsAndFolderLabel) {
    frmSaveFile dlg(state, prompt);
    dlg.Drive1->setDrive(data());
    dlg.Dir1->setPath(data());
    EXPECT_EQ(dlg.File1->path(), data());
    EXPECT_EQ(dlg.lblFolder->text(), data());
    EXPECT_EQ(dlg.File1->fileNames(), (QStringList{"b.csv", "old.csv"}));

    dlg.cmbFileType->setCurrentIndex(0);
    dlg.cmbFileType_Click();
    EXPECT_EQ(dlg.File1->fileNames(), QStringList{"a.txt"});
    dlg.cmbFileType->setCurrentIndex(2);
    dlg.cmbFileType_Click();
    EXPECT_EQ(dlg.File1->pattern(), "*.dat");
    dlg.cmbFileType->setCurrentIndex(3);
    dlg.cmbFileType_Click();
    EXPECT_EQ(dlg.File1->count(), 3);
}

TEST_F(SaveDialog, OkJoinsFolderAndNameWithTypeExtension) {
    frmSaveFile dlg(state, prompt);
    dlg.Dir1->setPath(data());
    dlg.txtFileName->setText("testcalc");
    dlg.cmdOK_Click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(state.SaveFileOK);
    EXPECT_EQ(state.SaveFilePath, data("testcalc.csv").toStdString());
    EXPECT_EQ(dlg.txtFileName->text(), "testcalc.csv");
    EXPECT_TRUE(prompt.shown.empty());

    frmSaveFile dat(state, prompt);
    dat.Dir1->setPath(data());
    dat.cmbFileType->setCurrentIndex(2);
    dat.txtFileName->setText("digit");
    dat.cmdOK_Click();
    EXPECT_EQ(state.SaveFilePath, data("digit.dat").toStdString());
}

TEST_F(SaveDialog, EmptyNameAndDeclinedOverwriteKeepDialogOpen) {
    frmSaveFile dlg(state, prompt);
    dlg.show();
    dlg.Dir1->setPath(data());
    dlg.cmdOK_Click();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(state.SaveFileOK);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Enter filename");

    // Double-clicking an existing file asks about it; Cancel keeps the dialog open.
    ASSERT_TRUE(dlg.File1->selectFile("old.csv"));
    prompt.answer(Answer::Cancel);
    dlg.File1_DblClick();
    EXPECT_EQ(dlg.txtFileName->text(), "old.csv");
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].title, "Open file");
    EXPECT_EQ(prompt.shown[1].text, "Overwrite file?");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(state.SaveFileOK);

    // A typed name that becomes an existing file with its extension is asked about too.
    dlg.txtFileName->setText("b");
    prompt.answer(Answer::Ok);
    dlg.cmdOK_Click();
    EXPECT_EQ(prompt.shown.size(), 3u);
    EXPECT_TRUE(state.SaveFileOK);
    EXPECT_EQ(state.SaveFilePath, data("b.csv").toStdString());
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(SaveDialog, CancelAndCloseBoxLeaveNoSuccess) {
    {
        frmSaveFile dlg(state, prompt);
        dlg.txtFileName->setText("x");
        dlg.show();
        dlg.cmdCancel->click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_FALSE(state.SaveFileOK);
    }
    // A success, then a new showing closed by its close box during the modal run.
    {
        frmSaveFile dlg(state, prompt);
        dlg.txtFileName->setText("first");
        dlg.cmdOK_Click();
        ASSERT_TRUE(state.SaveFileOK);
    }
    frmSaveFile dlg(state, prompt);
    EXPECT_FALSE(state.SaveFileOK);
    dlg.txtFileName->setText("second");
    QTimer::singleShot(0, &dlg, [&] { dlg.close(); });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_FALSE(state.SaveFileOK);
}
