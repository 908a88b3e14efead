// The cusp volume and occlusion relief windows opened from the main menu: their
// controls with the design values, the main buttons run end to end through the
// controls, File > New unloading the cusp volume window, reopening afresh.
#include "cuspvolrun.h"

#include "shell/frmStartup.h"
#include "support/qtapp.h"
#include "toothfeatures/frmCuspOR.h"
#include "toothfeatures/frmCuspVol.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

using namespace cuspvoltest;

namespace {

struct Env {
    CuspVolTestRun files{false, 41};
    std::unique_ptr<frmStartup> main;

    Env()
    {
        testsupport::ensureApp();
        files.app.DefaultDir = files.dir.folder();
        files.app.SurferVersion = "SurferV8";
        main = std::make_unique<frmStartup>(files.app, files.prompt);
        main->setWindowFactory("frmCuspVol", [this] { return new frmCuspVol(files.app, files.prompt); });
        main->setWindowFactory("frmCuspOR", [this] { return new frmCuspOR(files.app, files.prompt); });
    }
    ~Env()
    {
        main.reset();
        QApplication::processEvents();
    }
    template <typename W> W* open(QAction* item, const char* name)
    {
        item->trigger();
        return qobject_cast<W*>(main->windows().find(name));
    }
    // Cusp volume opened, its list loaded with Dir and T1.grd input as the topo grid;
    // nullptr when the window or the grid is not there.
    frmCuspVol* openWithTopoGrid()
    {
        frmCuspVol* w = open<frmCuspVol>(main->mnuCuspVol, "frmCuspVol");
        if (!w) return nullptr;
        w->Command2->click();
        if (!w->File3->selectFile("T1.grd")) return nullptr;
        w->File3_Click();
        w->Command3->click();
        return w;
    }
};

QStringList labelTexts(const QWidget* w)
{
    QStringList out;
    for (const QLabel* l : w->findChildren<QLabel*>()) out << l->text();
    return out;
}

} // namespace

TEST(frmCuspVolWindow, DesignValuesAndAWholeMeasurementThroughTheControls)
{
    Env env;
    frmCuspVol* w = env.open<frmCuspVol>(env.main->mnuCuspVol, "frmCuspVol");
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Cusp Volume");
    const std::pair<QString, QString> captions[] = {
        {w->Command2->text(), "Dir"}, {w->Text7->text(), "*.grd"},
        {w->Command3->text(), "Input topo grid"}, {w->Command6->text(), "Input plane grid"},
        {w->chkInputTLFile->text(), "Read TL file"}, {w->Text1->text(), "50"},
        {w->chkReadPlane->text(), "Read plane file automat."},
        {w->chkPlaneOpt->text(), "Optional text for plane file"}, {w->txtPlaneOpt->text(), "ov"},
        {w->Label3->text(), ""}, {w->Label5->text(), ""}, {w->Label7->text(), ""},
        {w->Text5->text(), "25"}, {w->Text10->text(), "20"}, {w->lblDist->text(), "500"},
        {w->Text8->text(), ""}, {w->Command5->text(), "Blank and analyse grids"},
        {w->Command11->text(), "Calculate"}, {w->Command1->text(), "Next cusp"},
        {w->chkAutoCalc->text(), "Automatically calculate"}, {w->Check1->text(), "Erase temp grids"},
        {w->cmdExit->text(), "Exit"}, {w->Combo1->currentText(), ""}, {w->Label14->text(), ""}};
    for (const auto& [got, want] : captions) EXPECT_EQ(got, want);
    for (QCheckBox* box : {w->chkInputTLFile, w->chkReadPlane, w->chkPlaneOpt, w->chkAutoCalc, w->Check1})
        EXPECT_TRUE(box->isChecked()) << box->text().toStdString();
    EXPECT_FALSE(w->Command6->isEnabled());
    EXPECT_EQ(w->File3->pattern(), "*.grd");
    // The plane's boxes hold a full number without clipping it.
    for (QLabel* box : {w->Label3, w->Label5})
        EXPECT_GE(box->contentsRect().width(), box->fontMetrics().horizontalAdvance("-0.00569230769230769"));
    QStringList cusps;
    for (int i = 0; i < w->Combo1->count(); ++i) cusps << w->Combo1->itemText(i);
    EXPECT_EQ(cusps, (QStringList{"Paracone", "Metacone", "Protocone", "Paraconid", "Protoconid", "Metaconid",
                                  "Entoconid", "Hypoconid"}));
    const QStringList texts = labelTexts(w);
    for (const char* fixed : {"Inputted grids should be in format:", "topo: [name].grd",
                              "plane: [name] + [optional] + plane.grd",
                              "plane formula: [name] + [optional] + planeform.txt", "tl file: [name] + _tl.txt",
                              "Plane formula file must be in same directory", "Divide TL by", "From file",
                              "Cusp name", "Interval size", "No. of intervals", "Distance", "Min", "Max",
                              "Max to use"})
        EXPECT_TRUE(texts.contains(fixed)) << fixed;

    w->chkReadPlane->click();
    EXPECT_TRUE(w->Command6->isEnabled());
    w->chkReadPlane->click();
    w->Text10->setText("4");
    EXPECT_EQ(w->lblDist->text(), "100");

    // Dir, pick the grid, input, choose the cusp, outline: the table is written.
    w->Command2->click();
    EXPECT_EQ(w->Label1->text().toStdString(), env.files.dir.folder());
    ASSERT_TRUE(w->File3->selectFile("T1.grd"));
    w->File3_Click();
    EXPECT_EQ(w->Text7->text(), "T1.grd");
    w->Command3->click();
    EXPECT_EQ(w->Text5->text(), "0.4");
    EXPECT_EQ(w->Label7->text(), "20");
    EXPECT_EQ(w->Label3->text(), "0.2");
    EXPECT_EQ(w->Label5->text(), "-0.1");
    w->Combo1->setCurrentText("Hypoconid");
    w->Combo1_Click();
    EXPECT_EQ(w->Label14->text(), "hyd");
    env.files.digitise(circleOutline(7, 32));
    w->Command5->click();
    EXPECT_EQ(w->Label12->text(), "Done");
    EXPECT_EQ(w->Label13->text(), "Done");
    EXPECT_EQ(w->Label8->text(), "8");
    EXPECT_EQ(w->Text8->text(), "8");
    EXPECT_FALSE(w->Label7->text().isEmpty());
    const std::string table = env.files.dir.read("T1hyd-20_cuspvolresults.csv");
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 6);

    w->Command1->click();
    EXPECT_EQ(w->Label14->text(), "");
    EXPECT_EQ(w->Text8->text(), "");
    EXPECT_EQ(w->Label12->text(), "");
    EXPECT_EQ(w->Combo1->currentText(), "Hypoconid");
    // A name typed and entered joins no list, so the list never shows one the code table lacks.
    w->Combo1->setEditText("Hypocone");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w->Combo1->lineEdit(), &enter);
    EXPECT_EQ(w->Combo1->count(), 8);

    // File > New unloads the window; the menu builds a fresh one.
    QPointer<frmCuspVol> old = w;
    env.main->mnuNew->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(old.isNull());
    w = env.open<frmCuspVol>(env.main->mnuCuspVol, "frmCuspVol");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Text5->text(), "25");
    EXPECT_TRUE(w->state().TopoGrid.empty());
}

