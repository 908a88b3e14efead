// The operation frames of "Surfer Functions" that prepare grids: blanking, extraction,
// the calculate buttons, regridding and re-zeroing, with their handlers.
#include "surferfns/frmSurfFns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "surferfns/areatable.h"
#include "surferfns/blanking.h"
#include "surferfns/extraction.h"
#include "surferfns/frmSurfFns_layout.h"
#include "surferfns/regrid.h"
#include "surferfns/regridfixres.h"
#include "surferfns/rezero.h"

namespace trelvik {

using namespace surffnslayout;

QGroupBox* frmSurfFns::buildBlankFrame() {
    fraBlank = new QGroupBox("Digitise and blank area", this);
    auto* v = new QVBoxLayout(fraBlank);
    optBlankOutside = new QRadioButton("Outside", fraBlank);
    optBlankInside = new QRadioButton("Inside", fraBlank);
    optBlankMultiInside = new QRadioButton("Multiple inside (bubbles)", fraBlank);
    optBlankMultiTeeth = new QRadioButton("Multiple teeth", fraBlank);
    optBlankOutside->setChecked(true);
    group(fraBlank, {optBlankOutside, optBlankInside, optBlankMultiInside, optBlankMultiTeeth});
    for (QRadioButton* b : {optBlankOutside, optBlankInside, optBlankMultiInside, optBlankMultiTeeth})
        v->addWidget(b);

    auto* teeth = new QGroupBox("Teeth", fraBlank);
    auto* tg = new QGridLayout(teeth);
    static const char* const kTeeth[] = {"i1", "i2", "i3", "c", "p1", "p2", "p3", "p4", "m1", "m2", "m3", "m4"};
    for (int k = 0; k < 12; ++k) {
        chkTeeth[k] = new QCheckBox(kTeeth[k], teeth);
        chkTeeth[k]->setChecked(k >= 8 && k <= 10);  // m1, m2, m3
        tg->addWidget(chkTeeth[k], k / 4, k % 4);
    }
    v->addWidget(teeth);

    chkMultiBlankRegrid = new QCheckBox("Regrid and blank", fraBlank);
    chkBlankUseBlnFile = new QCheckBox("Use existing bln file", fraBlank);
    v->addWidget(chkMultiBlankRegrid);
    v->addWidget(chkBlankUseBlnFile);
    auto* del = new QGridLayout;
    txtBlankDelChar = labelledEdit(del, 0, "Del. no. char. from grd fname (same fname=0, del. 'b150'=4)", "4", fraBlank);
    v->addLayout(del);
    cmdBlank = new QPushButton("Blank", fraBlank);
    v->addWidget(cmdBlank);
    v->addStretch(1);
    return fraBlank;
}

QGroupBox* frmSurfFns::buildExtractFrame() {
    fraExtract = new QGroupBox("Extract smaller grid", this);
    auto* g = new QGridLayout(fraExtract);
    chkRedArea = new QCheckBox("Reduce grid area", fraExtract);
    optRedAreaDig = new QRadioButton("Digitise area", fraExtract);
    optRedAreaMax = new QRadioButton("Max unblanked area", fraExtract);
    optRedAreaMax->setChecked(true);
    group(fraExtract, {optRedAreaDig, optRedAreaMax});
    chkRedRow = new QCheckBox("Reduce no. row/col", fraExtract);
    optRedRowFactor = new QRadioButton("Factor", fraExtract);
    optRedRowMax = new QRadioButton("Max no.", fraExtract);
    optRedRowFactor->setChecked(true);
    group(fraExtract, {optRedRowFactor, optRedRowMax});
    txtRedRowFactor = edit("2", fraExtract);
    txtRedRowMax = edit("100", fraExtract);
    cmdExtract = new QPushButton("Extract", fraExtract);
    g->addWidget(chkRedArea, 0, 0, 1, 2);
    g->addWidget(optRedAreaDig, 1, 0, 1, 2);
    g->addWidget(optRedAreaMax, 2, 0, 1, 2);
    g->addWidget(chkRedRow, 3, 0, 1, 2);
    g->addWidget(optRedRowFactor, 4, 0);
    g->addWidget(txtRedRowFactor, 4, 1);
    g->addWidget(optRedRowMax, 5, 0);
    g->addWidget(txtRedRowMax, 5, 1);
    g->addWidget(cmdExtract, 6, 0, 1, 2);
    return fraExtract;
}

QGroupBox* frmSurfFns::buildCalculateFrame() {
    fraCalculate = new QGroupBox("Calculate", this);
    auto* v = new QVBoxLayout(fraCalculate);
    cmdFixResolution = new QPushButton("Fix resolution", fraCalculate);
    cmdSAVol = new QPushButton("SA and Vol", fraCalculate);
    v->addWidget(cmdFixResolution);
    v->addWidget(cmdSAVol);
    return fraCalculate;
}

QGroupBox* frmSurfFns::buildRegridFrame() {
    fraRegrid = new QGroupBox("Regrid at exact resolution", this);
    auto* g = new QGridLayout(fraRegrid);
    txtExactNoRC = labelledEdit(g, 0, "Exact no.:", "150", fraRegrid);
    optExactNoRC = new QRadioButton("rows/cols", fraRegrid);
    optExactNoR = new QRadioButton("rows (Y)", fraRegrid);
    optExactNoC = new QRadioButton("cols (X)", fraRegrid);
    optExactNoRC->setChecked(true);
    group(fraRegrid, {optExactNoRC, optExactNoR, optExactNoC});
    optRegridGrd = new QRadioButton("Use grid files", fraRegrid);
    optRegridTxt = new QRadioButton("Use txt files", fraRegrid);
    optRegridGrd->setChecked(true);
    group(fraRegrid, {optRegridGrd, optRegridTxt});
    g->addWidget(optExactNoRC, 1, 0, 1, 2);
    g->addWidget(optExactNoR, 2, 0, 1, 2);
    g->addWidget(optExactNoC, 3, 0, 1, 2);
    g->addWidget(optRegridGrd, 4, 0, 1, 2);
    g->addWidget(optRegridTxt, 5, 0, 1, 2);
    txtRegridDelChar = labelledEdit(g, 6, "Del from grd fname", "1", fraRegrid);
    chkRegridIndivTeeth = new QCheckBox("Indiv. teeth (multi teeth blanked)", fraRegrid);
    g->addWidget(chkRegridIndivTeeth, 7, 0, 1, 2);
    cmdRegridExactResol = new QPushButton("Regrid", fraRegrid);
    g->addWidget(cmdRegridExactResol, 8, 0, 1, 2);
    return fraRegrid;
}

QGroupBox* frmSurfFns::buildRezeroFrame() {
    fraRezero = new QGroupBox("Rezero grid", this);
    auto* v = new QVBoxLayout(fraRezero);
    cmdReZero = new QPushButton("Rezero", fraRezero);
    v->addWidget(cmdReZero);
    return fraRezero;
}

void frmSurfFns::cmdBlank_Click() {
    surffns::BlankOptions o;
    o.mode = optBlankInside->isChecked()        ? surffns::BlankMode::Inside
             : optBlankMultiInside->isChecked() ? surffns::BlankMode::MultiInside
             : optBlankMultiTeeth->isChecked()  ? surffns::BlankMode::MultiTeeth
                                                : surffns::BlankMode::Outside;
    for (int k = 0; k < 12; ++k) o.chkTeeth[static_cast<std::size_t>(k)] = chkTeeth[static_cast<std::size_t>(k)]->isChecked();
    o.chkMultiBlankRegrid = chkMultiBlankRegrid->isChecked();
    o.chkBlankUseBlnFile = chkBlankUseBlnFile->isChecked();
    o.txtBlankDelChar = txtBlankDelChar->text().toStdString();
    auto ctx = context();
    runBatch(ctx, [&] { surffns::cmdBlank(ctx, o); });
    showState(ctx);
}

void frmSurfFns::cmdExtract_Click() {
    surffns::ExtractOptions o;
    o.chkRedArea = chkRedArea->isChecked();
    o.optRedAreaDig = optRedAreaDig->isChecked();
    o.chkRedRow = chkRedRow->isChecked();
    o.optRedRowFactor = optRedRowFactor->isChecked();
    o.txtRedRowFactor = txtRedRowFactor->text().toStdString();
    o.txtRedRowMax = txtRedRowMax->text().toStdString();
    auto ctx = context();
    runBatch(ctx, [&] { surffns::cmdExtract(ctx, o); });
    showState(ctx);
}

void frmSurfFns::cmdFixResolution_Click() {
    auto ctx = context();
    runBatch(ctx, [&] { surffns::cmdFixResolution(ctx); });
    showState(ctx);
}

void frmSurfFns::cmdSAVol_Click() {
    auto ctx = context();
    runBatch(ctx, [&] { surffns::cmdSAVol(ctx); });
    showState(ctx);
}

void frmSurfFns::cmdRegridExactResol_Click() {
    surffns::RegridOptions o;
    o.txtExactNoRC = txtExactNoRC->text().toStdString();
    o.axis = optExactNoR->isChecked()   ? surffns::ExactAxis::Rows
             : optExactNoC->isChecked() ? surffns::ExactAxis::Cols
                                        : surffns::ExactAxis::RowsCols;
    o.optRegridTxt = optRegridTxt->isChecked();
    o.txtRegridDelChar = txtRegridDelChar->text().toStdString();
    o.chkRegridIndivTeeth = chkRegridIndivTeeth->isChecked();
    o.optTerrain = optTerrain->isChecked();  // terrain results are looked at as image maps
    auto ctx = context();
    runBatch(ctx, [&] { surffns::cmdRegridExactResol(ctx, o); });
    showState(ctx);
}

void frmSurfFns::cmdReZero_Click() {
    auto ctx = context();
    runBatch(ctx, [&] { surffns::cmdReZero(ctx); });
    showState(ctx);
}

} // namespace trelvik
