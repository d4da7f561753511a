#pragma once
// A quick reader of plain PDF files, for the fields of returned forms: the
// files this program writes and most fillers save, with a classic
// cross-reference table (updates appended to it included) and no encryption.
// It reads an object only when asked for it, where the table says it is.
//
// It reads only what it is sure of. Anything else stops it with NotPlainPdf:
// cross-reference or object streams, encryption, a table or an object out of
// the ordinary, a token it does not know. The caller then reads the file with
// qpdf, which decides. For the files it reads, its objects answer the few
// questions the field reader asks exactly as qpdf's objects do.

#include <qpdf/QPDFObjGen.hh>

#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The file (or an object in it) is not one the quick reader reads.
struct NotPlainPdf {};

class PlainPdf;

// One value as parsed: a reference stays a reference until it is asked for.
struct PlainNode {
    enum Kind { Null, Boolean, Number, String, Name, Array, Dictionary, Stream, Reference };
    Kind kind = Null;
    std::string text;              // a string's bytes; a name with its "/"
    std::vector<std::string> keys; // a dictionary's (or a stream's) keys
    std::vector<PlainNode> items;  // an array's items; a dictionary's values
    int number = 0;                // a reference's object
    int generation = 0;            // and generation
};

// An object of a PlainPdf, with the questions qpdf's QPDFObjectHandle answers.
class PlainObject {
  public:
    PlainObject() = default;
    static PlainObject newNull() { return {}; }

    bool isNull() const { return !node || node->kind == PlainNode::Null; }
    bool isDictionary() const { return node && node->kind == PlainNode::Dictionary; }
    bool isArray() const { return node && node->kind == PlainNode::Array; }
    bool isString() const { return node && node->kind == PlainNode::String; }
    bool isName() const { return node && node->kind == PlainNode::Name; }
    bool isIndirect() const { return id.getObj() != 0; }
    QPDFObjGen getObjGen() const { return id; }

    // A dictionary's value for key (null when absent or not a dictionary).
    PlainObject getKey(const std::string& key) const;
    // A dictionary's keys whose values are not null.
    std::set<std::string> getKeys() const;
    int getArrayNItems() const;
    PlainObject getArrayItem(int i) const;
    std::string getStringValue() const;
    std::string getUTF8Value() const; // decoded as qpdf decodes text strings
    std::string getName() const;

  private:
    friend class PlainPdf;
    PlainObject(const PlainPdf* owner, const PlainNode* value, QPDFObjGen objGen)
        : pdf(owner), node(value), id(objGen) {}
    PlainObject Follow(const PlainNode& value) const;

    const PlainPdf* pdf = nullptr;
    const PlainNode* node = nullptr;
    QPDFObjGen id;
};

class PlainPdf {
  public:
    // Reads the header and the cross-reference of the bytes, which must
    // outlive this; throws NotPlainPdf.
    PlainPdf(const char* data, std::size_t size);
    ~PlainPdf();
    PlainPdf(const PlainPdf&) = delete;
    PlainPdf& operator=(const PlainPdf&) = delete;

    PlainObject getTrailer() const { return PlainObject(this, &trailer, QPDFObjGen()); }
    PlainObject getRoot() const;

  private:
    friend class PlainObject;
    struct Entry {
        std::size_t offset = 0;
        int generation = 0;
        bool inUse = false;
    };

    PlainObject Resolve(int number, int generation) const;
    const PlainNode& Load(int number, const Entry& entry) const;
    std::size_t ReadSection(std::size_t offset, bool newest);
    void CheckStream(const PlainNode& dictionary, std::size_t start) const;
    long long LengthOf(const PlainNode& dictionary) const;

    const char* data;
    std::size_t size;
    std::map<int, Entry> table;
    PlainNode trailer;
    mutable std::map<int, std::unique_ptr<PlainNode>> objects; // read so far
    mutable std::set<int> loading;
};
