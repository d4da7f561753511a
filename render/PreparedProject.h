#pragma once
// The window's document ready to be drawn: PreparedPages (PreparedPages.h)
// kept following a Document. A change of a background or logo value prepares
// that picture again at once, a change of fields keeps the page starts before
// it, and every change is passed on as changed(). The preview, the page view
// and printing from the window draw through it.

#include "PreparedPages.h"

#include <QObject>
#include <QString>
#include <optional>
#include <utility>

class Document;

class PreparedProject : public QObject {
    Q_OBJECT
  public:
    // programDir: where relative picture names are looked for when missing
    // from the current folder. Prepares both pictures at once.
    PreparedProject(const Document& document, const QString& programDir, QObject* parent = nullptr);
    ~PreparedProject() override;
    PreparedProject(const PreparedProject&) = delete;
    PreparedProject& operator=(const PreparedProject&) = delete;

    const Document& document() const { return doc; }
    const dib& background() const { return pages.background(); }
    const dib& logo() const { return pages.logo(); }

    // The page input for a printer page. Valid until the document changes.
    PageInput Input(const PrinterPage& printer = PrinterPage{});

    // Reads the background file again and greys and lightens it as set.
    void PrepareBackground();
    // Reads the logo file again.
    void PrepareLogo();

  signals:
    void backgroundPrepared();
    void logoPrepared();
    // Anything that can change a page: the document or a prepared picture.
    void changed();

  private:
    void LayoutValueChanged(int key);
    // Drops the kept page starts from the first place changed on.
    void FollowChanges();

    const Document& doc;
    PreparedPages pages;
    using Place = std::pair<int, int>; // category, field (-1: its band)
    std::optional<Place> changedFrom;  // the first place changed since contentChanged
    bool everythingChanged = false;
};
