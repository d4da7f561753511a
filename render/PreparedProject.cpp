// The prepared pages kept following the window's document.
#include "PreparedProject.h"

#include "Document.h"
#include "LayoutKeys.h"

PreparedProject::PreparedProject(const Document& document, const QString& dir, QObject* parent)
    : QObject(parent), doc(document), pages(document.form(), document.layout(), dir) {
    PrepareBackground();
    PrepareLogo();
    connect(&doc, &Document::layoutValueChanged, this, &PreparedProject::LayoutValueChanged);
    // A file's values arrive all at once: each picture is prepared once for them.
    connect(&doc, &Document::reset, this, [this] {
        everythingChanged = true; // before the pictures announce themselves
        pages.SetForm(doc.form(), doc.layout());
        PrepareBackground();
        PrepareLogo();
    });
    // A change to a field or a category record keeps the pages before it:
    // only that page and the ones after it are laid out again.
    auto from = [this](int category, int field) {
        const Place place{category, field};
        if (!changedFrom || place < *changedFrom) changedFrom = place;
    };
    connect(&doc, &Document::fieldChanged, this, [from](int c, int f) { from(c, f); });
    connect(&doc, &Document::fieldInserted, this, [from](int c, int f) { from(c, f); });
    connect(&doc, &Document::fieldRemoved, this, [from](int c, int f) { from(c, f); });
    connect(&doc, &Document::fieldMoved, this,
            [from](int c, int a, int b) { from(c, std::min(a, b)); });
    connect(&doc, &Document::categoryChanged, this, [from](int c) { from(c, -1); });
    connect(&doc, &Document::contentChanged, this, [this] {
        FollowChanges();
        emit changed();
    });
    for (auto signal : {&Document::categoryInserted, &Document::categoryRemoved})
        connect(&doc, signal, this, [this] { everythingChanged = true; });
    connect(&doc, &Document::categoryMoved, this, [this] { everythingChanged = true; });
    connect(&doc, &Document::reset, this, [this] { everythingChanged = true; });
    connect(&doc, &Document::layoutValueChanged, this, [this] { everythingChanged = true; });
}

void PreparedProject::FollowChanges() {
    if (!changedFrom && !everythingChanged) return;
    // Anything else than a field or a category record (categories added,
    // removed or moved, a layout value, a file) lays every page out again.
    if (changedFrom && !everythingChanged)
        pages.PagesChangedFrom(changedFrom->first, changedFrom->second);
    else
        pages.AllPagesChanged();
    changedFrom.reset();
    everythingChanged = false;
}

PreparedProject::~PreparedProject() = default;

PageInput PreparedProject::Input(const PrinterPage& printer) {
    // Whoever draws while the document is still announcing a change (a view
    // told of it before this project was) gets pages of the document as it is.
    FollowChanges();
    if (&pages.form() != &doc.form()) pages.SetForm(doc.form(), doc.layout());
    return pages.Input(printer);
}

void PreparedProject::PrepareBackground() {
    pages.PrepareBackground();
    emit backgroundPrepared();
    emit changed();
}

void PreparedProject::PrepareLogo() {
    pages.PrepareLogo();
    emit logoPrepared();
    emit changed();
}

void PreparedProject::LayoutValueChanged(int key) {
    everythingChanged = true; // before a picture announces itself
    pages.SetLayout(doc.layout());
    static const int backgroundKeys[] = {
        LayoutKeyOf(&LayoutSettings::backgroundFile), LayoutKeyOf(&LayoutSettings::tileGrayScale),
        LayoutKeyOf(&LayoutSettings::tileLighten), LayoutKeyOf(&LayoutSettings::tileBrightness),
        LayoutKeyOf(&LayoutSettings::tileSaturation)};
    static const int logoKey = LayoutKeyOf(&LayoutSettings::logoFile);
    for (int k : backgroundKeys)
        if (k == key) return PrepareBackground();
    if (key == logoKey) PrepareLogo();
}
