// A form and its layout prepared for drawing, pictures read on first drawing.
#include "PreparedPages.h"

#include "LayoutKeys.h"
#include "PicturePreparation.h"

PreparedPages::PreparedPages(const FormDocument& form, const LayoutSettings& layout,
                             const QString& dir)
    : formDocument(&form), settings(WithinRanges(layout)), programDir(dir) {}

PreparedPages::~PreparedPages() {
    FreeDib(backgroundPicture);
    FreeDib(logoPicture);
}

PageInput PreparedPages::Input(const PrinterPage& printer) {
    if (!backgroundRead) PrepareBackground();
    if (!logoRead) PrepareLogo();
    PageInput input = LayoutInput(printer);
    input.background = &backgroundPicture;
    input.logo = &logoPicture;
    return input;
}

PageInput PreparedPages::LayoutInput(const PrinterPage& printer) {
    PageInput input{*formDocument, settings};
    input.printer = printer;
    input.pictures = &pictures;
    input.pageStarts = &pageStarts;
    return input;
}

void PreparedPages::PrepareBackground() {
    LoadBackground(backgroundPicture, settings.backgroundFile, BackgroundProcessingOf(settings),
                   programDir);
    backgroundRead = true;
}

void PreparedPages::PrepareLogo() {
    LoadLogo(logoPicture, settings.logoFile, programDir);
    logoRead = true;
}

void PreparedPages::SetForm(const FormDocument& form, const LayoutSettings& layout) {
    formDocument = &form;
    SetLayout(layout);
    backgroundRead = logoRead = false;
}

void PreparedPages::SetLayout(const LayoutSettings& layout) {
    settings = WithinRanges(layout);
    pageStarts.Invalidate();
}

void PreparedPages::PagesChangedFrom(int category, int field) {
    pageStarts.InvalidateFrom(category, field);
}

void PreparedPages::AllPagesChanged() {
    pageStarts.Invalidate();
}
