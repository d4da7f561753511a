// The fillable PDF: form fields read back with qpdf lie over the drawn boxes,
// carry unique names, group single choices, can be filled in, and leave the
// printed pages unchanged.
#include "CommandLineExport.h"
#include "DialogAnswerer.h"
#include "Document.h"
#include "DocumentEdits.h"
#include "FieldsTab.h"
#include "FileDialogInput.h"
#include "FillablePdfSupport.h"
#include "MainWindow.h"
#include "PdfFormFields.h"
#include "PreparedProject.h"
#include "PrintController.h"
#include "ProjectFile.h"
#include "ProjectFileController.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// Names in the order the form lists them.
std::vector<std::string> NamesOf(const std::vector<ReadField>& fields, const std::string& kind) {
    std::vector<std::string> names;
    for (const ReadField& f : fields)
        if (f.kind == kind) names.push_back(f.name);
    return names;
}

const ReadField* FieldNamed(const std::vector<ReadField>& fields, const std::string& name) {
    for (const ReadField& f : fields)
        if (f.name == name) return &f;
    return nullptr;
}

class FillablePdfTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ConfigureGlyphCache();
        const int customer = AppendCategory(doc, QStringLiteral("Kunde"));
        AppendField(doc, customer, fkText, QStringLiteral("Name"), 8, 1);
        AppendField(doc, customer, fkText, QStringLiteral("Anschrift"), 10, 3);
        AppendField(doc, customer, fkText, QStringLiteral("Name"), 8, 1);
        AppendField(doc, customer, fkText, QStringLiteral("Preis 1.5 kg"), 6, 1);
        const int size = AppendCategory(doc, QStringLiteral("Größe"));
        for (const char* label : {"S", "M", "L"})
            AppendField(doc, size, fkSingleChoice, QString::fromUtf8(label), 0, 0.5);
        AppendField(doc, size, fkCheckBox, QStringLiteral("Geschenk"), 0, 0.5);
        AppendField(doc, size, fkSingleChoice, QStringLiteral("Rot"), 0, 0.5);
        AppendField(doc, size, fkSingleChoice, QStringLiteral("Blau"), 0, 0.5);
        // A box taller than the rest of page 1 moves to page 2; more follows it.
        const int second = AppendCategory(doc, QStringLiteral("Seite zwei"));
        AppendField(doc, second, fkText, QString(), 18, 15);
        AppendField(doc, second, fkCheckBox, QStringLiteral("Eilig\r\nbitte"), 0, 0.6);
        AppendField(doc, second, fkSingleChoice, QStringLiteral("Ja"), 0, 0.6);
        AppendField(doc, second, fkSingleChoice, QStringLiteral("Nein"), 0, 0.6);
        project = dir.filePath(QStringLiteral("form.qlr"));
        ASSERT_TRUE(WriteProjectFile(project, doc, settings));
    }
    ExportResult Export(const QString& out, const QString& paper = QStringLiteral("A4")) {
        return RunCommandLineExport(
            {QStringLiteral("--fillable-pdf"), out, QStringLiteral("--paper"), paper, project},
            dir.path());
    }

    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings;
    QString project;
};

// Each kind must become its own kind of PDF field, with unique names and groups
// of consecutive single choices.
TEST_F(FillablePdfTest, FieldsHaveTheirKindNameAndGroup) {
    const QString out = dir.filePath(QStringLiteral("form.pdf"));
    const ExportResult r = Export(out);
    ASSERT_EQ(r.status, 0) << r.error.toStdString();
    QPDF pdf;
    pdf.processFile(out.toLocal8Bit().constData());
    const std::vector<ReadField> fields = ReadFormFields(pdf);
    using Names = std::vector<std::string>;
    EXPECT_EQ(NamesOf(fields, "text"), (Names{"Kunde - Name", "Kunde - Anschrift", "Kunde - Name 2",
                                              "Kunde - Preis 1_5 kg", "Seite zwei"}));
    EXPECT_EQ(NamesOf(fields, "check"), (Names{"Größe - Geschenk", "Seite zwei - Eilig bitte"}));
    EXPECT_EQ(NamesOf(fields, "radio"), (Names{"Größe", "Größe 2", "Seite zwei 2"}));
    // Export values are the labels; nothing is ticked at first.
    const std::pair<std::string, Names> groups[] = {{"Größe", {"/S", "/M", "/L"}},
                                                    {"Größe 2", {"/Rot", "/Blau"}},
                                                    {"Seite zwei 2", {"/Ja", "/Nein"}}};
    for (const auto& [name, states] : groups) {
        const ReadField* group = FieldNamed(fields, name);
        ASSERT_NE(group, nullptr) << name;
        Names got;
        for (const ReadWidget& w : group->widgets)
            got.push_back(w.onState);
        EXPECT_EQ(got, states) << name;
        EXPECT_EQ(group->value, "/Off");
        EXPECT_TRUE(group->flags & (1 << 14)) << "ticking a chosen button again keeps it";
    }
    // The three-line box is multi-line, a one-line box is not.
    EXPECT_TRUE(FieldNamed(fields, "Kunde - Anschrift")->flags & (1 << 12));
    EXPECT_FALSE(FieldNamed(fields, "Kunde - Name")->flags & (1 << 12));
    EXPECT_EQ(FieldNamed(fields, "Seite zwei")->widgets.at(0).page, 2);
    // The check box after a 15 cm row does not fit below it: it and the group go to page 3.
    EXPECT_EQ(FieldNamed(fields, "Seite zwei 2")->widgets.at(1).page, 3);
}

