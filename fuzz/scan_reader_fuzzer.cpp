// Feeds the reader of scanned paper returns. An input whose first byte is
// even is a file (an image of any format Qt reads, or a PDF whose pages
// Poppler renders); an odd first byte makes a page from the rest: a page code
// that may lie about its page number and sheet, corner marks moved to wrong
// places, ink in the boxes. The reader must never crash or hang; a page it
// takes gives one value per column, a page it does not take says why.
#include "DrawnField.h"
#include "FormDocument.h"
#include "FuzzApplication.h"
#include "LayoutSettings.h"
#include "OwnedText.h"
#include "PageMarks.h"
#include "PaperReturns.h"
#include "Records.h"
#include "ScanFile.h"

#include <QPainter>
#include <cstdint>
#include <cstdlib>

namespace {

const QString kIdentity = QStringLiteral("5ca25ca25ca25ca25ca25ca25ca25ca2");

struct Form {
    FormDocument doc;
    LayoutSettings settings;
    OrderForm order;
    std::unique_ptr<PaperForm> paper;

    Form() {
        doc.InsertCategory(0, TakenCategory::Make(QStringLiteral("Getränke")));
        int f = 0;
        for (const char* name : {"Wasser", "Saft", "Kaffee"})
            doc.InsertField(0, f++, TakenField::Make(fkCheckBox, QString::fromUtf8(name), 4, 0.6));
        for (const char* name : {"S", "M", "L"})
            doc.InsertField(0, f++, TakenField::Make(fkSingleChoice, QString::fromUtf8(name), 3, 0.6));
        doc.InsertField(0, f++, TakenField::Make(fkText, QStringLiteral("Name"), 8, 1));
        // The columns as the order table makes them: one group of single choices.
        order.identity = kIdentity;
        for (int i = 0; i < f; ++i) {
            const FieldRecord* field = doc.FieldAt(0, i);
            OrderColumn column{ToQString(field->name), field->kind, QString(), QString(), -1, 0};
            if (field->kind == fkSingleChoice) {
                column.group = 0;
                column.indexInGroup = i - 3;
            }
            order.columns.push_back(column);
        }
        order.groupCount = 1;
        paper = std::make_unique<PaperForm>(order, PageInput{doc, settings});
    }
};

void Check(const ScannedPage& page, const Form& form) {
    if (page.ok && page.cells.size() != form.order.columns.size()) std::abort();
    if (!page.ok && page.rejection.reason.isEmpty()) std::abort();
}

// A page at 100 dpi drawn from the bytes.
QImage MadePage(const std::uint8_t* data, std::size_t size, Form& form) {
    auto at = [&](std::size_t i) -> int { return i < size ? data[i] : 0; };
    constexpr int dpi = 100;
    QImage image(827, 1169, QImage::Format_RGB32);
    image.fill(Qt::white);
    MarkedSheet sheet;
    // The code may claim another page or sheet than the page was laid out for.
    PageCode code{kIdentity, 1 + at(0) % 4, sheet};
    if (at(1) & 1) code.sheet.width = 1000 + at(2) * 40;
    if (at(1) & 2) code.sheet.dpi = 72 + at(3) * 9;
    std::vector<CanvasRect> boxes;
    const FieldMap& map = form.paper->FieldsOn({sheet.width, sheet.height, sheet.dpi});
    for (const DrawnField* f : map.OnPage(1))
        boxes.push_back(f->box);
    const PageMarkPlaces places = PlacePageMarks(sheet, boxes);
    QPainter p(&image);
    auto scaled = [&](const CanvasRect& r, int dx, int dy) {
        return QRect(r.left * dpi / 600 + dx, r.top * dpi / 600 + dy,
                     (r.right - r.left) * dpi / 600, (r.bottom - r.top) * dpi / 600);
    };
    for (int k = 0; k < 4; ++k)
        p.fillRect(scaled(places.corners[static_cast<std::size_t>(k)],
                          static_cast<std::int8_t>(at(4 + 2 * k)),
                          static_cast<std::int8_t>(at(5 + 2 * k))),
                   Qt::black);
    int n = 0, m = 1;
    const std::vector<bool> modules = PageCodeModules(PageCodeText(code), &n);
    const CanvasRect symbol = PageCodeSymbol(places.code, n, &m);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (modules[static_cast<std::size_t>(y * n + x)])
                p.fillRect(scaled({symbol.left + x * m, symbol.top + y * m,
                                   symbol.left + (x + 1) * m, symbol.top + (y + 1) * m},
                                  0, 0),
                           Qt::black);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (at(12 + i) & 1)
            p.fillRect(scaled(boxes[i], at(12 + i) % 7 - 3, 0), QColor::fromRgb(at(13 + i) * 0x10101));
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StartFuzzApplication();
    static Form form;
    if (size == 0) return 0;
    if (data[0] % 2 == 1) {
        Check(ReadScannedPage(MadePage(data + 1, size - 1, form), *form.paper), form);
        return 0;
    }
    ScanFile file(QByteArray(reinterpret_cast<const char*>(data + 1),
                             static_cast<qsizetype>(size - 1)));
    ReturnRejection why;
    if (!file.Open(&why)) {
        if (why.reason.isEmpty()) std::abort();
        return 0;
    }
    for (int i = 0; i < std::min(file.PageCount(), 3); ++i) {
        const QImage page = file.Page(i, &why);
        if (page.isNull()) {
            if (why.reason.isEmpty()) std::abort();
            continue;
        }
        Check(ReadScannedPage(page, *form.paper), form);
    }
    return 0;
}
