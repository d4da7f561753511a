#pragma once
// Reading scanned paper returns: a page printed with marks (PageMarks.h),
// filled in with a pen and scanned, read against the form. The page code says
// which form and page it is and for which sheet it was laid out; the corner
// marks, found anywhere and confirmed by the code, fix the page's perspective
// (PageGeometry.h), and a page whose marks are not all found or do not agree
// with the code is rejected with the reason, never read on a guess. Each
// check box and circle is then found on its printed outline and decided by
// its ink (BoxReading.h): clearly marked "1", clearly empty "0", anything
// between "?". Pixels that are not square (a fax) are made square first.
// Text boxes are read for numbers written by hand (TextBoxReading.h). One
// page at a time: memory does not grow with the number of pages (the pixels
// of a page are read in buffers kept for the next).

#include "FieldMap.h"
#include "OrderColumns.h"
#include "PaintToCanvas.h"
#include "ReturnedPdf.h"
#include "TextBoxReading.h"

#include <QImage>
#include <QPolygonF>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

struct ScanBuffers;

// The value of a box that is neither clearly marked nor clearly empty.
inline const QString kUndecidedMark = QStringLiteral("?");

// What scans are read against: the form's columns, and where its fields land
// on any sheet (laid out once per sheet, as the print run laid them out).
class PaperForm {
  public:
    // input: the form as the print run drew it (its document and settings
    // must outlive this); its printer page is replaced by each code's sheet.
    PaperForm(const OrderForm& form, const PageInput& input);
    ~PaperForm();

    const OrderForm& Form() const { return form; }
    // The fields of the form laid out on the printable page.
    const FieldMap& FieldsOn(const PrinterPage& page);
    // Whether the form's fields spread over more than one page on the paper
    // it is printed on (so that an order can come back in part).
    bool FieldsOnSeveralPages();
    // The width of the boxes' outlines as printed at dpi, in pixels (at least one).
    double LineWidth(int dpi) const;
    // The column of field f of category, or -1.
    int ColumnOf(int category, std::uint32_t field) const;
    // The pixels the pages are read in, kept from one page to the next.
    ScanBuffers& Buffers() { return *buffers; }

  private:
    OrderForm form;
    PageInput input;
    std::map<std::tuple<int, int, int>, std::unique_ptr<FieldMap>> layouts;
    std::unique_ptr<ScanBuffers> buffers;
};

// A box the reader could not decide, or a text box whose writing it did not
// surely read as a number, for the review: its column and where it lies in the scanned image.
struct UndecidedBox {
    int column = -1;
    QPolygonF outline; // the printed box's corners in the image
    bool text = false; // a text box, to be typed in from the scan
};

struct ScannedPage {
    bool ok = false;
    ReturnRejection rejection;
    int page = 0;                    // the form's page, from 1
    int sheetNumber = 0;             // the printed copy's number, 0 when printed without
    std::vector<ReturnedCell> cells; // one per column; present for the page's fields
    std::vector<UndecidedBox> undecided;
    // The text boxes left undecided whose writing was not surely read, by column.
    std::map<int, TextBoxGuess> guesses;
};

// Reads one scanned page (any format, any resolution; upside down too).
ScannedPage ReadScannedPage(const QImage& image, PaperForm& form);

