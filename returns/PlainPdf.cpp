// Reading plain PDF files: objects where the cross-reference table puts
// them, and the tables themselves.
#include "PlainPdf.h"

#include "PlainPdfLexer.h"

#include <qpdf/QPDFObjectHandle.hh>

#include <cstring>
#include <limits>
#include <string_view>

using namespace plain_pdf;

namespace {

constexpr int kMaxSections = 1000;
constexpr std::size_t kNoSection = std::numeric_limits<std::size_t>::max();

// Where the last "startxref" in the file's last kilobyte points.
std::size_t StartOfTable(const char* data, std::size_t size) {
    static constexpr char kStart[] = "startxref";
    const std::size_t length = sizeof kStart - 1;
    const std::size_t from = size > 1024 ? size - 1024 : 0;
    for (std::size_t at = size >= length ? size - length + 1 : 0; at-- > from;) {
        if (std::memcmp(data + at, kStart, length) == 0) {
            PlainPdfLexer lexer(data, size, at + length);
            return static_cast<std::size_t>(lexer.Integer());
        }
    }
    throw NotPlainPdf();
}

// A non-negative integer of at most 15 digits; -1 for anything else.
long long WholeNumber(const PlainNode* value) {
    return value && value->kind == PlainNode::Number ? DigitsValue(value->text, 15) : -1;
}

const PlainNode* KeyIn(const PlainNode& dictionary, const char* key) {
    for (std::size_t i = 0; i < dictionary.keys.size(); ++i)
        if (dictionary.keys[i] == key) return &dictionary.items[i];
    return nullptr;
}

} // namespace

PlainPdf::PlainPdf(const char* bytes, std::size_t count) : data(bytes), size(count) {
    if (size < 16 || std::memcmp(data, "%PDF-", 5) != 0) throw NotPlainPdf();
    std::size_t offset = StartOfTable(data, size);
    std::set<std::size_t> read;
    for (bool newest = true; offset != kNoSection; newest = false) {
        if (!read.insert(offset).second || read.size() > kMaxSections) throw NotPlainPdf();
        offset = ReadSection(offset, newest);
    }
}

PlainPdf::~PlainPdf() = default;

// Reads one table and its trailer; the newest table's entries and trailer
// hold. Returns where the previous table is, or kNoSection.
std::size_t PlainPdf::ReadSection(std::size_t offset, bool newest) {
    if (offset >= size) throw NotPlainPdf();
    PlainPdfLexer lexer(data, size, offset);
    if (!lexer.Keyword("xref")) throw NotPlainPdf(); // a cross-reference stream
    std::set<long long> inThisTable;
    while (!lexer.Keyword("trailer")) {
        const long long first = lexer.Integer(), count = lexer.Integer();
        if (first + count > kMaxObjectNumber) throw NotPlainPdf();
        lexer.EndOfLine();
        for (long long number = first; number < first + count; ++number) {
            Entry entry;
            lexer.TableEntry(entry.offset, entry.generation, entry.inUse);
            if (entry.inUse && (entry.offset == 0 || entry.offset >= size)) throw NotPlainPdf();
            if (!inThisTable.insert(number).second) throw NotPlainPdf();
            table.emplace(static_cast<int>(number), entry); // a newer table's entry stays
        }
    }
    PlainNode dictionary = lexer.Value(0);
    // A trailer runs into "startxref"; qpdf reads a dictionary followed by
    // anything else, "stream" for one, otherwise.
    if (lexer.PeekWord() != "startxref") throw NotPlainPdf();
    const PlainNode* entries = KeyIn(dictionary, "/Size");
    if (dictionary.kind != PlainNode::Dictionary || KeyIn(dictionary, "/Encrypt") ||
        KeyIn(dictionary, "/XRefStm") || WholeNumber(entries) < 0)
        throw NotPlainPdf();
    const PlainNode* previous = KeyIn(dictionary, "/Prev");
    if (newest) trailer = std::move(dictionary);
    if (!previous) return kNoSection;
    const long long previousTable = WholeNumber(previous);
    if (previousTable < 0) throw NotPlainPdf();
    return static_cast<std::size_t>(previousTable);
}

