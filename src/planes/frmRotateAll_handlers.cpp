// Handlers of the rotation window: list events, the load and reset values, and the
// three buttons that run the procedures of rotategrid.h.
#include "planes/frmRotateAll.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "shell/frmDefDir.h"
#include "surfer/operationprogress.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/progressrun.h"
#include "widgets/writtenfiles.h"

namespace trelvik {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& t) { return t.toStdString(); }
} // namespace

void frmRotateAll::Form_Load()
{
    const QString program = app_.ProgramDir.empty() ? QDir::currentPath() : q(app_.ProgramDir);
    for (DirListBox* d : {Dir1, Dir2, Dir3}) d->setPath(program);
    Text1->setText("*.grd");
    Text2->setText("*.txt");
    Option1->setChecked(true);
    for (QLabel* l : {Label5, Label7, Label12, Label13}) l->clear();
    for (QLineEdit* t : {Text5, Text6}) {
        t->setText("1");
        t->setEnabled(false);
    }
    chkXAxis->setChecked(false);
    chkYAxis->setChecked(false);
    for (QLineEdit* t : {txtXAngle, txtYAngle}) {
        t->blockSignals(true);
        t->setText("0");
        t->blockSignals(false);
        t->setEnabled(false);
    }
    Text3->setText("*.grd");
}

planes::RotateForm frmRotateAll::form() const
{
    planes::RotateForm f;
    f.chkStartSurfer = chkStartSurfer->isChecked();
    // A name typed before any click in the lists is taken from the folder list's folder.
    f.Label1 = grid_.folder();
    f.Text1 = s(Text1->text());
    f.IntervalOption = Option2->isChecked() ? 2 : Option3->isChecked() ? 3 : 1;
    f.Text5 = s(Text5->text());
    f.Text6 = s(Text6->text());
    f.Label5 = s(Label5->text());
    f.Label7 = s(Label7->text());
    f.Label12 = s(Label12->text());
    f.Label13 = s(Label13->text());
    f.Check1 = Check1->isChecked();
    f.Label2 = plane_.folder();
    f.Text2 = s(Text2->text());
    f.Text3 = s(Text3->text());
    f.chkXAxis = chkXAxis->isChecked();
    f.chkYAxis = chkYAxis->isChecked();
    f.txtXAngle = s(txtXAngle->text());
    f.txtYAngle = s(txtYAngle->text());
    return f;
}

template <typename Step> void frmRotateAll::runWriting(Step step, const QString& folder)
{
    WrittenFiles::reportStep(lblStatus, File1, folder, [&] {
        bool done = false;
        run([&](planes::RotateContext& ctx, planes::RotateForm& f) { return done = step(ctx, f); });
        return done;
    });
}

template <typename Step> void frmRotateAll::run(Step step)
{
    planes::RotateForm f = form();
    bool done = false;
    {
        ProgressRun longRun(this, pbrRun, lblRunStep);
        // The blanking, dump and regrid move the bar by their rows.
        const surfer::OperationProgress rows(&longRun.progress());
        planes::RotateContext ctx{app_, prompt_, rot_, longRun.progress()};
        done = runGuarded(prompt_, "", [&] { return step(ctx, f); });
    }
    if (!done) return;
    Label5->setText(q(f.Label5));
    Label7->setText(q(f.Label7));
    Label12->setText(q(f.Label12));
    Label13->setText(q(f.Label13));
    Text5->setText(q(f.Text5));
    Text6->setText(q(f.Text6));
    Text3->setText(q(f.Text3));
}

// The grid's lists lead: the plane and axis pages follow its drive and folder.
void frmRotateAll::Dir1_Change()
{
    grid_.folderChanged();
    Dir2->setPath(Dir1->path());
    Dir3->setPath(Dir1->path());
}

void frmRotateAll::Drive1_Change()
{
    grid_.driveChanged();
    Drive2->setDrive(Drive1->drive());
    Drive3->setDrive(Drive1->drive());
}

void frmRotateAll::Dir2_Change() { plane_.folderChanged(); }
void frmRotateAll::Drive2_Change() { plane_.driveChanged(); }
void frmRotateAll::Dir3_Change() { axes_.folderChanged(); }
void frmRotateAll::Drive3_Change() { axes_.driveChanged(); }
void frmRotateAll::File1_Click() { grid_.fileClicked(); }
void frmRotateAll::File2_Click() { plane_.fileClicked(); }
void frmRotateAll::File3_Click() { axes_.fileClicked(); }

void frmRotateAll::DirC_Click()
{
    runGuarded(prompt_, "", [this] {
        ShowDefaultDir(app_, grid_);
        return true;
    });
}

void frmRotateAll::Option_Click()
{
    Text5->setEnabled(Option3->isChecked());
    Text6->setEnabled(Option3->isChecked());
}

void frmRotateAll::chkXAxis_Click()
{
    txtXAngle->setEnabled(chkXAxis->isChecked());
    rebuildOutputName();
}

void frmRotateAll::chkYAxis_Click()
{
    txtYAngle->setEnabled(chkYAxis->isChecked());
    rebuildOutputName();
}

void frmRotateAll::rebuildOutputName()
{
    Text3->setText(q(planes::RotXYOutputName(rot_.GridBaseName, chkXAxis->isChecked(), chkYAxis->isChecked(),
                                             s(txtXAngle->text()), s(txtYAngle->text()))));
}

// Entering writes beside the grid chosen; a rotation beside the grid entered.
void frmRotateAll::cmdEnterGrid_Click() { runWriting(planes::cmdEnterGrid_Click, q(grid_.folder())); }
void frmRotateAll::cmdRotPlane_Click() { runWriting(planes::cmdRotPlane_Click, q(rot_.GridDir)); }
void frmRotateAll::RotXY_Click() { runWriting(planes::RotXY_Click, q(rot_.GridDir)); }
void frmRotateAll::cmdExit() { close(); }

} // namespace trelvik
