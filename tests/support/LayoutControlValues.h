#pragma once
// Reads the value a layout control shows, found by its key's object name, so
// that tests can compare every control with the document in one loop.

#include "ColourSwatch.h"
#include "FilenameEditBox.h"
#include "FontSettingButton.h"
#include "LayoutKeys.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

// The value key's control shows; std::nullopt when no control has the name.
inline std::optional<LayoutValue> ShownLayoutValue(const QWidget& window, const LayoutKey& key) {
    const QString name = QString::fromLatin1(key.name);
    if (name.contains(QLatin1Char('/'))) { // a group of radio buttons
        const QStringList buttons = name.split(QLatin1Char('/'));
        for (int i = 0; i < buttons.size(); ++i)
            if (auto* b = window.findChild<QRadioButton*>(buttons[i]); b && b->isChecked())
                return LayoutValue(static_cast<std::int32_t>(i));
        return std::nullopt;
    }
    if (auto* spin = window.findChild<QDoubleSpinBox*>(name)) return LayoutValue(spin->value());
    if (auto* spin = window.findChild<QSpinBox*>(name))
        return LayoutValue(static_cast<std::int32_t>(spin->value()));
    if (auto* check = window.findChild<QCheckBox*>(name)) return LayoutValue(check->isChecked());
    if (auto* swatch = window.findChild<ColourSwatch*>(name)) return LayoutValue(swatch->colour());
    if (auto* edit = window.findChild<QLineEdit*>(name)) return LayoutValue(edit->text());
    if (auto* box = window.findChild<FilenameEditBox*>(name)) return LayoutValue(box->fileName());
    // A font is held by the button that opens its dialog.
    for (auto* button : window.findChildren<FontSettingButton*>())
        if (button->dialogName == name) return LayoutValue(button->font());
    return std::nullopt;
}

// Every layout key's control shows s's value.
inline void ExpectControlsShow(const QWidget& window, const LayoutSettings& s) {
    for (int key = 0; key < static_cast<int>(LayoutKeys().size()); ++key) {
        const LayoutKey& k = LayoutKeys()[static_cast<std::size_t>(key)];
        const std::optional<LayoutValue> shown = ShownLayoutValue(window, k);
        ASSERT_TRUE(shown.has_value()) << k.name;
        EXPECT_TRUE(*shown == ReadLayoutValue(s, key)) << k.name;
    }
}
