#pragma once
// A form and its layout ready to be drawn, without the editor: the layout
// values within their ranges, the background picture greyed and lightened as
// set and the logo (both read when something first draws, never for laying
// pages out alone), the category pictures decoded so far and where each page
// begins. The command line and the collector of returns use it as it is;
// the window's PreparedProject keeps one following its Document.

#include "CategoryPictureCache.h"
#include "Dib.h"
#include "LayoutSettings.h"
#include "PageStartIndex.h"
#include "PaintToCanvas.h"

#include <QString>

class FormDocument;

class PreparedPages {
  public:
    // form must outlive this (or be replaced by SetForm first). programDir:
    // where relative picture names are looked for when missing from the current folder.
    PreparedPages(const FormDocument& form, const LayoutSettings& layout,
                  const QString& programDir);
    ~PreparedPages();
    PreparedPages(const PreparedPages&) = delete;
    PreparedPages& operator=(const PreparedPages&) = delete;

    const FormDocument& form() const { return *formDocument; }
    // The layout values the pages are drawn with: within their ranges.
    const LayoutSettings& drawn() const { return settings; }
    const dib& background() const { return backgroundPicture; }
    const dib& logo() const { return logoPicture; }

    // The page input for a printer page, for drawing: the background and the
    // logo are read first if they are not yet. Valid until the form or layout changes.
    PageInput Input(const PrinterPage& printer = PrinterPage{});
    // The same without the background and the logo, which move nothing: for
    // laying the pages out (where the fields fall) without reading those pictures.
    PageInput LayoutInput(const PrinterPage& printer = PrinterPage{});

    // Reads the background file again and greys and lightens it as set.
    void PrepareBackground();
    // Reads the logo file again.
    void PrepareLogo();

    // Another form or other layout values: every page is laid out again and
    // both pictures are read again when something next draws.
    void SetForm(const FormDocument& form, const LayoutSettings& layout);
    // Other layout values: every page is laid out again (the pictures are
    // read again only by PrepareBackground or PrepareLogo).
    void SetLayout(const LayoutSettings& layout);
    // A change to field f of category c (-1: the category's band) keeps the pages before it.
    void PagesChangedFrom(int category, int field);
    void AllPagesChanged();

  private:
    const FormDocument* formDocument;
    LayoutSettings settings; // within their ranges
    QString programDir;
    dib backgroundPicture{};
    dib logoPicture{};
    bool backgroundRead = false, logoRead = false;
    CategoryPictureCache pictures;
    PageStartIndex pageStarts;
};