PlainObject PlainPdf::getRoot() const {
    PlainObject root = getTrailer().getKey("/Root");
    if (!root.isDictionary()) throw NotPlainPdf();
    return root;
}

PlainObject PlainPdf::Resolve(int number, int generation) const {
    const QPDFObjGen id(number, generation);
    const auto entry = table.find(number);
    if (entry == table.end() || !entry->second.inUse || entry->second.generation != generation)
        return PlainObject(this, nullptr, id);
    return PlainObject(this, &Load(number, entry->second), id);
}

const PlainNode& PlainPdf::Load(int number, const Entry& entry) const {
    if (const auto known = objects.find(number); known != objects.end()) return *known->second;
    // A stream whose length leads back to itself.
    if (!loading.insert(number).second) throw NotPlainPdf();
    PlainPdfLexer lexer(data, size, entry.offset);
    if (lexer.Integer() != number || lexer.Integer() != entry.generation || !lexer.Keyword("obj"))
        throw NotPlainPdf();
    auto node = std::make_unique<PlainNode>(lexer.Value(0));
    if (lexer.Keyword("stream")) {
        if (node->kind != PlainNode::Dictionary) throw NotPlainPdf();
        const std::size_t end = lexer.StreamStart() + static_cast<std::size_t>(LengthOf(*node));
        if (end > size) throw NotPlainPdf();
        lexer = PlainPdfLexer(data, size, end);
        if (!lexer.Keyword("endstream")) throw NotPlainPdf();
        node->kind = PlainNode::Stream;
    }
    if (!lexer.Keyword("endobj")) throw NotPlainPdf();
    loading.erase(number);
    return *objects.emplace(number, std::move(node)).first->second;
}

// A stream's /Length: a whole number here or in an object of its own.
long long PlainPdf::LengthOf(const PlainNode& dictionary) const {
    const PlainNode* length = KeyIn(dictionary, "/Length");
    if (length && length->kind == PlainNode::Reference) {
        const PlainObject object = Resolve(length->number, length->generation);
        length = object.node;
    }
    const long long bytes = WholeNumber(length);
    if (bytes < 0) throw NotPlainPdf();
    return bytes;
}

PlainObject PlainObject::Follow(const PlainNode& value) const {
    if (value.kind == PlainNode::Reference) return pdf->Resolve(value.number, value.generation);
    return PlainObject(pdf, &value, QPDFObjGen());
}

PlainObject PlainObject::getKey(const std::string& key) const {
    if (!isDictionary()) return {};
    for (std::size_t i = 0; i < node->keys.size(); ++i)
        if (node->keys[i] == key) return Follow(node->items[i]);
    return {};
}

std::set<std::string> PlainObject::getKeys() const {
    std::set<std::string> keys;
    if (!isDictionary()) return keys;
    for (std::size_t i = 0; i < node->keys.size(); ++i)
        if (!Follow(node->items[i]).isNull()) keys.insert(node->keys[i]);
    return keys;
}

int PlainObject::getArrayNItems() const {
    return isArray() ? static_cast<int>(node->items.size()) : 0;
}

PlainObject PlainObject::getArrayItem(int i) const {
    if (!isArray() || i < 0 || i >= getArrayNItems()) return {};
    return Follow(node->items[static_cast<std::size_t>(i)]);
}

std::string PlainObject::getStringValue() const {
    return isString() ? node->text : std::string();
}

std::string PlainObject::getUTF8Value() const {
    return isString() ? QPDFObjectHandle::newString(node->text).getUTF8Value() : std::string();
}

std::string PlainObject::getName() const {
    return isName() ? node->text : std::string();
}