// A topo grid input again discards the cusp blanked before, and with it the heights and
// "Done" marks that would invite a Calculate it refuses.
TEST(frmCuspVolWindow, InputTopoGridClearsTheEarlierCuspsHeightsAndDoneMarks)
{
    Env env;
    frmCuspVol* w = env.openWithTopoGrid();
    ASSERT_TRUE(w);
    w->Text10->setText("1");
    w->Combo1->setCurrentText("Hypoconid");
    w->Combo1_Click();
    env.files.digitise(circleOutline(7, 32));
    w->Command5->click();
    ASSERT_EQ(w->Label13->text(), "Done");

    w->Command3->click();
    for (const QLabel* box : {w->Label6, w->Label8, w->Label12, w->Label13})
        EXPECT_TRUE(box->text().isEmpty()) << box->text().toStdString();
    EXPECT_TRUE(w->Text8->text().isEmpty()) << w->Text8->text().toStdString();
}

// The plane's coefficients keep their captions once they are read: each caption stands
// left of its box on the box's own row.
TEST(frmCuspVolWindow, PlaneCoefficientsKeepTheirCaptionsBesideTheirBoxes)
{
    Env env;
    frmCuspVol* w = env.openWithTopoGrid();
    ASSERT_TRUE(w);
    ASSERT_EQ(w->Label3->text(), "0.2");
    QApplication::processEvents();
    for (const auto& [caption, box] : {std::pair{"PlaneX", w->Label3}, std::pair{"PlaneY", w->Label5}}) {
        const QLabel* shown = nullptr;
        for (const QLabel* l : w->findChildren<QLabel*>())
            if (l->text() == caption) shown = l;
        ASSERT_TRUE(shown) << caption;
        const QRect c(shown->mapTo(w, QPoint(0, 0)), shown->size()), b(box->mapTo(w, QPoint(0, 0)), box->size());
        EXPECT_LT(c.right(), b.left()) << caption;
        EXPECT_TRUE(b.top() <= c.center().y() && c.center().y() <= b.bottom()) << caption;
    }
}

