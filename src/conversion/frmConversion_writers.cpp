// The converters that write grids and lattices to other formats (Picza, VRML, Tiff
// text and Tiff elevation, CSV lattices, DAT, XYZ, DXF): each runs its procedure of
// conversion/writerconverters.h in the window's run frame.
#include "conversion/frmConversion.h"

#include <QLineEdit>

#include "conversion/writerconverters.h"

namespace trelvik {

void frmConversion::ConvertPIX_GRD() { runConverter([](conversion::ConvContext& c) { conversion::ConvertPIX_GRD(c); }); }
void frmConversion::ConvertPIX_CSV() { runConverter([](conversion::ConvContext& c) { conversion::ConvertPIX_CSV(c); }); }
void frmConversion::ConvertGRD_PIX() { runConverter([](conversion::ConvContext& c) { conversion::ConvertGRD_PIX(c); }); }
void frmConversion::ConvertGRD_WRL() { runConverter([](conversion::ConvContext& c) { conversion::ConvertGRD_WRL(c); }); }
void frmConversion::ConvertTIFF_WRL() { runConverter([](conversion::ConvContext& c) { conversion::ConvertTIFF_WRL(c); }); }
void frmConversion::ConvertCSV_WRL() { runConverter([](conversion::ConvContext& c) { conversion::ConvertCSV_WRL(c); }); }
void frmConversion::ConvertCSV_TIF() { runConverter([](conversion::ConvContext& c) { conversion::ConvertCSV_TIF(c); }); }
void frmConversion::ConvertGRD_DAT() { runConverter([](conversion::ConvContext& c) { conversion::ConvertGRD_DAT(c); }); }
void frmConversion::ConvertGRD_XYZ() { runConverter([](conversion::ConvContext& c) { conversion::ConvertGRD_XYZ(c); }); }
void frmConversion::ConvertGRD_DXF() { runConverter([](conversion::ConvContext& c) { conversion::ConvertGRD_DXF(c); }); }

void frmConversion::ConvertTIFF_GRD() {
    // In voxel mode the fields of view it works out are shown in their boxes.
    std::string xField = X_Field->text().toStdString(), yField = Y_Field->text().toStdString();
    runConverter([&](conversion::ConvContext& c) {
        conversion::ConvertTIFF_GRD(c);
        xField = c.opt.X_Field;
        yField = c.opt.Y_Field;
    });
    X_Field->setText(QString::fromStdString(xField));
    Y_Field->setText(QString::fromStdString(yField));
}

} // namespace trelvik
