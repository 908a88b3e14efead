// The four tabs of the "Curvature" window: their controls with the captions and values
// of a freshly opened window.
#include "toothfeatures/frmCurvature.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "surferfns/frmSurfFns_layout.h"
#include "toothfeatures/nametables.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/elidedlabel.h"
#include "widgets/filelistbox.h"
#include "widgets/progressrun.h"

namespace trelvik::toothfeatures {

using namespace surffnslayout;

namespace {

QLabel* panel(QWidget* parent, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(60);
    l->setWordWrap(true);
    return l;
}

// Drive, folder and file lists with their "Dir" button and folder label, one column.
void listColumn(QWidget* tab, QGridLayout* g, DriveListBox*& drive, QPushButton*& dirButton, DirListBox*& dir,
                QLabel*& label, FileListBox*& files) {
    drive = new DriveListBox(tab);
    dirButton = new QPushButton("Dir", tab);
    dir = new DirListBox(tab);
    label = panel(tab);
    files = new FileListBox(tab);
    files->setPattern("*.grd");
    g->addWidget(drive, 0, 0);
    g->addWidget(dirButton, 0, 1);
    g->addWidget(dir, 1, 0, 1, 2);
    g->addWidget(label, 2, 0, 1, 2);
    g->addWidget(files, 3, 0, 1, 2);
}

} // namespace

QWidget* frmCurvature::buildSmoothTab() {
    auto* tab = new QWidget(SSTab2);
    auto* g = new QGridLayout(tab);
    listColumn(tab, g, Drive1, Command10, Dir1, Label1, File1);
    g->addWidget(new QLabel("Grid filename", tab), 4, 0, 1, 2);
    Text1 = new QLineEdit("*.grd", tab);
    g->addWidget(Text1, 5, 0, 1, 2);

    auto* smooth = new QGroupBox("Smoothing", tab);
    auto* sg = new QGridLayout(smooth);
    txtNoSmooth = labelledEdit(sg, 0, "No. of times to smooth", "3", smooth);
    auto* method = new QGroupBox("Method", smooth);
    auto* mv = new QVBoxLayout(method);
    optSmAverage = new QRadioButton("Average", method);
    optSmGauss = new QRadioButton("Gaussian (v8)", method);
    optSmAverage->setChecked(true);
    group(method, {optSmAverage, optSmGauss});
    mv->addWidget(optSmAverage);
    mv->addWidget(optSmGauss);
    sg->addWidget(method, 1, 0, 1, 2);
    txtNoRow = labelledEdit(sg, 2, "No. row/col", "9", smooth);
    txtWeight = labelledEdit(sg, 3, QString::fromUtf8("Weight/\u03b1"), "4", smooth);
    Command2 = new QPushButton("Smoothing", smooth);
    sg->addWidget(Command2, 4, 0, 1, 2);

    auto* all = new QGroupBox("All angles", tab);
    auto* ag = new QGridLayout(all);
    Text3 = labelledEdit(ag, 0, "Angle interval", "10", all);
    txtScaleBar = labelledEdit(ag, 1, "Scale bar", "0.05", all);
    Command4 = new QPushButton("Curvature", all);
    ag->addWidget(Command4, 2, 0, 1, 2);
    // The run's status lines are longer than the frame is wide; they must not widen the window.
    lblCurveStep = new ElidedLabel(all);
    pbrCurve = makeRunBar(all);
    ag->addWidget(lblCurveStep, 3, 0, 1, 2);
    ag->addWidget(pbrCurve, 4, 0, 1, 2);

    auto* ov = new QGroupBox("Occlusal angle", tab);
    auto* og = new QGridLayout(ov);
    Command15 = new QPushButton("Curvature", ov);
    Label12 = panel(ov);
    og->addWidget(Command15, 0, 0);
    og->addWidget(Label12, 0, 1);

    Command8 = new QPushButton("Exit", tab);
    auto* right = new QVBoxLayout;
    right->addWidget(smooth);
    right->addWidget(all);
    right->addWidget(ov);
    right->addStretch(1);
    right->addWidget(Command8);
    g->addLayout(right, 0, 2, 6, 1);
    g->setRowStretch(3, 1);
    return tab;
}

QWidget* frmCurvature::buildInputTab() {
    auto* tab = new QWidget(SSTab2);
    auto* g = new QGridLayout(tab);
    listColumn(tab, g, Drive3, Command12, Dir3, Label3, File3);
    g->addWidget(new QLabel("Grid filename", tab), 4, 0, 1, 2);
    Text7 = new QLineEdit("*.grd", tab);
    g->addWidget(Text7, 5, 0, 1, 2);

    auto* right = new QVBoxLayout;
    Command3 = new QPushButton("Input smoothed topo grid", tab);
    Command6 = new QPushButton("Input curvature grid and plot", tab);
    Command6->setEnabled(false);
    chkInputCurvGrid = new QCheckBox("Input curvature grid automat.", tab);
    chkInputCurvGrid->setChecked(true);
    auto* names = new QGridLayout;
    // The name text on a row of its own, wide enough to show whole.
    names->addWidget(new QLabel("Curvature grid text", tab), 0, 0, 1, 2);
    txtInputCurvText = new QLineEdit("_fwa9,4x3_curv10", tab);
    txtInputCurvText->setMinimumWidth(txtInputCurvText->fontMetrics().horizontalAdvance("_fwa99,99x99_curv10") + 12);
    names->addWidget(txtInputCurvText, 1, 0, 1, 2);
    Check1 = new QCheckBox("Plot curv grid", tab);
    txtScaleBarI = labelledEdit(names, 2, "Scale bar", "0.05", tab);
    Label17 = new QLabel("Choose the topo grid (e.g. tooth.grd). The curvature grid is taken as its folder and "
                         "base name, the text above and .grd (e.g. tooth_fwa9,4x3_curv10.grd, as smoothing and "
                         "curvature of tooth.grd name it).",
                         tab);
    Label17->setWordWrap(true);
    Command7 = new QPushButton("Exit", tab);
    right->addWidget(Command3);
    right->addWidget(chkInputCurvGrid);
    right->addLayout(names);
    right->addWidget(Check1);
    right->addWidget(Command6);
    right->addWidget(Label17);
    right->addStretch(1);
    right->addWidget(Command7);
    g->addLayout(right, 0, 2, 6, 1);
    g->setRowStretch(3, 1);
    return tab;
}

QWidget* frmCurvature::buildSliceTab() {
    auto* tab = new QWidget(SSTab2);
    auto* g = new QGridLayout(tab);
    g->addWidget(new QLabel("Crest name", tab), 0, 0);
    Combo1 = new QComboBox(tab);
    Combo1->setEditable(true);
    // A name typed and entered joins no list: the list holds the crests with a code.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& name : crestNames()) Combo1->addItem(QString::fromStdString(name));
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText("");
    Combo1->setMinimumWidth(170);
    Label14 = panel(tab);
    g->addWidget(Combo1, 0, 1);
    g->addWidget(Label14, 0, 2);
    chkCID = new QCheckBox("Use CrestID", tab);
    g->addWidget(chkCID, 1, 0, 1, 3);
    txtCrestLength = labelledEdit(g, 2, "Approximate crest length", "1.0", tab);
    chkAltValuesS = new QCheckBox("Alternate between two values:", tab);
    chkAltValuesS->setChecked(true);
    txtAltS1 = edit("0.5", tab);
    txtAltS2 = edit("1.0", tab);
    auto* alt = new QHBoxLayout;
    alt->addWidget(chkAltValuesS);
    alt->addWidget(txtAltS1);
    alt->addWidget(txtAltS2);
    alt->addStretch(1);
    g->addLayout(alt, 3, 0, 1, 3);
    g->addWidget(new QLabel("Current grid", tab), 4, 0);
    lblCurrentGridS = panel(tab);
    g->addWidget(lblCurrentGridS, 4, 1, 1, 2);
    Command5 = new QPushButton("Slice and analyse grids", tab);
    chkCalcSliceAuto = new QCheckBox("Calculate auto.", tab);
    chkCalcSliceAuto->setChecked(true);
    g->addWidget(Command5, 5, 0, 1, 2);
    g->addWidget(chkCalcSliceAuto, 5, 2);

    auto* range = new QGridLayout;
    range->addWidget(new QLabel("Min", tab), 0, 1);
    range->addWidget(new QLabel("Max", tab), 0, 2);
    range->addWidget(new QLabel("From file", tab), 1, 0);
    Label6 = panel(tab);
    Label8 = panel(tab);
    range->addWidget(Label6, 1, 1);
    range->addWidget(Label8, 1, 2);
    range->addWidget(new QLabel("Range to use", tab), 2, 0);
    Label9 = panel(tab);
    Text8 = edit("", tab, 90);
    range->addWidget(Label9, 2, 1);
    range->addWidget(Text8, 2, 2);
    // Curvatures come with up to 15 digits and an exponent: each shows whole on one line,
    // Min and Max alike wide.
    for (QLabel* number : {Label6, Label8, Label9}) {
        number->setWordWrap(false);
        number->setText("-0.00000000000000E-00");
        number->setMinimumWidth(number->sizeHint().width());
        number->clear();
    }
    range->setColumnStretch(1, 1);
    range->setColumnStretch(2, 1);
    g->addLayout(range, 6, 0, 1, 3);
    Text6 = labelledEdit(g, 7, "Interval size", "0.05", tab);
    Text10 = labelledEdit(g, 8, "No. of intervals", "10", tab);
    Command11 = new QPushButton("Calculate", tab);
    Command1 = new QPushButton("Next crest", tab);
    Command9 = new QPushButton("Exit", tab);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command11);
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    buttons->addWidget(Command9);
    g->addLayout(buttons, 9, 0, 1, 3);
    g->setRowStretch(10, 1);
    return tab;
}