// The fields must lie on the drawn boxes, squares and circles, on page 1 and
// on later pages, on A4 and on Letter.
TEST_F(FillablePdfTest, FieldsLieOnTheDrawnShapes) {
    for (const QString& paper : {QStringLiteral("A4"), QStringLiteral("Letter")}) {
        SCOPED_TRACE(paper.toStdString());
        const QString out = dir.filePath(QStringLiteral("form.pdf"));
        ASSERT_EQ(Export(out, paper).status, 0);
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdfPrinter(printer, QString(), paper);
        Document loaded;
        ProjectReadResult read = ReadProjectFileFromPath(project, LayoutSettings());
        ASSERT_TRUE(read.ok());
        loaded.Reset(std::move(read.document), read.settings);
        PreparedProject shown(loaded, dir.path());
        const std::vector<DrawnShape> shapes = ShapesOfPrintRun(printer, shown.Input());

        QPDF pdf;
        pdf.processFile(out.toLocal8Bit().constData());
        const double pageHeight = paper == QStringLiteral("A4") ? 841.89 : 792;
        const double scale = 72.0 / printer.resolution();
        int matched = 0, onLaterPages = 0;
        for (const ReadField& field : ReadFormFields(pdf))
            for (const ReadWidget& w : field.widgets) {
                const bool ellipse = field.kind == "radio";
                const auto near = [&](const DrawnShape& s) {
                    const double top = pageHeight - s.rect.top * scale;
                    // A text field starts below the label standing in the box's top line.
                    const bool topFits = field.kind == "text"
                                             ? w.rect.ury <= top + 1 && w.rect.ury >= top - 30
                                             : std::abs(w.rect.ury - top) <= 1;
                    return s.page == w.page && s.ellipse == ellipse &&
                           std::abs(w.rect.llx - s.rect.left * scale) <= 1 &&
                           std::abs(w.rect.urx - s.rect.right * scale) <= 1 &&
                           std::abs(w.rect.lly - (pageHeight - s.rect.bottom * scale)) <= 1 &&
                           topFits;
                };
                EXPECT_TRUE(std::any_of(shapes.begin(), shapes.end(), near))
                    << field.name << " page " << w.page;
                ++matched;
                if (w.page >= 2) ++onLaterPages;
            }
        EXPECT_EQ(matched, 14);
        EXPECT_EQ(onLaterPages, 4);
    }
}

// A text field without a label covers its whole box.
TEST_F(FillablePdfTest, UnlabelledTextFieldCoversItsBox) {
    const QString out = dir.filePath(QStringLiteral("form.pdf"));
    ASSERT_EQ(Export(out).status, 0);
    QPDF pdf;
    pdf.processFile(out.toLocal8Bit().constData());
    const auto fields = ReadFormFields(pdf);
    const ReadField* big = FieldNamed(fields, "Seite zwei");
    ASSERT_NE(big, nullptr);
    const auto& rect = big->widgets.at(0).rect;
    // 18 x 15 cm, plus half the pen on the right and at the bottom.
    EXPECT_NEAR(rect.urx - rect.llx, 18 / 2.54 * 72, 1.5);
    EXPECT_NEAR(rect.ury - rect.lly, 15 / 2.54 * 72, 1.5);
}

