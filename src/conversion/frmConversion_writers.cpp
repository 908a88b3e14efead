// The converters that write grids and lattices to other formats (Picza, VRML, Tiff
// text and Tiff elevation, CSV lattices, DAT, XYZ, DXF). Their controls stay disabled
// while writersAvailable() is false, and each converter then says that the window
// does not make that kind of file.
#include "conversion/frmConversion.h"

#include <QComboBox>

namespace trelvik {

namespace {
void notMade(Prompt& prompt, const QComboBox* from, const QComboBox* to) {
    prompt.busy(false);
    prompt.message("File type", "Trelvik does not convert " + from->currentText().toStdString() + " to " +
                                    to->currentText().toStdString() + ".");
}
} // namespace

bool frmConversion::writersAvailable() { return false; }

void frmConversion::ConvertPIX_GRD() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertPIX_CSV() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertGRD_PIX() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertGRD_WRL() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertTIFF_GRD() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertTIFF_WRL() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertCSV_WRL() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertCSV_TIF() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertGRD_DAT() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertGRD_XYZ() { notMade(prompt_, cmbFromFileType, cmbToFileType); }
void frmConversion::ConvertGRD_DXF() { notMade(prompt_, cmbFromFileType, cmbToFileType); }

} // namespace trelvik
