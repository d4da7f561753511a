// The fillable PDF: the print run into memory, then the form fields over it.
#include "FillablePdf.h"

#include "FieldMap.h"
#include "OrderForm.h"
#include "PdfFormFields.h"
#include "PrintRun.h"

#include <QBuffer>
#include <vector>

int PrintFillablePdf(const PdfPageSetup& setup, const PageInput& pageInput, const QString& jobTitle,
                     const QString& path, FileFailure* failure) {
    FileFailure ignored;
    if (!failure) failure = &ignored;
    // The printed PDF goes into memory; the file is written once, with the form.
    QByteArray printed;
    QBuffer buffer(&printed);
    buffer.open(QIODevice::WriteOnly);
    // Where the print run draws each field, in the same pass.
    FieldMap map;
    PageInput input = pageInput;
    input.fields = &map;
    const int pages = PrintToPdfDevice(setup, input, jobTitle, buffer, {}, {}, nullptr, failure);
    if (pages < 0) return -1;
    buffer.close();
    PdfPageGeometry geometry;
    geometry.dpi = setup.dpi;
    // The drawing starts at the printable area's corner.
    geometry.origin = setup.layout.paintRect(QPageLayout::Point).topLeft();
    // The fields are named as every reader of returns names the columns.
    const OrderForm order = MakeOrderForm(pageInput.document, pageInput.settings);
    if (!AddFormFieldsAndWrite(printed, map.Fields(), geometry, order, path, failure)) return -1;
    return pages;
}