// Values filled in through the library must survive saving and reading back,
// and ticking one button of a group must clear the others.
TEST_F(FillablePdfTest, FilledValuesAreKept) {
    const QString out = dir.filePath(QStringLiteral("form.pdf"));
    ASSERT_EQ(Export(out).status, 0);
    std::string filled;
    {
        QPDF pdf;
        pdf.processFile(out.toLocal8Bit().constData());
        QPDFAcroFormDocumentHelper form(pdf);
        for (QPDFFormFieldObjectHelper& f : form.getFormFields()) {
            const std::string name = f.getFullyQualifiedName();
            if (name == "Kunde - Anschrift") f.setV("Müller\nHauptstraße 1");
            if (name == "Größe - Geschenk") f.setV(QPDFObjectHandle::newName("/Yes"));
            if (name == "Größe") {
                f.setV(QPDFObjectHandle::newName("/S"));
                f.setV(QPDFObjectHandle::newName("/M"));
            }
        }
        form.generateAppearancesIfNeeded();
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        filled.assign(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
    }
    QPDF back;
    back.processMemoryFile("filled", filled.data(), filled.size());
    const std::vector<ReadField> fields = ReadFormFields(back);
    EXPECT_EQ(FieldNamed(fields, "Kunde - Anschrift")->value, "Müller\nHauptstraße 1");
    EXPECT_EQ(FieldNamed(fields, "Größe - Geschenk")->value, "/Yes");
    EXPECT_EQ(FieldNamed(fields, "Größe")->value, "/M");
    EXPECT_EQ(FieldNamed(fields, "Größe 2")->value, "/Off");
    // Only the chosen button shows as on.
    QPDFAcroFormDocumentHelper form(back);
    std::vector<std::string> states;
    for (QPDFFormFieldObjectHelper& f : form.getFormFields())
        if (f.getFullyQualifiedName() == "Größe")
            for (QPDFAnnotationObjectHelper& a : form.getAnnotationsForField(f))
                states.push_back(a.getAppearanceState());
    EXPECT_EQ(states, (std::vector<std::string>{"/Off", "/M", "/Off"}));
}

// The fillable PDF must not differ from the printed one where nothing is filled in.
TEST_F(FillablePdfTest, PagesLookLikeThePrintedPdf) {
    const QString fillable = dir.filePath(QStringLiteral("fillable.pdf"));
    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    ASSERT_EQ(Export(fillable).status, 0);
    ASSERT_EQ(
        RunCommandLineExport({QStringLiteral("--print-pdf"), printed, project}, dir.path()).status,
        0);
    for (int page : {1, 2, 3}) {
        const QImage a = RasterisedPage(fillable, page), b = RasterisedPage(printed, page);
        ASSERT_FALSE(a.isNull());
        ASSERT_EQ(a.size(), b.size());
        int differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                        std::abs(qBlue(p) - qBlue(q)) >
                    48)
                    ++differing;
            }
        EXPECT_LE(differing, 4) << "page " << page;
    }
}

// Buttons of one size share their appearance streams: ticking one of them
// must show that one ticked and no other, in a raster of the filled PDF.
TEST_F(FillablePdfTest, OnlyTheTickedButtonsShowTicked) {
    FormDocument buttons;
    const int extras = AppendCategory(buttons, QStringLiteral("Extras"));
    for (const char* label : {"Karte", "Band", "Tasche"})
        AppendField(buttons, extras, fkCheckBox, QString::fromUtf8(label), 0, 0.5);
    const int colour = AppendCategory(buttons, QStringLiteral("Farbe"));
    for (const char* label : {"Rot", "Grün", "Blau"})
        AppendField(buttons, colour, fkSingleChoice, QString::fromUtf8(label), 0, 0.5);
    const QString source = dir.filePath(QStringLiteral("buttons.qlr"));
    ASSERT_TRUE(WriteProjectFile(source, buttons, settings));
    const QString out = dir.filePath(QStringLiteral("buttons.pdf"));
    ASSERT_EQ(
        RunCommandLineExport({QStringLiteral("--fillable-pdf"), out, source}, dir.path()).status,
        0);
    const QString filled = dir.filePath(QStringLiteral("filled.pdf"));
    {
        QPDF pdf;
        pdf.processFile(out.toLocal8Bit().constData());
        QPDFAcroFormDocumentHelper form(pdf);
        std::set<QPDFObjGen> ticks;
        for (QPDFFormFieldObjectHelper& f : form.getFormFields()) {
            if (f.isCheckbox())
                ticks.insert(
                    f.getObjectHandle().getKey("/AP").getKey("/N").getKey("/Yes").getObjGen());
            if (f.getFullyQualifiedName() == "Extras - Band")
                f.setV(QPDFObjectHandle::newName("/Yes"));
            if (f.getFullyQualifiedName() == "Farbe") f.setV(QPDFObjectHandle::newName("/Grün"));
        }
        ASSERT_EQ(ticks.size(), 1u) << "the check boxes share their ticked look";
        const QByteArray filledName = filled.toLocal8Bit(); // the writer keeps the pointer
        QPDFWriter writer(pdf, filledName.constData());
        writer.write();
    }
    QPDF pdf;
    pdf.processFile(filled.toLocal8Bit().constData());
    const QImage page = RasterisedPage(filled, 1, 100);
    ASSERT_FALSE(page.isNull());
    const double pageTop =
        QPDFPageDocumentHelper(pdf).getAllPages().at(0).getMediaBox().getArrayAsRectangle().ury;
    // Dark pixels in the middle half of a button, away from its printed outline.
    auto darkInside = [&](const QPDFObjectHandle::Rectangle& r) {
        const double s = 100 / 72.0, w = r.urx - r.llx, h = r.ury - r.lly;
        int dark = 0;
        for (int y = int((pageTop - r.ury + h / 4) * s); y < int((pageTop - r.lly - h / 4) * s);
             ++y)
            for (int x = int((r.llx + w / 4) * s); x < int((r.urx - w / 4) * s); ++x)
                if (qGray(page.pixel(x, y)) < 128) ++dark;
        return dark;
    };
    std::vector<std::pair<std::string, bool>> shown;
    for (const ReadField& f : ReadFormFields(pdf))
        for (const ReadWidget& w : f.widgets)
            shown.emplace_back(f.kind == "radio" ? w.onState : f.name, darkInside(w.rect) > 2);
    using Shown = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(shown, (Shown{{"Extras - Karte", false},
                            {"Extras - Band", true},
                            {"Extras - Tasche", false},
                            {"/Rot", false},
                            {"/Grün", true},
                            {"/Blau", false}}));
}

