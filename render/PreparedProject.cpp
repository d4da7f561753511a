#include "PreparedProject.h"

#include "Document.h"
#include "PicturePreparation.h"

PreparedProject::PreparedProject(const Document& document, const QString& dir, QObject* parent)
    : QObject(parent), doc(document), drawn(WithinRanges(document.layout())), programDir(dir) {
    PrepareBackground();
    PrepareLogo();
    connect(&doc, &Document::layoutValueChanged, this, &PreparedProject::LayoutValueChanged);
    // A file's values arrive all at once: each picture is prepared once for them.
    connect(&doc, &Document::reset, this, [this] {
        drawn = WithinRanges(doc.layout());
        PrepareBackground();
        PrepareLogo();
    });
    connect(&doc, &Document::contentChanged, this, [this] {
        pageStarts.Invalidate();
        emit changed();
    });
}

PreparedProject::~PreparedProject() {
    FreeDib(backgroundPicture);
    FreeDib(logoPicture);
}

PageInput PreparedProject::Input(const PrinterPage& printer) {
    PageInput input{doc.form(), drawn};
    input.background = &backgroundPicture;
    input.logo = &logoPicture;
    input.printer = printer;
    input.pictures = &pictures;
    input.pageStarts = &pageStarts;
    return input;
}

void PreparedProject::PrepareBackground() {
    const LayoutSettings& s = drawn;
    const BackgroundProcessing processing = BackgroundProcessingOf(s);
    LoadBackground(backgroundPicture, s.backgroundFile, processing, programDir);
    emit backgroundPrepared();
    emit changed();
}

void PreparedProject::PrepareLogo() {
    LoadLogo(logoPicture, doc.layout().logoFile, programDir);
    emit logoPrepared();
    emit changed();
}

void PreparedProject::LayoutValueChanged(int key) {
    drawn = WithinRanges(doc.layout());
    static const int backgroundKeys[] = {
        LayoutKeyOf(&LayoutSettings::backgroundFile), LayoutKeyOf(&LayoutSettings::tileGrayScale),
        LayoutKeyOf(&LayoutSettings::tileLighten), LayoutKeyOf(&LayoutSettings::tileBrightness),
        LayoutKeyOf(&LayoutSettings::tileSaturation)};
    static const int logoKey = LayoutKeyOf(&LayoutSettings::logoFile);
    for (int k : backgroundKeys)
        if (k == key) return PrepareBackground();
    if (key == logoKey) PrepareLogo();
}
