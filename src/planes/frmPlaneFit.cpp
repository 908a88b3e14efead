#include "planes/frmPlaneFit.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/error.h"
#include "shell/frmDefDir.h"
#include "surferfns/frmSurfFns.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/elidedlabel.h"
#include "widgets/filelistbox.h"
#include "widgets/windowregistry.h"

namespace trelvik {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& t) { return t.toStdString(); }

QLabel* sunken(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setWordWrap(true);
    return l;
}
} // namespace

frmPlaneFit::frmPlaneFit(AppState& state, Prompt& prompt, planes::PlotGridFn plot, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt, this), plot_(std::move(plot))
{
    setWindowTitle("Fit plane");
    auto* grid = new QGridLayout(this);

    auto* files = new QVBoxLayout;
    Drive1 = new DriveListBox(this);
    DirC = new QPushButton("Dir", this);
    Dir1 = new DirListBox(this);
    // The folder on one line, shortened in the middle when deep (whole in its tool tip):
    // wrapped, a deep one took the height of the number-of-points group.
    Label1 = new ElidedLabel(this, Qt::ElideMiddle);
    Label1->setFrameShape(QFrame::Panel);
    Label1->setFrameShadow(QFrame::Sunken);
    File1 = new FileListBox(this);
    File1->setPattern("*.grd");
    Text1 = new QLineEdit("*.grd", this);
    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(Drive1, 1);
    driveRow->addWidget(DirC);
    files->addLayout(driveRow);
    files->addWidget(Dir1, 1);
    files->addWidget(Label1);
    files->addWidget(File1, 2);
    files->addWidget(Text1);
    grid->addLayout(files, 0, 0, 3, 1);

    auto* fit = new QGroupBox(this);
    auto* gf = new QVBoxLayout(fit);
    auto* description = new QLabel("Fit plane to any number of digitised points from a grid and create plane grid of "
                                   "same dimensions as topographic grid.",
                                   fit);
    description->setWordWrap(true);
    gf->addWidget(description);
    auto* count = new QGroupBox("No. points to fit plane to", fit);
    auto* gc = new QGridLayout(count);
    Option1 = new QRadioButton("All points", count);
    Option2 = new QRadioButton("3 points", count);
    Option3 = new QRadioButton("Other:", count);
    Option1->setChecked(true);
    Text2 = new QLineEdit("4", count);
    Text2->setEnabled(false);
    gc->addWidget(Option1, 0, 0);
    gc->addWidget(Option2, 1, 0);
    gc->addWidget(Option3, 2, 0);
    gc->addWidget(Text2, 2, 1);
    gf->addWidget(count);
    Label4 = sunken(fit);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel("No. of digitised points", fit));
    countRow->addWidget(Label4, 1);
    gf->addLayout(countRow);
    cmdPFit = new QPushButton("Digitise points for plane", fit);
    gf->addWidget(cmdPFit);
    gf->addWidget(new QLabel("Formula (also written to *planeform.txt)", fit));
    txtFormula = new QLineEdit(fit);
    gf->addWidget(txtFormula);
    gf->addWidget(new QLabel("Output: *plane.grd", fit));
    chkIntersectionGrid = new QCheckBox("Make topo-plane intersection grid", fit);
    chkPlotIntersectionGrid = new QCheckBox("Plot intersection grid", fit);
    gf->addWidget(chkIntersectionGrid);
    gf->addWidget(chkPlotIntersectionGrid);
    grid->addWidget(fit, 0, 1);

    auto* occ = new QGroupBox(this);
    auto* go = new QVBoxLayout(occ);
    auto* occText = new QLabel("Find plane perpendicular to occlusal vector using input facet plane. Input "
                               "topographic grid; facet plane grid should be *plane.grd.",
                               occ);
    occText->setWordWrap(true);
    go->addWidget(occText);
    cmdOccVect = new QPushButton("Find occlusal vector", occ);
    go->addWidget(cmdOccVect);
    go->addWidget(new QLabel("Formula (also written to *ovplaneform.txt)", occ));
    txtOVFormula = new QLineEdit(occ);
    go->addWidget(txtOVFormula);
    grid->addWidget(occ, 1, 1);

    cmdExit = new QPushButton("Exit", this);
    grid->addWidget(cmdExit, 2, 1, Qt::AlignRight);

    Drive1->setDrive(QDir::currentPath());
    Dir1->setPath(QDir::currentPath());
    File1->setPath(Dir1->path());

    connect(DirC, &QPushButton::clicked, this, &frmPlaneFit::DirC_Click);
    files_ = FileChooser{Drive1, Dir1, File1, Text1, Label1, false};  // the label waits for a click
    connect(Drive1, &DriveListBox::changed, this, &frmPlaneFit::Drive1_Change);
    connect(Dir1, &DirListBox::changed, this, &frmPlaneFit::Dir1_Change);
    connect(File1, &FileListBox::clicked, this, &frmPlaneFit::File1_Click);
    for (QRadioButton* o : {Option1, Option2, Option3})
        connect(o, &QRadioButton::toggled, this, &frmPlaneFit::Option_Click);
    connect(cmdPFit, &QPushButton::clicked, this, &frmPlaneFit::cmdPFit_Click);
    connect(cmdOccVect, &QPushButton::clicked, this, &frmPlaneFit::cmdOccVect_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmPlaneFit::cmdExit_Click);
}

