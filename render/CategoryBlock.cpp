// The category block: band, name, picture and introduction text.

#include "CategoryPictureCache.h"
#include "DrawnField.h"
#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PagePass.h"
#include "TextHelpers.h"
#include "Units.h"

#include <algorithm>

namespace {

// The picture of one category for the time of its block: from the cache kept
// across passes, or read from its file and released at the end of the block.
class CategoryPicture {
  public:
    CategoryPicture(CategoryPictureCache* cache, const QString& path) {
        if (cache) {
            picture = &cache->Picture(path);
        } else {
            ReadPictureFile(own, path);
            picture = &own;
        }
    }
    ~CategoryPicture() { FreeDib(own); }
    CategoryPicture(const CategoryPicture&) = delete;
    CategoryPicture& operator=(const CategoryPicture&) = delete;

    // Null when the file could not be read.
    const dib* Get() const {
        if (!picture->poi || DibWidth(*picture) <= 0 || DibHeight(*picture) <= 0) return nullptr;
        return picture;
    }

  private:
    dib own{};
    const dib* picture = nullptr;
};

} // namespace

void PagePass::CategoryBlock(int i) {
    const FieldArray* fields = in.document.Fields(i);
    const bool heading = !fields || fields->Count() == 0;
    previousKind = -1;
    rowHeight = 0;
    if (i > 0) {
        x = L;
        y += G;
    }
    SelectScaledFont(s.font(FontRole::CategoryName), heading ? 1.5 : 1.0);
    const int th = LineHeight();

    // A category starts a new page when fewer than 3 of its lines fit.
    if (y + 3LL * th > BottomLimit()) NewPage(0, i, -1);
    if (!stopped) CategoryBlockOnPage(i);
}

void PagePass::CategoryBlockOnPage(int i) {
    const FormDocument& doc = in.document;
    const FieldArray* fields = doc.Fields(i);
    const bool heading = !fields || fields->Count() == 0;
    const CategoryRecord* record = doc.Record(i);
    // The category font is in force: the decorations of a new page restore it.
    const int th = LineHeight();
    const int band = heading ? 2 * th : th + th / 2;
    if (OnRequestedPage()) {
        if (s.categoryAreaBand) SolidRectangle(s.categoryAreaColour, 0, y, W, y + band);
        if (record && record->picbelow == 0) PictureBeforeName(*record, band);
        QString name = doc.CategoryName(i);
        if (s.categoryNamesInCapitals) name = UpperCaseLetters(name);
        name = StripControlChars(name);
        if (s.categoryNameBand)
            canvas.SetOpaqueText(s.categoryNameColour);
        else
            canvas.SetTransparentText();
        canvas.TextOut(RoundHalfEven(x), ToCoord(y + (heading ? th / 2 : th / 4)), name);
        if (in.fields) {
            DrawnHeading drawnHeading;
            drawnHeading.page = pageCounter;
            drawnHeading.category = i;
            drawnHeading.band = {0, ToCoord(y), W, ToCoord(y + band)};
            in.fields->HeadingDrawn(drawnHeading);
        }
    }
    if (heading) y += th / 2;
    y += 2LL * th;
    x = L;

    if (!record) return;
    std::int64_t pictureTop = y;
    std::int64_t pictureExtent = 0;
    if (record->picbelow == 1) pictureExtent = PictureBelowName(*record);

    const QString intro = ToQString(record->introtext);
    if (!intro.isEmpty()) {
        SelectScaledFont(s.font(FontRole::Description));
        CanvasRect rect{RoundHalfEven(x), ToCoord(y), W - R, ToCoord(y)};
        canvas.MeasureWrappedText(rect, intro);
        if (OnRequestedPage()) canvas.DrawWrappedText(rect, intro);
        y = static_cast<std::int64_t>(rect.bottom) + LineHeight();
    }
    if (record->picbelow == 1 && !record->textbelowpic) y = std::max(y, pictureTop + pictureExtent);
}

void PagePass::PictureBeforeName(const CategoryRecord& record, int bandHeight) {
    CategoryPicture loaded(in.pictures, ToQString(record.picfile));
    const dib* picture = loaded.Get();
    if (!picture) return;
    const std::int64_t pw0 = DibWidth(*picture), ph0 = DibHeight(*picture);
    std::int64_t pw = CmToPixels(record.picwidth, dpi, zoom);
    std::int64_t ph = ph0 * pw / pw0;
    std::int64_t limit = bandHeight;
    if (limit > 2LL * G) limit -= 2LL * G;
    if (ph > limit) {
        ph = limit;
        pw = pw0 * ph / ph0;
    }
    DrawPicture(*picture, RoundHalfEven(x), y + G, ToCoord(pw), ToCoord(ph));
    x += static_cast<double>(pw + G);
}

std::int64_t PagePass::PictureBelowName(const CategoryRecord& record) {
    CategoryPicture loaded(in.pictures, ToQString(record.picfile));
    const dib* picture = loaded.Get();
    if (!picture) return 0;
    const std::int64_t pw0 = DibWidth(*picture), ph0 = DibHeight(*picture);
    const std::int64_t pw = CmToPixels(record.picwidth, dpi, zoom);
    const std::int64_t ph = ph0 * pw / pw0;
    if (OnRequestedPage()) DrawPicture(*picture, RoundHalfEven(x), y, ToCoord(pw), ToCoord(ph));
    if (record.textbelowpic)
        y += ph + G;
    else
        x += static_cast<double>(pw + G);
    return G + ph;
}
