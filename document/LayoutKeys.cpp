#include "LayoutKeys.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
// A control's caption as the name of its value: without the closing colon or
// dots; the controls without a caption of their own say what they hold.
const char* CaptionOf(const char* name, const char* caption) {
    if (caption && *caption) return caption;
    if (std::strcmp(name, "Shape5") == 0) return "Hintergrundfarbe";
    if (std::strcmp(name, "Shape6") == 0) return "Farbverlauf bis";
    return "Ausrichtung der Bilder";
}

std::vector<LayoutKey> BuildKeys() {
    std::vector<LayoutKey> keys;
    for (auto table : {MarginSettings(), BackgroundSpinSettings(), LogoSpinSettings()})
        for (const SpinSetting& s : table)
            keys.push_back({s.name, s.caption, s.value});
    for (const CheckSetting& s : CheckSettings())
        keys.push_back({s.name, s.caption, s.value});
    for (const ColourSetting& s : ColourSettings())
        keys.push_back({s.name, CaptionOf(s.name, s.caption), s.value});
    for (const FontSetting& s : FontSettings())
        keys.push_back({s.dialogName, s.caption, static_cast<FontRole>(s.index)});
    for (const TextSetting& s : TextSettings())
        keys.push_back({s.name, s.caption, s.value});
    for (const OtherSetting& s : OtherSettings()) {
        const char* caption = CaptionOf(s.name, s.caption);
        if (s.kind == OtherSetting::FileName)
            keys.push_back({s.name, caption, s.text});
        else
            keys.push_back({s.name, caption, s.number});
    }
    return keys;
}

const std::vector<LayoutKey>& Keys() {
    static const std::vector<LayoutKey> keys = BuildKeys();
    return keys;
}

template <typename T> T& Slot(LayoutSettings& s, T LayoutSettings::*member) {
    return s.*member;
}
template <typename T> const T& Slot(const LayoutSettings& s, T LayoutSettings::*member) {
    return s.*member;
}
FontRecord& Slot(LayoutSettings& s, FontRole role) {
    return s.font(role);
}
const FontRecord& Slot(const LayoutSettings& s, FontRole role) {
    return s.font(role);
}
} // namespace

std::span<const LayoutKey> LayoutKeys() {
    return Keys();
}

int LayoutKeyIndex(const LayoutMember& member) {
    const std::vector<LayoutKey>& keys = Keys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i].member == member) return static_cast<int>(i);
    return -1;
}

LayoutValue ReadLayoutValue(const LayoutSettings& s, int key) {
    if (key < 0 || key >= static_cast<int>(Keys().size())) return {};
    return std::visit([&s](auto member) -> LayoutValue { return Slot(s, member); },
                      Keys()[static_cast<std::size_t>(key)].member);
}

bool WouldChange(const LayoutSettings& s, int key, const LayoutValue& value) {
    if (key < 0 || key >= static_cast<int>(Keys().size())) return false;
    const LayoutMember& member = Keys()[static_cast<std::size_t>(key)].member;
    if (member.index() != value.index()) return false;
    return std::visit(
        [&s, &value](auto m) {
            const auto& slot = Slot(s, m);
            using V = std::remove_cvref_t<decltype(slot)>;
            const V& wanted = std::get<V>(value);
            // Bitwise equality for doubles: 0.0 and -0.0 differ in a saved file.
            if constexpr (std::is_same_v<V, double>)
                return std::memcmp(&slot, &wanted, sizeof(double)) != 0;
            else
                return !(slot == wanted);
        },
        member);
}

bool WriteLayoutValue(LayoutSettings& s, int key, const LayoutValue& value) {
    if (!WouldChange(s, key, value)) return false;
    std::visit(
        [&s, &value](auto m) {
            auto& slot = Slot(s, m);
            slot = std::get<std::remove_reference_t<decltype(slot)>>(value);
        },
        Keys()[static_cast<std::size_t>(key)].member);
    return true;
}

LayoutSettings WithinRanges(const LayoutSettings& settings) {
    LayoutSettings s = settings;
    for (auto table : {MarginSettings(), BackgroundSpinSettings(), LogoSpinSettings()})
        for (const SpinSetting& spin : table) {
            double& v = s.*spin.value;
            if (std::isnan(v)) v = spin.maximum; // as a spin box takes it
            if (spin.decimals == 0) v = std::round(v);
            v = std::clamp(v, spin.minimum, spin.maximum);
        }
    return s;
}
