#pragma once
// The state of one layout pass of PaintToCanvas and the steps that share it:
// the category block (CategoryBlock.cpp), the form fields (FieldLayout.cpp)
// and the page decorations (PageDecorations.cpp).

#include "Canvas.h"
#include "PageStartIndex.h"
#include "PaintToCanvas.h"

#include <cstdint>
#include <functional>

struct FieldRecord;
struct FontRecord;
struct CategoryRecord;

class PagePass {
  public:
    // Draws only page `page` (from 1).
    PagePass(Canvas& canvas, const PageInput& input, int dpi, int width, int height, int page,
             double zoom);
    // Draws every page in turn and calls newPage (when set) at each page break,
    // after the last drawing of the page that ends and before the first drawing
    // of the page that begins.
    PagePass(Canvas& canvas, const PageInput& input, int dpi, int width, int height, double zoom,
             const std::function<void()>& newPage);

    // Lays out the categories until the requested page is complete (every
    // category when drawing every page); returns the page counter at the end:
    // greater than the requested page when a page follows it.
    int Run();
    // The page starts of this pass's layout in the index; null without an index.
    PageLayout* Layout() const { return layout; }

  private:
    // Decorations of the page that begins now; sets header and footer height.
    void BeginPage();
    void DrawBackground();
    void DrawTiles();
    void DrawHeader();
    void DrawFooter();
    void DrawFrame();

    // Continues the pass from a page start kept in the index.
    void Resume(const PageStart& start, int page);
    // The category band, name, picture and introduction text of category i.
    void CategoryBlock(int i);
    // The part of the category block after its page test.
    void CategoryBlockOnPage(int i);
    void PictureBeforeName(const CategoryRecord& record, int bandHeight);
    // Returns the picture's extent below y (0 when it cannot be read).
    std::int64_t PictureBelowName(const CategoryRecord& record);

    // The fields of category i from field `first` on, row by row.
    void LayOutFields(int i, std::uint32_t first = 0);
    void LayoutField(const FieldRecord& field, bool finalRun);
    // One field as LayoutField places it: its size in pixels and where its shape went.
    struct FieldShape {
        double width = 0;        // a text box's width
        double side = 0;         // a text box's height, the side of a square or circle
        std::int64_t height = 0; // side, rounded
        int pen = 0;
        double left = 0;    // the shape's left edge
        int labelWidth = 0; // a single choice's label, which stands on its row
        CanvasRect drawn;   // the shape as drawn, for the field observer
    };
    // Each kind's shape: breaks the row when it must, draws the shape when
    // draw, and moves x to where the label begins.
    void PlaceTextBox(FieldShape& shape, bool draw);
    void PlaceCheckBox(FieldShape& shape, bool draw);
    void PlaceSingleChoice(FieldShape& shape, const QString& label, bool draw);
    // The square of a check box and the circle of a single choice at the current place.
    CanvasRect ChoiceBox(const FieldShape& shape) const;
    // The label: one line per carriage return, from the top of the shape
    // (fromTop) or centred on its height h. Returns the number of lines.
    int LayOutLabel(const QString& label, bool fromTop, std::int64_t h, int th, bool draw);
    // Where the next field begins, from y0, the top of this field's row.
    void AfterField(std::int32_t kind, const FieldShape& shape, std::int64_t y0, bool finalRun);
    // Tells the field observer (if any) where field f of category i was drawn.
    void ReportField(const FieldRecord& field, const CanvasRect& box, int labelLines, int th);
    // The final run of field f of category i, which a page break moved to a new page.
    void FieldOnNewPage(int i, std::uint32_t f);

    // A page break in category i, before field `field` (-1: before the
    // category's band). Ends the pass instead when the page that ends is the
    // requested one.
    void NewPage(std::int64_t top, int category, int field);
    void StartNextPage(std::int64_t top);
    bool OnRequestedPage() const { return everyPage || pageCounter == requested; }
    std::int64_t BottomLimit() const { return H - B - footerHeight; }
    void SelectScaledFont(const FontRecord& font, double factor = 1.0);
    int LineHeight();
    void SetFlatPen(ColourValue colour, int width);
    void SolidRectangle(ColourValue colour, std::int64_t x1, std::int64_t y1, std::int64_t x2,
                        std::int64_t y2);
    void DrawPicture(const struct dib& picture, std::int64_t x, std::int64_t y, int w, int h);

    Canvas& canvas;
    const PageInput& in;
    const LayoutSettings& s;
    double dpi;
    double zoom;
    int width, height; // canvas size
    int requested;
    // Every page is drawn; pageBreak separates them.
    bool everyPage = false;
    const std::function<void()>* pageBreak = nullptr;

    // The page starts of this layout, when an index was handed in.
    PageLayout* layout = nullptr;
    // The requested page is complete: nothing more is laid out.
    bool stopped = false;

    int pageCounter = 1;
    double x = 0;
    std::int64_t y = 0;
    int W = 0, H = 0, L = 0, T = 0, R = 0, B = 0, G = 0;
    int headerHeight = 0, footerHeight = 0;

    // Row state of the field layout, reset for each category.
    std::int64_t rowHeight = 0;
    int previousKind = -1; // -1: no previous field in this category
    // The field LayoutField works on, for the field observer.
    int fieldCategory = 0;
    std::uint32_t fieldIndex = 0;
    double startX = 0;
    std::int64_t startY = 0;
};