// The file must be complete: qpdf reads every object back without repairing
// anything (a block of output left unwritten would need repairs).
TEST_F(FillablePdfTest, ExportIsACompletePdf) {
    const QString out = dir.filePath(QStringLiteral("form.pdf"));
    ASSERT_EQ(Export(out).status, 0);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith("%%EOF\n"));
    QPDF pdf;
    pdf.processFile(out.toLocal8Bit().constData());
    EXPECT_FALSE(pdf.getAllObjects().empty());
    EXPECT_FALSE(pdf.anyWarnings());
}

// A file that cannot be written must end the export with status 1 and the
// reason, and the next export must still succeed.
TEST_F(FillablePdfTest, WriteFailureIsReported) {
    const QString out = dir.filePath(QStringLiteral("missing/form.pdf"));
    const ExportResult failed = Export(out);
    EXPECT_EQ(failed.status, 1);
    EXPECT_FALSE(failed.error.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
    const QString good = dir.filePath(QStringLiteral("form.pdf"));
    ASSERT_EQ(Export(good).status, 0);
    QPDF pdf;
    pdf.processFile(good.toLocal8Bit().constData());
    EXPECT_EQ(ReadFormFields(pdf).size(), 10u);
}

// A damaged project file must end the export with status 1, a clear message
// and no output file.
TEST_F(FillablePdfTest, DamagedProjectFails) {
    QFile broken(dir.filePath(QStringLiteral("broken.qlr")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    const char damaged[] = "\x05\x00\x00\x00Kat\xff\xff\xff\x7f";
    broken.write(QByteArray(damaged, sizeof damaged - 1));
    broken.close();
    const QString out = dir.filePath(QStringLiteral("never.pdf"));
    const ExportResult r = RunCommandLineExport(
        {QStringLiteral("--fillable-pdf"), out, broken.fileName()}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.error.contains(QStringLiteral("damaged"))) << r.error.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

// Field names must be valid PDF field names that still say what the field is.
TEST(FormFieldNameTest, NamesJoinCategoryAndLabel) {
    const struct {
        const char *category, *label, *name;
    } cases[] = {
        {"Getränke", "Tee", "Getränke - Tee"},
        {"Getränke", "Wasser 0.5 l", "Getränke - Wasser 0_5 l"},
        {"Kat", "zwei\r\nZeilen", "Kat - zwei Zeilen"},
        {"Kat", "", "Kat"},
        {"", "", "Feld"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormFieldName(QString::fromUtf8(c.category), QString::fromUtf8(c.label)),
                  QString::fromUtf8(c.name));
}

// The menu command must ask for the file and write the fillable PDF there.
TEST_F(FillablePdfTest, MenuCommandExportsIntoTheChosenFile) {
    auto form = std::make_unique<MainWindow>(dir.path(), QStringList());
    form->show();
    form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    SetUpPdfPrinter(form->printing().CurrentPrinter(), QString());
    ASSERT_TRUE(form->files().LoadProject(project));
    auto* item = form->findChild<QAction*>(QStringLiteral("AusfuellbaresPDF1"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Als ausfüllbares PDF exportieren..."));
    auto* file = form->findChild<QMenu*>(QStringLiteral("Datei1"));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->actions().contains(item));
    const QString out = dir.filePath(QStringLiteral("chosen.pdf"));
    DialogAnswerer answer([&](QWidget* w) { TypeFileName(qobject_cast<QFileDialog*>(w), out); });
    item->trigger();
    answer.Verify();
    QPDF pdf;
    pdf.processFile(out.toLocal8Bit().constData());
    EXPECT_EQ(ReadFormFields(pdf).size(), 10u); // 5 text fields, 2 check boxes, 3 groups
    form->document().MarkUnchanged();
}

} // namespace
