#include "OwnedText.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
// Every empty text shares this one terminator: an empty cell or name costs no
// allocation. Nobody writes through a text, and FreeText knows it.
char16_t sharedEmpty[1] = {0};
} // namespace

OwnedText NewText(std::u16string_view text) {
    if (text.empty()) return sharedEmpty;
    auto* buffer = static_cast<char16_t*>(std::calloc(text.size() + 1, sizeof(char16_t)));
    if (!buffer) throw std::bad_alloc();
    std::memcpy(buffer, text.data(), text.size() * sizeof(char16_t));
    return buffer;
}

OwnedText NewText(const QString& text) {
    return NewText(std::u16string_view(reinterpret_cast<const char16_t*>(text.constData()),
                                       static_cast<std::size_t>(text.size())));
}

void FreeText(OwnedText& text) {
    if (text != sharedEmpty) std::free(text);
    text = nullptr;
}

void ReplaceText(OwnedText& target, const QString& text) {
    OwnedText fresh = NewText(text);
    FreeText(target);
    target = fresh;
}

std::u16string_view TextView(const char16_t* text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}

QString ToQString(const char16_t* text) {
    const std::u16string_view view = TextView(text);
    return QString(reinterpret_cast<const QChar*>(view.data()),
                   static_cast<qsizetype>(view.size()));
}
