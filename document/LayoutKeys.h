#pragma once
// One key for every layout value. The document sets and announces layout values
// by key, undo commands remember them by key, and the layout tabs bind each
// control to its key. The keys are made from the settings rows (LayoutRows.h),
// one for each row, so a new row is a new key. A key's name is the object name
// of the control that shows the value; no code reaches a value through that name.

#include "LayoutSettings.h"

#include <span>
#include <variant>

// Where a value lives in LayoutSettings; a font by its role.
using LayoutMember =
    std::variant<double LayoutSettings::*, bool LayoutSettings::*, ColourValue LayoutSettings::*,
                 QString LayoutSettings::*, std::int32_t LayoutSettings::*, FontRole>;
// A value of one key; the alternative at index i belongs to LayoutMember's alternative i.
using LayoutValue = std::variant<double, bool, ColourValue, QString, std::int32_t, FontRecord>;

struct LayoutKey {
    const char* name;    // the control's object name
    const char* caption; // UTF-8, German: the control's caption, what an undo step is called
    LayoutMember member;
};

// Every layout value, each once: the margin, background and logo spin edits,
// the flags, the colours, the fonts, the texts and the other values.
std::span<const LayoutKey> LayoutKeys();
// The key of a member; -1 when it has none.
int LayoutKeyIndex(const LayoutMember& member);
// The key of a member, typed for convenience: LayoutKeyOf(&LayoutSettings::pageFrame).
template <typename T> int LayoutKeyOf(T LayoutSettings::*member) {
    return LayoutKeyIndex(LayoutMember(member));
}
inline int LayoutKeyOf(FontRole role) {
    return LayoutKeyIndex(LayoutMember(role));
}

// The value of key in s; a default value for a key out of range.
LayoutValue ReadLayoutValue(const LayoutSettings& s, int key);
// Whether setting key to value changes s: false when the key is out of range,
// the value has another type than the key, or s already holds exactly that value.
bool WouldChange(const LayoutSettings& s, int key, const LayoutValue& value);
// Sets key's value; false when it would not change (see WouldChange).
bool WriteLayoutValue(LayoutSettings& s, int key, const LayoutValue& value);

// The values as the layout controls hold them: every spin edit's value brought
// into its range (NaN to its maximum, as a spin box takes it) and whole-number values rounded.
// Pages are drawn from these, so that the preview, printing and the export agree while the document
// keeps what a file gave it.
LayoutSettings WithinRanges(const LayoutSettings& s);
