// The conversion window with its writers live: their option frames enabled, and a grid
// converted to DXF and a Tiff text matrix to a grid from the Convert button.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "conversion/frmConversion.h"
#include "convtest.h"
#include "support/qtapp.h"
#include "widgets/filelistbox.h"

#include <filesystem>

using namespace convtest;

TEST(ConversionWindowWriters, FramesLiveAndConvertWritesTheFiles) {
    testsupport::ensureApp();
    ConvRun r;
    r.app.SurferVersion = "SurferV8";
    Grid g(4, 3, 0, 3, 0, 2, 1.5);
    formats::writeSurferGrid(r.dir.path("g.grd"), g, formats::SurferGridFormat::Binary7);
    r.dir.write("m.txt", "1\t2\t3\r\n4\t5\t6\r\n");
    {
        frmConversion w(r.app, r.prompt);
        w.Form_Load();
        for (QGroupBox* f : {w.fraDataType, w.fraWrl, w.fraPiczaCsv, w.fraGrdDat}) EXPECT_TRUE(f->isEnabled());
        w.File1->setPath(QString::fromStdString(r.dir.folder()));
        w.cmbFromFileType->setCurrentText("Surfer grid file (*.grd)");
        w.cmbFromFileType_Click();
        w.cmbToFileType->setCurrentText("AutoCAD DXF file (*.dxf)");
        w.Text1->setText("g.grd");
        w.cmdConvert->click();
        EXPECT_TRUE(std::filesystem::exists(r.dir.path("g.dxf"))) << r.messages();
        EXPECT_EQ(w.txtNoFiles->text(), "0");

        w.cmbFromFileType->setCurrentText("Tiff text file (*.txt)");
        w.cmbFromFileType_Click();
        w.cmbToFileType->setCurrentText("Surfer grid file (*.grd)");
        w.Text1->setText("m.txt");
        w.X_Input_Int->setText("0.5");
        w.Y_Input_Int->setText("0.25");
        w.Z_Input_Height->setText("51");
        w.cmdConvert->click();
        EXPECT_TRUE(std::filesystem::exists(r.dir.path("m.grd"))) << r.messages();
        EXPECT_EQ(w.X_Field->text(), "1.5");  // 3 columns of 0.5
        EXPECT_EQ(w.Y_Field->text(), "0.5");
    }
    EXPECT_TRUE(r.prompt.shown.empty()) << r.messages();
}
