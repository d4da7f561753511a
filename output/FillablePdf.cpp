// The fillable PDF: the print run into memory, then the form fields over it.
#include "FillablePdf.h"

#include "DrawnField.h"
#include "OrderForm.h"
#include "PdfFormFields.h"
#include "PrintRun.h"

#include <QBuffer>
#include <vector>

namespace {
// Keeps every field the print run draws, in drawing order.
class FieldCollector : public FieldObserver {
  public:
    void FieldDrawn(const DrawnField& field) override { fields.push_back(field); }
    std::vector<DrawnField> fields;
};
} // namespace

int PrintFillablePdf(const PdfPageSetup& setup, const PageInput& pageInput, const QString& jobTitle,
                     const QString& path, FileFailure* failure) {
    FileFailure ignored;
    if (!failure) failure = &ignored;
    // The printed PDF goes into memory; the file is written once, with the form.
    QByteArray printed;
    QBuffer buffer(&printed);
    buffer.open(QIODevice::WriteOnly);
    FieldCollector collector;
    PageInput input = pageInput;
    input.fields = &collector;
    const int pages = PrintToPdfDevice(setup, input, jobTitle, buffer, {}, {}, nullptr, failure);
    if (pages < 0) return -1;
    buffer.close();
    PdfPageGeometry geometry;
    geometry.dpi = setup.dpi;
    // The drawing starts at the printable area's corner.
    geometry.origin = setup.layout.paintRect(QPageLayout::Point).topLeft();
    const QString identity = FormIdentity(pageInput.document, pageInput.settings);
    if (!AddFormFieldsAndWrite(printed, collector.fields, geometry, path, failure, identity))
        return -1;
    return pages;
}
