#pragma once
// A document ready to be drawn: the document itself, its background picture
// greyed and lightened as set, its logo, the category pictures decoded so far
// and where each page begins. The preview, printing and the command-line export all draw through
// one of these. It follows the document: a change of a background or logo value prepares that
// picture again, and every change is passed on as changed().

#include "CategoryPictureCache.h"
#include "Dib.h"
#include "LayoutSettings.h"
#include "PageStartIndex.h"
#include "PaintToCanvas.h"

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
    const dib& background() const { return backgroundPicture; }
    const dib& logo() const { return logoPicture; }

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
    LayoutSettings drawn; // the document's values within their ranges
    QString programDir;
    dib backgroundPicture{};
    dib logoPicture{};
    CategoryPictureCache pictures;
    // Kept up to the first place the document changed at.
    PageStartIndex pageStarts;
    using Place = std::pair<int, int>; // category, field (-1: its band)
    std::optional<Place> changedFrom;  // the first place changed since contentChanged
    bool everythingChanged = false;
};
