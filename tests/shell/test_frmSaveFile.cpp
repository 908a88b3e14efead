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

TEST_F(SaveDialog, DesignStateAndTypeBoxDrivingTheList) {
    frmSaveFile dlg(state, prompt);
    EXPECT_TRUE(dlg.isModal());
    EXPECT_FALSE(state.SaveFileOK);
    const QString program = QDir::cleanPath(programDir.path());
    const std::pair<QString, QString> texts[] = {
        {dlg.windowTitle(), "Save File"},         {dlg.Label1->text(), "File name:"},
        {dlg.Label2->text(), "List files of type:"}, {dlg.Label3->text(), "Folders:"},
        {dlg.Label4->text(), "Drives:"},          {dlg.cmdOK->text(), "OK"},
        {dlg.cmdCancel->text(), "Cancel"},        {dlg.txtFileName->text(), ""},
        {dlg.cmbFileType->itemText(2), "*.dat (dat files)"},
        {dlg.cmbFileType->currentText(), "*.csv (comma-delimited files)"},
        {dlg.File1->pattern(), "*.csv"},          {dlg.Dir1->path(), program},
        {dlg.File1->path(), program},             {dlg.lblFolder->text(), program}};
    for (const auto& [got, want] : texts) EXPECT_EQ(got, want);
    EXPECT_EQ(dlg.cmbFileType->count(), 4);

    // A caller's preset folder moves the list and the label; the type box filters.
    dlg.Dir1->setPath(data());
    EXPECT_EQ(dlg.lblFolder->text(), data());
    EXPECT_EQ(dlg.File1->fileNames(), (QStringList{"b.csv", "old.csv"}));
    dlg.cmbFileType->setCurrentIndex(0);
    dlg.cmbFileType_Click();
    EXPECT_EQ(dlg.File1->fileNames(), QStringList{"a.txt"});
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
}

TEST_F(SaveDialog, DeclinedOverwriteKeepsDialogOpen) {
    frmSaveFile dlg(state, prompt);
    dlg.show();
    dlg.Dir1->setPath(data());
    // Double-clicking an existing file asks about it; Cancel keeps the dialog open.
    ASSERT_TRUE(dlg.File1->selectFile("old.csv"));
    prompt.answer(Answer::Cancel);
    dlg.File1_DblClick();
    EXPECT_EQ(dlg.txtFileName->text(), "old.csv");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Overwrite file?");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(state.SaveFileOK);

    // A typed name that becomes an existing file with its extension is asked about too.
    dlg.txtFileName->setText("b");
    prompt.answer(Answer::Ok);
    dlg.cmdOK_Click();
    EXPECT_EQ(prompt.shown.size(), 2u);
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