void frmPlaneFit::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The wrapped texts take more lines at the window's width than the size it opened at
    // allows for: grow to the height they need there, so no frame is squeezed.
    const int need = heightForWidth(width());
    if (need > height()) {
        setMinimumHeight(need);
        resize(width(), need);
    }
}

planes::PlotGridFn frmPlaneFit::plotThroughSurfFns(WindowRegistry& windows)
{
    return [&windows](const std::string& grid, int plotType) {
        auto* fns = qobject_cast<frmSurfFns*>(windows.load("frmSurfFns"));
        if (!fns) throw Error("The Surfer Functions window is not available to plot " + grid);
        fns->PlotSurfer(grid, plotType);
    };
}

planes::PlaneFitForm frmPlaneFit::form() const
{
    planes::PlaneFitForm f;
    // A name typed before any click in the lists is taken from the folder list's folder.
    f.Label1 = files_.folder();
    f.Text1 = s(Text1->text());
    f.PointOption = Option2->isChecked() ? 2 : Option3->isChecked() ? 3 : 1;
    f.Text2 = s(Text2->text());
    f.chkIntersectionGrid = chkIntersectionGrid->isChecked();
    f.chkPlotIntersectionGrid = chkPlotIntersectionGrid->isChecked();
    f.Label4 = s(Label4->text());
    f.txtFormula = s(txtFormula->text());
    f.txtOVFormula = s(txtOVFormula->text());
    return f;
}

template <typename Step> void frmPlaneFit::run(Step step)
{
    planes::PlaneFitForm f = form();
    planes::PlaneFitContext ctx{app_, prompt_, fit_, plot_};
    runGuarded(prompt_, "", [&] { return step(ctx, f); });
    // What the step got to before it stopped is shown, the point count among it.
    Label4->setText(q(f.Label4));
    txtFormula->setText(q(f.txtFormula));
    txtOVFormula->setText(q(f.txtOVFormula));
}

void frmPlaneFit::DirC_Click()
{
    runGuarded(prompt_, "", [this] {
        ShowDefaultDir(app_, files_);
        return true;
    });
}

void frmPlaneFit::Drive1_Change() { files_.driveChanged(); }
void frmPlaneFit::Dir1_Change() { files_.folderChanged(); }

void frmPlaneFit::File1_Click() { files_.fileClicked(); }

void frmPlaneFit::Option_Click() { Text2->setEnabled(Option3->isChecked()); }

void frmPlaneFit::cmdPFit_Click() { run(planes::cmdPFit_Click); }
void frmPlaneFit::cmdOccVect_Click() { run(planes::cmdOccVect_Click); }
void frmPlaneFit::cmdExit_Click() { close(); }

} // namespace trelvik