QWidget* frmCurvature::buildAreaTab() {
    auto* tab = new QWidget(SSTab2);
    auto* g = new QGridLayout(tab);
    g->addWidget(new QLabel("Digitise cusp area and calculate.", tab), 0, 0, 1, 3);
    optAreaSquare = new QRadioButton("Curvature of square area", tab);
    optAreaIrreg = new QRadioButton("Curvature of irregular area", tab);
    optAreaSquare->setChecked(true);
    group(tab, {optAreaSquare, optAreaIrreg});
    g->addWidget(optAreaSquare, 1, 0, 1, 3);
    Text5 = labelledEdit(g, 2, QString::fromUtf8("Length of square (\u00b5m)"), "20", tab);
    g->addWidget(new QLabel(QString::fromUtf8("Area of cusp (\u00b5m\u00b2)"), tab), 3, 0);
    Label25 = panel(tab, "400");
    g->addWidget(Label25, 3, 1);
    chkAltValues = new QCheckBox("Alternate between two values:", tab);
    chkAltValues->setChecked(true);
    txtAlt1 = edit("50", tab);
    txtAlt2 = edit("100", tab);
    auto* alt = new QHBoxLayout;
    alt->addWidget(chkAltValues);
    alt->addWidget(txtAlt1);
    alt->addWidget(txtAlt2);
    alt->addStretch(1);
    g->addLayout(alt, 4, 0, 1, 3);
    chkUsePrevDig = new QCheckBox("Use previously digitised point", tab);
    chkUsePrevDig->setChecked(true);
    g->addWidget(chkUsePrevDig, 5, 0, 1, 3);
    g->addWidget(optAreaIrreg, 6, 0, 1, 3);
    Text4 = labelledEdit(g, 7, "Number or text to distinguish area", "", tab);
    Text4->setMaximumWidth(120);

    auto* units = new QGroupBox("Units of grid", tab);
    auto* uh = new QHBoxLayout(units);
    optUnitsMM = new QRadioButton("mm", units);
    optUnitsUM = new QRadioButton(QString::fromUtf8("\u00b5m"), units);
    optUnitsMM->setChecked(true);
    group(units, {optUnitsMM, optUnitsUM});
    uh->addWidget(optUnitsMM);
    uh->addWidget(optUnitsUM);
    g->addWidget(units, 8, 0, 1, 3);
    g->addWidget(new QLabel("Current grid", tab), 9, 0);
    lblCurrentGridA = panel(tab);
    g->addWidget(lblCurrentGridA, 9, 1, 1, 2);
    Command13 = new QPushButton("Digitise area", tab);
    Command14 = new QPushButton("Exit", tab);
    g->addWidget(Command13, 10, 0);
    g->addWidget(Command14, 10, 2);
    g->setRowStretch(11, 1);
    return tab;
}

} // namespace trelvik::toothfeatures