TEST(frmCuspORWindow, DesignValuesAndTheTwoSteps)
{
    Env env;
    frmCuspOR* w = env.open<frmCuspOR>(env.main->mnuCuspOR, "frmCuspOR");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), "Calculate average cusp occlusion relief");
    const std::pair<QString, QString> captions[] = {
        {w->DirC->text(), "Dir"}, {w->Text2->text(), "*.grd"},
        {w->cmdDigProf->text(), "Digitise groove profile"}, {w->cmdDigOccVect->text(), "Digitise occlusal vector"},
        {w->Text1->text(), "1"}, {w->Label9->text(), ""}, {w->cmdNextGrid->text(), "Next grid"},
        {w->cmdExit->text(), "Exit"}, {w->Label3->text(), ""}};
    for (const auto& [got, want] : captions) EXPECT_EQ(got, want);
    EXPECT_EQ(w->File2->pattern(), "*.grd");
    const QStringList texts = labelTexts(w);
    for (const char* fixed : {"Input grid filename (*.grd)", "Tolerance required",
                              "Calculates average distance between line of occlusal vector and profile along tooth "
                              "groove (e.g. trigon groove)."})
        EXPECT_TRUE(texts.contains(fixed)) << fixed;
    EXPECT_TRUE(texts.contains(QString::fromUtf8("Tolerance interval (\u00b5m)")));
    QStringList frames;
    for (const QGroupBox* g : w->findChildren<QGroupBox*>()) frames << g->title();
    EXPECT_TRUE(frames.contains("Groove profile"));
    EXPECT_TRUE(frames.contains("Occlusal vector"));

    // No grid chosen yet.
    w->cmdDigProf->click();
    EXPECT_EQ(env.files.prompt.shown.back().text, "Choose grid filename");

    // A name typed before any click lies in the folder the list shows, not in the root.
    w->Dir2->setPath(QString::fromStdString(env.files.dir.folder()));
    w->Text2->setText("T1.grd");
    env.files.prompt.respond([&](const ScriptedPrompt::Shown&) {
        writeFileAtomic(env.files.dir.path("digit.dat"), "-9,0\r\n9,0\r\n");
        return Answer::Ok;
    });
    w->cmdDigProf->click();
    EXPECT_GT(w->state().profile.count(), 2) << env.files.prompt.shown.back().text;

    w->DirC->click();
    ASSERT_TRUE(w->File2->selectFile("T1.grd"));
    w->File2_Click();
    // Across the cusp of T1 (tip 8 at the centre) from one side to the other.
    env.files.prompt.respond([&](const ScriptedPrompt::Shown&) {
        writeFileAtomic(env.files.dir.path("digit.dat"), "-9,0\r\n9,0\r\n");
        return Answer::Ok;
    });
    w->cmdDigProf->click();
    EXPECT_GT(w->state().profile.count(), 2);
    env.files.prompt.respond([&](const ScriptedPrompt::Shown&) {
        writeFileAtomic(env.files.dir.path("digit1.dat"), "-9,0.2\r\n9,-0.2\r\n");
        return Answer::Ok;
    });
    w->cmdDigOccVect->click();
    EXPECT_EQ(w->Label9->text(), "1");
    EXPECT_TRUE(FileExists(env.files.dir.path("T1_corresults.csv")));
    EXPECT_TRUE(w->lblStatus->text().contains("T1_corresults.csv")) << w->lblStatus->text().toStdString();
    // The tolerance box is one line high, however tall the window.
    w->resize(w->width(), w->height() + 200);
    QApplication::processEvents();
    EXPECT_LT(w->Label9->height(), 2 * w->Label9->fontMetrics().height());
    w->cmdNextGrid->click();
    EXPECT_EQ(w->Text2->text(), "*.grd");
    EXPECT_EQ(w->Label9->text(), "");
}

TEST(frmCuspORWindow, ASecondPressWhileTheDigitiseQuestionWaitsDoesNothing)
{
    Env env;
    frmCuspOR* w = env.open<frmCuspOR>(env.main->mnuCuspOR, "frmCuspOR");
    ASSERT_TRUE(w);
    w->Dir2->setPath(QString::fromStdString(env.files.dir.folder()));
    w->Text2->setText("T1.grd");
    auto press = [](QPushButton* b) {
        const QPointF at = QRectF(b->rect()).center();
        QMouseEvent down(QEvent::MouseButtonPress, at, b->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
        QMouseEvent up(QEvent::MouseButtonRelease, at, b->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                       Qt::NoModifier);
        QApplication::sendEvent(b, &down);
        QApplication::sendEvent(b, &up);
    };
    int questions = 0;
    env.files.prompt.respond([&](const ScriptedPrompt::Shown& s) {
        ++questions;
        press(w->cmdDigProf);  // the user presses the button again while the question shows
        press(w->cmdDigOccVect);
        writeFileAtomic(env.files.dir.path("digit.dat"), "-9,0\r\n9,0\r\n");
        return s.title == "Digitise map" ? Answer::Ok : Answer::Cancel;
    });
    press(w->cmdDigProf);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(env.files.prompt.shown.size(), 1u) << env.files.prompt.shown.back().text;
    EXPECT_GT(w->state().profile.count(), 2);
}
