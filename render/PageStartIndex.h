#pragma once
// Where each page of a laid-out document begins, kept across layout passes:
// drawing page k then starts the pass at page k instead of laying pages 1 to
// k - 1 out again. The owner of the page input keeps one index, hands it in
// through PageInput::pageStarts, and calls Invalidate() whenever the document
// changes (categories, fields, category records). A category picture file
// changed on disk is noticed by the index itself (FollowPictureFiles), as the
// picture cache notices it: a picture of another height moves page breaks.
// Layout values, zoom, resolution, page size and the kind of canvas are
// compared on every use: a layout made with other values is never used, and
// a few layouts (say zoom 100 and 1000) are kept side by side.

#include "Canvas.h"
#include "CategoryPictureCache.h"
#include "LayoutSettings.h"
#include "PaintToCanvas.h"

#include <QHash>
#include <cstdint>
#include <list>
#include <typeindex>
#include <vector>

class FormDocument;

// The state of a layout pass at the moment a page break begins a page: the
// place in the document and everything the pass carries from one page to
// the next.
struct PageStart {
    int category = 0; // the category being laid out
    int field = -1;   // the field that moved to the new page; -1: the category's band did
    double x = 0;
    std::int64_t y = 0;
    std::int64_t rowHeight = 0;
    int previousKind = -1;
    double startX = 0;
    std::int64_t startY = 0;
    int headerHeight = 0, footerHeight = 0;
    CanvasFont font; // the canvas font in force at the break

    bool operator==(const PageStart&) const = default;
};

// What one layout depends on besides the document's content.
struct PageLayoutKey {
    const FormDocument* document = nullptr;
    int categories = 0;
    LayoutSettings settings;
    int printerWidth = 0, printerHeight = 0, printerDpi = 0;
    int dpi = 0;
    double zoom = 0;
    std::type_index canvas = typeid(void); // text is measured by the canvas

    bool operator==(const PageLayoutKey&) const = default;
};

// The page starts of one layout.
class PageLayout {
  public:
    explicit PageLayout(PageLayoutKey key) : key(std::move(key)) {}
    const PageLayoutKey& Key() const { return key; }

    // The start of page `page` or, when that is not known yet, of the nearest
    // page before it; null when only page 1 (the start of the pass) is known.
    const PageStart* NearestStart(int page, int* startPage) const;
    // Records the start of page `page`; pages are recorded in order, a page
    // already known is kept.
    void Record(int page, const PageStart& start);
    // The number of pages once a pass has reached the end of the document, else 0.
    int LastPage() const { return lastPage; }
    void SetLastPage(int pages) { lastPage = pages; }
    // Pages whose start is known, page 1 included.
    int KnownPages() const { return static_cast<int>(starts.size()) + 1; }
    // The last known page that begins at or before field `field` of category
    // (-1: the category's band); 1 when no later page start is known.
    int PageOf(int category, int field) const;
    // Forgets the pages that begin at or after that place, and the end.
    void ForgetFrom(int category, int field);

  private:
    PageLayoutKey key;
    std::vector<PageStart> starts; // starts[k - 2]: page k
    int lastPage = 0;
};

class PageStartIndex {
  public:
    explicit PageStartIndex(int capacity = 4);

    // Drops every layout kept: the document changed.
    void Invalidate();
    // Keeps of every layout only the pages that begin before field `field` of
    // category (-1: its band): the document changed there and nowhere before.
    // A page's start depends on nothing after it.
    void InvalidateFrom(int category, int field);

    // Drops every layout kept when a category picture of the document is not
    // the file it was when they were made (another stamp, or a picture file
    // not seen before). Called at the start of every pass that uses the index.
    void FollowPictureFiles(const FormDocument& document);

    // The layout for key, made empty when none matches; the least recently
    // used layout makes room for it. Valid until the next call.
    PageLayout& LayoutFor(const PageLayoutKey& key);

    // How many layouts are kept (for tests).
    int Layouts() const { return static_cast<int>(layouts.size()); }

  private:
    std::list<PageLayout> layouts; // most recently used first
    int capacity;
    QHash<QString, PictureFileStamp> pictureFiles; // as the kept layouts saw them
};
