#pragma once
// Owned, zero-terminated UTF-16 texts as the document records hold them:
// a buffer of length + 1 code units; the empty text is a buffer holding only
// the terminator, never a null reference. All empty texts share one such
// buffer (no allocation); texts are never written through, only replaced.

#include <QString>
#include <string_view>

using OwnedText = char16_t*;

OwnedText NewText(std::u16string_view text);
OwnedText NewText(const QString& text);
// Releases the buffer (not the shared empty one) and nulls the reference; a
// null reference is accepted.
void FreeText(OwnedText& text);
// Replaces the buffer with a copy of text, releasing the former one.
void ReplaceText(OwnedText& target, const QString& text);
std::u16string_view TextView(const char16_t* text);
QString ToQString(const char16_t* text);
