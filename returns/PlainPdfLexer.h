#pragma once
// The tokens and values of a PDF file, for the quick reader of plain files
// (PlainPdf.h): white space, comments, names, strings, numbers, references,
// arrays, dictionaries, and a cross-reference table's lines. Strict: what
// it does not know, or what readers take differently, throws NotPlainPdf.

#include "PlainPdf.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace plain_pdf {

inline constexpr int kMaxNesting = 64;
inline constexpr long long kMaxObjectNumber = 10'000'000;

// White space as qpdf takes it: with the vertical tab, and without the
// null byte, which readers take differently (the lexer stops at it).
inline bool IsWhite(char c) {
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == ' ';
}

inline bool IsDelimiter(char c) {
    switch (c) {
    case '(':
    case ')':
    case '<':
    case '>':
    case '[':
    case ']':
    case '{':
    case '}':
    case '/':
    case '%':
        return true;
    default:
        return false;
    }
}

inline bool IsRegular(char c) {
    return c != '\0' && !IsWhite(c) && !IsDelimiter(c);
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

inline int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The value of a run of at most maxDigits decimal digits; -1 for anything else.
inline long long DigitsValue(std::string_view word, std::size_t maxDigits) {
    if (word.empty() || word.size() > maxDigits) return -1;
    long long value = 0;
    for (char c : word) {
        if (!IsDigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The tokens of the file from one place on. Anything it does not know
// throws NotPlainPdf.
class PlainPdfLexer {
  public:
    PlainPdfLexer(const char* bytes, std::size_t count, std::size_t at)
        : data(bytes), size(count), pos(at) {}

    void SkipWhite() {
        while (pos < size) {
            if (data[pos] == '\0') throw NotPlainPdf();
            if (IsWhite(data[pos])) {
                ++pos;
            } else if (data[pos] == '%') {
                while (pos < size && data[pos] != '\n' && data[pos] != '\r')
                    ++pos;
            } else {
                return;
            }
        }
    }

    // The run of regular characters here, after white space; not taken.
    std::string_view PeekWord() {
        SkipWhite();
        std::size_t end = pos;
        while (end < size && IsRegular(data[end]))
            ++end;
        return std::string_view(data + pos, end - pos);
    }

    // Takes the keyword when it comes next.
    bool Keyword(const char* word) {
        const std::string_view next = PeekWord();
        if (next != word) return false;
        pos += next.size();
        // A keyword is followed by white space or a delimiter, as readers
        // that read it by lines expect.
        if (pos < size && data[pos] == '%') throw NotPlainPdf();
        return true;
    }

    // An unsigned integer of at most 18 digits.
    long long Integer() {
        const std::string_view word = PeekWord();
        const long long value = DigitsValue(word, 18);
        if (value < 0) throw NotPlainPdf();
        pos += word.size();
        return value;
    }

    // Takes spaces and one end of line.
    void EndOfLine() {
        while (pos < size && (data[pos] == ' ' || data[pos] == '\t'))
            ++pos;
        if (pos + 1 < size && data[pos] == '\r' && data[pos + 1] == '\n') {
            pos += 2;
        } else if (pos < size && (data[pos] == '\n' || data[pos] == '\r')) {
            ++pos;
        } else {
            throw NotPlainPdf();
        }
    }

    // One entry of a cross-reference table, exactly as the format has it:
    // "oooooooooo ggggg n" and two bytes of line end. Its offset, its
    // generation and whether it is in use ('n') or free ('f').
    void TableEntry(std::size_t& offset, int& generation, bool& inUse) {
        if (pos + 20 > size) throw NotPlainPdf();
        const char* entry = data + pos;
        offset = 0;
        generation = 0;
        for (int i = 0; i < 16; ++i) {
            if (i == 10) {
                if (entry[i] != ' ') throw NotPlainPdf();
            } else if (!IsDigit(entry[i])) {
                throw NotPlainPdf();
            } else if (i < 10) {
                offset = offset * 10 + static_cast<std::size_t>(entry[i] - '0');
            } else {
                generation = generation * 10 + (entry[i] - '0');
            }
        }
        const std::string_view end(entry + 18, 2);
        if (entry[16] != ' ' || (entry[17] != 'n' && entry[17] != 'f') ||
            (end != " \r" && end != " \n" && end != "\r\n"))
            throw NotPlainPdf();
        inUse = entry[17] == 'n';
        pos += 20;
    }

    // The byte after a "stream" keyword's end of line.
    std::size_t StreamStart() {
        if (pos + 1 < size && data[pos] == '\r' && data[pos + 1] == '\n') return pos + 2;
        if (pos < size && data[pos] == '\n') return pos + 1;
        throw NotPlainPdf();
    }

    PlainNode Value(int depth) {
        if (depth > kMaxNesting) throw NotPlainPdf();
        SkipWhite();
        if (pos >= size) throw NotPlainPdf();
        switch (data[pos]) {
        case '/':
            return Name();
        case '(':
            return LiteralString();
        case '[':
            return ArrayValue(depth);
        case '<':
            return pos + 1 < size && data[pos + 1] == '<' ? DictionaryValue(depth) : HexString();
        default:
            return Word();
        }
    }

  private:
    PlainNode Name() {
        PlainNode node;
        node.kind = PlainNode::Name;
        node.text = "/";
        for (++pos; pos < size && IsRegular(data[pos]); ++pos) {
            std::size_t end = pos;
            while (end < size && IsRegular(data[end]) && data[end] != '#')
                ++end;
            if (end > pos) {
                node.text.append(data + pos, end - pos);
                pos = end - 1;
                continue;
            }
            const int high = pos + 2 < size ? HexValue(data[pos + 1]) : -1;
            const int low = pos + 2 < size ? HexValue(data[pos + 2]) : -1;
            if (high < 0 || low < 0 || (high == 0 && low == 0)) throw NotPlainPdf();
            node.text += static_cast<char>(high * 16 + low);
            pos += 2;
        }
        return node;
    }

    // The character an escape stands for; a continued line appends nothing.
    void Escape(std::string& text) {
        if (pos >= size) throw NotPlainPdf();
        const char c = data[pos++];
        switch (c) {
        case 'n':
            text += '\n';
            return;
        case 'r':
            text += '\r';
            return;
        case 't':
            text += '\t';
            return;
        case 'b':
            text += '\b';
            return;
        case 'f':
            text += '\f';
            return;
        case '(':
        case ')':
        case '\\':
            text += c;
            return;
        case '\n':
            return;
        default:
            break;
        }
        if (c < '0' || c > '7') throw NotPlainPdf();
        int value = c - '0';
        for (int digits = 1; digits < 3 && pos < size && data[pos] >= '0' && data[pos] <= '7';
             ++digits)
            value = value * 8 + (data[pos++] - '0');
        text += static_cast<char>(value & 0xff);
    }

    PlainNode LiteralString() {
        PlainNode node;
        node.kind = PlainNode::String;
        int open = 1;
        for (++pos;;) {
            if (pos >= size) throw NotPlainPdf();
            const char c = data[pos++];
            if (c == '\\') {
                Escape(node.text);
                continue;
            }
            // A bare carriage return is read as a line feed by some readers
            // and kept by others: not read here.
            if (c == '\r') throw NotPlainPdf();
            if (c == '(') ++open;
            if (c == ')' && --open == 0) return node;
            node.text += c;
        }
    }

    PlainNode HexString() {
        PlainNode node;
        node.kind = PlainNode::String;
        int high = -1;
        for (++pos;; ++pos) {
            if (pos >= size) throw NotPlainPdf();
            const char c = data[pos];
            if (c == '>') break;
            if (IsWhite(c)) continue;
            const int value = HexValue(c);
            if (value < 0) throw NotPlainPdf();
            if (high < 0) {
                high = value;
            } else {
                node.text += static_cast<char>(high * 16 + value);
                high = -1;
            }
        }
        ++pos;
        if (high >= 0) node.text += static_cast<char>(high * 16);
        return node;
    }

    PlainNode ArrayValue(int depth) {
        PlainNode node;
        node.kind = PlainNode::Array;
        for (++pos;;) {
            SkipWhite();
            if (pos >= size) throw NotPlainPdf();
            if (data[pos] == ']') {
                ++pos;
                return node;
            }
            node.items.push_back(Value(depth + 1));
        }
    }

    PlainNode DictionaryValue(int depth) {
        PlainNode node;
        node.kind = PlainNode::Dictionary;
        for (pos += 2;;) {
            SkipWhite();
            if (pos + 1 < size && data[pos] == '>' && data[pos + 1] == '>') {
                pos += 2;
                return node;
            }
            if (pos >= size || data[pos] != '/') throw NotPlainPdf();
            std::string key = Name().text;
            // Readers differ on which of two equal keys holds.
            for (const std::string& known : node.keys)
                if (known == key) throw NotPlainPdf();
            node.keys.push_back(std::move(key));
            node.items.push_back(Value(depth + 1));
        }
    }

    // A number, a reference ("12 0 R"), true, false or null.
    PlainNode Word() {
        const std::string_view word = PeekWord();
        PlainNode node;
        if (word == "true" || word == "false") {
            node.kind = PlainNode::Boolean;
        } else if (word == "null") {
            node.kind = PlainNode::Null;
        } else if (IsNumber(word)) {
            node.kind = PlainNode::Number;
        } else {
            throw NotPlainPdf();
        }
        node.text = word;
        pos += word.size();
        if (node.kind == PlainNode::Number) ReferenceAfter(node);
        return node;
    }

    static bool IsNumber(std::string_view word) {
        std::size_t i = word.empty() || (word[0] != '+' && word[0] != '-') ? 0 : 1;
        bool digits = false, point = false;
        for (; i < word.size(); ++i) {
            if (IsDigit(word[i])) {
                digits = true;
            } else if (word[i] == '.' && !point) {
                point = true;
            } else {
                return false;
            }
        }
        return digits;
    }

    // Turns a number into a reference when a generation and "R" follow it.
    void ReferenceAfter(PlainNode& node) {
        const long long number = DigitsValue(node.text, 9);
        if (number < 0) return;
        const std::size_t after = pos;
        const std::string_view generation = PeekWord();
        const long long generationValue = DigitsValue(generation, 9);
        if (generationValue >= 0) {
            pos += generation.size();
            if (PeekWord() == "R") {
                pos += 1;
                node.kind = PlainNode::Reference;
                node.number = static_cast<int>(number);
                node.generation = static_cast<int>(generationValue);
                if (node.number == 0 || node.number >= kMaxObjectNumber || node.generation > 65535)
                    throw NotPlainPdf();
                return;
            }
        }
        pos = after;
    }

    const char* data;
    std::size_t size;
    std::size_t pos;
};

} // namespace plain_pdf
