#include "OwnedText.h"

#include <cstdlib>
#include <cstring>
#include <new>

OwnedText NewText(std::u16string_view text) {
    auto* buffer = static_cast<char16_t*>(std::calloc(text.size() + 1, sizeof(char16_t)));
    if (!buffer) throw std::bad_alloc();
    if (!text.empty()) std::memcpy(buffer, text.data(), text.size() * sizeof(char16_t));
    return buffer;
}

OwnedText NewText(const QString& text) {
    return NewText(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                       static_cast<std::size_t>(text.size())));
}

void FreeText(OwnedText& text) {
    std::free(text);
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
