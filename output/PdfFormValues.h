#pragma once
// The small parts the fillable PDF's form fields are made of, through qpdf:
// numbers, rectangles and text strings as PDF objects, stream contents, the
// values many fields hold alike, unique field names, and the pipeline that
// hands qpdf's output on to the checked atomic writer.

#include <qpdf/Buffer.hh>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <QHash>
#include <QSet>
#include <QString>
#include <memory>
#include <string>
#include <vector>

class AtomicFileWriter;

// Field flags (PDF reference, table "field flags common to all field types" and after).
constexpr int kMultilineField = 1 << 12;
constexpr int kNoToggleToOffField = 1 << 14;
constexpr int kRadioField = 1 << 15;
// Annotation flag: printed.
constexpr int kPrintedAnnotation = 1 << 2;

// A number as a PDF writes it: at most three decimals, no trailing zeros.
std::string PdfNumber(double v);
// A real number object of that text.
QPDFObjectHandle PdfReal(double v);
// An array of the rectangle's four numbers.
QPDFObjectHandle PdfRectangle(const QPDFObjectHandle::Rectangle& r);
// A text string object (PDFDocEncoding where it can be, else UTF-16).
QPDFObjectHandle PdfText(const QString& text);
std::string Utf8(const QString& text);
// Stream contents holding bytes.
std::shared_ptr<Buffer> PdfBuffer(const std::string& bytes);

// Values that many fields hold alike, each made once and put into every
// dictionary that holds it. qpdf writes a direct object out in full wherever
// it stands, so sharing one in memory changes nothing in the file; it only
// spares making, writing and freeing thousands of equal objects. None of
// them is changed once made.
struct SharedFieldValues {
    using OH = QPDFObjectHandle;
    // The appearance of an empty text field: the printed box shows through.
    std::shared_ptr<Buffer> emptyText = PdfBuffer("/Tx BMC\nEMC\n");
    OH annot = OH::newName("/Annot");
    OH widget = OH::newName("/Widget");
    OH printed = OH::newInteger(kPrintedAnnotation);
    OH textKind = OH::newName("/Tx");
    OH buttonKind = OH::newName("/Btn");
    OH multiLine = OH::newInteger(kMultilineField);
    OH off = OH::newName("/Off");
    OH dingbatsLook = OH::newString("/ZaDb 0 Tf 0 g");
    OH xObject = OH::newName("/XObject");
    OH form = OH::newName("/Form");
    OH noResources = OH::newDictionary();
    OH checkMark = Characteristics("4"); // the check mark of ZapfDingbats
    OH radioDot = Characteristics("l");  // the filled circle of ZapfDingbats

    static OH Characteristics(const char* caption);
};

// Passes the PDF that qpdf writes, in many small pieces, on to the checked
// atomic writer in large blocks.
class AtomicPipeline : public Pipeline {
  public:
    explicit AtomicPipeline(AtomicFileWriter& writer);
    void write(unsigned char const* data, size_t len) override;
    // qpdf's writer finishes its inner pipelines after every stream, and that
    // reaches this last one: it keeps its block, so that the file is written
    // in large pieces and not in one system call per stream.
    void finish() override {}
    // Writes what the block still holds; call once qpdf's writer is done.
    void Flush();

  private:
    static constexpr std::size_t kBlock = 1 << 16;
    AtomicFileWriter& writer;
    std::vector<char> block;
    std::size_t used = 0;
};
